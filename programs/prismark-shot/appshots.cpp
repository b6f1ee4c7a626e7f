// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/appshots.h"

#include "analysis/templatelint.h"
#include "attach/attachedreply.h"
#include "attach/attachlauncher.h"
#include "attach/attachprotocol.h"
#include "attach/windowshots.h"
#include "prismark-shot/baselinecomparison.h"
#include "prismark-shot/imagewriter.h"
#include "prismark-shot/shotconsole.h"
#include "prismark-shot/shotnames.h"
#include "prismark-shot/shotoptions.h"
#include "prismark-shot/shotsubjects.h"
#include "support/programsupport.h"
#include "support/safefilename.h"
#include "tokens/themebuild.h"
#include "tokens/themetemplate.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QSet>
#include <QTemporaryDir>

#include <memory>

namespace {

// Beyond the handshake and --settle, how long an attached application has to
// render its windows before it counts as hung.
constexpr int kRenderGraceMs = 20000;
// With --audit, for every widget of every window in every state as well.
constexpr int kAuditGraceMs = 120000;

// What the plugin is asked for in one run, and the toolkit's own scale, so the
// application lays itself out for it as on such a screen.
QProcessEnvironment shotEnvironment(const ShotOptions &options, const ShotCombination &combination,
                                    const QString &scratch)
{
    QProcessEnvironment extra;
    extra.insert(QLatin1String(Attach::shotFolderVariable), scratch);
    extra.insert(QLatin1String(Attach::shotSettleVariable), QString::number(options.settleMs));
    extra.insert(QLatin1String(Attach::shotStyleVariable),
                 baseStyleFactoryKey(combination.baseStyle));
    extra.insert(QLatin1String(Attach::shotDirectionVariable),
                 QLatin1String(combination.direction == Qt::RightToLeft ? Attach::rightToLeft
                                                                        : Attach::leftToRight));
    extra.insert(QStringLiteral("QT_SCALE_FACTOR"), scaleText(combination.scale));
    if (options.audit)
        extra.insert(QLatin1String(Attach::shotAuditVariable),
                     QLatin1String(options.wcag ? Attach::wcagAuditKind : Attach::stateAuditKind));
    return extra;
}

} // namespace

AppRun runOnce(const ShotOptions &options, const QString &variant, ColorScheme scheme,
               const ShotCombination &combination, const QString &scratch)
{
    AttachCommand command;
    command.sheet = options.sheetPaths.constFirst();
    command.variant = variant;
    command.program = options.program;
    command.arguments = options.programArguments;
    // The application sees the desktop of this run's scheme.
    command.colorScheme = scheme;
    AttachLauncher launcher(command, attachPluginFolder());
    launcher.setWay(options.attachWay);
    // The agent is sent the sheet checked (a template's variant built) here.
    launcher.setKeepSheetForAgent(true);
    // The way in and why, said once for the whole command.
    static bool wayTold = false;
    launcher.setHelloNote(wayTold || options.quiet ? QString() : QStringLiteral(""));
    wayTold = true;
    launcher.setExtraEnvironment(shotEnvironment(options, combination, scratch));

    AwaitedReply awaited;
    awaited.doneKind = QLatin1String(Attach::shotKind);
    awaited.settleMs = options.settleMs;
    awaited.graceMs = options.audit ? kAuditGraceMs : kRenderGraceMs;
    awaited.program = options.program;
    awaited.overdue = QStringLiteral("rendered no window within %1 s of starting");
    awaited.unfinished = QStringLiteral("its windows were rendered");
    awaited.stopStatus = ShotNotAttached;
    awaited.printError = printProgramError;
    const AttachedReply reply = awaitReply(launcher, awaited);
    AppRun run;
    if (!reply.done)
        return run;
    run.windows = reply.fields.value(QLatin1String(Attach::windowsField)).toArray();
    run.status = ShotSuccess;
    run.audited = reply.fields.value(QLatin1String(Attach::auditedField)).toBool();
    if (options.audit && !run.audited)
        printProgramError(
            QStringLiteral("%1 could not hand over the audit: %2")
                .arg(options.program,
                     reply.fields.value(QLatin1String(Attach::auditProblemField)).toString()));
    if (!reply.fields.value(QLatin1String(Attach::sheetAppliedField)).toBool()) {
        printProgramError(
            QStringLiteral("the toolkit did not take %1: %2")
                .arg(command.sheet,
                     reply.fields.value(QLatin1String(Attach::sheetProblemField)).toString()));
        run.status = ShotInputOutputError;
    }
    return run;
}

