// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/lintconfig.h"
#include "analysis/stylesheetlint.h"
#include "support/watchedfile.h"
#include "tokens/sourcemap.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <QVector>

#include <functional>
#include <memory>
#include <vector>

class GalleryHost;

// What a read of the sheet found: the bytes to install, or why there are none.
struct SheetRead
{
    bool ok = false;
    bool missing = false;
    QByteArray bytes;
    QString error;
    // A template that builds with errors: they, on the lines the author wrote.
    QVector<LintDiagnostic> buildErrors;
};

// Keeps an author's style sheet file installed on the gallery's main window, or on a
// whole application through an installer of its own: reads it again
// whenever it changes on disk, checks it, and installs it unless the toolkit would
// reject it, in which case the last good sheet stays. A theme template (".qss.in") is
// built in memory, one variant at a time, and followed through every token file and
// icon it names; its findings are told on the template's and token files' lines.
class LiveSheet : public QObject
{
    Q_OBJECT
public:
    enum class Outcome
    {
        Applied,    // the file's text is installed
        Rejected,   // read, but the analysis found a reason to keep the last good sheet
        Unreadable, // there, but not read (not a regular file, too large, no permission)
        Missing,    // gone; waiting for it to come back
    };

    // What the analysis of a text is asked for: only the checks that can keep it from
    // being installed (while a save settles, so it is quick), or every check (once the
    // text shows, or for the diagnostics of a rejected one).
    enum class Scope
    {
        Rejecting,
        Full,
    };
    // The analysis of one text; replaceable so the keep-last-good rule can be driven
    // without a particular analysis.
    using Linter = std::function<QVector<LintDiagnostic>(const QByteArray &bytes,
                                                         const QString &path, Scope scope)>;

    // How a text is installed when there is no gallery window to install it on.
    using Installer = std::function<void(const QString &text)>;

    // A plain sheet's text and the verdict of the checks that refuse a text.
    struct CheckedAhead
    {
        QByteArray bytes;
        QVector<LintDiagnostic> verdict;
    };
    // The configuration that governs the file at path.
    static LintConfigResult configurationOf(const QString &path);
    // Reads the file and runs the refusing checks as a LiveSheet under options
    // configures them; safe on any thread. Nothing for a template, which is built as it
    // is read.
    static CheckedAhead checkAheadOf(const QString &path, const LintOptions &options);
    // A check begun elsewhere: the first read that needs its verdict calls it, and so
    // waits for it there.
    using PendingCheck = std::function<CheckedAhead()>;

    LiveSheet(GalleryHost *gallery, const QString &path, QObject *parent = nullptr);
    // For an application of the author's own: each good text goes to install.
    LiveSheet(const QString &path, Installer install, QObject *parent = nullptr);
    // The same under a configuration read already, with the check of the file's text
    // begun elsewhere; its verdict stands if the file still holds that text.
    LiveSheet(const QString &path, Installer install, const LintConfigResult &config,
              PendingCheck pending, QObject *parent = nullptr);

    void setLinter(Linter linter);
    // How long a burst of changes has to be quiet before the file is read, and how long
    // an emptied file has to stay empty before it is installed; from the next change on.
    void setSettleTimes(int burstMs, int emptyMs);

    // Reads the file and installs it, even when its text has not changed since the
    // last read (after the author tried a built-in theme, say).
    void apply();

    QString path() const { return filePath; }
    // The configuration file that governs the file (read at start), "" for none, and
    // what is wrong with it, if anything.
    QString configFile() const { return config.file; }
    QString configProblem() const
    {
        return (QStringList(config.error) + config.warnings).join(QLatin1Char('\n')).trimmed();
    }
    QString fileName() const;
    Outcome outcome() const { return lastOutcome; }
    // Why the last read was not installed; empty after Applied.
    QString problem() const { return lastProblem; }
    // Of the last text read, in the analysis's order.
    QVector<LintDiagnostic> diagnostics() const { return lastDiagnostics; }
    QDateTime appliedAt() const { return lastAppliedAt; }
    // From the change on disk (or the call to apply) to the sheet installed.
    double applyMilliseconds() const { return lastApplyMs; }
    bool appliedTextIsEmpty() const { return appliedEmpty; }
    // What the main window shows now: the file's name, or the built-in theme in force.
    QString shownStyle() const { return shownStyleName; }

