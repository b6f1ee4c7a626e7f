// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/auditrun.h"

#include "audit/auditreport.h"
#include "audit/auditresults.h"
#include "audit/auditrules.h"
#include "audit/stateaudit.h"
#include "audit/wcagaudit.h"
#include "prismark-shot/appshots.h"
#include "prismark-shot/imagewriter.h"
#include "prismark-shot/shotconsole.h"
#include "prismark-shot/shotmatrix.h"
#include "prismark-shot/shotoptions.h"
#include "prismark-shot/shotrenderer.h"
#include "prismark-shot/shotshards.h"
#include "prismark-shot/shotsubjects.h"
#include "prismark-shot/wcagpage.h"
#include "support/programsupport.h"
#include "support/safefilename.h"
#include "theme/stylesheetloader.h"
#include "theme/themecatalogue.h"

#include <QApplication>
#include <QDir>
#include <QStyle>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

const QString kStatesFolder = QStringLiteral("states");
// Where the window's own title bar stands in WCAG findings, beside the tabs.
const QString kTitleBar = QStringLiteral("title-bar");

// The window's own parts belong to the gallery, not to an author's form.
bool auditsGallery(const ShotSubjects &subjects)
{
    for (const TabChoice &choice : subjects.tabs)
        if (!subjects.formFiles.contains(choice.file))
            return true;
    return false;
}

// DIR/<theme>/states/<tab>/<object>.png for each strip.
bool writeStrips(const ShotOptions &options, const QString &themeFolder, const QString &tab,
                 const QVector<StateStrip> &strips, ImageWriter &writer)
{
    const QString folder =
        QDir(options.outPath)
            .filePath(QStringLiteral("%1/%2/%3").arg(themeFolder, kStatesFolder, tab));
    if (!strips.isEmpty() && !QDir().mkpath(folder)) {
        printProgramError(QStringLiteral("cannot write to the output folder %1").arg(folder));
        return false;
    }
    QSet<QString> names;
    for (const StateStrip &strip : strips)
        writer.submitImage(folder + QLatin1Char('/') + uniqueSafeFileStem(strip.object, &names) +
                               QStringLiteral(".png"),
                           strip.image);
    return true;
}

// --shard: each theme's findings where the merge reads them, as an attached
// application hands over its own.
bool writeThemeResults(const ShotOptions &options, const QString &theme, const AuditReport &report,
                       const WcagReport &wcagReport)
{
    AuditResults results;
    results.states.version = results.wcag.version = report.version;
    for (const AuditFinding &finding : report.findings)
        if (finding.theme == theme)
            results.states.findings << finding;
    for (const WcagFinding &finding : wcagReport.findings)
        if (finding.theme == theme)
            results.wcag.findings << finding;
    if (report.unaudited.contains(theme))
        results.states.unaudited = results.wcag.unaudited = QStringList{theme};
    const QString folder =
        QDir(options.outPath).filePath(QLatin1String(kShardAuditFolder) + QLatin1Char('/') + theme);
    QString error;
    if (!QDir().mkpath(folder) || !writeAuditResults(results, folder, &error)) {
        printProgramError(
            QStringLiteral("cannot write the audit's results to %1: %2").arg(folder, error));
        return false;
    }
    return true;
}

} // namespace

int reportAudit(const ShotOptions &options, const AuditReport &report, const WcagReport &wcagReport,
                ImageWriter &writer)
{
    if (!options.htmlPath.isEmpty() && !writeWcagPages(wcagReport, options.htmlPath, writer)) {
        writer.waitForDone();
        return ShotInputOutputError;
    }
    writer.waitForDone();
    if (writer.printWriteErrors())
        return ShotInputOutputError;
    if (options.listFiles)
        writer.printWrittenFiles();
    // A failure found is the answer; else a theme or run with nothing audited is no
    // success, whatever the others found.
    const int empty = report.unaudited.isEmpty() ? ShotSuccess : ShotNothingAudited;
    if (options.wcag) {
        std::fputs(qUtf8Printable(options.auditFormat->write(reportContent(wcagReport))), stdout);
        for (const WcagFinding &finding : wcagReport.findings)
            if (finding.severity == WcagSeverity::Failure)
                return ShotDifferences;
        return empty;
    }
    std::fputs(qUtf8Printable(options.auditFormat->write(reportContent(report))), stdout);
    return report.findings.isEmpty() ? empty : ShotDifferences;
}

