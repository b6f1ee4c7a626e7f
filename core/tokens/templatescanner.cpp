// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tokens/templatescanner.h"

#include "support/sheetlexer.h"
#include "theme/palettedirectives.h"
#include "tokens/colourfunctions.h"
#include "tokens/templateexpression.h"
#include "tokens/themetemplate.h"

#include <QPalette>
#include <QRegularExpression>

#include <algorithm>

using TemplateText::isBlank;
using TemplateText::isNameChar;

class TemplateScanner
{
public:
    TemplateScanner(ThemeTemplate &parsed, SourceErrors *errors)
        : parsed(parsed)
        , text(parsed.text)
        , textLength(int(parsed.text.size()))
        , errors(errors)
        , expressionReader(parsed.text,
                           [this](int offset, const QString &message) { error(offset, message); })
    {}

    void scan()
    {
        int body = 0;
        scanHeader(&body);
        if (parsed.variantList.isEmpty())
            parsed.variantList.append({QStringLiteral("default"), {}, {parsed.fileName, 1, 1}});
        scanBody(body);
        std::stable_sort(parsed.edits.begin(), parsed.edits.end(),
                         [](const TemplateEdit &a, const TemplateEdit &b) {
                             return a.start != b.start ? a.start < b.start : a.end > b.end;
                         });
    }

private:
    void error(int offset, const QString &message)
    {
        if (errors)
            errors->append({parsed.positionAt(offset), message});
    }

    int lineStart(int offset) const
    {
        const int newline = offset > 0 ? int(text.lastIndexOf(QLatin1Char('\n'), offset - 1)) : -1;
        return newline + 1;
    }

    // Just after the line end at or after offset, or the text's end.
    int nextLine(int offset) const
    {
        const int newline = int(text.indexOf(QLatin1Char('\n'), offset));
        return newline < 0 ? textLength : newline + 1;
    }

    bool onlyBlanks(int from, int to) const
    {
        for (int i = from; i < to; ++i) {
            if (!isBlank(text.at(i)))
                return false;
        }
        return true;
    }

    void scanHeader(int *body)
    {
        int start = 0;
        if (textLength > 0 && text.at(0) == QChar(0xfeff))
            start = 1;
        SheetLexer lexer(text, LexMode::Template, start);
        if (lexer.atEnd())
            return;
        const SheetSpan header = lexer.next();
        if (header.kind != SheetSpanKind::Comment)
            return;
        if (header.unterminated) {
            error(start, QStringLiteral("the leading comment is not closed"));
            *body = textLength;
            return;
        }
        const int close = header.end() - 2;
        *body = close + 2;
        int kept = 0;
        for (int line = start + 2; line <= close;) {
            int end = int(text.indexOf(QLatin1Char('\n'), line));
            if (end < 0 || end > close)
                end = close;
            if (headerLine(line, end, start, close))
                ++kept;
            line = end + 1;
        }
        if (kept == 0) {
            // Nothing left to say: the comment goes, with the blank lines after it.
            int end = close + 2;
            while (end < textLength && onlyBlanks(end, nextLine(end)) && nextLine(end) > end)
                end = nextLine(end);
            parsed.edits.push_back({start, end, TemplateEdit::Remove, 0, {}, {}});
        }
    }