namespace {

// Files of one theme's baseline folder.
QStringList baselineFiles(const ShotOptions &options, const QString &folder)
{
    if (options.comparePath.isEmpty())
        return {};
    return QDir(QDir(options.comparePath).filePath(folder))
        .entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
}

// Every folder the run writes to.
bool makeFolders(const ShotOptions &options, const QString &folder)
{
    const QDir out(options.outPath);
    QStringList folders{out.filePath(folder)};
    if (!options.comparePath.isEmpty())
        folders << out.filePath(QLatin1String(kDiffFolder) + QLatin1Char('/') + folder);
    for (const QString &path : qAsConst(folders)) {
        if (!QDir().mkpath(path) || !QFileInfo(path).isWritable()) {
            printProgramError(QStringLiteral("cannot write to the output folder %1").arg(path));
            return false;
        }
    }
    return true;
}

QVector<ShotCombination> combinations(const ShotOptions &options)
{
    QVector<ShotCombination> cells;
    for (const QString &baseStyle : options.baseStyles)
        for (Qt::LayoutDirection direction : options.directions)
            for (qreal scale : options.scales)
                cells.append({baseStyle, direction, false, scale});
    return cells;
}

// Each window of one run written under its name for the combination, and compared.
// The application names its windows and the file in the scratch folder it put each
// into; the file a window is written to here is made of its name.
void takeWindows(const AppRun &run, const QString &scratch, const QString &folder,
                 const ShotCombination &combination, const QDir &out, ImageWriter &writer,
                 BaselineComparison *comparison, QVector<RenderedImage> &images,
                 QSet<QString> &names)
{
    QStringList windowNames;
    for (const QJsonValue &entry : run.windows)
        windowNames << entry.toObject().value(QLatin1String(Attach::windowNameField)).toString();
    const QStringList stems = windowFileStems(windowNames);
    for (int index = 0; index < run.windows.size(); ++index) {
        const QString file = run.windows.at(index)
                                 .toObject()
                                 .value(QLatin1String(Attach::windowFileField))
                                 .toString();
        // The name comes from another process: it stays a name in the folder.
        QSet<QString> unused;
        if (uniqueSafeFileStem(file, &unused) != file)
            continue;
        const QString &stem = stems.at(index);
        RenderedImage image;
        image.folder = folder;
        image.tab = stem;
        image.combination = combination;
        image.fileName = shotFileName(stem, combination);
        images.append(image);
        names.insert(stem);
        const QImage pixels = QImage(QDir(scratch).filePath(file + QStringLiteral(".png")))
                                  .convertToFormat(QImage::Format_RGB32);
        const QString path = out.filePath(folder + QLatin1Char('/') + image.fileName);
        // The caller keeps the images' storage in place while writers fill them in.
        RenderedImage *written = &images.last();
        writer.submit([&writer, comparison, path, pixels, written] {
            writer.writeImage(path, pixels);
            if (comparison)
                comparison->compare(written, pixels);
        });
    }
}

} // namespace

QStringList baselineWindowNames(const QStringList &files, const QStringList &knownWindows)
{
    QStringList names = knownWindows;
    for (const QString &file : files) {
        QString window;
        ShotCombination combination;
        if (parseShotFileName(file, knownWindows, &window, &combination))
            continue;
        for (int length = 1; length < file.size(); ++length) {
            const QString candidate = file.left(length);
            if (parseShotFileName(file, {candidate}, &window, &combination)) {
                names.append(window);
                break;
            }
        }
    }
    names.removeDuplicates();
    return names;
}

// A theme template's variants, each a theme of its own, DIR/<theme>-<variant>, as
// prismark-build names the variant's sheet: those asked for, or every one. One
// theme and no variant for a plain sheet.
int chooseVariants(const ShotOptions &options, ShotSubjects &subjects, QStringList *variants)
{
    const QString path = options.sheetPaths.constFirst();
    if (!isThemeTemplatePath(path))
        return ShotSuccess;
    QStringList names;
    for (const TemplateVariant &variant :
         ThemeTemplate::parse(subjects.sheetTexts.constFirst(), path, nullptr).variants())
        names << variant.name;
    if (names.isEmpty() && options.variants.isEmpty())
        return ShotSuccess;
    const auto named = [&](const QString &wanted) {
        return std::find_if(names.cbegin(), names.cend(), [&](const QString &name) {
            return name.compare(wanted, Qt::CaseInsensitive) == 0 || kebabCase(name) == wanted;
        });
    };
    for (const QString &wanted : options.variants) {
        if (named(wanted) == names.cend()) {
            printProgramError(QStringLiteral("%1 has no variant \"%2\"; it has %3")
                                  .arg(path, wanted, names.join(QLatin1String(", "))));
            return ShotUsageError;
        }
        if (!variants->contains(*named(wanted)))
            variants->append(*named(wanted));
    }
    if (options.variants.isEmpty())
        *variants = names;
    const ShotTheme sheet = subjects.themes.constFirst();
    QVector<ShotTheme> themes;
    for (const QString &variant : qAsConst(*variants)) {
        ShotTheme theme = sheet;
        theme.name = themeTemplateStem(path) + QLatin1Char('-') + variant;
        theme.folder = kebabCase(themeTemplateStem(path)) + QLatin1Char('-') + kebabCase(variant);
        theme.displayName = theme.name;
        themes << theme;
    }
    subjects.themes = themesPerScheme(themes, options.colorSchemes);
    return ShotSuccess;
}

