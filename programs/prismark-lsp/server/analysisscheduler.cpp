// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/server/analysisscheduler.h"

#include "analysis/lintconfig.h"
#include "analysis/stylesheetlint.h"
#include "analysis/templatelint.h"
#include "embedded/embeddedlint.h"
#include "prismark-lsp/features/tokenworkspace.h"
#include "prismark-lsp/server/workspaceoptions.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <QRunnable>
#include <QThread>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {
// On a busy machine the thread that answers requests comes first: an analysis is
// never in a hurry the way a completion is. (Linux gives each thread a nice value.)
void yieldToRequests()
{
#ifdef Q_OS_LINUX
    setpriority(PRIO_PROCESS, gettid(), 10);
#endif
}
// A template's findings on its own lines, every variant checked. A finding in a
// token file is told on the template's first line, naming the file and place, until
// that file is open itself.
QVector<LintDiagnostic> templateDiagnostics(const QString &path, const QString &text,
                                            const LintOptions &options, const TokenContext &context)
{
    QVector<LintDiagnostic> found =
        lintThemeTemplate(path, options, {}, text, context.texts).diagnostics;
    const QString self = QDir::cleanPath(path);
    const QDir folder = QFileInfo(path).dir();
    for (LintDiagnostic &diagnostic : found) {
        if (!diagnostic.variants.isEmpty())
            diagnostic.message +=
                QStringLiteral(" [%1]").arg(diagnostic.variants.join(QLatin1String(", ")));
        if (QDir::cleanPath(diagnostic.file) == self)
            continue;
        diagnostic.message = QStringLiteral("%1:%2:%3: %4")
                                 .arg(folder.relativeFilePath(diagnostic.file))
                                 .arg(diagnostic.line)
                                 .arg(diagnostic.column)
                                 .arg(diagnostic.message);
        diagnostic.file = path;
        diagnostic.line = 1;
        diagnostic.column = 1;
        diagnostic.endLine = 0;
        diagnostic.endColumn = 0;
        diagnostic.related.clear();
        diagnostic.fixes.clear();
    }
    return found;
}

QString cleanAbsolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// A token file's findings: those of the templates naming it that lie in it, each once
// with the variants (and, when several templates name it, the template) it occurs in;
// on its own, its format's.
QVector<LintDiagnostic> tokenFileDiagnostics(const QString &path, const QString &text,
                                             const TokenContext &context)
{
    if (context.templates.isEmpty())
        return lintTokenFile(path, text);
    const QString self = cleanAbsolute(path);
    QHash<QString, QString> texts = context.texts;
    texts.insert(self, text);
    QVector<LintDiagnostic> found;
    QSet<QString> seen;
    for (const QString &templatePath : context.templates) {
        const LintOptions options = workspaceOptionsFor(templatePath);
        const QVector<LintDiagnostic> diagnostics =
            lintThemeTemplate(templatePath, options, {}, texts.value(templatePath), texts)
                .diagnostics;
        QVector<LintDiagnostic> inFile;
        for (const LintDiagnostic &diagnostic : diagnostics) {
            if (cleanAbsolute(diagnostic.file) == self) {
                inFile.append(diagnostic);
                continue;
            }
            // Told on a template's line, it is also told on each value of this file it
            // came through, with the variants that value is theirs in.
            QVector<LintDiagnostic> onValues;
            for (const LintTokenValue &value : diagnostic.tokenValues) {
                if (cleanAbsolute(value.file) != self)
                    continue;
                const auto same = std::find_if(
                    onValues.begin(), onValues.end(), [&value](const LintDiagnostic &d) {
                        return d.line == value.line && d.column == value.column;
                    });
                if (same != onValues.end()) {
                    if (!same->variants.contains(value.variant))
                        same->variants.append(value.variant);
                    continue;
                }
                LintDiagnostic copy = diagnostic;
                copy.line = value.line;
                copy.column = value.column;
                copy.endLine = 0;
                copy.endColumn = 0;
                copy.related.clear();
                copy.fixes.clear();
                copy.variants = QStringList{value.variant};
                onValues.append(copy);
            }
            inFile += onValues;
        }
        for (LintDiagnostic diagnostic : qAsConst(inFile)) {
            QStringList where = diagnostic.variants;
            if (context.templates.size() > 1)
                where.prepend(QFileInfo(templatePath).fileName());
            const QString key = QStringLiteral("%1:%2:%3:%4")
                                    .arg(diagnostic.line)
                                    .arg(diagnostic.column)
                                    .arg(diagnostic.check, diagnostic.message);
            if (!where.isEmpty())
                diagnostic.message += QStringLiteral(" [%1]").arg(where.join(QLatin1String(", ")));
            // A format error is the same in every template that reads the file.
            if (diagnostic.check == kThemeBuildCheckId && seen.contains(key))
                continue;
            seen.insert(key);
            diagnostic.file = path;
            found.append(diagnostic);
        }
    }
    return found;
}

} // namespace

