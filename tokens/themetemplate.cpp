// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tokens/themetemplate.h"

#include "theme/palettedirectives.h"
#include "tokens/colourfunctions.h"

#include <QPalette>
#include <QRegularExpression>
#include <QScopeGuard>

#include <algorithm>

namespace {

// Nested colour functions beyond this are refused: no theme needs them, and the
// reader's recursion stays shallow.
constexpr int kMaxNesting = 32;

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_');
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\n') || c == QLatin1Char('\f');
}

// A token path as a reference may write it: no blanks, braces or separators.
bool isReferenceName(const QString &name)
{
    if (name.isEmpty())
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) {
        return isBlank(c) || c == QLatin1Char('{') || c == QLatin1Char('}') ||
               c == QLatin1Char(';') || c == QLatin1Char(':') || c == QLatin1Char(',') ||
               c == QLatin1Char('"') || c == QLatin1Char('\'') || c == QLatin1Char('<') ||
               c == QLatin1Char('>') || c == QLatin1Char('(') || c == QLatin1Char(')');
    });
}

int functionArity(const QString &name)
{
    const ColourFunction *function = colourFunction(name);
    return function ? function->arity : 0;
}

// What a property takes, as far as a token's type can be wrong for it.
enum class Slot
{
    Any,
    Colour,
    Length,
    Weight,
    Family,
};

Slot slotOf(const QString &property)
{
    if (property == QLatin1String("color") || property.endsWith(QLatin1String("-color")))
        return Slot::Colour;
    if (property == QLatin1String("font-weight"))
        return Slot::Weight;
    if (property == QLatin1String("font-family"))
        return Slot::Family;
    static const QRegularExpression length(QStringLiteral(
        "^((min-|max-)?(width|height)|(margin|padding)(-(top|right|bottom|left))?|spacing|"
        "left|right|top|bottom|font-size|border(-(top|bottom)-(left|right))?-radius|"
        "border(-(top|right|bottom|left))?-width|outline-radius|outline-width)$"));
    if (length.match(property).hasMatch())
        return Slot::Length;
    return Slot::Any;
}

QString slotMismatch(Slot slot, const TokenValue &value, const QString &property)
{
    const QString &type = value.type;
    const bool writable = type == TokenTypes::Colour || type == TokenTypes::Dimension ||
                          type == TokenTypes::Number || type == TokenTypes::FontWeight ||
                          type == TokenTypes::FontFamily;
    if (!writable)
        return QStringLiteral("a %1 token has no notation in a style sheet").arg(type);
    bool fits = true;
    switch (slot) {
    case Slot::Colour:
        fits = type == TokenTypes::Colour;
        break;
    case Slot::Length:
        fits = type == TokenTypes::Dimension || type == TokenTypes::Number;
        break;
    case Slot::Weight:
        fits = type == TokenTypes::FontWeight || type == TokenTypes::Number;
        break;
    case Slot::Family:
        fits = type == TokenTypes::FontFamily;
        break;
    case Slot::Any:
        break;
    }
    if (fits)
        return QString();
    return QStringLiteral("a %1 does not fit \"%2\"").arg(type, property);
}

} // namespace

class TemplateScanner
{
public:
    TemplateScanner(ThemeTemplate &target, SourceErrors *errors)
        : t(target)
        , s(target.text)
        , n(int(target.text.size()))
        , errors(errors)
    {}

    void scan()
    {
        int body = 0;
        scanHeader(&body);
        if (t.variantList.isEmpty())
            t.variantList.append({QStringLiteral("default"), {}, {t.fileName, 1, 1}});
        scanBody(body);
        std::stable_sort(t.edits.begin(), t.edits.end(),
                         [](const ThemeTemplate::Edit &a, const ThemeTemplate::Edit &b) {
                             return a.start != b.start ? a.start < b.start : a.end > b.end;
                         });
    }

private:
    using Edit = ThemeTemplate::Edit;
    using Expression = ThemeTemplate::Expression;

    void error(int offset, const QString &message)
    {
        if (errors)
            errors->append({t.positionAt(offset), message});
    }

    int lineStart(int offset) const
    {
        const int newline = offset > 0 ? int(s.lastIndexOf(QLatin1Char('\n'), offset - 1)) : -1;
        return newline + 1;
    }

    // Just after the line end at or after offset, or the text's end.
    int nextLine(int offset) const
    {
        const int newline = int(s.indexOf(QLatin1Char('\n'), offset));
        return newline < 0 ? n : newline + 1;
    }

