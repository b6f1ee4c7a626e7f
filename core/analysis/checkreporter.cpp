// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checkreporter.h"

#include "analysis/closestname.h"
#include "analysis/sheetmodel.h"

CheckReporter::CheckReporter(const SheetModel &model, const QString &check, LintSeverity severity,
                             QVector<LintDiagnostic> &sink, bool forced)
    : model(model)
    , check(check)
    , severity(severity)
    , sink(sink)
    , forced(forced)
{}

void CheckReporter::at(int offset, const QString &message)
{
    at(offset, severity, message);
}

void CheckReporter::at(int offset, LintSeverity findingSeverity, const QString &message)
{
    // Where a finding that is not listed stands is never used.
    if (countOmitted(findingSeverity))
        return;
    int line = 1;
    int column = 1;
    model.lineColumn(offset, &line, &column);
    atLine(line, column, findingSeverity, message);
}

void CheckReporter::at(int offset, int length, const QString &message)
{
    at(offset, length, severity, message);
}

void CheckReporter::at(int offset, int length, LintSeverity findingSeverity, const QString &message)
{
    at(offset, findingSeverity, message);
    if (!lastListed)
        return;
    int line = 1;
    int column = 1;
    model.lineColumn(offset + qMax(0, length), &line, &column);
    setEnd(line, column);
}

void CheckReporter::atLine(int line, int column, int length, const QString &message)
{
    atLine(line, column, severity, message);
    setEnd(line, column + qMax(0, length));
}

void CheckReporter::setEnd(int line, int column)
{
    if (!lastListed)
        return;
    sink.last().endLine = line;
    sink.last().endColumn = column;
}

LintLocation CheckReporter::locationOf(int offset, int length, const QString &message) const
{
    LintLocation location;
    model.lineColumn(offset, &location.line, &location.column);
    model.lineColumn(offset + qMax(0, length), &location.endLine, &location.endColumn);
    location.message = message;
    return location;
}

void CheckReporter::relatedTo(int offset, int length, const QString &message)
{
    if (lastListed)
        sink.last().related.append(locationOf(offset, length, message));
}

void CheckReporter::judgedValue(int offset, int length, const QString &message)
{
    if (lastListed)
        sink.last().judgedValues.append(locationOf(offset, length, message));
}

void CheckReporter::mendBy(int offset, const QString &insertText)
{
    addFix(offset, 0, insertText, true);
}

void CheckReporter::mendByReplacing(int offset, int length, const QString &newText, bool safe,
                                    const QString &title)
{
    addFix(offset, length, newText, safe);
    if (lastListed && !sink.last().fixes.isEmpty())
        sink.last().fixes.last().title = title;
}

void CheckReporter::suggestClosest(int offset, int length, const QStringList &candidates)
{
    // Only for a listed finding: a sheet of many misspellings pays for those shown.
    if (!lastListed)
        return;
    const QString replacement = closestName(model.text.mid(offset, length), candidates);
    if (!replacement.isEmpty())
        addFix(offset, length, replacement, false);
}

void CheckReporter::addFix(int offset, int length, const QString &newText, bool safe)
{
    if (!lastListed)
        return;
    LintFix fix;
    model.lineColumn(offset, &fix.line, &fix.column);
    model.lineColumn(offset + qMax(0, length), &fix.endLine, &fix.endColumn);
    fix.newText = newText;
    fix.safe = safe;
    sink.last().fixes.append(fix);
}

void CheckReporter::atLine(int line, int column, const QString &message)
{
    atLine(line, column, severity, message);
}

bool CheckReporter::countOmitted(LintSeverity findingSeverity)
{
    lastListed = listed < kMaxListed;
    if (lastListed)
        return false;
    if (forced)
        findingSeverity = severity;
    ++omitted;
    if (int(findingSeverity) < int(worstOmitted))
        worstOmitted = findingSeverity;
    return true;
}

void CheckReporter::atLine(int line, int column, LintSeverity findingSeverity,
                           const QString &message)
{
    if (countOmitted(findingSeverity))
        return;
    if (forced)
        findingSeverity = severity;
    ++listed;
    lastLine = line;
    lastColumn = column;
    LintDiagnostic diagnostic;
    diagnostic.file = model.path;
    diagnostic.line = line;
    diagnostic.column = column;
    diagnostic.severity = findingSeverity;
    diagnostic.check = check;
    diagnostic.message = message;
    sink.append(diagnostic);
}

void CheckReporter::reportOmitted()
{
    if (omitted == 0)
        return;
    LintDiagnostic diagnostic;
    diagnostic.file = model.path;
    diagnostic.line = lastLine;
    diagnostic.column = lastColumn;
    diagnostic.severity = worstOmitted;
    diagnostic.check = check;
    diagnostic.message = QStringLiteral("%1 more diagnostics of this check are not listed "
                                        "(at most %2 per check and file)")
                             .arg(omitted)
                             .arg(kMaxListed);
    sink.append(diagnostic);
    omitted = 0;
    lastListed = false;
}
