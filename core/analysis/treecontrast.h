// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/colourplace.h"
#include "analysis/contrastpalettes.h"

#include <QColor>
#include <QPalette>
#include <QString>
#include <QVector>

#include <optional>

class QObject;
class SheetModel;

// Contrast judged on a real object tree: the rules that paint each object are the
// ones the toolkit's own selector finds, in the state the object is judged in. The
// tree comes from whoever has widgets; the core only reads it.

// Which palette colours a widget falls back to where the sheet sets none.
enum class ContrastRole
{
    Button, // ButtonText on Button
    Input,  // Text on Base
    Plain,  // WindowText on what is behind it
};
// The palette colour of a role's text, and of its fill (none for Plain).
QPalette::ColorRole fallbackTextRole(ContrastRole role);
QPalette::ColorRole fallbackFillRole(ContrastRole role);

// One object whose text is judged, in one state.
struct ContrastTarget
{
    const QObject *object = nullptr;
    quint64 state = 0; // PseudoState bits
    ContrastRole role = ContrastRole::Plain;
    // The text is the object's items' (::item), selected or not, not its own.
    bool item = false;
    bool selectedItem = false;
};

class ContrastTree
{
public:
    virtual ~ContrastTree() = default;
    // Every object and state to judge.
    virtual QVector<ContrastTarget> contrastTargets() const = 0;
    // The state an object is drawn in now: for what lies behind a target.
    virtual quint64 stateOf(const QObject *object) const = 0;
    // The class name of the style the sheet is drawn over, for [style="..."].
    virtual QString styleName() const = 0;
};

// Text below the threshold on one target.
struct TreeContrastFinding
{
    ContrastTarget target;
    QColor text;
    QColor background;
    double ratio = 0;
    int offset = 0; // of the declaration that sets the colour found wanting
    int length = 0;
    QString selector; // of the rule that declaration belongs to
    ColourPlace textPlace;
    ColourPlace backgroundPlace;
    // Where a colour the sheet does not give comes from ("the light palette's Text").
    QString textOrigin = {};
    QString backgroundOrigin = {};
};

// The text findings on every target under palette, in the tree's order; nothing when
// the toolkit's rules cannot be matched (the sheet is rejected, or names another file).
std::optional<QVector<TreeContrastFinding>>
judgeTreeContrast(const SheetModel &model, const ContrastTree &tree,
                  const ContrastPalette &palette = schemeContrastPalette(ColorScheme::Light));
