// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "shot/shotcommand.h"

#include "forms/formloader.h"
#include "shot/auditchecks.h"
#include "shot/auditrules.h"
#include "shot/contactsheet.h"
#include "shot/diffreport.h"
#include "shot/imagediff.h"
#include "shot/pngfile.h"
#include "shot/shotmatrix.h"
#include "shot/shotnames.h"
#include "shot/shotrenderer.h"
#include "shot/stateaudit.h"
#include "support/programsupport.h"
#include "support/safefileread.h"
#include "theme/stylesheetloader.h"
#include "widgetstyles/sheetstyle.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSemaphore>
#include <QSet>
#include <QThreadPool>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

// Rendered images waiting for a writer; bounds the memory a fast renderer can fill.
constexpr int kPendingImages = 6;
const QString kDiffFolder = QStringLiteral("diff");
const QString kStatesFolder = QStringLiteral("states");
const QString kFormatText = QStringLiteral("text");
const QString kFormatJson = QStringLiteral("json");
const QString kFormatSarif = QStringLiteral("sarif");
// parse()'s answer when --help or --version has said all there is to say.
constexpr int kDoneAfterParsing = -1;

const char kExitCodeHelp[] = "Exit codes:\n"
                             "  0  success\n"
                             "  1  --compare: an image differs beyond the threshold, or is\n"
                             "     missing on either side; --audit: a warning was found\n"
                             "  2  bad command line: unknown option, theme or tab, bad value\n"
                             "  3  a sheet or form cannot be read, or an output file cannot be\n"
                             "     written (a form that is no form: the rest is still rendered)\n";

void printError(const QString &message)
{
    std::fprintf(stderr, "prismark-shot: %s\n", qUtf8Printable(message));
}

void printOut(const QString &line)
{
    std::fprintf(stdout, "%s\n", qUtf8Printable(line));
}

// One line that rewrites itself on a terminal, plain lines elsewhere.
class Progress
{
public:
    Progress(bool quiet, int total)
        : quiet(quiet)
        , terminal(isatty(fileno(stderr)))
        , total(total)
    {}

    void step(const QString &label)
    {
        ++done;
        if (quiet)
            return;
        const QString line = QStringLiteral("[%1/%2] %3").arg(done).arg(total).arg(label);
        if (terminal)
            std::fprintf(stderr, "\r%s\x1b[K", qUtf8Printable(line));
        else
            std::fprintf(stderr, "%s\n", qUtf8Printable(line));
        std::fflush(stderr);
    }

    void finish()
    {
        if (!quiet && terminal && done > 0)
            std::fprintf(stderr, "\n");
    }

private:
    const bool quiet;
    const bool terminal;
    const int total;
    int done = 0;
};

// A tab or form to render, by its index in the window.
struct TabChoice
{
    int tab;
    QString file; // the file name's stem: the tab text or form name in kebab case
    QString label;
};

struct ImageResult
{
    QString folder;
    QString tab;
    ShotCombination combination;
    QString fileName;
    bool baselineMissing = false;
    ImageDiff diff;
};

class ShotRun
{
public:
    int run(const QStringList &arguments);

private:
    int parse(const QStringList &arguments);
    void declareOptions();
    int parseOutputs();
    int parseMatrix();
    int resolveThemes();
    int resolveTabs(const QStringList &tabTexts);
    int resolveForms();
    void loadForms(ShotRenderer &renderer);
    int prepareFolders();
    void render(ShotRenderer &renderer);
    std::vector<ContactSheetSection> emptySections() const;
    void renderImage(ShotRenderer &renderer, const ShotTheme &theme, const TabChoice &choice,
                     const ShotCombination &combination, ContactSheetCell *cell,
                     ImageResult *result, Progress &progress);
    void renderTheme(ShotRenderer &renderer, int themeIndex, Progress &progress,
                     ImageResult *&result);
    void submit(std::function<void()> job);
    void writeImage(const QString &path, const QImage &image);
    void compareImage(ImageResult *result, const QImage &image);
    int writeIndex();
    int report();
    bool inSelectedSet(const ShotCombination &combination) const;
    QVector<ImageResult> baselineExtras() const;
    int writeDiffReport(const QVector<DiffReportRow> &rows, const QString &summary);
    int updateBaseline();
    int audit(ShotRenderer &renderer);
    int printFindings(const QVector<AuditFinding> &findings);

