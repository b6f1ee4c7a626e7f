// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/lintcontext.h"

#include "analysis/qssreference.h"

#include <algorithm>

LintContext::LintContext(const QString &path, const LintOptions &options)
    : path(path)
    , options(options)
{}

bool LintContext::enabled(const QString &check) const
{
    if (options.disabledChecks.contains(check))
        return false;
    if (check == QLatin1String("coverage"))
        return options.gallery || options.enabledChecks.contains(check);
    return true;
}

void LintContext::report(int offset, LintSeverity severity, const QString &check,
                         const QString &message)
{
    int line = 1;
    int column = 1;
    lineColumn(offset, &line, &column);
    reportAt(line, column, severity, check, message);
}

void LintContext::reportAt(int line, int column, LintSeverity severity, const QString &check,
                           const QString &message)
{
    if (!enabled(check))
        return;
    Omitted &count = perCheck[check];
    if (count.listed >= kMaxPerCheck) {
        ++count.omitted;
        if (int(severity) < int(count.worst))
            count.worst = severity;
        return;
    }
    ++count.listed;
    count.line = line;
    count.column = column;
    LintDiagnostic diagnostic;
    diagnostic.file = path;
    diagnostic.line = line;
    diagnostic.column = column;
    diagnostic.severity = severity;
    diagnostic.check = check;
    diagnostic.message = message;
    diagnostics.append(diagnostic);
}

void LintContext::reportOmitted()
{
    for (auto it = perCheck.cbegin(); it != perCheck.cend(); ++it) {
        if (it->omitted == 0)
            continue;
        LintDiagnostic diagnostic;
        diagnostic.file = path;
        diagnostic.line = it->line;
        diagnostic.column = it->column;
        diagnostic.severity = it->worst;
        diagnostic.check = it.key();
        diagnostic.message = QStringLiteral("%1 more diagnostics of this check are not listed "
                                            "(at most %2 per check and file)")
                                 .arg(it->omitted)
                                 .arg(kMaxPerCheck);
        diagnostics.append(diagnostic);
    }
}

void LintContext::setText(const QString &newText)
{
    text = newText;
    lineStarts.clear();
    lineStarts.append(0);
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\n'))
            lineStarts.append(i + 1);
    }
}

void LintContext::lineColumn(int offset, int *line, int *column) const
{
    offset = qBound(0, offset, int(text.size()));
    const auto it = std::upper_bound(lineStarts.cbegin(), lineStarts.cend(), offset);
    const int lineIndex = int(it - lineStarts.cbegin()) - 1;
    const int start = lineStarts.at(lineIndex);
    int characters = 0;
    // Characters, not UTF-16 units: a surrogate pair is one column.
    for (int i = start; i < offset; ++i) {
        if (!text.at(i).isLowSurrogate())
            ++characters;
    }
    *line = lineIndex + 1;
    *column = characters + 1;
}

void LintContext::noteEscapeShifts(const QString &original)
{
    // Mirrors the toolkit's escape preprocessing, which replaces "\" and up to six
    // hexadecimal digits by one character, so token offsets can be mapped back.
    escapeShifts.clear();
    QString output = original;
    int removed = 0;
    int i = 0;
    while (i < output.size()) {
        if (output.at(i) != QLatin1Char('\\')) {
            ++i;
            continue;
        }
        ++i;
        int hexCount = 0;
        const int hexStart = i;
        while (i < output.size() && isxdigit(output.at(i).toLatin1()) && hexCount < 7) {
            ++hexCount;
            ++i;
        }
        if (hexCount == 0)
            continue;
        hexCount = qMin(hexCount, 6);
        bool ok = false;
        const ushort code = output.mid(hexStart, hexCount).toUShort(&ok, 16);
        if (ok) {
            output.replace(hexStart - 1, hexCount + 1, QChar(code));
            removed += hexCount;
            escapeShifts.append(qMakePair(hexStart, removed));
        }
        i = hexStart;
    }
}

int LintContext::symbolOffset(int symbolIndex) const
{
    if (parser.symbols.isEmpty())
        return 0;
    if (symbolIndex >= parser.symbols.size())
        return text.size();
    const QCss::Symbol &symbol = parser.symbols.at(qMax(0, symbolIndex));
    // Some tokens ("{", ",", ">") carry the blanks before them.
    int start = symbol.start;
    if (symbol.token != QCss::S) {
        const int end = symbol.start + symbol.len;
        while (start < end - 1 && symbol.text.at(start).isSpace())
            ++start;
    }
    int shift = 0;
    for (const auto &entry : escapeShifts) {
        if (entry.first > start)
            break;
        shift = entry.second;
    }
    return start + shift;
}

QColor LintContext::paletteColor(QPalette::ColorRole role, QPalette::ColorGroup group) const
{
    QColor result;
    for (const PaletteDirective &directive : palette) {
        if (!directive.known || directive.role != role)
            continue;
        if (directive.group == group || directive.group == QPalette::All)
            result = directive.color;
    }
    return result;
}

bool selectorCovers(const LintSelector &b, const LintSelector &a)
{
    // Only the last compound is compared, so b must not depend on ancestors.
    if (b.hasAncestors || b.subcontrol != a.subcontrol)
        return false;
    if (!b.element.isEmpty() && b.element != a.element &&
        !QssReference::inheritsWidget(a.element, b.element))
        return false;
    for (const QString &id : b.ids) {
        if (!a.ids.contains(id))
            return false;
    }
    for (const auto &attribute : b.attributes) {
        const bool implied =
            std::any_of(a.attributes.cbegin(), a.attributes.cend(),
                        [&attribute](const QCss::AttributeSelector &other) {
                            if (other.name != attribute.name)
                                return false;
                            if (attribute.valueMatchCriterium == QCss::AttributeSelector::NoMatch)
                                return true;
                            return other.valueMatchCriterium == attribute.valueMatchCriterium &&
                                   other.value == attribute.value;
                        });
        if (!implied)
            return false;
    }
    for (const QString &state : b.states) {
        if (!a.states.contains(state))
            return false;
    }
    for (const QString &state : b.negatedStates) {
        if (!a.negatedStates.contains(state))
            return false;
    }
    return true;
}

int cascadeWeight(const LintSelector &selector, int order)
{
    // The toolkit's own weight: a rule's position plus its specificity times 256, so
    // in a sheet of more than 256 rules position bleeds into specificity.
    return order + selector.specificity * 0x100;
}

bool selectorWins(const LintSelector &b, int bOrder, const LintSelector &a, int aOrder)
{
    return cascadeWeight(b, bOrder) > cascadeWeight(a, aOrder);
}