    bool onlyBlanks(int from, int to) const
    {
        for (int i = from; i < to; ++i) {
            if (!isBlank(s.at(i)))
                return false;
        }
        return true;
    }

    void scanHeader(int *body)
    {
        int start = 0;
        if (n > 0 && s.at(0) == QChar(0xfeff))
            start = 1;
        if (s.mid(start, 2) != QLatin1String("/*"))
            return;
        const int close = int(s.indexOf(QLatin1String("*/"), start + 2));
        if (close < 0) {
            error(start, QStringLiteral("the leading comment is not closed"));
            *body = n;
            return;
        }
        *body = close + 2;
        int kept = 0;
        for (int line = start + 2; line <= close;) {
            int end = int(s.indexOf(QLatin1Char('\n'), line));
            if (end < 0 || end > close)
                end = close;
            if (headerLine(line, end, start, close))
                ++kept;
            line = end + 1;
        }
        if (kept == 0) {
            // Nothing left to say: the comment goes, with the blank lines after it.
            int end = close + 2;
            while (end < n && onlyBlanks(end, nextLine(end)) && nextLine(end) > end)
                end = nextLine(end);
            t.edits.push_back({start, end, Edit::Remove, 0, {}, {}});
        }
    }

    // Reads one line of the header; true when it stays in the sheet.
    bool headerLine(int from, int to, int commentStart, int commentEnd)
    {
        int i = from;
        while (i < to && isBlank(s.at(i)))
            ++i;
        const QString line = s.mid(i, to - i);
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
        if (!tokens && !variant && !icons)
            return !onlyBlanks(from, to);
        QStringList words =
            line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        words.removeFirst();
        const SourcePosition where = t.positionAt(i);
        if (tokens) {
            if (words.isEmpty())
                error(i, QStringLiteral("@tokens names one or more token files"));
            if (t.base.isEmpty())
                t.baseAt = where;
            t.base << words;
        } else if (variant) {
            static const QRegularExpression name(QStringLiteral("^[A-Za-z][A-Za-z0-9_-]*$"));
            if (words.isEmpty() || !name.match(words.first()).hasMatch()) {
                error(i, QStringLiteral("@variant is followed by a name (letters, digits, '-', "
                                        "'_') and its token files"));
            } else {
                const QString variantName = words.takeFirst();
                for (const TemplateVariant &other : qAsConst(t.variantList)) {
                    if (other.name.compare(variantName, Qt::CaseInsensitive) == 0)
                        error(i,
                              QStringLiteral("variant \"%1\" is declared twice").arg(variantName));
                }
                t.variantList.append({variantName, words, where});
            }
        } else {
            if (words.size() != 1)
                error(i, QStringLiteral("@icons names one directory"));
            else if (!t.icons.isEmpty())
                error(i, QStringLiteral("@icons is given twice"));
            else {
                t.icons = words.first();
                t.iconsAt = where;
            }
        }
        // A whole line goes; a directive sharing the comment's first or last line
        // goes alone.
        const int lineBegin = lineStart(i);
        const bool wholeLine = lineBegin > commentStart && to < commentEnd;
        if (wholeLine)
            t.edits.push_back({lineBegin, to + 1, Edit::Remove, 0, {}, {}});
        else
            t.edits.push_back({i, to, Edit::Remove, 0, {}, {}});
        return false;
    }

    void paletteLine(int from, int to)
    {
        static const QRegularExpression pattern(
            QStringLiteral("^@palette\\s+(\\S+)\\s*=\\s*(.*?)\\s*$"));
        const QRegularExpressionMatch match = pattern.match(s.mid(from, to - from));
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
        int p = from + int(match.capturedStart(2));
        const int valueEnd = from + int(match.capturedEnd(2));
        Expression expression;
        const int valueStart = p;
        if (!parseExpression(&p, valueEnd, &expression, 0))
            return;
        if (p != valueEnd) {
            error(p, QStringLiteral("unexpected text after the palette colour"));
            return;
        }
        addValue(valueStart, p, std::move(expression), Edit::PaletteValue, QString());
    }

    void addValue(int start, int end, Expression expression, Edit::Kind kind,
                  const QString &property)
    {
        t.expressions.push_back(std::move(expression));
        t.edits.push_back({start, end, kind, int(t.expressions.size()) - 1, property, {}});
    }

