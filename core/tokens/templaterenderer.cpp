// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tokens/templaterenderer.h"

#include "tokens/templateevaluator.h"

#include <QScopeGuard>

class TemplateRenderer
{
public:
    TemplateRenderer(const ThemeTemplate &parsed, const DesignTokens &tokens,
                     const ThemeTemplate::IconUrl &iconUrl, SourceErrors *errors)
        : parsed(parsed)
        , tokens(tokens)
        , iconUrl(iconUrl)
        , errors(errors)
        , evaluator(
              tokens, [&parsed](int offset) { return parsed.positionAt(offset); }, errors)
    {}

    QString render(const QString &variant, SourceMap *map) const
    {
        const QString &text = parsed.text;
        QString out;
        out.reserve(text.size() + text.size() / 4);
        int cursor = 0;
        const auto copy = [&](int from, int to) {
            if (map)
                map->addCopy(int(out.size()), int(out.size()) + to - from, from);
            out += text.mid(from, to - from);
        };
        // What the edit writes, noted for the map once written.
        int written = 0;
        QString writtenPath;
        SourcePosition writtenWhere;
        for (const TemplateEdit &edit : parsed.edits) {
            if (edit.start < cursor)
                continue;
            copy(cursor, edit.start);
            cursor = edit.end;
            written = int(out.size());
            writtenPath.clear();
            writtenWhere = SourcePosition();
            const bool writesValue =
                edit.kind == TemplateEdit::Value || edit.kind == TemplateEdit::PaletteValue;
            if (writesValue) {
                const TemplateExpression &expression = parsed.expressions[edit.index];
                if (expression.kind == TemplateExpression::Reference) {
                    writtenPath = expression.name;
                    if (const TokenValue *value = tokens.value(expression.name))
                        writtenWhere = value->where;
                }
            }
            const auto noteWritten = qScopeGuard([&] {
                if (map && out.size() > written)
                    map->addValue(written, int(out.size()),
                                  writesValue ? parsed.expressions[edit.index].offset : edit.start,
                                  writtenPath, writtenWhere);
            });
            switch (edit.kind) {
            case TemplateEdit::Remove:
                break;
            case TemplateEdit::Value:
                out += evaluator.declarationText(parsed.expressions[edit.index], edit.property);
                break;
            case TemplateEdit::PaletteValue:
                out += evaluator.paletteText(parsed.expressions[edit.index]);
                break;
            case TemplateEdit::IconUrl:
                out += iconUrlText(edit);
                break;
            case TemplateEdit::Conditional: {
                const TemplateDirective &directive = parsed.directives[edit.index];
                if (directive.variants.contains(variant) == directive.only)
                    break;
                cursor = qMax(cursor, directive.excludedEnd);
                // Left out at the very end: the blank line before it goes too.
                if (cursor >= text.size()) {
                    while (out.endsWith(QLatin1String("\n\n")))
                        out.chop(1);
                }
                break;
            }
            }
        }
        copy(qMin(cursor, int(text.size())), int(text.size()));
        if (map)
            map->finish(parsed.fileName, text, out);
        return out;
    }

private:
    QString iconUrlText(const TemplateEdit &edit) const
    {
        const QString url = iconUrl ? iconUrl(edit.iconName) : QString();
        if (url.isEmpty() && errors)
            errors->append({parsed.positionAt(edit.start),
                            QStringLiteral("no icon \"%1\" in %2")
                                .arg(edit.iconName, parsed.iconsDirectoryName)});
        return url;
    }

    const ThemeTemplate &parsed;
    const DesignTokens &tokens;
    const ThemeTemplate::IconUrl &iconUrl;
    SourceErrors *errors;
    TemplateEvaluator evaluator;
};

QString renderTemplate(const ThemeTemplate &parsed, const DesignTokens &tokens,
                       const QString &variant, const ThemeTemplate::IconUrl &iconUrl,
                       SourceErrors *errors, SourceMap *map)
{
    return TemplateRenderer(parsed, tokens, iconUrl, errors).render(variant, map);
}
