// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "tokens/designtokens.h"

#include <QColor>
#include <QString>
#include <QVector>

// A design token whose value is the same in every variant, so that a literal equal
// to it may be written as the reference.
struct UniformToken
{
    QString path;
    QColor colour;     // valid for a colour
    double length = 0; // for a dimension: its amount in unit
    QString unit;
};
using UniformTokens = QVector<UniformToken>;

// The tokens a literal of a sheet may be written as: a colour or dimension that
// resolves to the same value in every variant, in path order.
UniformTokens uniformTokens(const QVector<DesignTokens> &variants);

// The uniform tokens of a token file (".json") or of a template's variants (any
// other name). False with error set when the file or a file it names cannot be read
// or has errors.
bool readUniformTokens(const QString &path, UniformTokens *tokens, QString *error);