    // Reads one line of the header; true when it stays in the sheet.
    bool headerLine(int from, int to, int commentStart, int commentEnd)
    {
        int i = from;
        while (i < to && isBlank(text.at(i)))
            ++i;
        const QString line = text.mid(i, to - i);
        const auto keyword = [&](QLatin1String word) {
            return line.startsWith(word) &&
                   (line.size() == word.size() || isBlank(line.at(word.size())));
        };
        if (keyword(TemplateKeywords::Palette)) {
            paletteLine(i, to);
            return true;
        }
        const bool tokens = keyword(TemplateKeywords::Tokens);
        const bool variant = keyword(TemplateKeywords::Variant);
        const bool icons = keyword(TemplateKeywords::Icons);
        const bool contrast = keyword(TemplateKeywords::Contrast);
        if (!tokens && !variant && !icons && !contrast)
            return !onlyBlanks(from, to);
        QStringList words =
            line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        words.removeFirst();
        const SourcePosition where = parsed.positionAt(i);
        if (tokens) {
            if (words.isEmpty())
                error(i, QStringLiteral("@tokens names one or more token files"));
            if (parsed.baseFileList.isEmpty())
                parsed.baseFilesWhere = where;
            parsed.baseFileList << words;
        } else if (variant) {
            static const QRegularExpression name(QStringLiteral("^[A-Za-z][A-Za-z0-9_-]*$"));
            if (words.isEmpty() || !name.match(words.first()).hasMatch()) {
                error(i, QStringLiteral("@variant is followed by a name (letters, digits, '-', "
                                        "'_') and its token files"));
            } else {
                const QString variantName = words.takeFirst();
                for (const TemplateVariant &other : qAsConst(parsed.variantList)) {
                    if (other.name.compare(variantName, Qt::CaseInsensitive) == 0)
                        error(i,
                              QStringLiteral("variant \"%1\" is declared twice").arg(variantName));
                }
                // A token file is JSON, so the word never names one.
                const bool highContrast = words.removeAll(TemplateKeywords::HighContrast) > 0;
                parsed.variantList.append({variantName, words, where, highContrast});
            }
        } else if (contrast) {
            ContrastLevel level = ContrastLevel::None;
            if (words.size() != 1 || !contrastLevelFromName(words.first(), &level))
                error(i, QStringLiteral("@contrast names one level: %1").arg(contrastLevelNames()));
            else if (parsed.contrast != ContrastLevel::None)
                error(i, QStringLiteral("@contrast is given twice"));
            else
                parsed.contrast = level;
        } else {
            if (words.size() != 1)
                error(i, QStringLiteral("@icons names one directory"));
            else if (!parsed.iconsDirectoryName.isEmpty())
                error(i, QStringLiteral("@icons is given twice"));
            else {
                parsed.iconsDirectoryName = words.first();
                parsed.iconsDirectoryWhere = where;
            }
        }
        // A whole line goes; a directive sharing the comment's first or last line
        // goes alone.
        const int lineBegin = lineStart(i);
        const bool wholeLine = lineBegin > commentStart && to < commentEnd;
        if (wholeLine)
            parsed.edits.push_back({lineBegin, to + 1, TemplateEdit::Remove, 0, {}, {}});
        else
            parsed.edits.push_back({i, to, TemplateEdit::Remove, 0, {}, {}});
        return false;
    }

    void paletteLine(int from, int to)
    {
        static const QRegularExpression pattern(
            QStringLiteral("^@palette\\s+(\\S+)\\s*=\\s*(.*?)\\s*$"));
        const QRegularExpressionMatch match = pattern.match(text.mid(from, to - from));
        if (!match.hasMatch()) {
            error(from, QStringLiteral("a palette line reads \"@palette Role = colour\""));
            return;
        }
        QString role = match.captured(1);
        if (role.startsWith(kDisabledRolePrefix))
            role = role.mid(kDisabledRolePrefix.size());
        QPalette::ColorRole paletteRole = QPalette::NoRole;
        if (!paletteRoleFromName(role, paletteRole))
            error(from + match.capturedStart(1),
                  QStringLiteral("unknown palette role \"%1\"; one of %2")
                      .arg(match.captured(1), paletteRoleNames().join(QLatin1String(", "))));
        const QString value = match.captured(2);
        if (!value.contains(QLatin1Char('{')) && !value.contains(QLatin1Char('(')))
            return;
        const int valueStart = from + int(match.capturedStart(2));
        const int valueEnd = from + int(match.capturedEnd(2));
        TemplateExpression expression;
        int expressionEnd = valueStart;
        if (!expressionReader.read(&expressionEnd, valueEnd, &expression))
            return;
        if (expressionEnd != valueEnd) {
            error(expressionEnd, QStringLiteral("unexpected text after the palette colour"));
            return;
        }
        addValue(valueStart, expressionEnd, std::move(expression), TemplateEdit::PaletteValue,
                 QString());
    }

    void addValue(int start, int end, TemplateExpression expression, TemplateEdit::Kind kind,
                  const QString &property)
    {
        parsed.expressions.push_back(std::move(expression));
        parsed.edits.push_back(
            {start, end, kind, int(parsed.expressions.size()) - 1, property, {}});
    }