    // Reads a reference, a colour function or a literal argument at *p, no further
    // than end.
    bool parseExpression(int *p, int end, Expression *e, int depth)
    {
        skipBlanks(p, end);
        e->offset = *p;
        if (*p >= end) {
            error(qMin(*p, n), QStringLiteral("expected a reference, a colour or a number"));
            return false;
        }
        const QChar c = s.at(*p);
        if (c == QLatin1Char('{'))
            return parseReference(p, end, e);
        if (c == QLatin1Char('#'))
            return parseHexColour(p, end, e);
        if (c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-'))
            return parseNumber(p, end, e);
        if (!c.isLetter()) {
            error(*p, QStringLiteral("expected a reference, a colour or a number"));
            return false;
        }
        return parseNameOrCall(p, end, e, depth);
    }

    void skipBlanks(int *p, int end) const
    {
        while (*p < end && isBlank(s.at(*p)))
            ++*p;
    }

    // "{group.token}" at *p.
    bool parseReference(int *p, int end, Expression *e)
    {
        int close = *p + 1;
        while (close < end && s.at(close) != QLatin1Char('}') && s.at(close) != QLatin1Char('\n') &&
               s.at(close) != QLatin1Char(';'))
            ++close;
        const QString name = s.mid(*p + 1, close - *p - 1);
        if (close >= end || s.at(close) != QLatin1Char('}') || !isReferenceName(name)) {
            error(*p, QStringLiteral("a reference reads {group.token}"));
            *p = close;
            return false;
        }
        e->kind = Expression::Reference;
        e->name = name;
        *p = close + 1;
        return true;
    }

    // "#rgb", "#rrggbb" or with alpha, at *p.
    bool parseHexColour(int *p, int end, Expression *e)
    {
        int i = *p + 1;
        while (i < end && isNameChar(s.at(i)))
            ++i;
        e->kind = Expression::Colour;
        e->colour = colourFromTokenString(s.mid(*p, i - *p));
        if (!e->colour.isValid()) {
            error(*p, QStringLiteral("\"%1\" is not a colour").arg(s.mid(*p, i - *p)));
            *p = i;
            return false;
        }
        *p = i;
        return true;
    }

    // A number at *p; "50%" reads as 0.5.
    bool parseNumber(int *p, int end, Expression *e)
    {
        int i = *p + 1;
        while (i < end && (s.at(i).isDigit() || s.at(i) == QLatin1Char('.')))
            ++i;
        bool ok = false;
        e->kind = Expression::Number;
        e->number = s.mid(*p, i - *p).toDouble(&ok);
        if (i < end && s.at(i) == QLatin1Char('%')) {
            e->number /= 100.0;
            ++i;
        }
        if (!ok) {
            error(*p, QStringLiteral("\"%1\" is not a number").arg(s.mid(*p, i - *p)));
            *p = i;
            return false;
        }
        *p = i;
        return true;
    }

    // A colour's name, or a colour function and its arguments, at *p.
    bool parseNameOrCall(int *p, int end, Expression *e, int depth)
    {
        int i = *p;
        while (i < end && isNameChar(s.at(i)))
            ++i;
        const QString word = s.mid(*p, i - *p);
        const int arity = functionArity(word);
        if (arity == 0 || i >= end || s.at(i) != QLatin1Char('(')) {
            if (arity == 0 && QColor::isValidColor(word)) {
                e->kind = Expression::Colour;
                e->colour = QColor(word);
                e->keyword = word;
                *p = i;
                return true;
            }
            error(*p, QStringLiteral("\"%1\" is neither a colour function (%2) nor a colour")
                          .arg(word, colourFunctionNames()));
            *p = i;
            return false;
        }
        if (depth >= kMaxNesting) {
            error(*p, QStringLiteral("colour functions nested deeper than %1").arg(kMaxNesting));
            *p = end;
            return false;
        }
        e->kind = Expression::Call;
        e->name = word;
        *p = i + 1;
        if (!parseArguments(p, end, e, depth))
            return false;
        if (int(e->arguments.size()) != arity) {
            error(e->offset, QStringLiteral("%1() takes %2 arguments: %3")
                                 .arg(word)
                                 .arg(arity)
                                 .arg(colourFunction(word)->signature()));
            return false;
        }
        return true;
    }

    // The arguments of call e from *p, just after its '(', up to its ')'.
    bool parseArguments(int *p, int end, Expression *e, int depth)
    {
        while (true) {
            Expression argument;
            if (!parseExpression(p, end, &argument, depth + 1))
                return false;
            e->arguments.push_back(std::move(argument));
            skipBlanks(p, end);
            if (*p < end && s.at(*p) == QLatin1Char(',')) {
                ++*p;
                continue;
            }
            if (*p < end && s.at(*p) == QLatin1Char(')')) {
                ++*p;
                return true;
            }
            error(qMin(*p, n), QStringLiteral("expected ',' or ')' in %1()").arg(e->name));
            return false;
        }
    }

    // Notes a "@only"/"@except" comment spanning [from, to).
    void directive(int from, int to, const QString &body, int depth)
    {
        const bool only = body.startsWith(TemplateKeywords::Only);
        const QString list =
            body.mid(only ? TemplateKeywords::Only.size() : TemplateKeywords::Except.size());
        ThemeTemplate::Directive d;
        d.only = only;
        for (const QString &name : list.split(QLatin1Char(','))) {
            const QString trimmed = name.trimmed();
            const bool known =
                std::any_of(t.variantList.begin(), t.variantList.end(),
                            [&](const TemplateVariant &v) { return v.name == trimmed; });
            if (!known) {
                QStringList names;
                for (const TemplateVariant &v : qAsConst(t.variantList))
                    names << v.name;
                error(from, QStringLiteral("unknown variant \"%1\" in %2; the variants are %3")
                                .arg(trimmed,
                                     only ? QString(TemplateKeywords::Only)
                                          : QString(TemplateKeywords::Except),
                                     names.join(QLatin1String(", "))));
            }
            d.names << trimmed;
        }
        int start = from;
        int end = to;
        const int lineBegin = lineStart(from);
        const int lineEnd = nextLine(to);
        if (onlyBlanks(lineBegin, from) && onlyBlanks(to, lineEnd)) {
            start = lineBegin;
            end = lineEnd;
        }
        if (pending[depth] >= 0)
            error(from, QStringLiteral("two directives for one rule block or declaration"));
        t.directives.push_back(d);
        t.edits.push_back({start, end, Edit::Conditional, int(t.directives.size()) - 1, {}, {}});
        pending[depth] = int(t.edits.size()) - 1;
        pendingAt[depth] = from;
    }

    // The construct a directive stands before ends at end: what goes with it when it
    // is left out.
    void closeConstruct(int depth, int end)
    {
        if (pending[depth] < 0)
            return;
        Edit &edit = t.edits[pending[depth]];
        pending[depth] = -1;
        int stop = end;
        if (onlyBlanks(end, nextLine(end)))
            stop = nextLine(end);
        while (stop < n && nextLine(stop) > stop && onlyBlanks(stop, nextLine(stop)))
            stop = nextLine(stop);
        t.directives[edit.index].excludedEnd = stop;
    }

    void unboundDirective(int depth)
    {
        if (pending[depth] < 0)
            return;
        error(pendingAt[depth],
              depth == 0 ? QStringLiteral("a directive must stand right before a rule block")
                         : QStringLiteral("a directive must stand right before a declaration"));
        t.directives[t.edits[pending[depth]].index].excludedEnd = t.edits[pending[depth]].end;
        pending[depth] = -1;
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
        int i = from;
        while (i < n) {
            const QChar c = s.at(i);
            if (c == QLatin1Char('/') && i + 1 < n && s.at(i + 1) == QLatin1Char('*'))
                i = scanComment(i, state);
            else if (c == QLatin1Char('"') || c == QLatin1Char('\''))
                i = scanString(i, state);
            else if (state.depth == 0)
                i = scanOutsideBlock(i, state);
            else
                i = scanInsideBlock(i, state);
        }
        if (state.depth != 0)
            error(state.blockStart, QStringLiteral("rule block is not closed"));
        unboundDirective(1);
        unboundDirective(0);
    }

    // The comment at i, noting an "@only"/"@except" directive; where the scan goes on
    // (the text's end when the comment is not closed).
    int scanComment(int i, const BodyState &state)
    {
        const int close = int(s.indexOf(QLatin1String("*/"), i + 2));
        if (close < 0) {
            error(i, QStringLiteral("comment is not closed"));
            return n;
        }
        const QString body = s.mid(i + 2, close - i - 2).trimmed();
        const auto starts = [&](QLatin1String word) {
            return body.startsWith(word) &&
                   (body.size() == word.size() || isBlank(body.at(word.size())));
        };
        if (starts(TemplateKeywords::Only) || starts(TemplateKeywords::Except)) {
            if ((state.depth == 0 && state.selectorStart >= 0) ||
                (state.depth == 1 && state.declarationStart >= 0))
                error(i, QStringLiteral("a directive must stand right before a rule block "
                                        "or a declaration"));
            else
                directive(i, close + 2, body, state.depth);
        }
        return close + 2;
    }

    // The quoted string at i, which starts a selector or a declaration if none has
    // started; where the scan goes on.
    int scanString(int i, BodyState &state)
    {
        const QChar quote = s.at(i);
        if (state.depth == 0 && state.selectorStart < 0)
            state.selectorStart = i;
        if (state.depth == 1 && state.declarationStart < 0)
            state.declarationStart = i;
        int j = i + 1;
        while (j < n && s.at(j) != quote && s.at(j) != QLatin1Char('\n'))
            j += s.at(j) == QLatin1Char('\\') ? 2 : 1;
        if (j >= n || s.at(j) != quote) {
            error(i, QStringLiteral("string is not closed on its line"));
            return qMin(j, n);
        }
        return j + 1;
    }

    // One character of a selector, or the '{' that opens its block.
    int scanOutsideBlock(int i, BodyState &state)
    {
        const QChar c = s.at(i);
        if (c == QLatin1Char('{')) {
            state.depth = 1;
            state.blockStart = state.selectorStart >= 0 ? state.selectorStart : i;
            state.declarationStart = -1;
            state.property.clear();
        } else if (c == QLatin1Char('}')) {
            error(i, QStringLiteral("'}' closes no rule block"));
        } else if (!isBlank(c) && state.selectorStart < 0) {
            state.selectorStart = i;
        }
        return i + 1;
    }

    // What stands at i inside a rule block: its end, a declaration's end or property,
    // a value's reference, colour function or url(); where the scan goes on.
    int scanInsideBlock(int i, BodyState &state)
    {
        const QChar c = s.at(i);
        if (c == QLatin1Char('}')) {
            if (state.declarationStart >= 0)
                closeConstruct(1, i);
            unboundDirective(1);
            closeConstruct(0, i + 1);
            state.depth = 0;
            state.selectorStart = -1;
            state.declarationStart = -1;
            return i + 1;
        }
        if (c == QLatin1Char(';')) {
            if (state.declarationStart >= 0)
                closeConstruct(1, i + 1);
            state.declarationStart = -1;
            state.property.clear();
            return i + 1;
        }
        if (!isBlank(c) && state.declarationStart < 0)
            state.declarationStart = i;
        if (c == QLatin1Char(':') && state.property.isEmpty()) {
            state.property =
                s.mid(state.declarationStart, i - state.declarationStart).trimmed().toLower();
            return i + 1;
        }
        if (c == QLatin1Char('{'))
            return qMax(scanValue(i, state.property), i + 1);
        if (c.isLetter() && (i == 0 || !isNameChar(s.at(i - 1))))
            return scanWord(i, state.property);
        return i + 1;
    }

    // The reference or colour function at i in property's value, noted for the
    // rendering; where it ends.
    int scanValue(int i, const QString &property)
    {
        Expression expression;
        int p = i;
        if (parseExpression(&p, n, &expression, 0))
            addValue(i, p, std::move(expression), Edit::Value, property);
        return p;
    }

    // The word at i in a rule block: a colour function or url() is read, anything else
    // skipped; where the scan goes on.
    int scanWord(int i, const QString &property)
    {
        int j = i;
        while (j < n && isNameChar(s.at(j)))
            ++j;
        const QString word = s.mid(i, j - i);
        if (j < n && s.at(j) == QLatin1Char('(') && functionArity(word) > 0)
            return qMax(scanValue(i, property), j);
        if (j < n && s.at(j) == QLatin1Char('(') &&
            word.compare(QLatin1String("url"), Qt::CaseInsensitive) == 0)
            return url(j + 1);
        return j;
    }

    // The url() whose text starts at from; "icons/NAME" is the variant's icon.
    int url(int from)
    {
        const int close = int(s.indexOf(QLatin1Char(')'), from));
        const int end = close < 0 ? n : close;
        if (t.icons.isEmpty())
            return end;
        QString inner = s.mid(from, end - from).trimmed();
        if (inner.size() >= 2 &&
            (inner.startsWith(QLatin1Char('"')) || inner.startsWith(QLatin1Char('\''))) &&
            inner.endsWith(inner.at(0)))
            inner = inner.mid(1, inner.size() - 2);
        static const QLatin1String prefix("icons/");
        if (inner.startsWith(prefix) && inner.size() > prefix.size())
            t.edits.push_back({from, end, Edit::IconUrl, 0, {}, inner.mid(prefix.size())});
        return end;
    }

    ThemeTemplate &t;
    const QString &s;
    const int n;
    SourceErrors *errors;
    int pending[2] = {-1, -1};
    int pendingAt[2] = {0, 0};
};

ThemeTemplate ThemeTemplate::parse(const QString &text, const QString &fileName,
                                   SourceErrors *errors)
{
    ThemeTemplate t;
    t.text = text;
    t.fileName = fileName;
    t.lineStarts << 0;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\n'))
            t.lineStarts << i + 1;
    }
    TemplateScanner(t, errors).scan();
    return t;
}

