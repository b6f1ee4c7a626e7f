// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/colourplace.h"
#include "analysis/contrastpalettes.h"
#include "analysis/sheetmodel.h"
#include "analysis/toolkitsheet.h"

#include <QBrush>
#include <QHash>
#include <QPalette>

class CheckReporter;

// The sheet read for contrast: the colours the toolkit would give a widget a
// selector matches, from the sheet alone, and where in the sheet each was written.

// The colours of one look, and the declarations they come from.
struct ContrastLook
{
    QBrush foreground;
    QBrush selectedForeground; // selection-color
    QBrush background;
    int borders[4] = {0, 0, 0, 0};
    QBrush borderColours[4];
    QCss::BorderStyle borderStyles[4] = {QCss::BorderStyle_None, QCss::BorderStyle_None,
                                         QCss::BorderStyle_None, QCss::BorderStyle_None};
    // A border length in em or ex, which this process has no fonts to measure.
    bool outlineUnmeasured = false;
    // Those that apply, in the toolkit's order: where a colour came from, when asked.
    QVector<const SheetDeclaration *> declarations;
};

// Which of the sheet's values gives a colour, looked for only when a finding names it:
// the last of declarations whose value alone gives the look's brush, or a palette role.
struct ColourSource
{
    QVector<const SheetDeclaration *> declarations;
    QBrush ContrastLook::*brush = nullptr;
    QPalette::ColorRole role = QPalette::NoRole;
};

inline ColourSource fromLook(const ContrastLook &look, QBrush ContrastLook::*brush)
{
    return {look.declarations, brush, QPalette::NoRole};
}

inline ColourSource fromPalette(QPalette::ColorRole role)
{
    return {{}, nullptr, role};
}

class ContrastCascade
{
public:
    // Under base: the palette the toolkit gives the widgets, under the sheet's header.
    ContrastCascade(const SheetModel &context, const ContrastPalette &base);

    // The declarations the toolkit would apply to a widget matched by target, in
    // its order: by specificity, then by position.
    ContrastLook lookOf(const SheetSelector &target) const;
    // The toolkit reads a background's palette(role) from the application palette,
    // which the value extractor does not take; this process may have none at all.
    // The sheet's own palette (its header over the base palette) stands in.
    QCss::Declaration withPaletteResolved(const QCss::Declaration &declaration) const;
    QColor fallback(QPalette::ColorRole role) const;
    // Where fallback's colour comes from when the sheet's header does not give it ("the
    // light palette's WindowText"); empty when it does.
    QString fallbackOrigin(QPalette::ColorRole role) const;
    // The same for a source: empty unless it is a role the header leaves to the base.
    QString originOf(const ColourSource &source) const;
    // Where source's colour was written: a later declaration overrides an earlier one
    // only when its value gives the brush at all.
    ColourPlace placeOf(const ColourSource &source) const;
    // Where the colour of one edge of look's border was written, the same way.
    ColourPlace borderPlaceOf(const ContrastLook &look, int edge) const;

    const ContrastPalette base;
    QPalette palette;
    QColor pageColour;
    ColourSource pageSource;

private:
    ContrastLook computeLook(const SheetSelector &written) const;

    const SheetModel &context;
    mutable QHash<QString, ContrastLook> looks;
};

bool isSolid(const QBrush &brush);
// A gradient or a pattern: no one colour.
bool hasPattern(const QBrush &brush);
// The toolkit's background brush of a look; its image and placement do not matter
// to contrast.
void extractBackgroundBrush(QCss::ValueExtractor &extractor, QBrush *brush);
// ".QFrame" is the toolkit's class selector: it styles a QFrame, which QWidget rules
// style too.
SheetSelector withClassAsElement(const SheetSelector &selector);

// How a finding writes a ratio and a colour.
QString ratioText(double ratio);
QString colourText(const QColor &color);
// With where it comes from, when that is not the sheet: "#000000 (the light palette's
// WindowText)".
QString colourText(const QColor &color, const QString &origin);

// Where a palette line's colour is written.
ColourPlace placeOf(const PaletteLine &line);
// The palette line the sheet's colour of role in group comes from, as paletteColor
// reads them.
ColourPlace paletteLinePlace(const SheetModel &model, QPalette::ColorRole role,
                             QPalette::ColorGroup group = QPalette::All);
// Where a declaration's value is written; none for no declaration.
ColourPlace placeOf(const SheetModel &model, const SheetDeclaration *declaration);

// A colour a finding judged, and what the finding calls it.
struct JudgedValue
{
    ColourPlace place;
    QString what;
};

// The text's colour first, as the finding is about it; none when the toolkit's own
// default gave the text, since then no value of the sheet is to blame.
QVector<JudgedValue> judgedValues(const ColourPlace &text, const QString &textWhat,
                                  const ColourPlace &background, const QString &backgroundWhat);
// Adds each to the diagnostic report made last.
void reportJudged(CheckReporter &report, const QVector<JudgedValue> &judged);
