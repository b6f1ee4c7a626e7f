// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/diagnostic.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <type_traits>

class SheetModel;

// The one place a diagnostic is made: bound to one check's id and severity, so a
// check cannot report under another's name, and capped per check and file.
class CheckReporter
{
public:
    // With forced, every finding takes severity, whatever the check says of it.
    CheckReporter(const SheetModel &model, const QString &check, LintSeverity severity,
                  QVector<LintDiagnostic> &sink, bool forced = false);

    // At a character offset of the model's text, with the check's own severity or
    // the one given.
    void at(int offset, const QString &message);
    void at(int offset, LintSeverity severity, const QString &message);
    // Over the length characters from offset: the token the finding is about.
    void at(int offset, int length, const QString &message);
    void at(int offset, int length, LintSeverity severity, const QString &message);
    // The same, with the check's severity, the message made only when the diagnostic
    // is listed: past the limit only the count is kept, and in a long sheet making the
    // messages that are not listed costs more than finding them. True when listed.
    template <typename MakeMessage,
              typename = std::enable_if_t<std::is_invocable_r_v<QString, MakeMessage>>>
    bool at(int offset, int length, MakeMessage makeMessage)
    {
        if (countOmitted(severity))
            return false;
        at(offset, length, severity, makeMessage());
        return true;
    }
    // At a 1-based line and column.
    void atLine(int line, int column, const QString &message);
    void atLine(int line, int column, LintSeverity severity, const QString &message);
    void atLine(int line, int column, int length, const QString &message);

    // Add to the diagnostic reported last (nothing when it went over the limit): a
    // place it is about, and an edit that mends it: inserting what the toolkit
    // expected for sure (safe), or replacing the length characters at offset, a
    // misspelt name, by the candidate clearly closest to it (unsafe: a guess; nothing
    // when no candidate is clearly closest).
    void relatedTo(int offset, int length, const QString &message);
    // A value the diagnostic reported last judges (see LintDiagnostic::judgedValues).
    void judgedValue(int offset, int length, const QString &message);
    void mendBy(int offset, const QString &insertText);
    void suggestClosest(int offset, int length, const QStringList &candidates);
    // An edit that replaces the length characters at offset by newText: safe when it
    // keeps what the toolkit does, unsafe when it changes it to what was meant.
    void mendByReplacing(int offset, int length, const QString &newText, bool safe,
                         const QString &title = QString());

    const QString &checkId() const { return check; }

    // Beyond this many diagnostics of one check a file only counts them: a sheet of
    // many megabytes would otherwise keep a list larger than itself.
    static constexpr int kMaxListed = 1000;
    // Adds one diagnostic saying how many went over the limit, if any did.
    void reportOmitted();

private:
    // Past the limit, counts a finding of this severity and returns true.
    bool countOmitted(LintSeverity findingSeverity);
    // Sets where the diagnostic reported last ends, when it was listed.
    void setEnd(int line, int column);
    void addFix(int offset, int length, const QString &newText, bool safe);
    // The stretch [offset, offset + length) of the sheet as a place with its message.
    LintLocation locationOf(int offset, int length, const QString &message) const;

    const SheetModel &model;
    QString check;
    LintSeverity severity;
    QVector<LintDiagnostic> &sink;
    bool forced;
    int listed = 0;
    bool lastListed = false;
    int omitted = 0;
    LintSeverity worstOmitted = LintSeverity::Note;
    int lastLine = 1;
    int lastColumn = 1;
};