    QCommandLineParser parser;
    QVector<ShotTheme> themes;
    QVector<QString> sheetTexts;
    QVector<TabChoice> tabChoices;
    QStringList baseStyles;
    QVector<Qt::LayoutDirection> directions;
    QVector<qreal> scales;
    bool disabledToo = false;
    QSize size{1040, 720};
    double threshold = 0.1;
    QDir out;
    QString outPath;
    QString comparePath;
    QString format;
    QStringList selectedTabFiles;
    QStringList formPaths;
    QStringList formFiles; // "form-<name>", in the order of formPaths
    bool formFailed = false;

    QThreadPool pool;
    QSemaphore pendingSlots{kPendingImages};
    QMutex mutex;
    QStringList writeErrors;
    QStringList writtenFiles;
    QVector<ImageResult> results;
};

bool parseSize(const QString &text, QSize *size)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    *size = QSize(match.captured(1).toInt(), match.captured(2).toInt());
    return true;
}

void ShotRun::declareOptions()
{
    parser.setApplicationDescription(
        QStringLiteral("Renders the Prismark Preview window in each theme and tab to PNG files, "
                       "without a display, the same bytes run after run.\n\n") +
        QLatin1String(kExitCodeHelp));
    parser.addOptions({
        {QStringLiteral("theme"),
         QStringLiteral("A built-in theme by sheet file stem (tokyoNightLight) or display name "
                        "(\"Tokyo Night Light\"), any letter case, or all. Repeatable."),
         QStringLiteral("name")},
        {QStringLiteral("sheet"),
         QStringLiteral("A style sheet file, installed the way a built-in theme is. Repeatable."),
         QStringLiteral("file.qss")},
        {QStringLiteral("tab"),
         QStringLiteral("A gallery tab by its text (Overview ... Editors), or all (default). "
                        "Repeatable."),
         QStringLiteral("name")},
        {QStringLiteral("form"),
         QStringLiteral("A Qt Designer form rendered as a tab of its own, to "
                        "DIR/<theme>/form-<name>.png. Repeatable."),
         QStringLiteral("DIALOG.ui")},
        {QStringLiteral("disabled"),
         QStringLiteral("Also render each tab with \"Disable preview widgets\" checked.")},
        {QStringLiteral("size"), QStringLiteral("Window size (default 1040x720)."),
         QStringLiteral("WxH")},
        {QStringLiteral("base-style"),
         QStringLiteral("The style a theme is drawn over: fusion (default) or windows. "
                        "Repeatable or comma separated."),
         QStringLiteral("name")},
        {QStringLiteral("scale"),
         QStringLiteral("Device pixel ratios, such as 1,1.25,1.5,2 (default 1). Repeatable or "
                        "comma separated."),
         QStringLiteral("N")},
        {QStringLiteral("direction"),
         QStringLiteral("Layout directions: ltr (default), rtl. Repeatable or comma separated."),
         QStringLiteral("ltr|rtl")},
        {QStringLiteral("out"), QStringLiteral("Output folder (default shots)."),
         QStringLiteral("dir")},
        {QStringLiteral("contact-sheet"),
         QStringLiteral("Also write DIR/<theme>.png, all tabs in a grid, and DIR/index.html.")},
        {QStringLiteral("compare"),
         QStringLiteral("Compare each image with the same-named one under this folder; diff "
                        "images go to DIR/diff."),
         QStringLiteral("baseline-dir")},
        {QStringLiteral("update-baseline"),
         QStringLiteral("With --compare: copy this run's images over the baseline's.")},
        {QStringLiteral("audit"),
         QStringLiteral("Render each interactive widget in its states to "
                        "DIR/<theme>/states/<tab>/<object>.png and report focus, hover, pressed, "
                        "disabled and checked looks that cannot be told apart.")},
        {QStringLiteral("format"),
         QStringLiteral("--audit's findings as text (default), json or sarif."),
         QStringLiteral("format")},
        {QStringLiteral("threshold"),
         QStringLiteral("Share of differing pixels that fails --compare (default 0.1)."),
         QStringLiteral("percent")},
        {QStringLiteral("quiet"), QStringLiteral("No progress display.")},
        {QStringLiteral("list"), QStringLiteral("Print the files written on standard output.")},
    });
}

