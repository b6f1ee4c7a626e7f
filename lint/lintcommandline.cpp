// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "lint/lintcommandline.h"

#include "analysis/checkregistry.h"
#include "analysis/stylesheetlint.h"
#include "theme/safefileread.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {
enum ExitStatus
{
    ExitClean = 0,
    ExitWarnings = 1,
    ExitErrors = 2,
    ExitUnreadable = 3,
};

QtMessageHandler previousHandler = nullptr;

// The toolkit's parser talks on standard error about values it drops; the report
// says the same with a position, so its chatter is left out.
void quietParserMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("QCssParser::")) ||
        message.startsWith(QLatin1String("QCss::Parser")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

struct Input
{
    bool ok = false;
    QByteArray bytes;
    QString error;
};

Input readStandardInput()
{
    Input input;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count == 0)
            break;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            input.error = QString::fromLocal8Bit(std::strerror(errno));
            return input;
        }
        if (input.bytes.size() + count > kMaxSheetBytes) {
            input.error =
                QStringLiteral("larger than the limit of %1").arg(byteLimitText(kMaxSheetBytes));
            return input;
        }
        input.bytes.append(buffer, int(count));
    }
    input.ok = true;
    return input;
}

QStringList splitIds(const QStringList &values)
{
    QStringList ids;
    for (const QString &value : values) {
        for (const QString &id : value.split(QLatin1Char(','), Qt::SkipEmptyParts))
            ids.append(id.trimmed());
    }
    return ids;
}

QString textLine(const LintDiagnostic &diagnostic)
{
    return QStringLiteral("%1:%2:%3: %4: %5 [%6]")
        .arg(diagnostic.file)
        .arg(diagnostic.line)
        .arg(diagnostic.column)
        .arg(lintSeverityName(diagnostic.severity), diagnostic.message, diagnostic.check);
}

// The registry as the README shows it.
QString checkTable()
{
    QString table = QStringLiteral("| check id | severity | on by default | what |\n"
                                   "|---|---|---|---|\n");
    for (const LintCheck &check : lintChecks()) {
        table += QStringLiteral("| `%1` | %2 | %3 | %4 |\n")
                     .arg(QLatin1String(check.id), lintSeverityName(check.severity),
                          check.onByDefault ? QStringLiteral("yes") : QStringLiteral("no"),
                          QString::fromUtf8(check.description));
    }
    return table;
}

QString summaryTable(const QStringList &files, const QVector<LintDiagnostic> &diagnostics,
                     const QStringList &ids)
{
    QString table = QStringLiteral("| Sheet |");
    QString rule = QStringLiteral("|---|");
    for (const QString &id : ids) {
        table += QStringLiteral(" %1 |").arg(id);
        rule += QStringLiteral("---:|");
    }
    table += QStringLiteral("\n") + rule + QStringLiteral("\n");
    for (const QString &file : files) {
        table += QStringLiteral("| %1 |").arg(QFileInfo(file).fileName());
        for (const QString &id : ids) {
            const auto count = std::count_if(
                diagnostics.cbegin(), diagnostics.cend(), [&](const LintDiagnostic &diagnostic) {
                    return diagnostic.file == file && diagnostic.check == id;
                });
            table += QStringLiteral(" %1 |").arg(count);
        }
        table += QLatin1Char('\n');
    }
    return table;
}
} // namespace

