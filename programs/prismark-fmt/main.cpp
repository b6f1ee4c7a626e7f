// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/lintconfig.h"
#include "analysis/sheetformatter.h"
#include "analysis/stylesheetlint.h"
#include "analysis/toolkitparse.h"
#include "embedded/embeddedformat.h"
#include "support/atomicwrite.h"
#include "support/programsupport.h"
#include "support/safefileread.h"
#include "support/unifieddiff.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {
enum ExitStatus
{
    ExitClean = 0,
    ExitWouldChange = 1,
    ExitNotFormatted = 2,
    ExitUnreadable = 3,
};

// parseArguments' answer when the run goes on to the files.
constexpr int kGoOn = -1;

constexpr qint64 kMaxFormatBytes = 64 * 1024 * 1024;

struct Settings
{
    bool check = false;
    bool diff = false;
    bool indentGiven = false; // --indent wins over the configuration
    bool embedded = false;    // --embedded: forms and sources too
    SheetFormatOptions format;
    QString standardInputName; // --stdin-filename, or empty
    QStringList files;
};

struct FmtOptions
{
    QCommandLineOption check{QStringLiteral("check"),
                             QStringLiteral("Change nothing; exit 1 when a file would change.")};
    QCommandLineOption diff{QStringLiteral("diff"),
                            QStringLiteral("Change nothing; print the change as a unified diff.")};
    QCommandLineOption indent{QStringLiteral("indent"),
                              QStringLiteral("Spaces per level (default 4)."), QStringLiteral("N"),
                              QStringLiteral("4")};
    QCommandLineOption standardInputName{
        QStringLiteral("stdin-filename"),
        QStringLiteral("The path standard input (\"-\") stands for: its configuration is found "
                       "from it, and messages, findings and the diff name it."),
        QStringLiteral("PATH")};
    QCommandLineOption embedded{
        QStringLiteral("embedded"),
        QStringLiteral("Format the sheets a Designer form (.ui), C++ or Python source embeds, "
                       "each inside its literal or XML at its own indentation; without it such "
                       "files are left alone.")};
};

void declareOptions(QCommandLineParser &parser, const FmtOptions &options)
{
    parser.setApplicationDescription(QStringLiteral(
        "Lays out Qt style sheets as the built-in sheets are: one declaration per line, four "
        "spaces of indentation, a selector list one per line when it is longer than 100 "
        "characters; comments, strings, url()s, letter case and line endings (LF or CR LF) "
        "as written. The toolkit's parse of the result must equal that of the input, or the "
        "file is left as it is.\n\n"
        "Exit status: 0 done (or nothing to change); 1 with --check or --diff, a file would "
        "change; 2 a sheet was not formatted (the toolkit rejects it: its syntax finding is "
        "printed; or it holds what the formatter leaves alone); 3 a file could not be read or "
        "written, or the usage is wrong.\n\n"
        "A Designer form (.ui), C++ (.cpp .cc .cxx .h .hpp .hh) or Python (.py) source is "
        "left alone unless --embedded asks for its sheets: then each styleSheet property "
        "and each literal passed to setStyleSheet() is laid out inside its literal or XML, "
        "with the escapes the file uses, at the literal's own indentation; joined C++ or "
        "Python literals become one literal per line. A sheet is left as it is (exit 2) when "
        "the toolkit would read the result differently, when it is a widget's bare "
        "declarations, or when its literals cannot spell the layout."));
    addHelpAndVersionOptions(parser);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("Style sheets to format in place; \"-\" reads "
                                                "standard input and writes standard output."),
                                 QStringLiteral("FILE..."));
    parser.addOptions(
        {options.check, options.diff, options.indent, options.standardInputName, options.embedded});
}