int ShotRun::parse(const QStringList &arguments)
{
    declareOptions();
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();

    if (!parser.parse(arguments)) {
        printError(parser.errorText());
        return ShotUsageError;
    }
    if (parser.isSet(helpOption)) {
        std::fputs(qUtf8Printable(helpTextForProgram(parser)), stdout);
        return kDoneAfterParsing;
    }
    if (parser.isSet(versionOption)) {
        printOut(QStringLiteral("prismark-shot %1").arg(QCoreApplication::applicationVersion()));
        return kDoneAfterParsing;
    }
    if (!parser.positionalArguments().isEmpty()) {
        printError(QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments()[0]));
        return ShotUsageError;
    }
    if (!parser.isSet(QStringLiteral("theme")) && !parser.isSet(QStringLiteral("sheet"))) {
        printError(QStringLiteral("nothing to render: give --theme NAME|all or --sheet FILE"));
        return ShotUsageError;
    }
    if (parser.isSet(QStringLiteral("size")) &&
        !parseSize(parser.value(QStringLiteral("size")), &size)) {
        printError(QStringLiteral("--size wants WIDTHxHEIGHT, such as 1040x720"));
        return ShotUsageError;
    }
    if (const int code = parseMatrix())
        return code;
    return parseOutputs();
}

// Where the images go, what they are compared with, and how findings are printed.
int ShotRun::parseOutputs()
{
    if (parser.isSet(QStringLiteral("threshold"))) {
        bool ok = false;
        threshold = parser.value(QStringLiteral("threshold")).toDouble(&ok);
        if (!ok || !(threshold >= 0 && threshold <= 100)) {
            printError(QStringLiteral("--threshold wants a percentage from 0 to 100"));
            return ShotUsageError;
        }
    }
    outPath = parser.isSet(QStringLiteral("out")) ? parser.value(QStringLiteral("out"))
                                                  : QStringLiteral("shots");
    out = QDir(outPath);
    comparePath = parser.value(QStringLiteral("compare"));
    if (!comparePath.isEmpty() && QFileInfo(comparePath).exists() &&
        QFileInfo(comparePath).canonicalFilePath() == QFileInfo(outPath).canonicalFilePath()) {
        printError(QStringLiteral("--compare needs a baseline folder other than --out"));
        return ShotUsageError;
    }
    if (parser.isSet(QStringLiteral("update-baseline")) && comparePath.isEmpty()) {
        printError(QStringLiteral("--update-baseline needs --compare BASELINE_DIR"));
        return ShotUsageError;
    }
    format = parser.isSet(QStringLiteral("format")) ? parser.value(QStringLiteral("format"))
                                                    : kFormatText;
    if (format != kFormatText && format != kFormatJson && format != kFormatSarif) {
        printError(QStringLiteral("unknown format \"%1\": use text, json or sarif").arg(format));
        return ShotUsageError;
    }
    return ShotSuccess;
}

int ShotRun::parseMatrix()
{
    QString error;
    if (!parseBaseStyles(parser.values(QStringLiteral("base-style")), &baseStyles, &error) ||
        !parseScales(parser.values(QStringLiteral("scale")), &scales, &error) ||
        !parseDirections(parser.values(QStringLiteral("direction")), &directions, &error)) {
        printError(error);
        return ShotUsageError;
    }
    disabledToo = parser.isSet(QStringLiteral("disabled"));
    if (!parser.isSet(QStringLiteral("audit")))
        return ShotSuccess;
    // The strips' names carry no combination, so an audit is of one.
    if (baseStyles.size() > 1 || scales.size() > 1 || directions.size() > 1) {
        printError(QStringLiteral("--audit takes one base style, one scale and one direction"));
        return ShotUsageError;
    }
    for (const char *option : {"compare", "contact-sheet", "disabled"}) {
        if (parser.isSet(QLatin1String(option))) {
            printError(QStringLiteral("--audit renders states only; leave out --%1")
                           .arg(QLatin1String(option)));
            return ShotUsageError;
        }
    }
    return ShotSuccess;
}

