// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "tokens/designtokens.h"
#include "tokens/sourceerror.h"

#include <QByteArray>

// The colours an SVG's references ("{color.icon}") name, replaced in its text; a
// reference to a missing, translucent or non-colour token is an error. fileName names
// the SVG in errors.
QByteArray recolourSvg(const QByteArray &svg, const QString &fileName, const DesignTokens &tokens,
                       SourceErrors *errors);
