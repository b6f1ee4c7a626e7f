// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/features/tokencolours.h"

#include "tokens/designtokens.h"

#include <QDir>
#include <QFileInfo>

namespace {

DesignTokens firstVariantTokens(const TokenWorkspace &workspace)
{
    DesignTokens tokens;
    const QVector<TokenVariant> variants = workspace.variants();
    if (!variants.isEmpty()) {
        for (const QString &file : variants.first().files) {
            if (const TokenSource *source = workspace.source(file))
                tokens.addDocument(source->text, file, nullptr);
        }
    }
    tokens.resolve(nullptr);
    return tokens;
}

QString sourcePath(const QString &file)
{
    return QDir::cleanPath(QFileInfo(file).absoluteFilePath());
}

// {"colorSpace": "srgb", "components": [1, 0.5, 0], "hex": "#ff8000"}
QString colourObjectText(const QColor &colour)
{
    QString text =
        QStringLiteral("{\"colorSpace\": \"srgb\", \"components\": [%1, %2, %3]")
            .arg(tokenNumberText(colour.red() / 255.0), tokenNumberText(colour.green() / 255.0),
                 tokenNumberText(colour.blue() / 255.0));
    if (colour.alpha() != 255)
        text += QStringLiteral(", \"alpha\": %1").arg(tokenNumberText(colour.alpha() / 255.0));
    return text + QStringLiteral(", \"hex\": \"%1\"}").arg(colour.name(QColor::HexRgb));
}

} // namespace

QVector<ColourInformation> tokenColours(const TokenWorkspace &workspace, const QString &file)
{
    const TokenSource *source = workspace.source(sourcePath(file));
    if (!source)
        return {};
    QVector<ColourInformation> colours;
    if (source->isTemplate) {
        const DesignTokens tokens = firstVariantTokens(workspace);
        for (const TokenUse &use : source->uses) {
            const TokenValue *value = tokens.value(use.path);
            if (value && value->isColour())
                colours.append({{use.span.start - 1, use.span.end + 1}, value->colour});
        }
        return colours;
    }
    // Its own values, as this file alone gives them.
    DesignTokens tokens;
    tokens.addDocument(source->text, source->file, nullptr);
    tokens.resolve(nullptr);
    for (const TokenDeclaration &declaration : source->declarations) {
        if (declaration.group || !declaration.alias.isEmpty())
            continue;
        const TokenValue *value = tokens.value(declaration.path);
        if (!value || !value->isColour() || declaration.value.end - declaration.value.start < 2)
            continue;
        TextSpan span = declaration.value;
        // A string's swatch edits its text, inside the quotes.
        if (source->text.at(span.start) == QLatin1Char('"'))
            span = {span.start + 1, span.end - 1};
        colours.append({span, value->colour});
    }
    return colours;
}

QVector<ColourPresentation> tokenColourPresentations(const TokenWorkspace &workspace,
                                                     const QString &file, TextSpan span,
                                                     const QColor &colour)
{
    const TokenSource *source = workspace.source(sourcePath(file));
    if (!source || source->isTemplate || span.start < 0 || span.start >= span.end ||
        span.end > source->text.size())
        return {};
    QStringList forms;
    if (source->text.at(span.start) == QLatin1Char('{')) {
        forms << colourObjectText(colour);
    } else if (colour.alpha() == 255) {
        forms << colour.name(QColor::HexRgb);
    } else {
        forms << colour.name(QColor::HexRgb) +
                     QStringLiteral("%1").arg(colour.alpha(), 2, 16, QLatin1Char('0'))
              << sheetColourText(colour);
    }
    QVector<ColourPresentation> presentations;
    for (const QString &form : qAsConst(forms))
        presentations.append({form, {span.start, span.end, form, true, QString()}});
    return presentations;
}