int ShotRun::resolveThemes()
{
    for (const QString &name : splitOptionValues(parser.values(QStringLiteral("theme")))) {
        QVector<Theme> matched;
        Theme theme = Light;
        if (name.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0) {
            for (int value = 0; value < ThemeCount; ++value)
                matched << static_cast<Theme>(value);
        } else if (findBuiltInTheme(name, &theme)) {
            matched << theme;
        } else {
            printError(QStringLiteral("unknown theme \"%1\"; valid names, as file stem or display "
                                      "name in any letter case, or all:\n  %2")
                           .arg(name, builtInThemeNames().join(QLatin1String("\n  "))));
            return ShotUsageError;
        }
        for (Theme value : matched) {
            const ShotTheme shot = builtInShotTheme(value);
            const bool known = std::any_of(themes.cbegin(), themes.cend(), [&](const ShotTheme &t) {
                return t.builtIn && t.theme == value;
            });
            if (!known) {
                themes << shot;
                sheetTexts << QString();
            }
        }
    }
    for (const QString &path : parser.values(QStringLiteral("sheet"))) {
        const FileReadResult read = readRegularFile(path, maxAuthorSheetBytes, true);
        if (!read.ok) {
            printError(QStringLiteral("cannot read sheet %1: %2").arg(path, read.error));
            return ShotInputOutputError;
        }
        themes << sheetShotTheme(path);
        sheetTexts << decodeStyleSheetText(read.bytes);
    }
    QSet<QString> folders;
    for (const ShotTheme &theme : qAsConst(themes)) {
        if (theme.folder.isEmpty()) {
            printError(QStringLiteral("sheet %1: its name gives no output folder name; rename it")
                           .arg(theme.sheetPath));
            return ShotUsageError;
        }
        if (folders.contains(theme.folder)) {
            printError(QStringLiteral("two themes would write to the same folder \"%1\"; rename "
                                      "one of the sheets")
                           .arg(theme.folder));
            return ShotUsageError;
        }
        folders.insert(theme.folder);
    }
    return ShotSuccess;
}

int ShotRun::resolveTabs(const QStringList &tabTexts)
{
    QStringList names = splitOptionValues(parser.values(QStringLiteral("tab")));
    if (names.isEmpty())
        names << QStringLiteral("all");
    QVector<int> tabs;
    for (const QString &name : qAsConst(names)) {
        if (name.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0) {
            for (int tab = 0; tab < tabTexts.size(); ++tab)
                if (!tabs.contains(tab))
                    tabs << tab;
            continue;
        }
        int found = -1;
        for (int tab = 0; tab < tabTexts.size(); ++tab)
            if (name.compare(tabTexts[tab], Qt::CaseInsensitive) == 0 ||
                name.compare(kebabCase(tabTexts[tab]), Qt::CaseInsensitive) == 0)
                found = tab;
        if (found < 0) {
            printError(
                QStringLiteral("unknown tab \"%1\"; valid names, in any letter case: %2, all")
                    .arg(name, tabTexts.join(QLatin1String(", "))));
            return ShotUsageError;
        }
        if (!tabs.contains(found))
            tabs << found;
    }
    for (int tab : qAsConst(tabs)) {
        const QString file = kebabCase(tabTexts[tab]);
        selectedTabFiles << file;
        tabChoices << TabChoice{tab, file, tabTexts[tab]};
    }
    return ShotSuccess;
}

int ShotRun::resolveForms()
{
    for (const QString &path : parser.values(QStringLiteral("form"))) {
        if (!QFileInfo::exists(path)) {
            printError(QStringLiteral("cannot read form %1: no such file").arg(path));
            return ShotInputOutputError;
        }
        const QString file =
            QStringLiteral("form-") + kebabCase(QFileInfo(path).completeBaseName());
        if (file == QLatin1String("form-") || formFiles.contains(file)) {
            printError(QStringLiteral("form %1 would be written as %2.png like another; rename it")
                           .arg(path, file));
            return ShotUsageError;
        }
        formPaths << path;
        formFiles << file;
    }
    return ShotSuccess;
}

void ShotRun::loadForms(ShotRenderer &renderer)
{
    for (int i = 0; i < formPaths.size(); ++i) {
        LoadedForm form = loadForm(formPaths.at(i));
        if (!form.widget) {
            // The other forms and the gallery are still rendered; the exit code tells.
            printError(QStringLiteral("cannot show form %1: %2").arg(formPaths.at(i), form.error));
            formFailed = true;
            continue;
        }
        const QString title = form.title;
        const int tab = renderer.addFormTab(std::move(form.widget), title);
        const QString &file = formFiles.at(i);
        selectedTabFiles << file;
        tabChoices << TabChoice{tab, file, title};
    }
}

