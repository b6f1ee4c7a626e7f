// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tokens/sourceerror.h"

QString SourceError::text() const
{
    if (unreadable && where.line == 0)
        return QStringLiteral("%1: error: %2").arg(where.file, message);
    return QStringLiteral("%1:%2:%3: error: %4")
        .arg(where.file)
        .arg(where.line)
        .arg(where.column)
        .arg(message);
}
