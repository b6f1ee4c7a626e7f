// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes as a theme template, read and rendered for each
// of its variants over a fixed token set. No input may crash or hang it, every error
// in the template must point inside it, and every place of a rendered sheet must map
// inside the template or the token file, a copied character onto itself.

#include "tokens/designtokens.h"
#include "tokens/svgrecolour.h"
#include "tokens/themetemplate.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

const QString &fixedTokenText()
{
    static const QString text = QStringLiteral(R"j({
            "color": {"$type": "color", "accent": {"$value": "#246bfe"},
                      "text": {"$value": "{color.accent}"}, "clear": {"$value": "#ff000080"}},
            "size": {"$type": "dimension", "radius": {"$value": "4px"}},
            "amount": {"$type": "number", "$value": 0.5},
            "font": {"weight": {"$type": "fontWeight", "$value": "bold"},
                     "family": {"$type": "fontFamily", "$value": ["Segoe UI", "sans-serif"]}}
        })j");
    return text;
}
const QString kTokenFile = QStringLiteral("fixed.tokens.json");

const DesignTokens &fixedTokens()
{
    static const DesignTokens tokens = [] {
        DesignTokens t;
        t.addDocument(fixedTokenText(), kTokenFile, nullptr);
        t.resolve(nullptr);
        return t;
    }();
    return tokens;
}

bool inside(const SourcePosition &where, const QStringList &lines)
{
    return where.line >= 1 && where.line <= lines.size() && where.column >= 1 &&
           where.column <= lines.at(where.line - 1).size() + 1;
}

void checkMap(const QString &output, const SourceMap &map, const QString &file,
              const QStringList &lines)
{
    static const QStringList tokenLines = fixedTokenText().split(QLatin1Char('\n'));
    for (int offset = 0; offset <= output.size(); ++offset) {
        const SourceMap::Origin origin = map.originOf(offset);
        if (origin.templateWhere.file != file || !inside(origin.templateWhere, lines))
            std::abort();
        if (origin.where.file == kTokenFile ? !inside(origin.where, tokenLines)
                                            : origin.where.file != file)
            std::abort();
        if (origin.copied && offset < output.size()) {
            const QString &line = lines.at(origin.where.line - 1);
            const int column = origin.where.column - 1;
            const QChar expected = column < line.size() ? line.at(column) : QLatin1Char('\n');
            if (output.at(offset) != expected)
                std::abort();
        }
    }
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
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const TemplateVariant &variant : theme.variants()) {
        SourceMap map;
        const QString output = theme.render(fixedTokens(), variant.name, iconUrl, &errors, &map);
        checkMap(output, map, file, lines);
    }
    recolourSvg(text.toUtf8(), file, fixedTokens(), &errors);

    for (const SourceError &error : errors) {
        if (error.where.file != file || error.where.line < 1 || error.where.line > lines.size())
            std::abort();
        if (error.where.column < 1 ||
            error.where.column > lines.at(error.where.line - 1).size() + 1)
            std::abort();
    }
    return 0;
}
