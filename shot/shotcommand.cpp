// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "shot/shotcommand.h"

#include "forms/formloader.h"
#include "shot/contactsheet.h"
#include "shot/imagediff.h"
#include "shot/pngfile.h"
#include "shot/shotnames.h"
#include "shot/shotrenderer.h"
#include "support/safefileread.h"
#include "theme/stylesheetloader.h"
#include "widgetstyles/sheetstyle.h"

#include <QCommandLineParser>
#include <QCoreApplication>
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
#include <unistd.h>

namespace {

// Rendered images waiting for a writer; bounds the memory a fast renderer can fill.
constexpr int kPendingImages = 6;
const QString kDisabledSuffix = QStringLiteral("-disabled");
// parse()'s answer when --help or --version has said all there is to say.
constexpr int kDoneAfterParsing = -1;

const char kExitCodeHelp[] = "Exit codes:\n"
                             "  0  success\n"
                             "  1  --compare: an image differs beyond the threshold, or is\n"
                             "     missing on either side\n"
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

struct Variant
{
    int tab;
    bool disabled;
    QString fileName;
    QString label;
};

struct ImageResult
{
    QString folder;
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
    int resolveThemes();
    int resolveTabs(const QStringList &tabTexts);
    int resolveForms();
    void loadForms(ShotRenderer &renderer);
    int prepareFolders();
    void render(ShotRenderer &renderer);
    void submit(std::function<void()> job);
    void writeImage(const QString &path, const QImage &image);
    void compareImage(ImageResult *result, const QImage &image);
    int writeIndex();
    int report();
    QStringList baselineExtras() const;

    QCommandLineParser parser;
    QVector<ShotTheme> themes;
    QVector<QString> sheetTexts;
    QVector<Variant> variants;
    QSize size{1040, 720};
    qreal scale = 1;
    double threshold = 0.1;
    QDir out;
    QString outPath;
    QString comparePath;
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

int ShotRun::parse(const QStringList &arguments)
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
        {QStringLiteral("scale"), QStringLiteral("Device pixel ratio (default 1)."),
         QStringLiteral("N")},
        {QStringLiteral("out"), QStringLiteral("Output folder (default shots)."),
         QStringLiteral("dir")},
        {QStringLiteral("contact-sheet"),
         QStringLiteral("Also write DIR/<theme>.png, all tabs in a grid, and DIR/index.html.")},
        {QStringLiteral("compare"),
         QStringLiteral("Compare each image with the same-named one under this folder; diff "
                        "images go to DIR/diff."),
         QStringLiteral("baseline-dir")},
        {QStringLiteral("threshold"),
         QStringLiteral("Share of differing pixels that fails --compare (default 0.1)."),
         QStringLiteral("percent")},
        {QStringLiteral("quiet"), QStringLiteral("No progress display.")},
        {QStringLiteral("list"), QStringLiteral("Print the files written on standard output.")},
    });
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();

    if (!parser.parse(arguments)) {
        printError(parser.errorText());
        return ShotUsageError;
    }
    if (parser.isSet(helpOption)) {
        std::fputs(qUtf8Printable(parser.helpText()), stdout);
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
    if (parser.isSet(QStringLiteral("scale"))) {
        bool ok = false;
        scale = parser.value(QStringLiteral("scale")).toDouble(&ok);
        // Written so that "nan", which no comparison holds for, is refused too.
        if (!ok || !(scale > 0 && scale <= 8)) {
            printError(QStringLiteral("--scale wants a number above 0 and up to 8"));
            return ShotUsageError;
        }
    }
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
    const bool disabledToo = parser.isSet(QStringLiteral("disabled"));
    for (int tab : qAsConst(tabs)) {
        const QString file = kebabCase(tabTexts[tab]);
        selectedTabFiles << file;
        variants << Variant{tab, false, file + QStringLiteral(".png"), tabTexts[tab]};
        if (disabledToo)
            variants << Variant{tab, true, file + kDisabledSuffix + QStringLiteral(".png"),
                                tabTexts[tab] + QStringLiteral(" (disabled)")};
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
    const bool disabledToo = parser.isSet(QStringLiteral("disabled"));
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
        variants << Variant{tab, false, file + QStringLiteral(".png"), title};
        if (disabledToo)
            variants << Variant{tab, true, file + kDisabledSuffix + QStringLiteral(".png"),
                                title + QStringLiteral(" (disabled)")};
    }
}

