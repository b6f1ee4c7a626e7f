// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-lsp/features/tokenworkspace.h"

#include <QColor>
#include <QVector>

// Swatches for token references and token values, and the forms a colour takes when a
// token file's value is changed through them.

// In a template: each reference to a colour token, over the reference with its braces,
// in the colour of the first variant. In a token file: each colour value it writes
// itself (an alias is the colour of another token, so it has none).
QVector<ColourInformation> tokenColours(const TokenWorkspace &workspace, const QString &file);

// In a token file, the colour as a string value ("#rrggbb", "#rrggbbaa", rgba()) or,
// where the value is an object, as the format's sRGB object. In a template nothing: a
// presentation edits only the document it is asked for, and a reference's colour is
// written in a token file.
QVector<ColourPresentation> tokenColourPresentations(const TokenWorkspace &workspace,
                                                     const QString &file, TextSpan span,
                                                     const QColor &colour);
