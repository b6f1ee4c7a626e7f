// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/features/formatting.h"

#include "analysis/lintconfig.h"
#include "analysis/sheetformatter.h"

namespace {
bool isCrLfAt(const QString &text, int i)
{
    return i >= 0 && i + 1 < text.size() && text.at(i) == QLatin1Char('\r') &&
           text.at(i + 1) == QLatin1Char('\n');
}
} // namespace

SheetFormatOptions formattingOptions(const QString &sheetPath, int editorIndent)
{
    SheetFormatOptions options;
    options.indentWidth = editorIndent;
    const LintConfigResult config = lintConfigForSheet(sheetPath);
    if (!config.ok)
        return options;
    if (config.settings.contains(QStringLiteral("format.indent")))
        options.indentWidth = config.options.formatIndent;
    options.maxLineLength = config.options.formatMaxLineLength;
    return options;
}

QVector<PublishedFix> formattingEdits(const QString &text, const SheetFormatOptions &options)
{
    const SheetFormatResult result = formatStyleSheet(text, options);
    if (!result.ok || result.text == text)
        return {};
    // Only the changed middle, so the editor keeps its marks and cursor around it.
    int prefix = 0;
    const int shorter = int(qMin(text.size(), result.text.size()));
    while (prefix < shorter && text.at(prefix) == result.text.at(prefix))
        ++prefix;
    int suffix = 0;
    while (suffix < shorter - prefix &&
           text.at(text.size() - 1 - suffix) == result.text.at(result.text.size() - 1 - suffix))
        ++suffix;
    // Never split a surrogate pair, nor a CR LF: an editor has no place between the two.
    if (prefix > 0 && (text.at(prefix - 1).isHighSurrogate() || isCrLfAt(text, prefix - 1)))
        --prefix;
    if (suffix > 0 && (text.at(text.size() - suffix).isLowSurrogate() ||
                       isCrLfAt(text, int(text.size()) - suffix - 1)))
        --suffix;
    PublishedFix edit;
    edit.start = prefix;
    edit.end = int(text.size()) - suffix;
    edit.newText = result.text.mid(prefix, result.text.size() - suffix - prefix);
    edit.safe = true;
    return {edit};
}