// The settings the parsed options ask for; the usage error, or empty.
QString readSettings(const QCommandLineParser &parser, const FmtOptions &options,
                     Settings &settings)
{
    settings.check = parser.isSet(options.check);
    settings.diff = parser.isSet(options.diff);
    settings.indentGiven = parser.isSet(options.indent);
    settings.embedded = parser.isSet(options.embedded);
    bool indentOk = false;
    settings.format.indentWidth = parser.value(options.indent).toInt(&indentOk);
    if (!indentOk || settings.format.indentWidth < 0 || settings.format.indentWidth > 16)
        return QStringLiteral("--indent takes 0 to 16");
    settings.files = parser.positionalArguments();
    if (settings.files.isEmpty())
        return QStringLiteral("no FILE given (\"-\" reads standard input)");
    settings.standardInputName = parser.value(options.standardInputName);
    if (parser.isSet(options.standardInputName) &&
        (settings.standardInputName.isEmpty() || !settings.files.contains(QStringLiteral("-"))))
        return QStringLiteral("--stdin-filename names a path, for \"-\" among the files");
    return QString();
}

// kGoOn, or the exit status when there is nothing more to do (help, version, a
// usage error).
int parseArguments(const QStringList &arguments, Settings &settings, QTextStream &err)
{
    const QString program = QCoreApplication::applicationName();
    QCommandLineParser parser;
    const FmtOptions options;
    declareOptions(parser, options);
    if (!parser.parse(arguments)) {
        err << program << ": " << parser.errorText() << '\n';
        return ExitUnreadable;
    }
    if (answerHelpOrVersion(parser))
        return ExitClean;
    const QString usageError = readSettings(parser, options, settings);
    if (!usageError.isEmpty()) {
        err << program << ": " << usageError << '\n';
        return ExitUnreadable;
    }
    return kGoOn;
}

// One sheet, by the name messages and findings give it.
struct Sheet
{
    QString file;
    QString name;
    QByteArray bytes;
    // Decoded with its NULs, for the formatter to name them on either toolkit.
    QString text;
    LintConfigResult config;
};

// A message about one sheet, on standard error.
void tell(QTextStream &err, const Sheet &sheet, const QString &what)
{
    err << QCoreApplication::applicationName() << ": " << sheet.name << ": " << what << '\n';
}

// The toolkit's rejection as prismark-lint tells it, the configuration's severities
// and all; the bare reason when a suppression hides it.
void reportRejection(const Sheet &sheet, const QString &reason, QTextStream &err)
{
    const QVector<LintDiagnostic> findings = syntaxFindings(
        sheet.bytes, sheet.name, sheet.config.ok ? sheet.config.options : LintOptions());
    for (const LintDiagnostic &finding : findings)
        err << lintDiagnosticLine(finding) << '\n';
    if (findings.isEmpty())
        tell(err, sheet, QStringLiteral("not formatted: ") + reason);
}

// The sheet laid out; false with the reason told when it is left as it is.
bool formatSheet(const Sheet &sheet, const Settings &settings, SheetFormatResult &result,
                 QTextStream &err)
{
    if (sheet.text.toUtf8() != sheet.bytes) {
        tell(err, sheet, QStringLiteral("not formatted: not UTF-8 text"));
        return false;
    }
    SheetFormatOptions format = settings.format;
    if (!settings.indentGiven) {
        format.indentWidth = sheet.config.options.formatIndent;
        format.maxLineLength = sheet.config.options.formatMaxLineLength;
    }
    result = formatStyleSheet(sheet.text, format);
    if (result.toolkitRejects)
        reportRejection(sheet, result.error, err);
    else if (!result.ok)
        tell(err, sheet, QStringLiteral("not formatted: ") + result.error);
    else if (result.mixedLineEndings)
        tell(err, sheet,
             result.lineEnding == LineEnding::CrLf
                 ? QStringLiteral("mixes line endings; every line ends in CR LF, as most did")
                 : QStringLiteral("mixes line endings; every line ends in LF, as most (or "
                                  "half) did"));
    return result.ok;
}

