// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "live/livesheet.h"

#include "analysis/lintconfig.h"
#include "analysis/templatelint.h"
#include "shell/galleryhost.h"
#include "support/safefileread.h"
#include "theme/stylesheetloader.h"
#include "theme/themecatalogue.h"
#include "tokens/themebuild.h"
#include "tokens/themetemplate.h"
#include "widgetstyles/sheetstyle.h"
#include "widgetstyles/widgetcontrasttree.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>

namespace {

// Editors save in a burst of events (truncate, write, rename, attribute changes),
// all within a fraction of a millisecond; the file is read once they have been quiet
// this long. Short, because it is added to every reload the author waits for.
constexpr int settleMs = 2;
// An empty file right after a change is most often a save caught between truncate
// and write, so emptiness has to last this long before it is installed.
constexpr int emptySettleMs = 100;

// The checks whose errors keep a text from being installed.
bool refusesInstall(const QString &id)
{
    const LintCheck *check = lintCheck(id);
    return check && check->has(CheckFlag::RefusesInstall);
}

// The analysis as prismark-lint runs it under the configuration that governs the
// file, with --gallery when there is a gallery window (coverage, and text contrast
// judged on its own widgets); or only its rejecting checks.
LiveSheet::Linter configuredLinter(LintOptions options, QWidget *window)
{
    LintOptions rejecting = options;
    rejecting.enabledChecks.clear();
    for (const QString &id : lintCheckIds()) {
        if (!refusesInstall(id))
            rejecting.disabledChecks << id;
    }
    // Coverage of what the gallery shows, and contrast on its widgets, only there.
    if (window) {
        options.gallery = true;
        options.contrastTree = std::make_shared<WidgetContrastTree>(window);
    }
    return [options, rejecting](const QByteArray &bytes, const QString &path,
                                LiveSheet::Scope scope) {
        return lintStyleSheet(bytes, path, scope == LiveSheet::Scope::Full ? options : rejecting);
    };
}

// Posted below the priority of the toolkit's paint requests, so that the analysis of
// a text just installed runs once the gallery shows it.
const QEvent::Type analysisEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// A variant as the author may name it: as the template writes it in any case, or
// in kebab case.
bool namesVariant(const QString &variant, const QString &name)
{
    return variant.compare(name, Qt::CaseInsensitive) == 0 || kebabCaseName(variant) == name;
}

QString themeDisplayName(Theme theme)
{
    return QCoreApplication::translate("MainWindow", themeInfo(theme).displayName);
}

} // namespace

LiveSheet::LiveSheet(GalleryHost *gallery, const QString &path, QObject *parent)
    : LiveSheet(gallery, QFileInfo(path).absoluteFilePath(), configurationOf(path), parent)
{}

LiveSheet::LiveSheet(GalleryHost *gallery, const QString &absolutePath,
                     const LintConfigResult &config, QObject *parent)
    : QObject(parent)
    , gallery(gallery)
    , filePath(absolutePath)
    , config(config)
    , linter(configuredLinter(config.options, gallery ? gallery->galleryWindow() : nullptr))
    , file(filePath)
    , burstSettleInterval(settleMs)
    , emptySettleInterval(emptySettleMs)
    , shownStyleName(themeDisplayName(Light))
    , themeTemplate(isThemeTemplatePath(absolutePath))
{
    settleTimer.setSingleShot(true);
    settleTimer.setTimerType(Qt::PreciseTimer);
    connect(&settleTimer, &QTimer::timeout, this, [this] { reload(false); });
    connect(&file, &WatchedFile::changed, this, &LiveSheet::noteChange);

    if (!gallery)
        return;
    gallery->onThemePicked(this, [this](Theme theme) {
        shownStyleName = themeDisplayName(theme);
        emit updated();
    });
}

LiveSheet::LiveSheet(const QString &path, Installer install, QObject *parent)
    : LiveSheet(nullptr, path, parent)
{
    installer = std::move(install);
    shownStyleName = fileName();
}

LiveSheet::LiveSheet(const QString &path, Installer install, const LintConfigResult &config,
                     PendingCheck pending, QObject *parent)
    : LiveSheet(nullptr, QFileInfo(path).absoluteFilePath(), config, parent)
{
    installer = std::move(install);
    shownStyleName = fileName();
    pendingCheck = std::move(pending);
}

