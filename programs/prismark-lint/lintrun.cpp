// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lint/lintrun.h"

#include "prismark-lint/configurationcache.h"
#include "prismark-lint/filekinds.h"
#include "prismark-lint/summarytable.h"
#include "prismark-lint/walkedapplication.h"

#include <QFileInfo>

namespace {
// What the files checked so far came to.
struct LintRun
{
    bool unreadable = false;
    int fixed = 0;
    QStringList checkedFiles;
    QVector<LintDiagnostic> diagnostics;
};

class LintRunner
{
public:
    LintRunner(const LintSettings &settings, Configurations &configurations, QTextStream &err)
        : settings(settings)
        , configurations(configurations)
        , err(err)
    {}

    // A file found by walking a folder is checked only when its kind walks it.
    void checkFile(const QString &path, bool walked = false);
    // Every file of the folder a walk checks; the forms found are the application's.
    void walk(const QString &folder);

    LintRun run;

private:
    bool read(const LintFileKind &kind, LintedFile &file);
    void lint(const LintFileKind &kind, const LintedFile &file, const LintRequest &request);
    void fix(const LintFileKind &kind, const LintedFile &file, const LintRequest &request);

    const LintSettings &settings;
    Configurations &configurations;
    QTextStream &err;
    // The sources the walk under way has read already.
    const QHash<QString, QByteArray> *walkedBytes = nullptr;
};

void LintRunner::checkFile(const QString &path, bool walked)
{
    // What the findings and the configuration go by: standard input by the path it
    // stands for, when one is given.
    LintedFile file{path, path, {}};
    if (file.isStandardInput() && !settings.standardInputName.isEmpty())
        file.name = settings.standardInputName;
    const LintOptions options = configurations.optionsFor(file.name);
    const LintFileKind &kind = lintFileKindOf(file);
    if (kind.read && !read(kind, file))
        return;
    if (walked && kind.walkedMention && !file.bytes.contains(kind.walkedMention))
        return;
    const LintRequest request{options, settings.variants, settings.fixMode.unsafeFixes};
    if (settings.fixMode.fix && kind.fix)
        fix(kind, file, request);
    else
        lint(kind, file, request);
}

bool LintRunner::read(const LintFileKind &kind, LintedFile &file)
{
    if (walkedBytes) {
        const auto known = walkedBytes->constFind(file.path);
        if (known != walkedBytes->cend()) {
            file.bytes = *known;
            return true;
        }
    }
    const FileReadResult input = kind.read(file);
    if (!input.ok) {
        complain(err, (file.isStandardInput() ? QStringLiteral("standard input") : file.path) +
                          QStringLiteral(": ") + input.error);
        run.unreadable = true;
        return false;
    }
    file.bytes = input.bytes;
    return true;
}

void LintRunner::lint(const LintFileKind &kind, const LintedFile &file, const LintRequest &request)
{
    const FileLint lint = kind.lint(file, request);
    if (!lint.refusal.isEmpty()) {
        complain(err, lint.refusal);
        run.unreadable = true;
        return;
    }
    run.unreadable = run.unreadable || lint.unreadable;
    run.checkedFiles.append(file.name);
    run.diagnostics += lint.diagnostics;
}

void LintRunner::fix(const LintFileKind &kind, const LintedFile &file, const LintRequest &request)
{
    run.checkedFiles.append(file.name);
    const LintFixOutcome outcome = fixLintedFile(kind, file, request, settings.fixMode);
    if (!outcome.ok || !outcome.notice.isEmpty()) {
        complain(err,
                 file.name + QStringLiteral(": ") + (outcome.ok ? outcome.notice : outcome.error));
        run.unreadable = run.unreadable || !outcome.ok;
    }
    run.fixed += outcome.fixed;
    run.diagnostics += outcome.remaining;
}

void LintRunner::walk(const QString &folder)
{
    const WalkedApplication walked = walkApplication(folder);
    configurations.setWalk(&walked);
    walkedBytes = &walked.sourceBytes;
    for (const QString &found : walked.files)
        checkFile(found, true);
    walkedBytes = nullptr;
    configurations.setWalk(nullptr);
}

// The diagnostics in the format asked for, and the count of fixes after --fix.
void printReport(const LintSettings &settings, const LintRun &run, QTextStream &out,
                 QTextStream &err)
{
    // Standard output carries the fixed text or the diff; the report goes beside it.
    const bool outputTaken = settings.fixMode.diff ||
                             (settings.fixMode.fix && settings.files.contains(QStringLiteral("-")));
    QTextStream &report = outputTaken ? err : out;
    const QVector<LintDiagnostic> &diagnostics = run.diagnostics;
    if (settings.summaryTable)
        report << summaryTable(run.checkedFiles, diagnostics,
                               summaryColumns(settings.enabled, settings.gallery));
    else
        report << settings.format->write(
            LintReport{diagnostics, int(run.checkedFiles.size()), settings.fixMode.fix, run.fixed});
    report.flush();
}

int exitStatus(const LintSettings &settings, const LintRun &run, bool configurationFailed)
{
    const int errors = countWithSeverity(run.diagnostics, LintSeverity::Error);
    const int warnings = countWithSeverity(run.diagnostics, LintSeverity::Warning);
    if (run.unreadable || configurationFailed)
        return ExitUnreadable;
    if (errors > 0)
        return ExitErrors;
    if (warnings > 0 && settings.werror)
        return ExitWarnings;
    if (settings.maxWarnings >= 0 && warnings > settings.maxWarnings)
        return ExitWarnings;
    return ExitClean;
}
} // namespace

int runLint(const LintSettings &settings)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    Configurations configurations(settings);
    LintRunner runner(settings, configurations, err);
    for (const QString &file : settings.files) {
        if (file == QLatin1String("-") || !QFileInfo(file).isDir())
            runner.checkFile(file);
        else
            runner.walk(file);
    }
    sortLintDiagnostics(runner.run.diagnostics);
    printReport(settings, runner.run, out, err);
    return exitStatus(settings, runner.run, configurations.failed);
}