int ShotRun::prepareFolders()
{
    QStringList folders;
    for (const ShotTheme &theme : qAsConst(themes)) {
        folders << out.filePath(theme.folder);
        if (!comparePath.isEmpty())
            folders << out.filePath(QStringLiteral("diff/") + theme.folder);
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
        out.filePath(QStringLiteral("diff/%1/%2").arg(result->folder, result->fileName));
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
    results.resize(themes.size() * variants.size());
    ImageResult *resultSlots = results.data();
    Progress progress(parser.isSet(QStringLiteral("quiet")), int(results.size()));
    const bool contactSheet = parser.isSet(QStringLiteral("contact-sheet"));
    const bool compare = !comparePath.isEmpty();
    int index = 0;
    for (int t = 0; t < themes.size(); ++t) {
        const ShotTheme &theme = themes[t];
        renderer.applyTheme(theme, sheetTexts[t]);
        QVector<ContactSheetCell> cells;
        for (const Variant &variant : qAsConst(variants)) {
            progress.step(theme.name + QLatin1Char('/') +
                          variant.fileName.chopped(int(qstrlen(".png"))));
            const QImage image = renderer.render(variant.tab, variant.disabled);
            ImageResult *result = resultSlots + index++;
            result->folder = theme.folder;
            result->fileName = variant.fileName;
            const QString path = out.filePath(theme.folder + QLatin1Char('/') + variant.fileName);
            submit([this, path, image, result, compare] {
                writeImage(path, image);
                if (compare)
                    compareImage(result, image);
            });
            if (contactSheet)
                cells << ContactSheetCell{variant.label, image};
        }
        if (contactSheet) {
            const QString path = out.filePath(theme.folder + QStringLiteral(".png"));
            const QString title = theme.displayName;
            submit(
                [this, path, title, cells] { writeImage(path, makeContactSheet(title, cells)); });
        }
    }
    pool.waitForDone();
    progress.finish();
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

// Images in the baseline's folders for the themes and tabs of this run that this
// run did not write, such as disabled renders when --disabled was left off.
QStringList ShotRun::baselineExtras() const
{
    QSet<QString> written;
    for (const ImageResult &result : results)
        written.insert(result.folder + QLatin1Char('/') + result.fileName);
    QStringList extras;
    for (const ShotTheme &theme : themes) {
        const QDir folder(QDir(comparePath).filePath(theme.folder));
        const QStringList files =
            folder.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
        for (const QString &file : files) {
            QString tab = file.chopped(int(qstrlen(".png")));
            if (tab.endsWith(kDisabledSuffix))
                tab.chop(kDisabledSuffix.size());
            const QString name = theme.folder + QLatin1Char('/') + file;
            if (selectedTabFiles.contains(tab) && !written.contains(name))
                extras << name;
        }
    }
    return extras;
}

int ShotRun::report()
{
    int failures = 0;
    printOut(QStringLiteral("%1 %2 %3  %4")
                 .arg(QStringLiteral("theme"), -24)
                 .arg(QStringLiteral("image"), -24)
                 .arg(QStringLiteral("differing"), 20)
                 .arg(QStringLiteral("result")));
    const auto row = [&](const QString &folder, const QString &file, const QString &share,
                         bool failed) {
        failures += failed ? 1 : 0;
        printOut(QStringLiteral("%1 %2 %3  %4")
                     .arg(folder, -24)
                     .arg(file, -24)
                     .arg(share, 20)
                     .arg(failed ? QStringLiteral("FAIL") : QStringLiteral("ok")));
    };
    for (const ImageResult &result : qAsConst(results)) {
        if (result.baselineMissing)
            row(result.folder, result.fileName, QStringLiteral("missing in baseline"), true);
        else if (result.diff.sizeDiffers)
            row(result.folder, result.fileName, QStringLiteral("size differs"), true);
        else
            row(result.folder, result.fileName,
                QStringLiteral("%1 %").arg(result.diff.differingPercent, 0, 'f', 3),
                result.diff.differingPercent > threshold);
    }
    for (const QString &extra : baselineExtras()) {
        const int slash = extra.indexOf(QLatin1Char('/'));
        row(extra.left(slash), extra.mid(slash + 1), QStringLiteral("not rendered"), true);
    }
    printOut(QStringLiteral("%1 of %2 images over the threshold of %3 % or missing")
                 .arg(failures)
                 .arg(results.size())
                 .arg(threshold));
    return failures ? ShotDifferences : ShotSuccess;
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
    ShotRenderer renderer(size, scale);
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

    render(renderer);
    if (!writeErrors.isEmpty()) {
        for (const QString &error : qAsConst(writeErrors))
            printError(error);
        return ShotInputOutputError;
    }
    if (parser.isSet(QStringLiteral("contact-sheet")) && (code = writeIndex()) != ShotSuccess)
        return code;
    if (parser.isSet(QStringLiteral("list"))) {
        writtenFiles.sort();
        for (const QString &file : qAsConst(writtenFiles))
            printOut(file);
    }
    code = comparePath.isEmpty() ? ShotSuccess : report();
    return formFailed ? ShotInputOutputError : code;
}

} // namespace

int runShot(const QStringList &arguments)
{
    ShotRun run;
    return run.run(arguments);
}