    // Notes a "@only"/"@except" comment spanning [from, to).
    void directive(int from, int to, const QString &body, int depth)
    {
        const bool only = body.startsWith(TemplateKeywords::Only);
        const QString list =
            body.mid(only ? TemplateKeywords::Only.size() : TemplateKeywords::Except.size());
        TemplateDirective directive;
        directive.only = only;
        for (const QString &name : list.split(QLatin1Char(','))) {
            const QString trimmed = name.trimmed();
            const bool known =
                std::any_of(parsed.variantList.begin(), parsed.variantList.end(),
                            [&](const TemplateVariant &v) { return v.name == trimmed; });
            if (!known) {
                QStringList names;
                for (const TemplateVariant &v : qAsConst(parsed.variantList))
                    names << v.name;
                error(from, QStringLiteral("unknown variant \"%1\" in %2; the variants are %3")
                                .arg(trimmed,
                                     only ? QString(TemplateKeywords::Only)
                                          : QString(TemplateKeywords::Except),
                                     names.join(QLatin1String(", "))));
            }
            directive.variants << trimmed;
        }
        int start = from;
        int end = to;
        const int lineBegin = lineStart(from);
        const int lineEnd = nextLine(to);
        if (onlyBlanks(lineBegin, from) && onlyBlanks(to, lineEnd)) {
            start = lineBegin;
            end = lineEnd;
        }
        if (pendingDirectiveEdit[depth] >= 0)
            error(from, QStringLiteral("two directives for one rule block or declaration"));
        parsed.directives.push_back(directive);
        parsed.edits.push_back(
            {start, end, TemplateEdit::Conditional, int(parsed.directives.size()) - 1, {}, {}});
        pendingDirectiveEdit[depth] = int(parsed.edits.size()) - 1;
        pendingDirectiveOffset[depth] = from;
    }

    // The construct a directive stands before ends at end: what goes with it when it
    // is left out.
    void closeConstruct(int depth, int end)
    {
        if (pendingDirectiveEdit[depth] < 0)
            return;
        TemplateEdit &edit = parsed.edits[pendingDirectiveEdit[depth]];
        pendingDirectiveEdit[depth] = -1;
        int stop = end;
        if (onlyBlanks(end, nextLine(end)))
            stop = nextLine(end);
        while (stop < textLength && nextLine(stop) > stop && onlyBlanks(stop, nextLine(stop)))
            stop = nextLine(stop);
        parsed.directives[edit.index].excludedEnd = stop;
    }

    void unboundDirective(int depth)
    {
        if (pendingDirectiveEdit[depth] < 0)
            return;
        error(pendingDirectiveOffset[depth],
              depth == 0 ? QStringLiteral("a directive must stand right before a rule block")
                         : QStringLiteral("a directive must stand right before a declaration"));
        parsed.directives[parsed.edits[pendingDirectiveEdit[depth]].index].excludedEnd =
            parsed.edits[pendingDirectiveEdit[depth]].end;
        pendingDirectiveEdit[depth] = -1;
    }

    // Where the body's scan stands: inside a rule block or not, and where the current
    // rule block, selector, declaration and property began (-1: not yet).
    struct BodyState
    {
        int depth = 0;
        int blockStart = -1;
        int selectorStart = -1;
        int declarationStart = -1;
        QString property;
    };

    void scanBody(int from)
    {
        BodyState state;
        SheetLexer lexer(text, LexMode::Template, from);
        while (!lexer.atEnd()) {
            const SheetSpan span = lexer.next();
            switch (span.kind) {
            case SheetSpanKind::Comment:
                if (span.unterminated) {
                    error(span.start, QStringLiteral("comment is not closed"));
                    return finishBody(state);
                }
                comment(span, state);
                break;
            case SheetSpanKind::Whitespace:
                // The lexer's whitespace is wider than a template's blanks: a form feed
                // or a wide space still starts a selector or declaration.
                for (int i = span.start; i < span.end(); ++i) {
                    if (!isBlank(text.at(i))) {
                        startConstruct(i, state);
                        break;
                    }
                }
                break;
            case SheetSpanKind::Punctuation:
                if (state.depth == 0)
                    outsideBlock(span.start, state);
                else
                    insideBlock(span.start, state);
                break;
            case SheetSpanKind::Reference: {
                startConstruct(span.start, state);
                const int end = scanValue(span.start, state.property);
                if (end < span.end()) {
                    // A reference that is no "{group.token}" leaves its '}' to close
                    // the rule block, so the lexer goes on outside it.
                    insideBlock(end, state);
                    lexer = SheetLexer(text, LexMode::Template, span.end());
                }
                break;
            }
            case SheetSpanKind::Url:
                startConstruct(span.start, state);
                if (state.depth == 1)
                    iconUrl(span.start + 4, span.end() - (span.unterminated ? 0 : 1));
                break;
            case SheetSpanKind::String:
                startConstruct(span.start, state);
                if (span.unterminated)
                    error(span.start, QStringLiteral("string is not closed on its line"));
                break;
            case SheetSpanKind::Identifier:
                startConstruct(span.start, state);
                if (state.depth == 1 && startsCall(span))
                    lexer.skipTo(qMax(scanValue(span.start, state.property), span.end()));
                break;
            default:
                startConstruct(span.start, state);
                break;
            }
        }
        finishBody(state);
    }

    void finishBody(const BodyState &state)
    {
        if (state.depth != 0)
            error(state.blockStart, QStringLiteral("rule block is not closed"));
        unboundDirective(1);
        unboundDirective(0);
    }

