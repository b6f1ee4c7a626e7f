// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// Comments that silence findings an author has looked at and accepts:
//   /* prismark-lint-disable-next-line contrast */   the line after the comment
//   /* prismark-lint-disable-line contrast */        the comment's own line
//   /* prismark-lint-disable contrast, shadowed */   from here ...
//   /* prismark-lint-enable contrast, shadowed */    ... to here (or the end)
// Without ids they apply to every check.
struct SuppressionComment
{
    enum Kind
    {
        Disable,
        Enable,
        DisableLine,
        DisableNextLine,
    };
    Kind kind = Disable;
    int offset = 0; // of the comment, in the text
    int line = 1;
    int column = 1;
    int endLine = 1;
    QStringList ids; // empty for every check
    bool closed = true;
};

// Every suppression comment of a text, in order; comments inside strings are text.
QVector<SuppressionComment> findSuppressionComments(const QString &text);
