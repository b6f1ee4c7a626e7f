// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-build/buildcommandline.h"

#include "analysis/stylesheetlint.h"
#include "analysis/templatecontrast.h"
#include "support/programsupport.h"
#include "tokens/themebuild.h"
#include "tokens/themetemplate.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QTextStream>

#include <algorithm>

namespace {

struct Settings
{
    QString templatePath;
    QString outputDirectory;
    ThemeBuildOptions options;
    bool check = false;
    bool lint = false;
    ContrastLevel contrast = ContrastLevel::None;
    // Where --fix-contrast writes; may hold {variant}.
    QString fixContrastPath;
};

struct OutputFile
{
    QString path; // relative to the output directory
    QByteArray bytes;
};

// The one place the analysis is asked: the toolkit's own parse always, every default
// check with --lint.
QVector<LintDiagnostic> sheetFindings(const QByteArray &sheet, const QString &path, bool allChecks)
{
    if (allChecks)
        return lintStyleSheet(sheet, path);
    QVector<LintDiagnostic> findings = syntaxFindings(sheet, path);
    findings.erase(std::remove_if(findings.begin(), findings.end(),
                                  [](const LintDiagnostic &d) { return !toolkitRejectsSheet(d); }),
                   findings.end());
    return findings;
}

// The settings from parsed options; false with usageError set when they are wrong.
bool readSettings(const QCommandLineParser &parser, Settings &settings, QString &usageError)
{
    settings.outputDirectory = parser.value(QStringLiteral("output"));
    settings.options.variants = parser.values(QStringLiteral("variant"));
    settings.options.sheetName = parser.value(QStringLiteral("sheet-name"));
    if (parser.isSet(QStringLiteral("qrc-prefix"))) {
        settings.options.qrcPrefix = parser.value(QStringLiteral("qrc-prefix"));
        settings.options.resourceUrls = true;
        if (!settings.options.qrcPrefix.startsWith(QLatin1Char('/'))) {
            usageError = QStringLiteral("--qrc-prefix starts with '/'");
            return false;
        }
    }
    const QString &name = settings.options.sheetName;
    if (name.contains(QLatin1Char('/')) ||
        (!name.contains(QLatin1String("{variant}")) && !name.contains(QLatin1String("{camel}")))) {
        usageError = QStringLiteral("--sheet-name is a file name holding {variant} or {camel}");
        return false;
    }
    settings.check = parser.isSet(QStringLiteral("check"));
    settings.lint = parser.isSet(QStringLiteral("lint"));
    if (parser.isSet(QStringLiteral("contrast")) &&
        !contrastLevelFromName(parser.value(QStringLiteral("contrast")), &settings.contrast)) {
        usageError = QStringLiteral("--contrast is one of %1").arg(contrastLevelNames());
        return false;
    }
    settings.fixContrastPath = parser.value(QStringLiteral("fix-contrast"));
    if (parser.isSet(QStringLiteral("fix-contrast")) && settings.fixContrastPath.isEmpty()) {
        usageError = QStringLiteral("--fix-contrast names the token file to write");
        return false;
    }
    return true;
}

bool parseArguments(const QStringList &arguments, Settings &settings, bool &done,
                    QString &usageError)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Builds a theme template and its design tokens into one Qt style sheet per variant, "
        "the variants' recoloured icons (SVG, PNG and @2x PNG) and a .qrc listing them all. "
        "Nothing is written when any error is found.\n\n"
        "Exit status: 0 built; 1 --lint found errors in a built sheet; 2 errors in the "
        "sources (file:line:column on standard error); 3 a file could not be read or written, "
        "or the usage is wrong; 4 a text, boundary or palette pair is below its variant's "
        "contrast level (--contrast, the template's @contrast, AAA for a high-contrast "
        "variant), or --fix-contrast cannot make every pair pass."));
    addHelpAndVersionOptions(parser);
    parser.addPositionalArgument(QStringLiteral("TEMPLATE"),
                                 QStringLiteral("The theme template, e.g. mytheme.qss.in."));
    const QCommandLineOption outputOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("Write into DIR (default: the current directory)."), QStringLiteral("DIR"),
        QStringLiteral("."));
    const QCommandLineOption variantOption(
        QStringLiteral("variant"),
        QStringLiteral("Build only this variant (repeatable; default: all)."),
        QStringLiteral("NAME"));
    const QCommandLineOption prefixOption(
        QStringLiteral("qrc-prefix"),
        QStringLiteral("Resource prefix of the .qrc (default: /<stem>); url(icons/...) then "
                       "names the icon's resource path."),
        QStringLiteral("PREFIX"));
    const QCommandLineOption sheetNameOption(
        QStringLiteral("sheet-name"),
        QStringLiteral("File name of each sheet: {stem}, {variant} (kebab case) and {camel} "
                       "(lower camel case) are replaced (default: {stem}-{variant}.qss)."),
        QStringLiteral("PATTERN"), QStringLiteral("{stem}-{variant}.qss"));
    const QCommandLineOption checkOption(QStringLiteral("check"),
                                         QStringLiteral("Build in memory and write nothing."));
    const QCommandLineOption lintOption(
        QStringLiteral("lint"),
        QStringLiteral("Print prismark-lint's findings for every built sheet."));
    const QCommandLineOption contrastOption(
        QStringLiteral("contrast"),
        QStringLiteral("Hold every variant to a WCAG level, AA (text 4.5:1) or AAA (7:1), "
                       "boundaries and indicators to 3:1; a pair below it is an error told "
                       "at the token its colour comes from, and nothing is written."),
        QStringLiteral("LEVEL"));
    const QCommandLineOption fixContrastOption(
        QStringLiteral("fix-contrast"),
        QStringLiteral("Write FILE, a token file of the colours that make every pair pass at "
                       "the level (AA unless asked), each moved the least in OKLCH lightness, "
                       "hue kept; merge it last on the variant's @variant line. {variant} in "
                       "FILE is replaced by the variant's name; no sheet is written."),
        QStringLiteral("FILE"));
    parser.addOptions({outputOption, variantOption, prefixOption, sheetNameOption, checkOption,
                       lintOption, contrastOption, fixContrastOption});

    done = false;
    if (!parser.parse(arguments)) {
        usageError = parser.errorText();
        return false;
    }
    if (answerHelpOrVersion(parser)) {
        done = true;
        return true;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1) {
        usageError = positional.isEmpty() ? QStringLiteral("no template given")
                                          : QStringLiteral("one template at a time");
        return false;
    }
    settings.templatePath = positional.first();
    return readSettings(parser, settings, usageError);
}

