// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "embedded/embeddedsheets.h"

#include <QString>
#include <QVector>

// A sheet written as a template, its placeholders filled in at run time: each
// placeholder is taken out of the decoded text, then a stand-in valid where it stands
// (a colour where a colour goes, a length where a length goes, a name in a selector)
// is put in its place, so that everything around it can be checked.

// Where a placeholder stood in the decoded text, and where the file spells it.
struct Placeholder
{
    int at = 0;
    int sourceOffset = 0;
};

// Takes the placeholders of syntax out of text from from on, and folds its escapes
// ("%%", "{{", "}}") to the one character they stand for, keeping offsets in step.
QVector<Placeholder> takePlaceholders(TemplateSyntax syntax, int from, QString *text,
                                      QVector<int> *offsets);

// The stand-in for a placeholder at at in text (which holds no other stand-in).
QString standInFor(const QString &text, int at);