int ShotRun::prepareFolders()
{
    QStringList folders;
    for (const ShotTheme &theme : qAsConst(themes)) {
        folders << out.filePath(theme.folder);
        if (!comparePath.isEmpty())
            folders << out.filePath(kDiffFolder + QLatin1Char('/') + theme.folder);
    }
    for (const QString &folder : qAsConst(folders)) {
        const QFileInfo info(folder);
        if (!QDir().mkpath(folder) || !info.isDir() || !info.isWritable()) {
            printError(QStringLiteral("cannot write to the output folder %1").arg(folder));
            return ShotInputOutputError;
        }
    }
    return ShotSuccess;
}

void ShotRun::submit(std::function<void()> job)
{
    pendingSlots.acquire();
    pool.start(QRunnable::create([this, job] {
        job();
        pendingSlots.release();
    }));
}

void ShotRun::writeImage(const QString &path, const QImage &image)
{
    QString error;
    const bool ok = writePngAtomically(path, image, &error);
    QMutexLocker locker(&mutex);
    if (ok)
        writtenFiles << path;
    else
        writeErrors << QStringLiteral("cannot write %1: %2").arg(path, error);
}

void ShotRun::compareImage(ImageResult *result, const QImage &image)
{
    const QString baselineFile =
        QDir(comparePath).filePath(result->folder + QLatin1Char('/') + result->fileName);
    const QImage baseline(baselineFile);
    if (baseline.isNull()) {
        result->baselineMissing = true;
        return;
    }
    result->diff = compareImages(image, baseline);
    const QString diffFile =
        out.filePath(QStringLiteral("%1/%2/%3").arg(kDiffFolder, result->folder, result->fileName));
    if (result->diff.highlight.isNull()) {
        // A diff left by an earlier run would point at a difference that is gone.
        QFile::remove(diffFile);
        return;
    }
    writeImage(diffFile, result->diff.highlight);
    result->diff.highlight = QImage();
}

void ShotRun::render(ShotRenderer &renderer)
{
    const int perTheme = int(tabChoices.size() * baseStyles.size() * directions.size() *
                             scales.size() * (disabledToo ? 2 : 1));
    results.resize(themes.size() * perTheme);
    ImageResult *result = results.data();
    Progress progress(parser.isSet(QStringLiteral("quiet")), int(results.size()));
    for (int t = 0; t < themes.size(); ++t)
        renderTheme(renderer, t, progress, result);
    pool.waitForDone();
    progress.finish();
}

// Sections per base style, direction and scale, their cells in tab order, each tab
// before its disabled render; the writers fill in the thumbnails.
std::vector<ContactSheetSection> ShotRun::emptySections() const
{
    const int cellsPerSection = int(tabChoices.size()) * (disabledToo ? 2 : 1);
    std::vector<ContactSheetSection> sections;
    for (const QString &baseStyle : qAsConst(baseStyles))
        for (Qt::LayoutDirection direction : qAsConst(directions))
            for (qreal scale : qAsConst(scales))
                sections.push_back({combinationTitle({baseStyle, direction, false, scale}),
                                    QVector<ContactSheetCell>(cellsPerSection)});
    return sections;
}

// Renders one image now; a writer saves it, compares it and makes its thumbnail
// into cell, when there is one.
void ShotRun::renderImage(ShotRenderer &renderer, const ShotTheme &theme, const TabChoice &choice,
                          const ShotCombination &combination, ContactSheetCell *cell,
                          ImageResult *result, Progress &progress)
{
    const QString fileName = shotFileName(choice.file, combination);
    progress.step(theme.name + QLatin1Char('/') + fileName.chopped(int(qstrlen(".png"))));
    const QImage image = renderer.render(choice.tab, combination.disabled, combination.scale);
    result->folder = theme.folder;
    result->tab = choice.file;
    result->combination = combination;
    result->fileName = fileName;
    if (cell)
        cell->label =
            choice.label + (combination.disabled ? QStringLiteral(" (disabled)") : QString());
    const QString path = out.filePath(theme.folder + QLatin1Char('/') + fileName);
    const bool compare = !comparePath.isEmpty();
    submit([this, path, image, result, compare, cell] {
        writeImage(path, image);
        if (compare)
            compareImage(result, image);
        if (cell)
            cell->image =
                image.scaledToWidth(kContactSheetThumbnailWidth, Qt::SmoothTransformation);
    });
}