    // Something at offset starts the selector or declaration if none has started.
    static void startConstruct(int offset, BodyState &state)
    {
        int &start = state.depth == 0 ? state.selectorStart : state.declarationStart;
        if (start < 0)
            start = offset;
    }

    // A comment in the body, noting an "@only"/"@except" directive.
    void comment(const SheetSpan &span, const BodyState &state)
    {
        const QString body = spanContent(text, span).trimmed().toString();
        const auto starts = [&](QLatin1String word) {
            return body.startsWith(word) &&
                   (body.size() == word.size() || isBlank(body.at(word.size())));
        };
        if (!starts(TemplateKeywords::Only) && !starts(TemplateKeywords::Except))
            return;
        if ((state.depth == 0 && state.selectorStart >= 0) ||
            (state.depth == 1 && state.declarationStart >= 0))
            error(span.start, QStringLiteral("a directive must stand right before a rule block "
                                             "or a declaration"));
        else
            directive(span.start, span.end(), body, state.depth);
    }

    // A mark between rule blocks: the '{' that opens one, or part of a selector.
    void outsideBlock(int i, BodyState &state)
    {
        const QChar c = text.at(i);
        if (c == QLatin1Char('{')) {
            state.depth = 1;
            state.blockStart = state.selectorStart >= 0 ? state.selectorStart : i;
            state.declarationStart = -1;
            state.property.clear();
        } else if (c == QLatin1Char('}')) {
            error(i, QStringLiteral("'}' closes no rule block"));
        } else {
            startConstruct(i, state);
        }
    }

    // A mark inside a rule block: its end, a declaration's end or its property's end.
    void insideBlock(int i, BodyState &state)
    {
        const QChar c = text.at(i);
        if (c == QLatin1Char('}')) {
            if (state.declarationStart >= 0)
                closeConstruct(1, i);
            unboundDirective(1);
            closeConstruct(0, i + 1);
            state.depth = 0;
            state.selectorStart = -1;
            state.declarationStart = -1;
            return;
        }
        if (c == QLatin1Char(';')) {
            if (state.declarationStart >= 0)
                closeConstruct(1, i + 1);
            state.declarationStart = -1;
            state.property.clear();
            return;
        }
        startConstruct(i, state);
        if (c == QLatin1Char(':') && state.property.isEmpty())
            state.property =
                text.mid(state.declarationStart, i - state.declarationStart).trimmed().toLower();
    }

    // Whether the name span opens a colour function's arguments. A name the scan
    // enters halfway, after an expression that stopped inside it, is no call.
    bool startsCall(const SheetSpan &span) const
    {
        const int open = span.end();
        if (open >= textLength || text.at(open) != QLatin1Char('('))
            return false;
        if (!text.at(span.start).isLetter() ||
            (span.start > 0 && isNameChar(text.at(span.start - 1))))
            return false;
        return colourFunction(text.mid(span.start, span.length)) != nullptr;
    }

    // The reference or colour function at i in property's value, noted for the
    // rendering; where it ends.
    int scanValue(int i, const QString &property)
    {
        TemplateExpression expression;
        int expressionEnd = i;
        if (expressionReader.read(&expressionEnd, textLength, &expression))
            addValue(i, expressionEnd, std::move(expression), TemplateEdit::Value, property);
        return expressionEnd;
    }

    // The url() path in [from, end); "icons/NAME" is the variant's icon.
    void iconUrl(int from, int end)
    {
        if (parsed.iconsDirectoryName.isEmpty())
            return;
        QString inner = text.mid(from, end - from).trimmed();
        if (inner.size() >= 2 &&
            (inner.startsWith(QLatin1Char('"')) || inner.startsWith(QLatin1Char('\''))) &&
            inner.endsWith(inner.at(0)))
            inner = inner.mid(1, inner.size() - 2);
        static const QLatin1String prefix("icons/");
        if (inner.startsWith(prefix) && inner.size() > prefix.size())
            parsed.edits.push_back(
                {from, end, TemplateEdit::IconUrl, 0, {}, inner.mid(prefix.size())});
    }

    ThemeTemplate &parsed;
    const QString &text;
    const int textLength;
    SourceErrors *errors;
    TemplateExpressionReader expressionReader;
    // The directive edit waiting for the rule block (0) or declaration (1) it stands
    // before, -1 for none, and the offset of its comment.
    int pendingDirectiveEdit[2] = {-1, -1};
    int pendingDirectiveOffset[2] = {0, 0};
};

void scanTemplate(ThemeTemplate &parsed, SourceErrors *errors)
{
    TemplateScanner(parsed, errors).scan();
}