void LiveSheet::setLinter(Linter replacement)
{
    linter = std::move(replacement);
}

void LiveSheet::setSettleTimes(int burstMs, int emptyMs)
{
    burstSettleInterval = burstMs;
    emptySettleInterval = emptyMs;
}

QString LiveSheet::fileName() const
{
    return QFileInfo(filePath).fileName();
}

void LiveSheet::apply()
{
    reload(true);
}

LintConfigResult LiveSheet::configurationOf(const QString &path)
{
    return lintConfigForSheet(QFileInfo(path).absoluteFilePath());
}

LiveSheet::CheckedAhead LiveSheet::checkAheadOf(const QString &path, const LintOptions &options)
{
    CheckedAhead ahead;
    if (isThemeTemplatePath(path))
        return ahead;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const FileReadResult read = readRegularFile(absolute, maxAuthorSheetBytes, true);
    if (!read.ok || read.bytes.isEmpty())
        return ahead;
    ahead.bytes = read.bytes;
    ahead.verdict = configuredLinter(options, nullptr)(read.bytes, absolute, Scope::Rejecting);
    return ahead;
}

void LiveSheet::takePendingCheck()
{
    if (!pendingCheck)
        return;
    const CheckedAhead ahead = pendingCheck();
    pendingCheck = nullptr;
    if (themeTemplate || ahead.bytes.isEmpty())
        return;
    checkedBytes = ahead.bytes;
    checkedVerdict = ahead.verdict;
}

bool LiveSheet::rejects(const LintDiagnostic &diagnostic)
{
    return diagnostic.severity == LintSeverity::Error && refusesInstall(diagnostic.check);
}

bool LiveSheet::rejectedBy(const QVector<LintDiagnostic> &verdict)
{
    for (const LintDiagnostic &diagnostic : verdict) {
        if (rejects(diagnostic)) {
            lastOutcome = Outcome::Rejected;
            lastProblem = themeTemplate ? tr("Not applied: %1:%2: %3 [%4].")
                                              .arg(QFileInfo(diagnostic.file).fileName())
                                              .arg(diagnostic.line)
                                              .arg(diagnostic.message, diagnostic.check)
                                        : tr("Not applied: line %1: %2 [%3].")
                                              .arg(diagnostic.line)
                                              .arg(diagnostic.message, diagnostic.check);
            return true;
        }
    }
    return false;
}

void LiveSheet::noteChange()
{
    takePendingCheck();
    if (!settleTimer.isActive())
        checkedBytes.clear();
    sinceChange.start();
    settleTimer.start(burstSettleInterval);
    // Once a burst has left a text in the file it mostly is the whole save already;
    // checking it now, while the burst settles, keeps the check out of the wait.
    // Once per burst, so a long burst costs one check, not one per write; and only
    // the rejecting checks, which fit in the settle time.
    if (checkedBytes.isEmpty())
        checkAhead();
}

void LiveSheet::checkAhead()
{
    // A template's build is as quick as reading it; nothing to gain ahead.
    if (themeTemplate)
        return;
    const FileReadResult read = readRegularFile(filePath, maxAuthorSheetBytes, true);
    if (!read.ok || read.bytes.isEmpty() || (haveBytes && read.bytes == lastBytes))
        return;
    checkedBytes = read.bytes;
    checkedVerdict = linter(read.bytes, filePath, Scope::Rejecting);
}

