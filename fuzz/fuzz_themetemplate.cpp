// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes as a theme template, read and rendered for each
// of its variants over a fixed token set. No input may crash or hang it, and every
// error in the template must point inside it.

#include "tokens/designtokens.h"
#include "tokens/themetemplate.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

const DesignTokens &fixedTokens()
{
    static const DesignTokens tokens = [] {
        DesignTokens t;
        t.addDocument(QStringLiteral(R"j({
            "color": {"$type": "color", "accent": {"$value": "#246bfe"},
                      "text": {"$value": "{color.accent}"}, "clear": {"$value": "#ff000080"}},
            "size": {"$type": "dimension", "radius": {"$value": "4px"}},
            "amount": {"$type": "number", "$value": 0.5},
            "font": {"weight": {"$type": "fontWeight", "$value": "bold"},
                     "family": {"$type": "fontFamily", "$value": ["Segoe UI", "sans-serif"]}}
        })j"),
                      QStringLiteral("fixed.tokens.json"), nullptr);
        t.resolve(nullptr);
        return t;
    }();
    return tokens;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<int>(size));
    const QString file = QStringLiteral("fuzz.qss.in");
    SourceErrors errors;
    const ThemeTemplate theme = ThemeTemplate::parse(text, file, &errors);
    const auto iconUrl = [](const QString &name) {
        return name == QLatin1String("arrow.svg") ? QStringLiteral("v/icons/arrow.svg") : QString();
    };
    for (const TemplateVariant &variant : theme.variants())
        theme.render(fixedTokens(), variant.name, iconUrl, &errors);
    recolourSvg(text.toUtf8(), file, fixedTokens(), &errors);

    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const SourceError &error : errors) {
        if (error.where.file != file || error.where.line < 1 || error.where.line > lines.size())
            std::abort();
        if (error.where.column < 1 ||
            error.where.column > lines.at(error.where.line - 1).size() + 1)
            std::abort();
    }
    return 0;
}