QString variantOfRun(const ShotOptions &options, const QStringList &variants, int run)
{
    return variants.value(run / int(options.colorSchemes.size()));
}

namespace {

// Every combination a run of the application of its own; the images go to the
// writer (and the comparison) while the next run goes on. Returns the exit code.
int renderEveryCombination(const ShotOptions &options, const ShotTheme &theme,
                           const QString &variant, const QString &scratch, ImageWriter &writer,
                           BaselineComparison *comparison, QVector<RenderedImage> &images,
                           QSet<QString> &windowNames)
{
    const QString &folder = theme.folder;
    const QVector<ShotCombination> cells = combinations(options);
    ShotProgress progress(options.quiet, int(cells.size()));
    for (int cell = 0; cell < cells.size(); ++cell) {
        progress.step(folder + QStringLiteral(" (") + combinationTitle(cells[cell]) +
                      QLatin1Char(')'));
        const QString cellFolder = QDir(scratch).filePath(QString::number(cell));
        QDir().mkpath(cellFolder);
        const AppRun run = runOnce(options, variant, theme.scheme, cells[cell], cellFolder);
        if (run.status != ShotSuccess)
            return run.status;
        if (run.windows.isEmpty()) {
            printProgramError(QStringLiteral("%1 showed no window within %2 s; give it longer with "
                                             "--settle")
                                  .arg(options.program)
                                  .arg(options.settleMs / 1000.0));
            return ShotNotAttached;
        }
        // Writers fill the images in: their storage moves only while none is busy.
        if (images.size() + run.windows.size() > images.capacity()) {
            writer.waitForDone();
            images.reserve(images.size() * 2 + run.windows.size());
        }
        takeWindows(run, cellFolder, folder, cells[cell], QDir(options.outPath), writer, comparison,
                    images, windowNames);
    }
    writer.waitForDone();
    progress.finish();
    return ShotSuccess;
}

} // namespace

int runAppShots(const ShotOptions &options)
{
    ShotSubjects subjects;
    if (const int code = subjects.loadThemes(options))
        return code;
    QStringList variants;
    if (const int code = chooseVariants(options, subjects, &variants))
        return code;
    for (ShotTheme &theme : subjects.themes) {
        theme.folder += QLatin1Char('/') + QLatin1String(kAppFolder);
        if (!makeFolders(options, theme.folder))
            return ShotInputOutputError;
    }
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        printProgramError(
            QStringLiteral("cannot make a temporary folder: %1").arg(scratch.errorString()));
        return ShotInputOutputError;
    }
    ImageWriter writer;
    std::unique_ptr<BaselineComparison> comparison;
    if (!options.comparePath.isEmpty())
        comparison = std::make_unique<BaselineComparison>(options, subjects, writer);
    QVector<RenderedImage> images;
    QSet<QString> windowNames;
    for (int run = 0; run < subjects.themes.size(); ++run) {
        const QString runScratch = QDir(scratch.path()).filePath(QString::number(run));
        const int rendered = renderEveryCombination(
            options, subjects.themes[run], variantOfRun(options, variants, run), runScratch, writer,
            comparison.get(), images, windowNames);
        writer.waitForDone();
        if (rendered != ShotSuccess)
            return rendered;
    }
    if (writer.printWriteErrors())
        return ShotInputOutputError;
    int code = ShotSuccess;
    if (comparison) {
        QStringList baseline;
        for (const ShotTheme &theme : qAsConst(subjects.themes))
            baseline += baselineFiles(options, theme.folder);
        subjects.tabFiles =
            baselineWindowNames(baseline, QStringList(windowNames.begin(), windowNames.end()));
        code = comparison->report(images, comparison->baselineExtras(images));
        if (code != ShotInputOutputError && options.updateBaseline) {
            const int updated = comparison->updateBaseline(images);
            code = updated == ShotSuccess ? ShotSuccess : updated;
        }
    }
    if (options.listFiles)
        writer.printWrittenFiles();
    return code;
}
