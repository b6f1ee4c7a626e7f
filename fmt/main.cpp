// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/lintconfig.h"
#include "analysis/sheetformatter.h"
#include "analysis/toolkitparse.h"
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

constexpr qint64 kMaxFormatBytes = 64 * 1024 * 1024;

QByteArray readStandardInput(bool *ok)
{
    QByteArray bytes;
    char buffer[65536];
    size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) {
        bytes.append(buffer, int(count));
        if (bytes.size() > kMaxFormatBytes) {
            *ok = false;
            return QByteArray();
        }
    }
    *ok = !std::ferror(stdin);
    return bytes;
}

struct Settings
{
    bool check = false;
    bool diff = false;
    bool indentGiven = false; // --indent wins over the configuration
    SheetFormatOptions format;
    QString standardInputName; // --stdin-filename, or empty
};

// One sheet: formatted in place, or checked, or its diff printed.
int formatOne(const QString &file, const Settings &settings, QTextStream &err)
{
    const QString program = QCoreApplication::applicationName();
    const bool standardInput = file == QLatin1String("-");
    // Messages, the diff and the configuration go by the path standard input stands
    // for, when one is given.
    const QString name =
        standardInput && !settings.standardInputName.isEmpty() ? settings.standardInputName : file;
    QByteArray bytes;
    bool ok = true;
    QString readError;
    if (standardInput) {
        bytes = readStandardInput(&ok);
        readError = QStringLiteral("could not be read, or is larger than 64 MiB");
    } else {
        const FileReadResult read = readRegularFile(file, kMaxFormatBytes);
        ok = read.ok;
        bytes = read.bytes;
        readError = read.error;
    }
    if (!ok) {
        err << program << ": " << name << ": " << readError << '\n';
        return ExitUnreadable;
    }
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes || bytes.contains('\r') || bytes.contains('\0')) {
        err << program << ": " << name << ": not formatted: not plain UTF-8 with LF line endings\n";
        return ExitNotFormatted;
    }
    SheetFormatOptions format = settings.format;
    if (!settings.indentGiven) {
        // The project's "format" key, from the nearest .prismark-lint.json.
        const LintConfigResult config = lintConfigForSheet(name);
        if (!config.ok) {
            err << program << ": " << config.error << '\n';
            return ExitUnreadable;
        }
        format.indentWidth = config.options.formatIndent;
        format.maxLineLength = config.options.formatMaxLineLength;
    }
    const SheetFormatResult result = formatStyleSheet(text, format);
    if (!result.ok) {
        err << program << ": " << name << ": not formatted: " << result.error << '\n';
        return ExitNotFormatted;
    }
    const bool changes = result.text != text;
    if (settings.diff) {
        const QByteArray diff = unifiedDiff(text, result.text, name).toUtf8();
        std::fwrite(diff.constData(), 1, size_t(diff.size()), stdout);
    }
    if (settings.check || settings.diff)
        return changes ? ExitWouldChange : ExitClean;
    if (standardInput) {
        const QByteArray out = result.text.toUtf8();
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
        return ExitClean;
    }
    QString writeError;
    if (changes && !writeFileAtomically(file, result.text.toUtf8(), &writeError)) {
        err << program << ": " << name << ": " << writeError << '\n';
        return ExitUnreadable;
    }
    return ExitClean;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("prismark-fmt"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PRISMARK_VERSION));
    quietToolkitParserMessages();
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Lays out Qt style sheets as the built-in sheets are: one declaration per line, four "
        "spaces of indentation, a selector list one per line when it is longer than 100 "
        "characters; comments, strings, url()s and "
        "letter case as written. The toolkit's parse of the result must equal that of the "
        "input, or the file is left as it is.\n\n"
        "Exit status: 0 done (or nothing to change); 1 with --check or --diff, a file would "
        "change; 2 a sheet was not formatted (the toolkit rejects it, or it holds what the "
        "formatter leaves alone); 3 a file could not be read or written, or the usage is "
        "wrong."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("Style sheets to format in place; \"-\" reads "
                                                "standard input and writes standard output."),
                                 QStringLiteral("FILE..."));
    const QCommandLineOption checkOption(
        QStringLiteral("check"),
        QStringLiteral("Change nothing; exit 1 when a file would change."));
    const QCommandLineOption diffOption(
        QStringLiteral("diff"),
        QStringLiteral("Change nothing; print the change as a unified diff."));
    const QCommandLineOption indentOption(QStringLiteral("indent"),
                                          QStringLiteral("Spaces per level (default 4)."),
                                          QStringLiteral("N"), QStringLiteral("4"));
    const QCommandLineOption standardInputNameOption(
        QStringLiteral("stdin-filename"),
        QStringLiteral("The path standard input (\"-\") stands for: its configuration is "
                       "found from it, and messages and the diff name it."),
        QStringLiteral("PATH"));
    parser.addOptions({checkOption, diffOption, indentOption, standardInputNameOption});
    if (!parser.parse(QCoreApplication::arguments())) {
        err << app.applicationName() << ": " << parser.errorText() << '\n';
        return ExitUnreadable;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << helpTextForProgram(parser);
        return ExitClean;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        out << app.applicationName() << ' ' << app.applicationVersion() << '\n';
        return ExitClean;
    }
    Settings settings;
    settings.check = parser.isSet(checkOption);
    settings.diff = parser.isSet(diffOption);
    settings.indentGiven = parser.isSet(indentOption);
    bool indentOk = false;
    settings.format.indentWidth = parser.value(indentOption).toInt(&indentOk);
    if (!indentOk || settings.format.indentWidth < 0 || settings.format.indentWidth > 16) {
        err << app.applicationName() << ": --indent takes 0 to 16\n";
        return ExitUnreadable;
    }
    if (parser.positionalArguments().isEmpty()) {
        err << app.applicationName() << ": no FILE given (\"-\" reads standard input)\n";
        return ExitUnreadable;
    }
    settings.standardInputName = parser.value(standardInputNameOption);
    if (parser.isSet(standardInputNameOption) &&
        (settings.standardInputName.isEmpty() ||
         !parser.positionalArguments().contains(QStringLiteral("-")))) {
        err << app.applicationName()
            << ": --stdin-filename names a path, for \"-\" among the files\n";
        return ExitUnreadable;
    }
    int status = ExitClean;
    for (const QString &file : parser.positionalArguments()) {
        status = qMax(status, formatOne(file, settings, err));
        err.flush();
    }
    std::fflush(stdout);
    return status;
}