int runLintCommandLine(const QStringList &arguments)
{
    previousHandler = qInstallMessageHandler(quietParserMessages);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Checks Qt style sheets for what the toolkit rejects, ignores or draws "
                       "badly, and says where.\n\n"
                       "Checks: %1.\n\n"
                       "Exit status: 0 nothing failed; 1 only warnings, under --werror; 2 "
                       "errors; 3 a file could not be read or the usage is wrong (the other "
                       "files are still checked).")
            .arg(lintCheckIds().join(QLatin1String(", "))));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("Style sheets to check; \"-\" reads standard "
                                                "input (up to %1).")
                                     .arg(byteLimitText(kMaxSheetBytes)),
                                 QStringLiteral("FILE..."));
    const QCommandLineOption formatOption(QStringLiteral("format"),
                                          QStringLiteral("Output format: text or json."),
                                          QStringLiteral("FORMAT"), QStringLiteral("text"));
    const QCommandLineOption werrorOption(QStringLiteral("werror"),
                                          QStringLiteral("Treat warnings as failures."));
    const QCommandLineOption disableOption(QStringLiteral("disable"),
                                           QStringLiteral("Do not report these check ids."),
                                           QStringLiteral("ID,..."));
    const QCommandLineOption enableOption(QStringLiteral("enable"),
                                          QStringLiteral("Report these check ids, also those "
                                                         "off by default."),
                                          QStringLiteral("ID,..."));
    const QCommandLineOption galleryOption(
        QStringLiteral("gallery"),
        QStringLiteral("Add notes on what the sheet leaves unstyled in the gallery "
                       "(coverage)."));
    const QCommandLineOption listOption(
        QStringLiteral("list-checks"),
        QStringLiteral("Print every check (id, severity, on by default, what it finds) as a "
                       "Markdown table and exit."));
    const QCommandLineOption tableOption(
        QStringLiteral("summary-table"),
        QStringLiteral("Print a Markdown table of diagnostic counts per file and check id "
                       "instead of the diagnostics."));
    parser.addOptions({formatOption, werrorOption, disableOption, enableOption, galleryOption,
                       listOption, tableOption});

    if (!parser.parse(arguments)) {
        err << QCoreApplication::applicationName() << ": " << parser.errorText() << '\n';
        return ExitUnreadable;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << parser.helpText();
        return ExitClean;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
            << '\n';
        return ExitClean;
    }

    if (parser.isSet(listOption)) {
        out << checkTable();
        return ExitClean;
    }

    const QString format = parser.value(formatOption);
    LintOptions options;
    options.gallery = parser.isSet(galleryOption);
    options.disabledChecks = splitIds(parser.values(disableOption));
    options.enabledChecks = splitIds(parser.values(enableOption));
    QString usageError;
    if (format != QLatin1String("text") && format != QLatin1String("json"))
        usageError = QStringLiteral("unknown format \"%1\": use text or json").arg(format);
    for (const QString &id : options.disabledChecks + options.enabledChecks) {
        if (!lintCheckIds().contains(id))
            usageError = QStringLiteral("unknown check id \"%1\"").arg(id);
    }
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        usageError = QStringLiteral("no FILE given (\"-\" reads standard input)");
    if (!usageError.isEmpty()) {
        err << QCoreApplication::applicationName() << ": " << usageError << '\n'
            << "Try '" << QCoreApplication::applicationName() << " --help'.\n";
        return ExitUnreadable;
    }

    bool unreadable = false;
    int checked = 0;
    QStringList checkedFiles;
    QVector<LintDiagnostic> diagnostics;
    for (const QString &file : files) {
        Input input;
        if (file == QLatin1String("-")) {
            input = readStandardInput();
        } else {
            const FileReadResult result = readRegularFile(file, kMaxSheetBytes);
            input.ok = result.ok;
            input.bytes = result.bytes;
            input.error = result.error;
        }
        if (!input.ok) {
            err << QCoreApplication::applicationName() << ": "
                << (file == QLatin1String("-") ? QStringLiteral("standard input") : file) << ": "
                << input.error << '\n';
            err.flush();
            unreadable = true;
            continue;
        }
        ++checked;
        checkedFiles.append(file);
        diagnostics += lintStyleSheet(input.bytes, file, options);
    }
    std::stable_sort(diagnostics.begin(), diagnostics.end(),
                     [](const LintDiagnostic &a, const LintDiagnostic &b) {
                         if (a.file != b.file)
                             return a.file < b.file;
                         if (a.line != b.line)
                             return a.line < b.line;
                         return a.column < b.column;
                     });

    const auto errors = std::count_if(diagnostics.cbegin(), diagnostics.cend(),
                                      [](const LintDiagnostic &diagnostic) {
                                          return diagnostic.severity == LintSeverity::Error;
                                      });
    const auto warnings = std::count_if(diagnostics.cbegin(), diagnostics.cend(),
                                        [](const LintDiagnostic &diagnostic) {
                                            return diagnostic.severity == LintSeverity::Warning;
                                        });

    if (parser.isSet(tableOption)) {
        // A column for every check that ran or was asked for, in the registry's order.
        QStringList ids;
        for (const LintCheck &check : lintChecks()) {
            const QString id = QLatin1String(check.id);
            if (check.onByDefault || options.enabledChecks.contains(id) ||
                (options.gallery && id == QLatin1String("coverage")))
                ids.append(id);
        }
        out << summaryTable(checkedFiles, diagnostics, ids);
    } else if (format == QLatin1String("json")) {
        QJsonArray array;
        for (const LintDiagnostic &diagnostic : qAsConst(diagnostics)) {
            array.append(
                QJsonObject{{QStringLiteral("file"), diagnostic.file},
                            {QStringLiteral("line"), diagnostic.line},
                            {QStringLiteral("column"), diagnostic.column},
                            {QStringLiteral("severity"), lintSeverityName(diagnostic.severity)},
                            {QStringLiteral("check"), diagnostic.check},
                            {QStringLiteral("message"), diagnostic.message}});
        }
        out << QJsonDocument(array).toJson(QJsonDocument::Indented);
    } else {
        for (const LintDiagnostic &diagnostic : qAsConst(diagnostics))
            out << textLine(diagnostic) << '\n';
        out << QStringLiteral("%1 errors, %2 warnings in %3 files")
                   .arg(errors)
                   .arg(warnings)
                   .arg(checked)
            << '\n';
    }
    out.flush();

    if (unreadable)
        return ExitUnreadable;
    if (errors > 0)
        return ExitErrors;
    if (warnings > 0 && parser.isSet(werrorOption))
        return ExitWarnings;
    return ExitClean;
}