void LiveSheet::reload(bool force)
{
    // The watch is renewed before the read, so a write after the read is never missed.
    file.renew();
    for (const auto &source : sources)
        source->renew();
    // For a change on disk, timed from the change: what the author waits for.
    QElapsedTimer took;
    took.start();
    const qint64 sinceChangeNs = !force && sinceChange.isValid() ? sinceChange.nsecsElapsed() : 0;
    SheetRead read = readSheet();
    // Waited for only now: the watch and the read went on beside it.
    takePendingCheck();
    if (buildFailed(read.buildErrors))
        return;
    if (!read.ok) {
        haveBytes = false;
        lastBytes.clear();
        lastDiagnostics.clear();
        fullAnalysisDue = false;
        lastOutcome = QFileInfo::exists(filePath) ? Outcome::Unreadable : Outcome::Missing;
        lastProblem = lastOutcome == Outcome::Missing
                          ? file.missingText()
                          : tr("Cannot read %1 (%2).").arg(fileName(), read.error);
        emit updated();
        return;
    }
    // The directory's other files (an editor's swap and backup files) wake the
    // watch as well; an unchanged text needs nothing.
    if (!force && haveBytes && read.bytes == lastBytes)
        return;
    if (!force && read.bytes.isEmpty() && sinceChange.isValid() &&
        sinceChange.elapsed() < emptySettleInterval) {
        settleTimer.start(emptySettleInterval - int(sinceChange.elapsed()));
        return;
    }
    lastBytes = read.bytes;
    haveBytes = true;

    const QVector<LintDiagnostic> verdict = !checkedBytes.isEmpty() && read.bytes == checkedBytes
                                                ? checkedVerdict
                                                : analyse(read.bytes, Scope::Rejecting);
    checkedBytes.clear();
    checkedVerdict.clear();
    if (rejectedBy(verdict)) {
        lastDiagnostics = analyse(read.bytes, Scope::Full);
        fullAnalysisDue = false;
        emit updated();
        return;
    }

    if (gallery) {
        gallery->installAuthorSheet(decodeStyleSheetText(read.bytes), fileName());
        clearSwitcherSelection();
    } else {
        installer(decodeStyleSheetText(read.bytes));
    }
    lastApplyMs = (sinceChangeNs + took.nsecsElapsed()) / 1e6;
    lastAppliedAt = QDateTime::currentDateTime();
    lastOutcome = Outcome::Applied;
    lastProblem.clear();
    appliedEmpty = read.bytes.isEmpty();
    shownStyleName = fileName();
    if (force && gallery) {
        // Asked for (at start, or the Apply button): the diagnostics come with it. In an
        // application of the author's own they wait for its paint, as after a save:
        // its start-up is what the author waits for there.
        lastDiagnostics = analyse(read.bytes, Scope::Full);
        fullAnalysisDue = false;
        emit updated();
    } else {
        // A save is what the author waits to see; its full analysis can wait for it.
        analyseAfterPaint();
    }
}

void LiveSheet::analyseAfterPaint()
{
    if (!fullAnalysisDue)
        QCoreApplication::postEvent(this, new QEvent(analysisEvent), Qt::LowEventPriority - 1);
    fullAnalysisDue = true;
}

bool LiveSheet::event(QEvent *event)
{
    if (event->type() != analysisEvent)
        return QObject::event(event);
    // Not when a read since has published its own outcome and diagnostics.
    if (fullAnalysisDue && !analysisHeld) {
        fullAnalysisDue = false;
        lastDiagnostics = analyse(lastBytes, Scope::Full);
        emit updated();
    }
    return true;
}

void LiveSheet::releaseFullAnalysis()
{
    analysisHeld = false;
    if (fullAnalysisDue)
        QCoreApplication::postEvent(this, new QEvent(analysisEvent), Qt::LowEventPriority - 1);
}

void LiveSheet::clearSwitcherSelection()
{
    // With the file installed no built-in theme is current; left checked, the
    // theme's button could not be picked to go back to it.
    gallery->clearThemeSelection();
}

bool LiveSheet::buildFailed(const QVector<LintDiagnostic> &errors)
{
    if (errors.isEmpty())
        return false;
    // The last good build stays; the next good one is installed whatever its text.
    haveBytes = false;
    lastBytes.clear();
    fullAnalysisDue = false;
    lastDiagnostics = errors;
    lastOutcome = Outcome::Rejected;
    const LintDiagnostic &first = errors.constFirst();
    lastProblem = tr("Not built: %1:%2:%3: %4.")
                      .arg(QDir(QFileInfo(filePath).path()).relativeFilePath(first.file))
                      .arg(first.line)
                      .arg(first.column)
                      .arg(first.message);
    emit updated();
    return true;
}

QVector<LintDiagnostic> LiveSheet::analyse(const QByteArray &bytes, Scope scope)
{
    QVector<LintDiagnostic> found = linter(bytes, filePath, scope);
    if (themeTemplate) {
        for (LintDiagnostic &diagnostic : found)
            diagnostic = mapToSources(diagnostic, lastMap);
    }
    return found;
}

