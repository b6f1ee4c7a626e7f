// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QVector>

// A place in a file the author wrote: 1-based line and column, the column counted in
// characters of the decoded line.
struct SourcePosition
{
    QString file;
    int line = 1;
    int column = 1;
};

// One finding of a theme build, at the place the author has to change.
struct SourceError
{
    SourcePosition where;
    QString message;
    // The file could not be read at all, rather than read and found wrong.
    bool unreadable = false;

    // "tokens/light.tokens.json:12:7: error: ..."
    QString text() const;
};

using SourceErrors = QVector<SourceError>;