// Every file of the build, in a fixed order; false with errors printed when an
// icon cannot be drawn.
bool outputFiles(const ThemeBuild &build, QVector<OutputFile> *files, QTextStream &err)
{
    bool ok = true;
    for (const BuiltSheet &sheet : build.sheets)
        files->append({sheet.fileName, sheet.text});
    for (const BuiltIcon &icon : build.icons) {
        const QString base = icon.directory + QLatin1Char('/') + icon.name;
        files->append({base + QStringLiteral(".svg"), icon.svg});
        for (const int scale : {1, 2}) {
            QString error;
            const QByteArray png = renderIconPng(icon.svg, scale, &error);
            if (png.isEmpty()) {
                if (scale == 1)
                    err << base << ".svg: error: " << error << '\n';
                ok = false;
                continue;
            }
            files->append(
                {base + (scale == 1 ? QStringLiteral(".png") : QStringLiteral("@2x.png")), png});
        }
    }
    files->append({build.qrcFileName, build.qrc});
    return ok;
}

// Writes each file atomically, leaving files that already hold these bytes alone.
bool writeFiles(const QString &directory, const QVector<OutputFile> &files, QTextStream &out,
                QTextStream &err)
{
    const QDir root(directory);
    for (const OutputFile &file : files) {
        const QString path = root.filePath(file.path);
        if (!QDir().mkpath(QFileInfo(path).path())) {
            err << "prismark-build: cannot create " << QFileInfo(path).path() << '\n';
            return false;
        }
        QFile current(path);
        if (current.open(QIODevice::ReadOnly) && current.size() == file.bytes.size() &&
            current.readAll() == file.bytes)
            continue;
        current.close();
        QSaveFile save(path);
        if (!save.open(QIODevice::WriteOnly) || save.write(file.bytes) != file.bytes.size() ||
            !save.commit()) {
            err << "prismark-build: cannot write " << path << ": " << save.errorString() << '\n';
            return false;
        }
        out << "wrote " << QDir::cleanPath(path) << '\n';
    }
    return true;
}