bool LiveSheet::setVariant(const QString &name)
{
    for (const QString &variant : qAsConst(variantNames)) {
        if (namesVariant(variant, name)) {
            currentVariant = variant;
            reload(true);
            return true;
        }
    }
    return false;
}

void LiveSheet::readTemplateHeader(const QByteArray &bytes)
{
    const ThemeTemplate theme = ThemeTemplate::parse(QString::fromUtf8(bytes), filePath, nullptr);
    variantNames.clear();
    for (const TemplateVariant &variant : theme.variants())
        variantNames << variant.name;
    if (!requestedVariant.isEmpty()) {
        for (const QString &variant : qAsConst(variantNames)) {
            if (namesVariant(variant, requestedVariant))
                currentVariant = variant;
        }
        requestedVariant.clear();
    }
    if (!variantNames.contains(currentVariant))
        currentVariant = variantNames.value(0);
    const QDir folder = QFileInfo(filePath).dir();
    QStringList names = theme.baseFiles();
    for (const TemplateVariant &variant : theme.variants())
        names << variant.files;
    if (!theme.iconsDirectory().isEmpty()) {
        const QDir icons(folder.filePath(theme.iconsDirectory()));
        for (const QString &icon : icons.entryList({QStringLiteral("*.svg")}, QDir::Files))
            names << theme.iconsDirectory() + QLatin1Char('/') + icon;
    }
    QStringList paths;
    for (const QString &name : qAsConst(names)) {
        const QString path = QDir::cleanPath(folder.filePath(name));
        if (!paths.contains(path))
            paths << path;
    }
    watchSources(paths);
}

void LiveSheet::watchSources(const QStringList &paths)
{
    if (paths == sourcePaths)
        return;
    sourcePaths = paths;
    sources.clear();
    for (const QString &path : paths) {
        sources.push_back(std::make_unique<WatchedFile>(path));
        connect(sources.back().get(), &WatchedFile::changed, this, &LiveSheet::noteChange);
    }
}

SheetRead LiveSheet::readSheet()
{
    SheetRead result;
    const FileReadResult read = readRegularFile(filePath, maxAuthorSheetBytes, true);
    if (!read.ok || !themeTemplate) {
        result.ok = read.ok;
        result.bytes = read.bytes;
        result.error = read.error;
        return result;
    }
    readTemplateHeader(read.bytes);
    if (!iconFolder)
        iconFolder = std::make_unique<QTemporaryDir>();
    ThemeBuildOptions options;
    options.variants = QStringList{currentVariant};
    for (int attempt = 0; attempt < 2; ++attempt) {
        options.iconRoot = iconFolder->path() + QStringLiteral("/%1").arg(iconGeneration);
        const ThemeBuild build = buildTheme(filePath, options);
        for (const SourceError &error : build.errors)
            result.buildErrors << themeBuildDiagnostic(error);
        if (!build.ok() || build.sheets.isEmpty()) {
            if (result.buildErrors.isEmpty())
                result.buildErrors << themeBuildDiagnostic(
                    {{filePath, 1, 1},
                     build.usageError.isEmpty() ? tr("nothing was built") : build.usageError});
            return result;
        }
        QByteArray icons;
        for (const BuiltIcon &icon : build.icons)
            icons += icon.name.toUtf8() + '\0' + icon.svg + '\0';
        if (attempt == 0 && !lastIcons.isEmpty() && icons != lastIcons) {
            ++iconGeneration;
            lastIcons = icons;
            continue;
        }
        lastIcons = icons;
        for (const BuiltIcon &icon : build.icons) {
            const QString folder = options.iconRoot + QLatin1Char('/') + icon.directory;
            QDir().mkpath(folder);
            QFile svg(folder + QLatin1Char('/') + icon.name + QStringLiteral(".svg"));
            if (svg.open(QIODevice::WriteOnly | QIODevice::Truncate))
                svg.write(icon.svg);
        }
        result.ok = true;
        result.bytes = build.sheets.constFirst().text;
        lastMap = build.sheets.constFirst().map;
        return result;
    }
    return result;
}
