// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/lintfixer.h"

#include "analysis/stylesheetlint.h"
#include "theme/stylesheetloader.h"

#include <QHash>

#include <algorithm>

namespace {
// The UTF-16 offset of a 1-based line and character column; -1 when outside.
int offsetOf(const QString &text, int line, int column)
{
    int at = 0;
    for (int current = 1; current < line; ++current) {
        at = int(text.indexOf(QLatin1Char('\n'), at));
        if (at < 0)
            return -1;
        ++at;
    }
    for (int characters = 1; characters < column; ++characters) {
        if (at >= text.size() || text.at(at) == QLatin1Char('\n'))
            return -1;
        at += text.at(at).isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
    }
    return at;
}

struct Edit
{
    int start = 0;
    int end = 0;
    QString newText;
};

bool toEdit(const QString &text, const LintFix &fix, Edit *edit)
{
    edit->start = offsetOf(text, fix.line, fix.column);
    edit->end = offsetOf(text, fix.endLine, fix.endColumn);
    edit->newText = fix.newText;
    return edit->start >= 0 && edit->end >= edit->start;
}

QString applyEdits(QString text, QVector<Edit> edits)
{
    std::sort(edits.begin(), edits.end(),
              [](const Edit &a, const Edit &b) { return a.start > b.start; });
    for (const Edit &edit : edits)
        text.replace(edit.start, edit.end - edit.start, edit.newText);
    return text;
}

struct Verdict
{
    int errors = 0;
    bool syntax = false;
};

Verdict verdictOf(const QVector<LintDiagnostic> &diagnostics)
{
    Verdict verdict;
    for (const LintDiagnostic &diagnostic : diagnostics) {
        if (diagnostic.severity == LintSeverity::Error)
            ++verdict.errors;
        if (toolkitRejectsSheet(diagnostic))
            verdict.syntax = true;
    }
    return verdict;
}

// Why the candidate is worse than the sheet it came from, or empty when it is not.
QString worseBecause(const Verdict &before, const Verdict &after)
{
    if (after.syntax && !before.syntax)
        return QStringLiteral("it would make the toolkit reject the whole sheet");
    if (after.errors > before.errors)
        return QStringLiteral("it would leave %1 errors where there are %2")
            .arg(after.errors)
            .arg(before.errors);
    return QString();
}

// The first edit of each finding that applies, in text order, none overlapping
// another: the rest wait for the next round, when positions are fresh.
QVector<Edit> chosenEdits(const QString &text, const QVector<LintDiagnostic> &diagnostics,
                          bool unsafeFixes)
{
    QVector<Edit> edits;
    for (const LintDiagnostic &diagnostic : diagnostics) {
        for (const LintFix &fix : diagnostic.fixes) {
            Edit edit;
            if (lintFixApplies(fix, unsafeFixes) && toEdit(text, fix, &edit)) {
                edits.append(edit);
                break;
            }
        }
    }
    std::stable_sort(edits.begin(), edits.end(),
                     [](const Edit &a, const Edit &b) { return a.start < b.start; });
    QVector<Edit> disjoint;
    for (const Edit &edit : qAsConst(edits)) {
        // Two insertions at one place would come out in no reliable order.
        if (!disjoint.isEmpty() &&
            (edit.start < disjoint.last().end || edit.start == disjoint.last().start))
            continue;
        disjoint.append(edit);
    }
    return disjoint;
}

QVector<LintDiagnostic> lintText(const SheetLinter &lint, const QString &text, const QString &path,
                                 const LintOptions &options)
{
    return lint(text.toUtf8(), path, options);
}

// The findings of the final text whose fix was not kept get the reason in their
// message. A check per finding: only the first few are looked at, so a sheet of many
// refused guesses stays quick.
void explainRefusals(const SheetLinter &lint, const QString &text, const QString &path,
                     const LintOptions &options, bool unsafeFixes,
                     QVector<LintDiagnostic> &remaining)
{
    constexpr int kExplained = 50;
    const Verdict before = verdictOf(remaining);
    int explained = 0;
    for (LintDiagnostic &diagnostic : remaining) {
        for (const LintFix &fix : qAsConst(diagnostic.fixes)) {
            Edit edit;
            if (!lintFixApplies(fix, unsafeFixes) || !toEdit(text, fix, &edit))
                continue;
            if (++explained > kExplained)
                return;
            const QString reason = worseBecause(
                before, verdictOf(lintText(lint, applyEdits(text, {edit}), path, options)));
            diagnostic.message += reason.isEmpty()
                                      ? QStringLiteral(" (not fixed: still offered after %1 "
                                                       "rounds)")
                                            .arg(kMaxFixRounds)
                                      : QStringLiteral(" (not fixed: %1)").arg(reason);
            break;
        }
    }
}
} // namespace