    // A theme template: its variants, as it names them, and the one shown.
    bool isTemplate() const { return themeTemplate; }
    QStringList variants() const { return variantNames; }
    QString variant() const { return currentVariant; }
    // Builds and shows that variant at once; false for a name the template lacks.
    bool setVariant(const QString &name);
    // The variant the first apply() builds, so it is built and installed once; the
    // first variant when the template lacks it.
    void setFirstVariant(const QString &name) { requestedVariant = name; }

    // While held, the full analysis of an installed text waits (for an application's
    // first paint, say); released, it runs as it would have.
    void holdFullAnalysis() { analysisHeld = true; }
    void releaseFullAnalysis();
    // The files a template names that are watched besides it.
    QStringList watchedSources() const { return sourcePaths; }

    // True when the diagnostic names a reason the text must not be installed.
    static bool rejects(const LintDiagnostic &diagnostic);

signals:
    // After every read of the file that found something new (a text installed, once
    // its diagnostics are known; a text refused; the file gone or unreadable), and
    // after a built-in theme was picked.
    void updated();

protected:
    bool event(QEvent *event) override;

private:
    void noteChange();
    void checkAhead();
    void reload(bool force);
    void analyseAfterPaint();
    bool rejectedBy(const QVector<LintDiagnostic> &verdict);
    void clearSwitcherSelection();
    // The sheet to install: the file's bytes, or the template's variant built.
    SheetRead readSheet();
    QVector<LintDiagnostic> analyse(const QByteArray &bytes, Scope scope);
    void readTemplateHeader(const QByteArray &bytes);
    void watchSources(const QStringList &paths);
    bool buildFailed(const QVector<LintDiagnostic> &errors);
    LiveSheet(GalleryHost *gallery, const QString &absolutePath, const LintConfigResult &config,
              QObject *parent);
    // Takes the verdict of a check begun elsewhere, once, for the next read.
    void takePendingCheck();

    GalleryHost *gallery;
    Installer installer;
    const QString filePath;
    const LintConfigResult config;
    Linter linter;
    WatchedFile file;
    QTimer settleTimer;
    int burstSettleInterval;
    int emptySettleInterval;
    QElapsedTimer sinceChange;

    // The text checked ahead at the start of a burst (never empty), and what the
    // rejecting checks found in it.
    QByteArray checkedBytes;
    QVector<LintDiagnostic> checkedVerdict;
    PendingCheck pendingCheck;
    // An installed save waits for its full analysis (posted to run after the paint).
    bool fullAnalysisDue = false;
    bool analysisHeld = false;

    QByteArray lastBytes;
    bool haveBytes = false;
    Outcome lastOutcome = Outcome::Missing;
    QString lastProblem;
    QVector<LintDiagnostic> lastDiagnostics;
    QDateTime lastAppliedAt;
    double lastApplyMs = 0;
    bool appliedEmpty = false;
    QString shownStyleName;

    const bool themeTemplate;
    QStringList variantNames;
    QString currentVariant;
    QString requestedVariant;
    SourceMap lastMap;
    QVector<LintDiagnostic> lastBuildErrors;
    QStringList sourcePaths;
    std::vector<std::unique_ptr<WatchedFile>> sources;
    // The variant's recoloured icons, written afresh (a new folder) when they change,
    // since the toolkit keeps an image it has read by its path.
    std::unique_ptr<QTemporaryDir> iconFolder;
    int iconGeneration = 0;
    QByteArray lastIcons;
};
