// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "embedded/sourcetokens.h"

#include <QHash>
#include <QString>
#include <QVector>

// The variables of a C++ or Python source that a sheet may be passed by: where each is
// assigned, in which function, so that setStyleSheet(sheet) can be followed to the one
// literal sheet holds. Read from the tokens alone, as the sheet readers read calls: a
// name assigned once in its function (or once at file level, and not in the function)
// is followed, and anything less certain is not.
class SourceVariables
{
public:
    // tokens: every token of the source, in order.
    static SourceVariables forCpp(const QVector<SourceToken> &tokens);
    static SourceVariables forPython(const QVector<SourceToken> &tokens, const QString &text);

    // The tokens [*first, *last) of the one value name holds where the token at use
    // names it; false, with why, when it has none or more than one.
    bool follow(const QString &name, int use, int *first, int *last, QString *why) const;

private:
    struct Assignment
    {
        int scope = -1; // the function: the index of its first token; -1 at file level
        int first = 0;  // the value's tokens
        int last = 0;
        bool plain = true; // false for a change of what it holds (+=, .append())
        bool parameter = false;
    };

    void addParameters(const QVector<SourceToken> &tokens, int def);

    QVector<int> scopes;   // of each token
    bool fileWide = false; // whether a function can assign a file-level name
    QHash<QString, QVector<Assignment>> assignments;
};