// Every base style and direction of one theme starts from a freshly installed
// style, and every further scale from emptied caches, so no image depends on what
// the run rendered before it.
void ShotRun::renderTheme(ShotRenderer &renderer, int themeIndex, Progress &progress,
                          ImageResult *&result)
{
    const ShotTheme &theme = themes[themeIndex];
    const bool contactSheet = parser.isSet(QStringLiteral("contact-sheet"));
    std::vector<ContactSheetSection> sections = emptySections();
    auto section = sections.begin();
    for (const QString &baseStyle : qAsConst(baseStyles)) {
        for (Qt::LayoutDirection direction : qAsConst(directions)) {
            renderer.applyTheme(theme, sheetTexts[themeIndex], baseStyle, direction);
            for (int s = 0; s < scales.size(); ++s, ++section) {
                // Pixmaps made at another scale would be reused, scaled, where a run
                // of this scale alone draws them afresh.
                if (s > 0)
                    renderer.clearCaches();
                ContactSheetCell *cell = section->cells.data();
                for (const TabChoice &choice : qAsConst(tabChoices)) {
                    for (bool disabled : {false, true}) {
                        if (disabled && !disabledToo)
                            continue;
                        renderImage(renderer, theme, choice,
                                    {baseStyle, direction, disabled, scales[s]},
                                    contactSheet ? cell++ : nullptr, result++, progress);
                    }
                }
            }
        }
    }
    if (!contactSheet)
        return;
    // The thumbnails must all be there before the sheet is made of them.
    pool.waitForDone();
    const QVector<ContactSheetSection> done(sections.begin(), sections.end());
    const QString path = out.filePath(theme.folder + QStringLiteral(".png"));
    const QString title = theme.displayName;
    submit([this, path, title, done] { writeImage(path, makeContactSheet(title, done)); });
}