SourcePosition ThemeTemplate::positionAt(int offset) const
{
    const auto after = std::upper_bound(lineStarts.begin(), lineStarts.end(), offset);
    const int line = int(after - lineStarts.begin());
    return {fileName, line, offset - lineStarts.at(line - 1) + 1};
}

void ThemeTemplate::evaluate(const Expression &e, const DesignTokens &tokens, TokenValue *value,
                             SourceErrors *errors) const
{
    const auto fail = [&](const QString &message) {
        if (errors)
            errors->append({positionAt(e.offset), message});
        value->type.clear();
    };
    switch (e.kind) {
    case Expression::Colour:
        value->type = TokenTypes::Colour;
        value->colour = e.colour;
        value->keyword = e.keyword;
        return;
    case Expression::Number:
        value->type = TokenTypes::Number;
        value->number = e.number;
        return;
    case Expression::Reference:
        if (const TokenValue *found = tokens.value(e.name)) {
            *value = *found;
        } else if (tokens.isDefined(e.name)) {
            value->type.clear(); // its own error is already told
        } else if (tokens.isGroup(e.name)) {
            fail(QStringLiteral("{%1} is a group, not a token").arg(e.name));
        } else {
            const QString closest = tokens.closestName(e.name);
            fail(closest.isEmpty() ? QStringLiteral("unknown token {%1}").arg(e.name)
                                   : QStringLiteral("unknown token {%1}; did you mean {%2}?")
                                         .arg(e.name, closest));
        }
        return;
    case Expression::Call:
        break;
    }
    // The reader makes calls of known functions only, with their number of arguments.
    const ColourFunction &function = *colourFunction(e.name);
    std::vector<TokenValue> arguments(e.arguments.size());
    for (std::size_t i = 0; i < e.arguments.size(); ++i) {
        evaluate(e.arguments[i], tokens, &arguments[i], errors);
        if (arguments[i].type.isEmpty()) {
            value->type.clear();
            return;
        }
        const bool wantsColour = function.arguments[i] == ColourArgument::Colour;
        const bool fits =
            wantsColour ? arguments[i].isColour() : arguments[i].type == TokenTypes::Number;
        if (!fits) {
            if (errors)
                errors->append(
                    {positionAt(e.arguments[i].offset),
                     QStringLiteral("%1() takes a %2 here, not a %3: %4")
                         .arg(e.name,
                              wantsColour ? QStringLiteral("colour") : QStringLiteral("number"),
                              arguments[i].type, function.signature())});
            value->type.clear();
            return;
        }
    }
    const double amount = arguments.back().number;
    const QString rangeError = function.rangeError(amount);
    if (!rangeError.isEmpty())
        return fail(rangeError);
    const QColor other = function.arity > 2 ? arguments[1].colour : QColor();
    const QColor result = function.compute(arguments[0].colour, other, amount);
    *value = TokenValue();
    value->type = TokenTypes::Colour;
    value->colour = result.toRgb();
    value->where = positionAt(e.offset);
}