AnalysisScheduler::AnalysisScheduler(QObject *parent)
    : QObject(parent)
{
    // One document's long analysis must leave a thread for the others.
    pool.setMaxThreadCount(qMax(2, QThread::idealThreadCount()));
}

AnalysisScheduler::~AnalysisScheduler()
{
    waitForDone();
}

void AnalysisScheduler::waitForDone()
{
    pool.waitForDone();
}

void AnalysisScheduler::schedule(const QString &uri, const QString &path, const QString &text,
                                 int generation, const TokenContext &context)
{
    enqueue(uri, Job{path, text, generation, context});
}

void AnalysisScheduler::scheduleEmbedded(const QString &uri, const QString &path,
                                         const QString &text, int generation,
                                         EmbeddingLanguage language)
{
    std::shared_ptr<EmbeddedLintCache> &cache = states[uri].embeddedCache;
    if (!cache)
        cache = std::make_shared<EmbeddedLintCache>();
    enqueue(uri, Job{path, text, generation, {}, language, cache});
}

void AnalysisScheduler::enqueue(const QString &uri, const Job &job)
{
    State &state = states[uri];
    state.newest = job.generation;
    if (state.running) {
        state.waiting = true;
        state.next = job;
        return;
    }
    start(uri, job);
}

void AnalysisScheduler::forget(const QString &uri)
{
    const auto it = states.find(uri);
    if (it == states.end())
        return;
    if (it->running) {
        // Its result is dropped when it comes back.
        it->waiting = false;
        it->newest = -1;
    } else {
        states.erase(it);
    }
}

void AnalysisScheduler::start(const QString &uri, const Job &job)
{
    states[uri].running = true;
    // The text travels by value: the worker owns its copy. The destructor waits for
    // the pool, so this outlives every run; a result posted after it is dropped.
    pool.start(QRunnable::create([this, uri, job] {
        yieldToRequests();
        // Configured as prismark-lint is: the nearest .prismark-lint.json from the
        // document's directory up; a broken one leaves the defaults, as it does there.
        const LintOptions options = workspaceOptionsFor(job.path);
        const QVector<LintDiagnostic> diagnostics =
            job.embedding != EmbeddingLanguage::None
                ? job.embeddedCache->lint(job.text, job.embedding, job.path, options)
            : isThemeTemplatePath(job.path)
                ? templateDiagnostics(job.path, job.text, options, job.context)
            : isTokenFilePath(job.path) ? tokenFileDiagnostics(job.path, job.text, job.context)
                                        : lintStyleSheet(job.text.toUtf8(), job.path, options);
        QMetaObject::invokeMethod(
            this,
            [this, uri, generation = job.generation, diagnostics] {
                finished(uri, generation, diagnostics);
            },
            Qt::QueuedConnection);
    }));
}

void AnalysisScheduler::finished(const QString &uri, int generation,
                                 const QVector<LintDiagnostic> &diagnostics)
{
    const auto it = states.find(uri);
    if (it == states.end())
        return;
    it->running = false;
    if (it->newest < 0) {
        states.erase(it);
        return;
    }
    if (it->waiting) {
        it->waiting = false;
        const Job job = it->next;
        it->next = Job();
        start(uri, job);
        return;
    }
    if (generation == it->newest)
        emit analysed(uri, generation, diagnostics);
}