int runStateAudit(ShotRenderer &renderer, const ShotOptions &options, const ShotSubjects &subjects,
                  ImageWriter &writer)
{
    StateAudit stateAudit(
        renderer.topLevel(),
        [&renderer](const QRect &area, qreal scale) { return renderer.renderArea(area, scale); },
        options.scales.first());
    WcagAudit wcagAudit;
    if (options.wcag)
        stateAudit.setObserver(&wcagAudit);
    AuditReport report;
    for (int themeIndex = 0; themeIndex < subjects.themes.size(); ++themeIndex)
        report.themeCount += subjects.holds(themeIndex) ? 1 : 0;
    report.version = QCoreApplication::applicationVersion();
    WcagReport wcagReport;
    wcagReport.version = report.version;
    ShotProgress progress(options.quiet, int(report.themeCount * subjects.tabs.size()));
    for (int themeIndex = 0; themeIndex < subjects.themes.size(); ++themeIndex) {
        if (!subjects.holds(themeIndex))
            continue;
        const ShotTheme &theme = subjects.themes[themeIndex];
        const QString &sheetText = subjects.sheetTexts[themeIndex];
        renderer.applyTheme(theme, sheetText, options.baseStyles.first(),
                            options.directions.first());
        // A built-in theme's findings name its rules too, in its file as it ships, so
        // the report groups them by what to fix as it does an author's sheet's.
        auto rules = std::make_unique<AuditRules>(
            theme.builtIn ? loadThemeStyleSheet(theme.theme) : sheetText,
            theme.builtIn ? styleSheetFileName(theme.theme) : theme.sheetPath,
            QString::fromLatin1(QApplication::style()->metaObject()->className()));
        wcagReport.themes << theme.folder;
        int audited = 0;
        for (const TabChoice &choice : subjects.tabs) {
            progress.step(theme.name + QLatin1Char('/') + choice.file);
            QVector<StateStrip> strips;
            wcagAudit.setTab(theme.folder, choice.file, rules.get());
            renderer.showTab(choice.tab, false);
            report.findings += stateAudit.auditPage(renderer.tabPage(choice.tab), theme.folder,
                                                    choice.file, rules.get(), &strips);
            wcagReport.findings += wcagAudit.takeFindings();
            audited += int(strips.size());
            if (!writeStrips(options, theme.folder, choice.file, strips, writer))
                return ShotInputOutputError;
        }
        if (audited == 0) {
            report.unaudited << theme.folder;
            wcagReport.unaudited << theme.folder;
        }
        if (options.wcag && auditsGallery(subjects)) {
            wcagAudit.setTab(theme.folder, kTitleBar, rules.get());
            const qreal scale = options.scales.first();
            wcagAudit.auditTitleBar(
                renderer.topLevel(),
                [&renderer, scale](const QRect &area) { return renderer.renderArea(area, scale); },
                scale);
            wcagReport.findings += wcagAudit.takeFindings();
        }
    }
    writer.waitForDone();
    progress.finish();
    if (options.shards > 0)
        for (const QString &theme : qAsConst(wcagReport.themes))
            if (!writeThemeResults(options, theme, report, wcagReport))
                return ShotInputOutputError;
    return reportAudit(options, report, wcagReport, writer);
}

int runAppAudit(const ShotOptions &options)
{
    ShotSubjects subjects;
    if (const int code = subjects.loadThemes(options))
        return code;
    QStringList variants;
    if (const int code = chooseVariants(options, subjects, &variants))
        return code;
    const ShotCombination combination{options.baseStyles.first(), options.directions.first(), false,
                                      options.scales.first()};
    // Each variant of a template is a run of the application of its own, as for shots.
    AuditResults all;
    ImageWriter writer;
    for (int run = 0; run < subjects.themes.size(); ++run) {
        const QString folder =
            subjects.themes[run].folder + QLatin1Char('/') + QLatin1String(kAppFolder);
        QTemporaryDir scratch;
        if (!scratch.isValid()) {
            printProgramError(
                QStringLiteral("cannot make a temporary folder: %1").arg(scratch.errorString()));
            return ShotInputOutputError;
        }
        const AppRun app = runOnce(options, variantOfRun(options, variants, run),
                                   subjects.themes[run].scheme, combination, scratch.path());
        if (app.status != ShotSuccess)
            return app.status;
        if (!app.audited)
            return ShotNotAttached;
        AuditResults results;
        QString error;
        if (!readAuditResultsFolder(scratch.path(), folder, &results, &error)) {
            printProgramError(QStringLiteral("the audit's results cannot be read: %1").arg(error));
            return ShotNotAttached;
        }
        for (const auto &window : qAsConst(results.strips))
            if (!writeStrips(options, folder, window.first, window.second, writer))
                return ShotInputOutputError;
        all.addReports(results);
    }
    all.states.version = all.wcag.version = QCoreApplication::applicationVersion();
    return reportAudit(options, all.states, all.wcag, writer);
}