// What a reference or a colour function in a declaration or a palette line writes;
// empty, with the error noted, when its value does not fit there.
QString ThemeTemplate::valueText(const Edit &edit, const DesignTokens &tokens,
                                 SourceErrors *errors) const
{
    const Expression &e = expressions[edit.index];
    TokenValue value;
    evaluate(e, tokens, &value, errors);
    if (value.type.isEmpty())
        return QString();
    if (edit.kind == Edit::PaletteValue) {
        if (!value.isColour()) {
            if (errors)
                errors->append(
                    {positionAt(e.offset),
                     QStringLiteral("a palette role takes a colour, not a %1").arg(value.type)});
            return QString();
        }
        // The palette reader takes hexadecimal only, alpha first.
        return value.colour.name(value.colour.alpha() == 255 ? QColor::HexRgb : QColor::HexArgb);
    }
    const QString mismatch = slotMismatch(slotOf(edit.property), value, edit.property);
    if (!mismatch.isEmpty()) {
        if (errors)
            errors->append({positionAt(e.offset), mismatch});
        return QString();
    }
    return value.sheetText();
}

QString ThemeTemplate::render(const DesignTokens &tokens, const QString &variant,
                              const IconUrl &iconUrl, SourceErrors *errors, SourceMap *map) const
{
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
    for (const Edit &edit : edits) {
        if (edit.start < cursor)
            continue;
        copy(cursor, edit.start);
        cursor = edit.end;
        written = int(out.size());
        writtenPath.clear();
        writtenWhere = SourcePosition();
        if (edit.kind == Edit::Value || edit.kind == Edit::PaletteValue) {
            const Expression &e = expressions[edit.index];
            if (e.kind == Expression::Reference) {
                writtenPath = e.name;
                if (const TokenValue *value = tokens.value(e.name))
                    writtenWhere = value->where;
            }
        }
        const auto noteWritten = qScopeGuard([&] {
            if (map && out.size() > written)
                map->addValue(written, int(out.size()),
                              edit.kind == Edit::Value || edit.kind == Edit::PaletteValue
                                  ? expressions[edit.index].offset
                                  : edit.start,
                              writtenPath, writtenWhere);
        });
        switch (edit.kind) {
        case Edit::Remove:
            break;
        case Edit::Value:
        case Edit::PaletteValue:
            out += valueText(edit, tokens, errors);
            break;
        case Edit::IconUrl: {
            const QString url = iconUrl ? iconUrl(edit.name) : QString();
            if (url.isEmpty()) {
                if (errors)
                    errors->append({positionAt(edit.start),
                                    QStringLiteral("no icon \"%1\" in %2").arg(edit.name, icons)});
                break;
            }
            out += url;
            break;
        }
        case Edit::Conditional: {
            const Directive &d = directives[edit.index];
            if (d.names.contains(variant) == d.only)
                break;
            cursor = qMax(cursor, d.excludedEnd);
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
        map->finish(fileName, text, out);
    return out;
}

QByteArray recolourSvg(const QByteArray &svg, const QString &fileName, const DesignTokens &tokens,
                       SourceErrors *errors)
{
    const QString text = QString::fromUtf8(svg);
    static const QRegularExpression reference(QStringLiteral("\\{([^{}\\s;:,\"'<>()]+)\\}"));
    QString out;
    int copied = 0;
    QRegularExpressionMatchIterator matches = reference.globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        const QString name = match.captured(1);
        const int offset = int(match.capturedStart());
        const auto fail = [&](const QString &message) {
            const int lineStart =
                offset > 0 ? int(text.lastIndexOf(QLatin1Char('\n'), offset - 1)) + 1 : 0;
            const int line = int(text.left(offset).count(QLatin1Char('\n'))) + 1;
            if (errors)
                errors->append({{fileName, line, offset - lineStart + 1}, message});
        };
        out += text.mid(copied, offset - copied);
        copied = int(match.capturedEnd());
        const TokenValue *value = tokens.value(name);
        if (!value) {
            if (!tokens.isDefined(name)) {
                const QString closest = tokens.closestName(name);
                fail(closest.isEmpty() ? QStringLiteral("unknown token {%1}").arg(name)
                                       : QStringLiteral("unknown token {%1}; did you mean {%2}?")
                                             .arg(name, closest));
            }
            continue;
        }
        if (!value->isColour()) {
            fail(QStringLiteral("an icon takes colours, and {%1} is a %2").arg(name, value->type));
            continue;
        }
        if (value->colour.alpha() != 255) {
            fail(QStringLiteral("{%1} is translucent; an icon takes opaque colours, its "
                                "opacity belongs in the SVG")
                     .arg(name));
            continue;
        }
        out += value->keyword.isEmpty() ? value->colour.name() : value->keyword;
    }
    out += text.mid(copied);
    return out.toUtf8();
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