bool lintFixApplies(const LintFix &fix, bool unsafeFixes)
{
    return fix.safe || unsafeFixes;
}

QString applyLintFix(const QString &text, const LintFix &fix)
{
    Edit edit;
    return toEdit(text, fix, &edit) ? applyEdits(text, {edit}) : text;
}

LintFixResult fixStyleSheet(const QByteArray &bytes, const QString &path,
                            const LintOptions &options, bool unsafeFixes)
{
    return fixStyleSheet(bytes, path, options, unsafeFixes, lintStyleSheet);
}

LintFixResult fixStyleSheet(const QByteArray &bytes, const QString &path,
                            const LintOptions &options, bool unsafeFixes, const SheetLinter &lint)
{
    LintFixResult result;
    result.bytes = bytes;
    result.remaining = lint(bytes, path, options);
    // Most sheets have nothing to fix: then there is no text to decode and compare.
    const bool anyFix = std::any_of(
        result.remaining.cbegin(), result.remaining.cend(), [unsafeFixes](const LintDiagnostic &d) {
            return std::any_of(d.fixes.cbegin(), d.fixes.cend(), [unsafeFixes](const LintFix &fix) {
                return lintFixApplies(fix, unsafeFixes);
            });
        });
    if (!anyFix)
        return result;

    // Edits are made on the text the analysis counts in; the file is written back
    // with its own line endings, so only a text that survives the round trip is fixed.
    const bool crlf = bytes.contains("\r\n");
    QByteArray folded = bytes;
    if (crlf)
        folded.replace("\r\n", "\n");
    QString text = decodeStyleSheetText(folded);
    if (text.toUtf8() != folded || (crlf && folded.contains('\r'))) {
        result.refusal = QStringLiteral("not fixed: the text is not plain UTF-8 with one kind "
                                        "of line ending");
        return result;
    }
    if (crlf && bytes.count('\n') != bytes.count("\r\n")) {
        result.refusal = QStringLiteral("not fixed: the text mixes line endings");
        return result;
    }

    QVector<LintDiagnostic> current = result.remaining;
    for (int round = 0; round < kMaxFixRounds; ++round) {
        const QVector<Edit> edits = chosenEdits(text, current, unsafeFixes);
        if (edits.isEmpty())
            break;
        const Verdict before = verdictOf(current);
        QString candidate = applyEdits(text, edits);
        QVector<LintDiagnostic> after = lintText(lint, candidate, path, options);
        int applied = int(edits.size());
        if (!worseBecause(before, verdictOf(after)).isEmpty()) {
            // One of them makes it worse: keep those that, one by one, do not.
            candidate = text;
            after = current;
            applied = 0;
            QVector<Edit> kept;
            for (const Edit &edit : edits) {
                QVector<Edit> trial = kept;
                trial.append(edit);
                const QString tried = applyEdits(text, trial);
                const QVector<LintDiagnostic> triedFindings = lintText(lint, tried, path, options);
                if (worseBecause(before, verdictOf(triedFindings)).isEmpty()) {
                    kept = trial;
                    candidate = tried;
                    after = triedFindings;
                }
            }
            applied = int(kept.size());
            if (applied == 0)
                break;
        }
        text = candidate;
        current = after;
        result.fixed += applied;
    }
    if (result.fixed > 0) {
        QByteArray out = text.toUtf8();
        if (crlf)
            out.replace("\n", "\r\n");
        result.changed = out != bytes;
        result.bytes = out;
    }
    explainRefusals(lint, text, path, options, unsafeFixes, current);
    result.remaining = current;
    return result;
}
