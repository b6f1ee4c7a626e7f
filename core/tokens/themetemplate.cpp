// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tokens/themetemplate.h"

#include "tokens/templaterenderer.h"
#include "tokens/templatescanner.h"

#include <algorithm>

ThemeTemplate ThemeTemplate::parse(const QString &text, const QString &fileName,
                                   SourceErrors *errors)
{
    ThemeTemplate parsed;
    parsed.text = text;
    parsed.fileName = fileName;
    parsed.lineStarts << 0;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\n'))
            parsed.lineStarts << i + 1;
    }
    scanTemplate(parsed, errors);
    return parsed;
}

SourcePosition ThemeTemplate::positionAt(int offset) const
{
    const auto after = std::upper_bound(lineStarts.begin(), lineStarts.end(), offset);
    const int line = int(after - lineStarts.begin());
    return {fileName, line, offset - lineStarts.at(line - 1) + 1};
}

QString ThemeTemplate::render(const DesignTokens &tokens, const QString &variant,
                              const IconUrl &iconUrl, SourceErrors *errors, SourceMap *map) const
{
    return renderTemplate(*this, tokens, variant, iconUrl, errors, map);
}

QString kebabCaseName(const QString &name)
{
    QString result;
    bool pendingHyphen = false;
    QChar previous;
    for (const QChar c : name) {
        if (!c.isLetterOrNumber()) {
            pendingHyphen = !result.isEmpty();
            previous = QChar();
            continue;
        }
        if (c.isUpper() && (previous.isLower() || previous.isDigit()))
            pendingHyphen = true;
        if (pendingHyphen)
            result += QLatin1Char('-');
        pendingHyphen = false;
        result += c.toLower();
        previous = c;
    }
    return result;
}

QString lowerCamelCaseName(const QString &name)
{
    QString result = name;
    int upper = 0;
    while (upper < result.size() && result.at(upper).isUpper())
        ++upper;
    // "HTMLParser" -> "htmlParser": the last capital of a run opens the next word.
    const int lower =
        upper > 1 && upper < result.size() && result.at(upper).isLower() ? upper - 1 : upper;
    for (int i = 0; i < lower; ++i)
        result[i] = result.at(i).toLower();
    return result;
}
