// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/stylesheetlint.h"
#include "embedded/embeddedlint.h"
#include "embedded/embeddedsheets.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QThreadPool>

#include <memory>

// What a theme source is checked with: for a token file, the templates that name it;
// for either, the texts the editor holds of the other sources, by absolute clean path.
struct TokenContext
{
    QStringList templates;
    QHash<QString, QString> texts;
};

// Analyses documents on worker threads, so the thread that reads requests never
// waits for a sheet. Each run gets its own copy of the text (the analysis's parse
// objects share data and cache into it, so nothing of one run is seen by another);
// a document runs once at a time, and only the newest text's result is handed back,
// so an older result never follows a newer one.
class AnalysisScheduler : public QObject
{
    Q_OBJECT
public:
    explicit AnalysisScheduler(QObject *parent = nullptr);
    ~AnalysisScheduler() override;

    // The text of generation; a later call for the same uri supersedes it.
    void schedule(const QString &uri, const QString &path, const QString &text, int generation,
                  const TokenContext &context = {});
    // The same for a form or a source: the sheets it embeds are checked, and only those
    // whose text or widget changed since its last run are analysed again.
    void scheduleEmbedded(const QString &uri, const QString &path, const QString &text,
                          int generation, EmbeddingLanguage language);
    // The document was closed: nothing more is handed back for it.
    void forget(const QString &uri);
    // Waits for every run, for an orderly end.
    void waitForDone();

signals:
    void analysed(const QString &uri, int generation, const QVector<LintDiagnostic> &diagnostics);

private:
    struct Job
    {
        QString path;
        QString text;
        int generation = 0;
        TokenContext context;
        EmbeddingLanguage embedding = EmbeddingLanguage::None;
        // The document's own, used by one run at a time as its runs follow each other.
        std::shared_ptr<EmbeddedLintCache> embeddedCache = {};
    };
    struct State
    {
        bool running = false;
        bool waiting = false; // a newer text waits for the running one
        Job next;
        int newest = 0;
        std::shared_ptr<EmbeddedLintCache> embeddedCache;
    };
    void enqueue(const QString &uri, const Job &job);
    void start(const QString &uri, const Job &job);
    void finished(const QString &uri, int generation, const QVector<LintDiagnostic> &diagnostics);

    QThreadPool pool;
    QHash<QString, State> states;
};
