// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "lsp/quickfixes.h"

#include "analysis/qssreference.h"
#include "lsp/textdocument.h"
#include "theme/palettedirectives.h"

#include <QRegularExpression>

namespace {
// Edits with adjacent letters swapped counting once (optimal string alignment).
int editDistance(const QString &a, const QString &b)
{
    const int n = int(a.size());
    const int m = int(b.size());
    QVector<QVector<int>> d(n + 1, QVector<int>(m + 1));
    for (int i = 0; i <= n; ++i)
        d[i][0] = i;
    for (int j = 0; j <= m; ++j)
        d[0][j] = j;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= m; ++j) {
            const int cost = a.at(i - 1) == b.at(j - 1) ? 0 : 1;
            d[i][j] = qMin(qMin(d[i - 1][j] + 1, d[i][j - 1] + 1), d[i - 1][j - 1] + cost);
            if (i > 1 && j > 1 && a.at(i - 1) == b.at(j - 2) && a.at(i - 2) == b.at(j - 1))
                d[i][j] = qMin(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[n][m];
}

QStringList names(const QVector<QssReference::NameInfo> &table)
{
    QStringList result;
    for (const QssReference::NameInfo &entry : table)
        result.append(entry.name);
    return result;
}

QStringList propertyNames()
{
    QStringList result;
    for (const QssReference::PropertyInfo &info : QssReference::properties())
        result.append(info.name);
    return result;
}

QStringList paletteNames()
{
    QStringList result = paletteRoleNames();
    for (const QString &role : paletteRoleNames())
        result.append(kDisabledRolePrefix + role);
    return result;
}

QJsonObject editAction(const TextDocument &document, const PublishedDiagnostic &diagnostic,
                       const QString &title, int start, int end, const QString &newText)
{
    const QJsonObject edit{{QStringLiteral("range"), document.range(start, end)},
                           {QStringLiteral("newText"), newText}};
    return QJsonObject{
        {QStringLiteral("title"), title},
        {QStringLiteral("kind"), QStringLiteral("quickfix")},
        {QStringLiteral("isPreferred"), true},
        {QStringLiteral("diagnostics"), QJsonArray{diagnostic.json}},
        {QStringLiteral("edit"),
         QJsonObject{{QStringLiteral("changes"), QJsonObject{{document.uri, QJsonArray{edit}}}}}},
    };
}

// The misspelt name of a diagnostic and where it stands; false when it has none.
bool misspeltName(const QString &text, const PublishedDiagnostic &diagnostic, int *start, int *end,
                  QStringList *candidates)
{
    const QString &check = diagnostic.lint.check;
    *start = diagnostic.start;
    *end = diagnostic.end;
    if (check == QLatin1String("unknown-property"))
        *candidates = propertyNames();
    else if (check == QLatin1String("unknown-pseudo-state"))
        *candidates = names(QssReference::pseudoStates());
    else if (check == QLatin1String("unknown-subcontrol"))
        *candidates = names(QssReference::subcontrols());
    else if (check == QLatin1String("unknown-widget"))
        *candidates = QssReference::widgetClasses();
    else if (check != QLatin1String("palette"))
        return false;
    if (check == QLatin1String("palette")) {
        // Only an unknown role: the diagnostic covers the whole directive.
        static const QRegularExpression role(QStringLiteral("^@palette\\s+([A-Za-z.]+)"));
        const QRegularExpressionMatch match =
            role.match(text.mid(diagnostic.start, diagnostic.end - diagnostic.start));
        if (!match.hasMatch())
            return false;
        QString name = match.captured(1);
        if (name.startsWith(kDisabledRolePrefix))
            name.remove(0, kDisabledRolePrefix.size());
        QPalette::ColorRole unused;
        if (paletteRoleFromName(name, unused))
            return false;
        *start = diagnostic.start + match.capturedStart(1);
        *end = diagnostic.start + match.capturedEnd(1);
        *candidates = paletteNames();
    }
    return *end > *start;
}
} // namespace

QString closestName(const QString &word, const QStringList &candidates)
{
    if (word.isEmpty())
        return QString();
    const QString lower = word.toLower();
    int best = INT_MAX;
    int second = INT_MAX;
    QString closest;
    for (const QString &candidate : candidates) {
        if (candidate == word)
            return QString();
        const int distance = editDistance(lower, candidate.toLower());
        if (distance < best) {
            second = best;
            best = distance;
            closest = candidate;
        } else if (distance < second) {
            second = distance;
        }
    }
    // Close: a few edits, fewer than a third of the word; clear: nothing else as close.
    const int allowed = qBound(1, int(word.size()) / 3, 3);
    if (best > allowed || second == best)
        return QString();
    return closest;
}

QJsonArray quickFixes(const TextDocument &document, const QVector<PublishedDiagnostic> &diagnostics,
                      int start, int end)
{
    const QString &text = document.text();
    QJsonArray actions;
    for (const PublishedDiagnostic &diagnostic : diagnostics) {
        if (diagnostic.end < start || diagnostic.start > end)
            continue;
        if (diagnostic.insertAt >= 0) {
            actions.append(
                editAction(document, diagnostic,
                           QStringLiteral("Insert '%1'").arg(diagnostic.lint.insertText.trimmed()),
                           diagnostic.insertAt, diagnostic.insertAt, diagnostic.lint.insertText));
            continue;
        }
        int nameStart = 0;
        int nameEnd = 0;
        QStringList candidates;
        if (!misspeltName(text, diagnostic, &nameStart, &nameEnd, &candidates))
            continue;
        const QString word = text.mid(nameStart, nameEnd - nameStart);
        const QString replacement = closestName(word, candidates);
        if (replacement.isEmpty())
            continue;
        actions.append(editAction(document, diagnostic,
                                  QStringLiteral("Change to '%1'").arg(replacement), nameStart,
                                  nameEnd, replacement));
    }
    return actions;
}
