// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/safefilename.h"

#include <QRegularExpression>

QString uniqueSafeFileStem(const QString &name, QSet<QString> *taken)
{
    QString safe = name;
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9_.-]"));
    safe.replace(unsafe, QStringLiteral("_"));
    if (safe.isEmpty() || safe.startsWith(QLatin1Char('.')))
        safe.prepend(QLatin1Char('_'));
    QString unique = safe;
    for (int suffix = 2; taken->contains(unique); ++suffix)
        unique = safe + QLatin1Char('-') + QString::number(suffix);
    taken->insert(unique);
    return unique;
}
