// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/qssreference.h"
#include "analysis/sheetmodel.h"

#include <QString>
#include <functional>

// What the checks share: the names a rule's selectors use, whether a declaration's
// property is known, and how much text a declaration takes.

enum class NameKind
{
    Widget,
    ClassSelector, // ".Name": a widget of that class exactly, none derived from it
    PseudoState,
    Subcontrol,
};

// Calls report(offset, word) for each name of the wanted kind in the model's
// selectors that the reference does not know, in the order of the text.
void reportSelectorNames(const SheetModel &model, NameKind wanted,
                         const std::function<void(int offset, const QString &word)> &report);

// Calls found(offset, name) for the name of every type selector and class selector
// (".Name"), known or not, rule by rule.
void reportClassNames(const SheetModel &model,
                      const std::function<void(int offset, const QString &name)> &found);

// Calls found(offset, name, element) for each id selector ("#name") of the model's
// selectors, in every compound, in the order of the text: offset is that of the name
// after "#", element the class its compound names ("" for none).
void reportObjectNames(
    const SheetModel &model,
    const std::function<void(int offset, const QString &name, const QString &element)> &found);

// A property the reference or the configuration knows, in the version targeted.
bool isKnownProperty(const SheetModel &model, const SheetDeclaration &entry);

// The names of a table of the reference, the candidates for the closest name.
QStringList namesOf(const QVector<QssReference::NameInfo> &table);

// The characters from a declaration's name through its ";" and the blanks after it,
// or up to the rule's "}" when it has no ";": what removing it removes.
int declarationLength(const SheetModel &model, const SheetDeclaration &entry);
