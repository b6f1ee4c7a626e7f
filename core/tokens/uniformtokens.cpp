// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tokens/uniformtokens.h"

#include "support/safefileread.h"
#include "tokens/themebuild.h"

#include <QDir>

namespace {
bool sameValue(const TokenValue &a, const TokenValue &b)
{
    if (a.type != b.type)
        return false;
    if (a.isColour())
        return a.colour.rgba() == b.colour.rgba();
    return a.number == b.number && a.unit == b.unit;
}
} // namespace

UniformTokens uniformTokens(const QVector<DesignTokens> &variants)
{
    UniformTokens result;
    if (variants.isEmpty())
        return result;
    for (const QString &path : variants.first().names()) {
        const TokenValue *first = variants.first().value(path);
        if (!first || (!first->isColour() && first->type != TokenTypes::Dimension))
            continue;
        bool uniform = true;
        for (int i = 1; i < variants.size() && uniform; ++i) {
            const TokenValue *other = variants.at(i).value(path);
            uniform = other && sameValue(*first, *other);
        }
        if (!uniform)
            continue;
        UniformToken token;
        token.path = path;
        if (first->isColour()) {
            token.colour = first->colour;
        } else {
            token.length = first->number;
            token.unit = first->unit;
        }
        result.append(token);
    }
    return result;
}

bool readUniformTokens(const QString &path, UniformTokens *tokens, QString *error)
{
    SourceErrors errors;
    QVector<DesignTokens> variants;
    if (path.endsWith(QLatin1String(".json"), Qt::CaseInsensitive)) {
        const FileReadResult read = readRegularFile(path, kMaxThemeSourceBytes);
        if (!read.ok) {
            *error = QStringLiteral("cannot read %1: %2").arg(path, read.error);
            return false;
        }
        DesignTokens one;
        one.addDocument(QString::fromUtf8(read.bytes), QDir::cleanPath(path), &errors);
        one.resolve(&errors);
        variants.append(one);
    } else {
        variants = themeVariantTokens(path, &errors);
    }
    if (!errors.isEmpty()) {
        *error = errors.first().text();
        return false;
    }
    *tokens = uniformTokens(variants);
    return true;
}