int ShotRun::writeIndex()
{
    QVector<ContactSheetEntry> entries;
    for (const ShotTheme &theme : qAsConst(themes))
        entries << ContactSheetEntry{theme.displayName, theme.folder + QStringLiteral(".png")};
    const QString path = out.filePath(QStringLiteral("index.html"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(contactSheetIndexHtml(entries).toUtf8()) < 0 || !file.commit()) {
        printError(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return ShotInputOutputError;
    }
    writtenFiles << path;
    return ShotSuccess;
}

// Like with like: a baseline image belongs to this run's set when its base style,
// direction and scale are among those asked for. Disabled renders always belong, so
// a run without --disabled notices a baseline that has them.
bool ShotRun::inSelectedSet(const ShotCombination &combination) const
{
    return baseStyles.contains(combination.baseStyle) &&
           directions.contains(combination.direction) &&
           std::any_of(scales.cbegin(), scales.cend(),
                       [&](qreal scale) { return qFuzzyCompare(scale, combination.scale); });
}

// Images of the selected set in the baseline's folders that this run did not write.
QVector<ImageResult> ShotRun::baselineExtras() const
{
    QSet<QString> written;
    for (const ImageResult &result : results)
        written.insert(result.folder + QLatin1Char('/') + result.fileName);
    QVector<ImageResult> extras;
    for (const ShotTheme &theme : themes) {
        const QDir folder(QDir(comparePath).filePath(theme.folder));
        const QStringList files =
            folder.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
        for (const QString &file : files) {
            ImageResult extra;
            if (!parseShotFileName(file, selectedTabFiles, &extra.tab, &extra.combination) ||
                !inSelectedSet(extra.combination) ||
                written.contains(theme.folder + QLatin1Char('/') + file))
                continue;
            extra.folder = theme.folder;
            extra.fileName = file;
            extras << extra;
        }
    }
    return extras;
}

int ShotRun::report()
{
    int failures = 0;
    QVector<DiffReportRow> rows;
    const QDir diffDir(out.filePath(kDiffFolder));
    const auto baselineOf = [&](const ImageResult &result) {
        return diffDir.relativeFilePath(
            QFileInfo(
                QDir(comparePath).filePath(result.folder + QLatin1Char('/') + result.fileName))
                .absoluteFilePath());
    };
    printOut(QStringLiteral("%1 %2 %3  %4")
                 .arg(QStringLiteral("theme"), -24)
                 .arg(QStringLiteral("image"), -24)
                 .arg(QStringLiteral("differing"), 20)
                 .arg(QStringLiteral("result")));
    const auto row = [&](const ImageResult &result, const QString &share, bool failed,
                         bool rendered) {
        failures += failed ? 1 : 0;
        printOut(QStringLiteral("%1 %2 %3  %4")
                     .arg(result.folder, -24)
                     .arg(result.fileName, -24)
                     .arg(share, 20)
                     .arg(failed ? QStringLiteral("FAIL") : QStringLiteral("ok")));
        DiffReportRow line;
        line.theme = result.folder;
        line.tab = result.tab;
        line.combination = combinationTitle(result.combination);
        line.image = result.fileName;
        line.share = share;
        line.failed = failed;
        const bool missing = result.baselineMissing || !rendered;
        line.changed = missing || result.diff.sizeDiffers || result.diff.differingPixels > 0;
        line.percent = missing ? 100 : result.diff.differingPercent;
        if (!result.baselineMissing)
            line.baseline = baselineOf(result);
        if (rendered)
            line.render = QStringLiteral("../%1/%2").arg(result.folder, result.fileName);
        if (rendered && result.diff.differingPixels > 0)
            line.difference = result.folder + QLatin1Char('/') + result.fileName;
        rows << line;
    };
    for (const ImageResult &result : qAsConst(results)) {
        if (result.baselineMissing)
            row(result, QStringLiteral("missing in baseline"), true, true);
        else if (result.diff.sizeDiffers)
            row(result, QStringLiteral("size differs"), true, true);
        else
            row(result, QStringLiteral("%1 %").arg(result.diff.differingPercent, 0, 'f', 3),
                result.diff.differingPercent > threshold, true);
    }
    for (const ImageResult &extra : baselineExtras())
        row(extra, QStringLiteral("not rendered"), true, false);
    const QString summary = QStringLiteral("%1 of %2 images over the threshold of %3 % or missing")
                                .arg(failures)
                                .arg(results.size())
                                .arg(threshold);
    printOut(summary);
    if (const int code = writeDiffReport(rows, summary))
        return code;
    return failures ? ShotDifferences : ShotSuccess;
}

int ShotRun::writeDiffReport(const QVector<DiffReportRow> &rows, const QString &summary)
{
    const QString path = out.filePath(kDiffFolder + QStringLiteral("/index.html"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(diffReportHtml(rows, summary).toUtf8()) < 0 || !file.commit()) {
        printError(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return ShotInputOutputError;
    }
    writtenFiles << path;
    return ShotSuccess;
}

// The run's own images over the baseline's, and nothing else of the baseline: other
// themes, tabs and combinations stay as they are.
int ShotRun::updateBaseline()
{
    const QDir baseline(comparePath);
    int copied = 0;
    for (const ImageResult &result : qAsConst(results)) {
        const QString from = out.filePath(result.folder + QLatin1Char('/') + result.fileName);
        const QString to = baseline.filePath(result.folder + QLatin1Char('/') + result.fileName);
        QFile source(from);
        QSaveFile target(to);
        if (!QDir().mkpath(QFileInfo(to).path()) || !source.open(QIODevice::ReadOnly) ||
            !target.open(QIODevice::WriteOnly) || target.write(source.readAll()) < 0 ||
            !target.commit()) {
            printError(QStringLiteral("cannot update %1: %2").arg(to, target.errorString()));
            return ShotInputOutputError;
        }
        ++copied;
    }
    printOut(QStringLiteral("%1 baseline images updated in %2").arg(copied).arg(comparePath));
    return ShotSuccess;
}

// A form's object names are the author's, and a hand-written one may hold a slash
// or repeat another; the file stays in its folder and each strip keeps its own.
QString stripFileName(const QString &object, QSet<QString> *taken)
{
    QString name = object;
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9_.-]"));
    name.replace(unsafe, QStringLiteral("_"));
    if (name.startsWith(QLatin1Char('.')))
        name.prepend(QLatin1Char('_'));
    QString unique = name;
    for (int n = 2; taken->contains(unique); ++n)
        unique = name + QLatin1Char('-') + QString::number(n);
    taken->insert(unique);
    return unique + QStringLiteral(".png");
}

int ShotRun::audit(ShotRenderer &renderer)
{
    StateAudit stateAudit(renderer, scales.first());
    QVector<AuditFinding> findings;
    Progress progress(parser.isSet(QStringLiteral("quiet")),
                      int(themes.size() * tabChoices.size()));
    for (int t = 0; t < themes.size(); ++t) {
        const ShotTheme &theme = themes[t];
        renderer.applyTheme(theme, sheetTexts[t], baseStyles.first(), directions.first());
        std::unique_ptr<AuditRules> rules;
        if (!theme.builtIn)
            rules = std::make_unique<AuditRules>(
                sheetTexts[t], theme.sheetPath,
                QString::fromLatin1(QApplication::style()->metaObject()->className()));
        for (const TabChoice &choice : qAsConst(tabChoices)) {
            progress.step(theme.name + QLatin1Char('/') + choice.file);
            QVector<StateStrip> strips;
            findings +=
                stateAudit.auditTab(choice.tab, theme.folder, choice.file, rules.get(), &strips);
            const QString folder = out.filePath(
                QStringLiteral("%1/%2/%3").arg(theme.folder, kStatesFolder, choice.file));
            if (!strips.isEmpty() && !QDir().mkpath(folder)) {
                printError(QStringLiteral("cannot write to the output folder %1").arg(folder));
                return ShotInputOutputError;
            }
            QSet<QString> names;
            for (const StateStrip &strip : qAsConst(strips)) {
                const QString path =
                    folder + QLatin1Char('/') + stripFileName(strip.object, &names);
                const QImage image = strip.image;
                submit([this, path, image] { writeImage(path, image); });
            }
        }
    }
    pool.waitForDone();
    progress.finish();
    if (!writeErrors.isEmpty()) {
        for (const QString &error : qAsConst(writeErrors))
            printError(error);
        return ShotInputOutputError;
    }
    if (parser.isSet(QStringLiteral("list"))) {
        writtenFiles.sort();
        for (const QString &file : qAsConst(writtenFiles))
            printOut(file);
    }
    return printFindings(findings);
}

int ShotRun::printFindings(const QVector<AuditFinding> &findings)
{
    if (format == kFormatJson) {
        std::fputs(qUtf8Printable(auditFindingsJson(findings)), stdout);
    } else if (format == kFormatSarif) {
        std::fputs(
            qUtf8Printable(auditFindingsSarif(findings, QCoreApplication::applicationVersion())),
            stdout);
    } else {
        for (const AuditFinding &finding : findings)
            printOut(auditFindingLine(finding));
        printOut(
            QStringLiteral("%1 warnings in %2 themes").arg(findings.size()).arg(themes.size()));
    }
    return findings.isEmpty() ? ShotSuccess : ShotDifferences;
}

int ShotRun::run(const QStringList &arguments)
{
    int code = parse(arguments);
    if (code != ShotSuccess)
        return code == kDoneAfterParsing ? ShotSuccess : code;
    if ((code = resolveThemes()) != ShotSuccess)
        return code;
    if ((code = resolveForms()) != ShotSuccess)
        return code;
    ShotRenderer renderer(size);
    if (size.width() < renderer.minimumSize().width() ||
        size.height() < renderer.minimumSize().height()) {
        printError(QStringLiteral("--size: the window is at least %1x%2")
                       .arg(renderer.minimumSize().width())
                       .arg(renderer.minimumSize().height()));
        return ShotUsageError;
    }
    if ((code = resolveTabs(renderer.tabTexts())) != ShotSuccess)
        return code;
    loadForms(renderer);
    if ((code = prepareFolders()) != ShotSuccess)
        return code;
    if (parser.isSet(QStringLiteral("audit"))) {
        code = audit(renderer);
        return formFailed && code != ShotInputOutputError ? ShotInputOutputError : code;
    }

    render(renderer);
    if (!writeErrors.isEmpty()) {
        for (const QString &error : qAsConst(writeErrors))
            printError(error);
        return ShotInputOutputError;
    }
    if (parser.isSet(QStringLiteral("contact-sheet")) && (code = writeIndex()) != ShotSuccess)
        return code;
    if (!comparePath.isEmpty()) {
        code = report();
        if (code != ShotInputOutputError && parser.isSet(QStringLiteral("update-baseline"))) {
            const int updated = updateBaseline();
            code = updated == ShotSuccess ? ShotSuccess : updated;
        }
    }
    if (parser.isSet(QStringLiteral("list"))) {
        writtenFiles.sort();
        for (const QString &file : qAsConst(writtenFiles))
            printOut(file);
    }
    return formFailed ? ShotInputOutputError : code;
}

} // namespace

int runShot(const QStringList &arguments)
{
    ShotRun run;
    return run.run(arguments);
}