// Every file the template reads tokens from, and itself, as absolute clean paths.
QStringList templateSources(const QString &templatePath)
{
    QFile file(templatePath);
    QStringList sources{QFileInfo(templatePath).absoluteFilePath()};
    if (!file.open(QIODevice::ReadOnly))
        return sources;
    SourceErrors ignored;
    const ThemeTemplate theme = ThemeTemplate::parse(
        QString::fromUtf8(file.read(kMaxThemeSourceBytes)), templatePath, &ignored);
    QStringList relative = theme.baseFiles();
    for (const TemplateVariant &variant : theme.variants())
        relative += variant.files;
    const QDir directory = QFileInfo(templatePath).absoluteDir();
    for (const QString &path : qAsConst(relative))
        sources << QDir::cleanPath(directory.absoluteFilePath(path));
    return sources;
}

bool printContrastFailures(const QVector<LintDiagnostic> &failures, QTextStream &err)
{
    for (const LintDiagnostic &finding : failures)
        err << lintDiagnosticLine(finding) << '\n';
    return !failures.isEmpty();
}

// The variants' fixes as files, FILE's {variant} replaced; false with the reason in
// error when they cannot be written as asked.
bool fixFiles(const TemplateContrastFix &fix, const Settings &settings, QVector<OutputFile> *files,
              QString *error)
{
    QStringList changed;
    for (const VariantContrastFix &variant : fix.variants) {
        if (!variant.tokenFile.isEmpty())
            changed << variant.variant;
    }
    const QString &pattern = settings.fixContrastPath;
    if (changed.size() > 1 && !pattern.contains(QLatin1String("{variant}"))) {
        *error = QStringLiteral("variants %1 need different colours: name the file with "
                                "{variant}, e.g. contrast-{variant}.tokens.json")
                     .arg(changed.join(QLatin1String(", ")));
        return false;
    }
    const QStringList sources = templateSources(settings.templatePath);
    for (const VariantContrastFix &variant : fix.variants) {
        if (variant.tokenFile.isEmpty())
            continue;
        const QString path =
            QString(pattern).replace(QLatin1String("{variant}"), kebabCaseName(variant.variant));
        if (sources.contains(QDir::cleanPath(QFileInfo(path).absoluteFilePath()))) {
            *error = QStringLiteral("%1 is one of the template's sources; --fix-contrast "
                                    "writes a new token file to merge over them")
                         .arg(path);
            return false;
        }
        files->append({path, variant.tokenFile});
    }
    return true;
}