// The formatted sheet where it goes: a diff, standard output or the file itself.
int writeResult(const Sheet &sheet, const QString &formatted, const Settings &settings,
                QTextStream &err)
{
    const bool changes = formatted != sheet.text;
    if (settings.diff) {
        const QByteArray diff = unifiedDiff(sheet.text, formatted, sheet.name).toUtf8();
        std::fwrite(diff.constData(), 1, size_t(diff.size()), stdout);
    }
    if (settings.check || settings.diff)
        return changes ? ExitWouldChange : ExitClean;
    if (sheet.file == QLatin1String("-")) {
        const QByteArray out = formatted.toUtf8();
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
        return ExitClean;
    }
    QString writeError;
    if (changes && !writeFileAtomically(sheet.file, formatted.toUtf8(), &writeError)) {
        tell(err, sheet, writeError);
        return ExitUnreadable;
    }
    return ExitClean;
}

// A form or a source: its embedded sheets laid out when --embedded asks, else nothing.
int formatEmbedded(const Sheet &sheet, EmbeddingLanguage language, const Settings &settings,
                   QTextStream &err)
{
    if (!settings.embedded) {
        tell(err, sheet,
             QStringLiteral("left alone: a form or source (--embedded formats the "
                            "sheets inside it)"));
        if (sheet.file == QLatin1String("-") && !settings.check && !settings.diff)
            std::fwrite(sheet.bytes.constData(), 1, size_t(sheet.bytes.size()), stdout);
        return ExitClean;
    }
    if (sheet.text.toUtf8() != sheet.bytes) {
        tell(err, sheet, QStringLiteral("not formatted: not UTF-8 text"));
        return ExitNotFormatted;
    }
    SheetFormatOptions format = settings.format;
    if (!settings.indentGiven) {
        format.indentWidth = sheet.config.options.formatIndent;
        format.maxLineLength = sheet.config.options.formatMaxLineLength;
    }
    const EmbeddedFormatResult result = formatEmbeddedSheets(sheet.text, language, format);
    for (const QString &notice : result.notices)
        tell(err, sheet, notice);
    const int status = writeResult(sheet, result.text, settings, err);
    return result.notices.isEmpty() ? status : qMax(status, int(ExitNotFormatted));
}

// One sheet: formatted in place, or checked, or its diff printed.
int formatOne(const QString &file, const Settings &settings, QTextStream &err)
{
    Sheet sheet;
    sheet.file = file;
    // Messages, findings, the diff and the configuration go by the path standard input
    // stands for, when one is given.
    const bool standardInput = file == QLatin1String("-");
    sheet.name =
        standardInput && !settings.standardInputName.isEmpty() ? settings.standardInputName : file;
    const FileReadResult input = readFileOrStandardInput(file, kMaxFormatBytes);
    if (!input.ok) {
        tell(err, sheet, input.error);
        return ExitUnreadable;
    }
    sheet.bytes = input.bytes;
    sheet.text = QString::fromUtf8(sheet.bytes.constData(), int(sheet.bytes.size()));
    // The project's "format" key, from the nearest .prismark-lint.json.
    sheet.config = lintConfigForSheet(sheet.name);
    if (!sheet.config.ok && !settings.indentGiven) {
        err << QCoreApplication::applicationName() << ": " << sheet.config.error << '\n';
        return ExitUnreadable;
    }
    const EmbeddingLanguage language = embeddingLanguage(sheet.name);
    if (language != EmbeddingLanguage::None)
        return formatEmbedded(sheet, language, settings, err);
    SheetFormatResult result;
    if (!formatSheet(sheet, settings, result, err))
        return ExitNotFormatted;
    return writeResult(sheet, result.text, settings, err);
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("prismark-fmt"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PRISMARK_VERSION));
    quietToolkitParserMessages();
    QTextStream err(stderr);
    Settings settings;
    const int parsed = parseArguments(QCoreApplication::arguments(), settings, err);
    if (parsed != kGoOn)
        return parsed;
    int status = ExitClean;
    for (const QString &file : qAsConst(settings.files)) {
        status = qMax(status, formatOne(file, settings, err));
        err.flush();
    }
    std::fflush(stdout);
    return status;
}
