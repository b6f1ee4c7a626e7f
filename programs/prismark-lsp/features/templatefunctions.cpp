// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/features/templatefunctions.h"

#include "analysis/qssreference.h"
#include "analysis/templatelint.h"
#include "prismark-lsp/features/sheetcontext.h"
#include "support/sheetlexer.h"
#include "tokens/colourfunctions.h"

using Place = CursorContext::Place;

namespace {
constexpr int KindFunction = 3; // the protocol's CompletionItemKind

// The text with each closed token reference blanked, same length: the sheet's
// context reader takes a reference's braces for a block.
QString withReferencesBlanked(const QString &text)
{
    QString blanked = text;
    for (SheetLexer lexer(text, LexMode::Template); !lexer.atEnd();) {
        const SheetSpan span = lexer.next();
        if (span.kind == SheetSpanKind::Reference && !span.unterminated)
            blanked.replace(span.start, span.length, QString(span.length, QLatin1Char(' ')));
    }
    return blanked;
}

// The end of the comment the template opens with, where its header lines are; 0 when
// it opens with none.
int headerEnd(const QString &text)
{
    const int start = text.startsWith(QChar(0xfeff)) ? 1 : 0;
    SheetLexer lexer(text, LexMode::Template, start);
    if (lexer.atEnd())
        return 0;
    const SheetSpan header = lexer.next();
    if (header.kind != SheetSpanKind::Comment)
        return 0;
    return header.unterminated ? header.end() : header.end() - 2;
}

// Whether a value of property may hold a colour; one the reference does not know
// (an application's qproperty-, say) may.
bool takesColour(const QString &property)
{
    using QssReference::ValueKind;
    const QssReference::PropertyInfo *info = QssReference::property(property);
    return !info || info->kind == ValueKind::Colour || info->kind == ValueKind::Background ||
           info->kind == ValueKind::Border;
}

// Whether the word at the context is where a template reads a colour function.
bool admitsFunction(const CursorContext &context, int offset, const QString &text)
{
    if (!context.word.isEmpty() && !context.word.at(0).isLetter())
        return false;
    if (context.place == Place::PaletteColour)
        return offset <= headerEnd(text);
    return context.place == Place::PropertyValue && takesColour(context.property) &&
           context.function != QLatin1String("url") && context.function != QLatin1String("palette");
}
} // namespace

QVector<CompletionItem> colourFunctionCompletions(const QString &text, int offset,
                                                  const QString &path, bool snippets)
{
    if (!isThemeTemplatePath(path))
        return {};
    offset = qBound(0, offset, int(text.size()));
    const CursorContext context = contextAt(withReferencesBlanked(text), offset);
    if (!admitsFunction(context, offset, text))
        return {};
    QVector<CompletionItem> items;
    for (const ColourFunction &function : colourFunctions()) {
        const QString name = QLatin1String(function.name);
        items.append({name,
                      KindFunction,
                      function.signature(),
                      QString::fromUtf8(function.description),
                      {context.wordStart, offset},
                      snippets ? function.snippet() : name + QLatin1Char('('),
                      snippets});
    }
    return items;
}

std::optional<HoverInfo> colourFunctionHover(const QString &text, int offset, const QString &path,
                                             bool markdown)
{
    if (!isThemeTemplatePath(path))
        return std::nullopt;
    int start = 0;
    const QString word = wordAround(text, offset, &start);
    const ColourFunction *function = colourFunction(word);
    const int end = start + int(word.size());
    if (!function || end >= text.size() || text.at(end) != QLatin1Char('('))
        return std::nullopt;
    // Read as a call only where the template reads one, not in a selector or comment.
    const CursorContext context = contextAt(withReferencesBlanked(text), end);
    if (!admitsFunction(context, end, text))
        return std::nullopt;
    HoverInfo hover;
    hover.span = {start, end};
    hover.markdown = markdown;
    const QString signature = function->signature();
    hover.contents = (markdown ? QStringLiteral("**%1**\n\n%2") : QStringLiteral("%1\n\n%2"))
                         .arg(signature, QString::fromUtf8(function->description));
    return hover;
}