int runContrastFix(const Settings &settings, QTextStream &out, QTextStream &err)
{
    ThemeBuildOptions options;
    options.variants = settings.options.variants;
    const TemplateContrastFix fix = fixTemplateContrast(
        settings.templatePath, std::max(settings.contrast, ContrastLevel::AA), options);
    if (printContrastFailures(fix.build.diagnostics, err))
        return fix.build.unreadable ? BuildExitUnreadable : BuildExitSourceErrors;
    for (const VariantContrastFix &variant : fix.variants) {
        for (const QString &line : contrastFixLines(variant))
            out << line << '\n';
    }
    if (!fix.fixed()) {
        for (const VariantContrastFix &variant : fix.variants)
            printContrastFailures(variant.unfixable, err);
        err << "prismark-build: no token colours make every pair pass; nothing written\n";
        return BuildExitContrast;
    }
    QVector<OutputFile> files;
    QString error;
    if (!fixFiles(fix, settings, &files, &error)) {
        err << "prismark-build: " << error << '\n';
        return BuildExitUnreadable;
    }
    if (files.isEmpty()) {
        out << "every pair passes; nothing to write\n";
        return BuildExitClean;
    }
    if (settings.check)
        return BuildExitClean;
    out.flush();
    return writeFiles(QStringLiteral("."), files, out, err) ? BuildExitClean : BuildExitUnreadable;
}

} // namespace

QByteArray renderIconPng(const QByteArray &svg, int scale, QString *error)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        *error = QStringLiteral("not an SVG the toolkit can draw");
        return QByteArray();
    }
    const QSize size = renderer.defaultSize() * scale;
    if (size.isEmpty() || size.width() > 4096 || size.height() > 4096) {
        *error = QStringLiteral("the SVG's size must be between 1 and 2048 pixels");
        return QByteArray();
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

int runBuildCommandLine(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    Settings settings;
    bool done = false;
    QString usageError;
    if (!parseArguments(arguments, settings, done, usageError)) {
        err << "prismark-build: " << usageError << "\n"
            << "Try 'prismark-build --help' for more information.\n";
        return BuildExitUnreadable;
    }
    if (done)
        return BuildExitClean;

    const ThemeBuild build = buildTheme(settings.templatePath, settings.options);
    if (!build.usageError.isEmpty()) {
        err << "prismark-build: " << build.usageError << '\n';
        return BuildExitUnreadable;
    }
    for (const SourceError &error : build.errors)
        err << error.text() << '\n';
    if (!build.errors.isEmpty())
        return build.unreadable() ? BuildExitUnreadable : BuildExitSourceErrors;

    const QDir root(settings.outputDirectory);
    bool parses = true;
    bool lintErrors = false;
    for (const BuiltSheet &sheet : build.sheets) {
        const QString path = QDir::cleanPath(root.filePath(sheet.fileName));
        for (const LintDiagnostic &finding : sheetFindings(sheet.text, path, settings.lint)) {
            if (toolkitRejectsSheet(finding))
                parses = false;
            if (finding.severity == LintSeverity::Error)
                lintErrors = true;
            (settings.lint ? out : err) << lintDiagnosticLine(finding) << '\n';
        }
    }
    if (!parses) {
        err << "prismark-build: a built sheet does not pass the toolkit's parse\n";
        return BuildExitSourceErrors;
    }
    if (!settings.fixContrastPath.isEmpty())
        return runContrastFix(settings, out, err);
    const bool heldToLevel =
        settings.contrast != ContrastLevel::None || build.contrastLevel != ContrastLevel::None ||
        std::any_of(build.sheets.begin(), build.sheets.end(),
                    [](const BuiltSheet &sheet) { return sheet.highContrast; });
    if (heldToLevel) {
        ThemeBuildOptions options;
        options.variants = settings.options.variants;
        const TemplateLint contrast =
            checkTemplateContrast(settings.templatePath, settings.contrast, options);
        if (printContrastFailures(contrast.diagnostics, err)) {
            err << "prismark-build: pairs below their contrast level; nothing written\n";
            return BuildExitContrast;
        }
    }
    QVector<OutputFile> files;
    if (!outputFiles(build, &files, err))
        return BuildExitSourceErrors;
    if (lintErrors)
        return BuildExitLintErrors;
    if (settings.check)
        return BuildExitClean;
    out.flush();
    return writeFiles(settings.outputDirectory, files, out, err) ? BuildExitClean
                                                                 : BuildExitUnreadable;
}
