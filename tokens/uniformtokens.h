// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/lintoptions.h"
#include "tokens/designtokens.h"

#include <QString>
#include <QVector>

// The tokens a literal of a sheet may be written as: a colour or dimension that
// resolves to the same value in every variant, in path order.
UniformTokens uniformTokens(const QVector<DesignTokens> &variants);

// The uniform tokens of a token file (".json") or of a template's variants (any
// other name). False with error set when the file or a file it names cannot be read
// or has errors.
bool readUniformTokens(const QString &path, UniformTokens *tokens, QString *error);
