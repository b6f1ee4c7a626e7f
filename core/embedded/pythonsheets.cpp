// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "embedded/embeddedsheets.h"
#include "embedded/sheetbuilder.h"
#include "embedded/sourcetokens.h"
#include "embedded/sourcevariables.h"

#include <QStringList>

#include <algorithm>

namespace {

// The value a backslash and kind stand for when they spell one character, or -1.
int simpleEscape(QChar kind)
{
    static const QString simple = QStringLiteral("\\'\"abfnrtv");
    static const char values[] = "\\'\"\a\b\f\n\r\t\v";
    const int index = kind.isNull() ? -1 : int(simple.indexOf(kind));
    return index < 0 ? -1 : uchar(values[index]);
}

// The escape at from that spells a code point by its number (\x \u \U, octal) or
// its name (\N{...}), or 0 when it is none of them.
int numericEscape(const QString &text, int from, int limit, uint *value)
{
    const QChar kind = text.at(from + 1);
    if (kind == QLatin1Char('x') || kind == QLatin1Char('u') || kind == QLatin1Char('U')) {
        const int digits = kind == QLatin1Char('x') ? 2 : kind == QLatin1Char('u') ? 4 : 8;
        return readEscapeDigits(text, from + 2, limit, digits, 16, value) - from;
    }
    if (kind == QLatin1Char('N')) {
        const int close = int(text.indexOf(QLatin1Char('}'), from));
        if (from + 2 < limit && text.at(from + 2) == QLatin1Char('{') && close > 0 &&
            close < limit) {
            *value = 0xFFFD; // a named character: no sheet needs one spelt so
            return close + 1 - from;
        }
        return 0;
    }
    if (kind < QLatin1Char('0') || kind > QLatin1Char('7'))
        return 0;
    return readEscapeDigits(text, from + 1, limit, 3, 8, value) - from;
}

// The escape at from (a backslash) inside a string ending before limit: its value
// and its length; none when it stands for no character (a line continued).
int decodeEscape(const QString &text, int from, int limit, uint *value, bool *none)
{
    *none = false;
    const QChar kind = from + 1 < limit ? text.at(from + 1) : QChar();
    if (kind == QLatin1Char('\n') || kind == QLatin1Char('\r')) {
        *none = true;
        const bool crlf =
            kind == QLatin1Char('\r') && from + 2 < limit && text.at(from + 2) == QLatin1Char('\n');
        return crlf ? 3 : 2;
    }
    const int simple = simpleEscape(kind);
    if (simple >= 0) {
        *value = uint(simple);
        return 2;
    }
    if (!kind.isNull()) {
        const int length = numericEscape(text, from, limit, value);
        if (length > 0)
            return length;
    }
    // Not an escape: the backslash stays, and the character after it is read as itself.
    *value = '\\';
    return 1;
}

void decodeString(const QString &text, const SourceToken &literal, SheetBuilder *builder)
{
    builder->beginPiece(literal.contentStart,
                        literal.raw ? LiteralSpelling::Raw : LiteralSpelling::Escaped,
                        literal.closing, literal.closing.size() == 1);
    for (int i = literal.contentStart; i < literal.contentEnd;) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < literal.contentEnd && text.at(i + 1).isLowSurrogate()) {
            builder->append(QChar::surrogateToUcs4(c, text.at(i + 1)), i);
            i += 2;
            continue;
        }
        if (c != QLatin1Char('\\') || literal.raw) {
            builder->append(c.unicode(), i);
            ++i;
            continue;
        }
        uint value = 0;
        bool none = false;
        const int length = decodeEscape(text, i, literal.contentEnd, &value, &none);
        if (!none)
            builder->append(value, i);
        i += length;
    }
    builder->endPiece(literal.contentEnd);
}

QString runtimeReason(const QVector<SourceToken> &tokens, int first, int end)
{
    for (int i = first; i < end; ++i) {
        const SourceToken &token = tokens.at(i);
        if (token.kind == SourceTokenKind::Literal && token.text.contains(QLatin1Char('f')))
            return QStringLiteral("it is an f-string, filled in at run time");
        if (token.kind == SourceTokenKind::Literal && token.text.contains(QLatin1Char('b')))
            return QStringLiteral("it is bytes, not a string");
        if (token.kind == SourceTokenKind::Identifier &&
            (token.text == QLatin1String("tr") || token.text == QLatin1String("translate")))
            return QStringLiteral("it is translated at run time");
        if (token.kind == SourceTokenKind::Identifier && token.text == QLatin1String("format") &&
            i > first && tokens.at(i - 1).text == QLatin1String("."))
            return QStringLiteral("it is filled in at run time (.format())");
        if (token.text == QLatin1String("%"))
            return QStringLiteral("it is filled in at run time (%)");
    }
    for (int i = first; i < end; ++i) {
        if (tokens.at(i).text == QLatin1String("+"))
            return QStringLiteral("it is joined at run time");
    }
    if (end - first == 1 && tokens.at(first).kind == SourceTokenKind::Identifier)
        return QStringLiteral("it is the variable \"%1\"").arg(tokens.at(first).text);
    return QStringLiteral("it is built at run time");
}

bool isString(const SourceToken &token)
{
    return token.kind == SourceTokenKind::Literal && !token.text.contains(QLatin1Char('b'));
}

// No "+" outside brackets: the operand of a "%" that nothing is joined to.
bool singleOperand(const QVector<SourceToken> &tokens, int first, int last)
{
    int depth = 0;
    for (int i = first; i < last; ++i) {
        const QString &text = tokens.at(i).text;
        if (tokens.at(i).kind != SourceTokenKind::Punctuation)
            continue;
        if (text == QLatin1String("(") || text == QLatin1String("[") || text == QLatin1String("{"))
            ++depth;
        else if (text == QLatin1String(")") || text == QLatin1String("]") ||
                 text == QLatin1String("}"))
            --depth;
        else if (depth == 0 && (text == QLatin1String("+") || text == QLatin1String("%")))
            return false;
    }
    return first < last;
}

// The strings of an argument, [*from, *to), and how the whole is filled in at run
// time: "..." % x, "...".format(...), "...".arg(...), or not at all (f-strings fill
// in their own pieces). False when the argument is something else.
bool literalTemplate(const QVector<SourceToken> &tokens, int first, int last, int *from, int *to,
                     TemplateSyntax *syntax)
{
    *syntax = TemplateSyntax::None;
    int end = trailingCalls(tokens, first, last, QStringLiteral("format"));
    if (end < last) {
        *syntax = TemplateSyntax::Braces;
    } else {
        end = trailingCalls(tokens, first, last, QStringLiteral("arg"));
        if (end < last)
            *syntax = TemplateSyntax::QtArg;
    }
    int after = first;
    if (first < end && tokens.at(first).text == QLatin1String("(")) {
        const int close = matchingParenthesis(tokens, first, end);
        if (close < 0)
            return false;
        *from = first + 1;
        *to = close;
        after = close + 1;
    } else {
        *from = first;
        while (after < end && isString(tokens.at(after)))
            ++after;
        *to = after;
    }
    if (*from >= *to)
        return false;
    for (int i = *from; i < *to; ++i) {
        if (!isString(tokens.at(i)))
            return false;
    }
    if (after == end)
        return true;
    if (*syntax != TemplateSyntax::None || tokens.at(after).text != QLatin1String("%") ||
        !singleOperand(tokens, after + 1, end))
        return false;
    *syntax = TemplateSyntax::Percent;
    return true;
}

// What an argument's tokens give.
enum class Argument
{
    Cleared, // no sheet: setStyleSheet(None)
    Sheet,   // a sheet to check
    RunTime, // a sheet made at run time, and why
};

// The sheet the tokens [first, last) of an argument or a value give.
Argument readArgument(const QString &text, const QVector<SourceToken> &tokens, int first, int last,
                      EmbeddedSheet *sheet, QString *reason,
                      TemplateSyntax filledLater = TemplateSyntax::None)
{
    while (first < last && tokens.at(first).text == QLatin1String("(") &&
           matchingParenthesis(tokens, first, last) == last - 1) {
        ++first;
        --last;
    }
    // setStyleSheet(None), setStyleSheet(""): the sheet cleared.
    if (first >= last || (last - first == 1 && tokens.at(first).text == QLatin1String("None")))
        return Argument::Cleared;
    int from = 0;
    int to = 0;
    TemplateSyntax syntax = TemplateSyntax::None;
    if (!literalTemplate(tokens, first, last, &from, &to, &syntax)) {
        *reason = runtimeReason(tokens, first, last);
        return Argument::RunTime;
    }
    if (syntax == TemplateSyntax::None)
        syntax = filledLater;
    SheetBuilder builder(EmbeddingLanguage::Python, tokens.at(from).start);
    for (int i = from; i < to; ++i) {
        const bool fString = tokens.at(i).text.contains(QLatin1Char('f'));
        builder.setTemplate(fString ? TemplateSyntax::Braces : syntax);
        decodeString(text, tokens.at(i), &builder);
    }
    if (builder.onlyPlaceholders()) {
        *reason = QStringLiteral("it is filled in whole at run time");
        return Argument::RunTime;
    }
    if (builder.empty())
        return Argument::Cleared;
    *sheet = builder.finish(tokens.at(to - 1).end);
    return Argument::Sheet;
}

// Every token of the file and its variables, read the first time a sheet is passed by
// a name.
class FileVariables
{
public:
    explicit FileVariables(const QString &text)
        : text(text)
    {}

    // The sheet of the variable the token names.
    Argument follow(const SourceToken &use, EmbeddedSheet *sheet, QString *reason,
                    TemplateSyntax filledLater)
    {
        if (!read) {
            PythonTokenizer tokenizer(text);
            SourceToken token;
            while (tokenizer.next(&token))
                tokens.append(token);
            variables = SourceVariables::forPython(tokens, text);
            read = true;
        }
        const auto at = std::lower_bound(
            tokens.cbegin(), tokens.cend(), use.start,
            [](const SourceToken &token, int start) { return token.start < start; });
        int first = 0;
        int last = 0;
        if (!variables.follow(use.text, int(at - tokens.cbegin()), &first, &last, reason))
            return Argument::RunTime;
        QString why;
        const Argument value = readArgument(text, tokens, first, last, sheet, &why, filledLater);
        if (value == Argument::RunTime)
            *reason =
                QStringLiteral("it is the %1 \"%2\", whose value %3")
                    .arg(use.text.startsWith(QLatin1String("self.")) ? QStringLiteral("attribute")
                                                                     : QStringLiteral("variable"),
                         use.text, why.startsWith(QLatin1String("it ")) ? why.mid(3) : why);
        return value;
    }

private:
    const QString &text;
    bool read = false;
    QVector<SourceToken> tokens;
    SourceVariables variables;
};

// Whether the argument is a name, alone (SHEET) or filled in with % (SHEET % x),
// .format() or .arg(): syntax says which.
bool filledName(const QVector<SourceToken> &tokens, TemplateSyntax *syntax)
{
    const int size = int(tokens.size());
    *syntax = TemplateSyntax::None;
    if (size == 0 || tokens.constFirst().kind != SourceTokenKind::Identifier)
        return false;
    if (size == 1)
        return true;
    if (tokens.at(1).text == QLatin1String("%") && singleOperand(tokens, 2, size))
        *syntax = TemplateSyntax::Percent;
    else if (trailingCalls(tokens, 0, size, QStringLiteral("format")) == 1)
        *syntax = TemplateSyntax::Braces;
    else if (trailingCalls(tokens, 0, size, QStringLiteral("arg")) == 1)
        *syntax = TemplateSyntax::QtArg;
    return *syntax != TemplateSyntax::None;
}

// The sheet a call passes, its tokenizer just after the "(".
void readCall(const QString &text, PythonTokenizer &tokenizer, FileVariables &variables,
              QVector<EmbeddedSheet> *sheets)
{
    const int open = tokenizer.position();
    QVector<SourceToken> tokens;
    int end = 0;
    if (!readCallArgument(tokenizer, &tokens, &end)) {
        tokenizer.seek(open);
        return;
    }
    EmbeddedSheet sheet;
    QString reason;
    Argument argument = readArgument(text, tokens, 0, int(tokens.size()), &sheet, &reason);
    // self.SHEET is followed as one name: the attribute.
    if (tokens.size() >= 3 && tokens.at(0).text == QLatin1String("self") &&
        tokens.at(1).text == QLatin1String(".") &&
        tokens.at(2).kind == SourceTokenKind::Identifier &&
        (tokens.size() == 3 || tokens.at(3).text != QLatin1String("("))) {
        SourceToken attribute = tokens.at(0);
        attribute.text = QStringLiteral("self.") + tokens.at(2).text;
        attribute.end = tokens.at(2).end;
        tokens.erase(tokens.begin(), tokens.begin() + 3);
        tokens.prepend(attribute);
    }
    // SHEET, SHEET % value, SHEET.format(...): a name, its value a string or template.
    TemplateSyntax filled = TemplateSyntax::None;
    if (argument == Argument::RunTime && filledName(tokens, &filled))
        argument = variables.follow(tokens.constFirst(), &sheet, &reason, filled);
    if (argument == Argument::Sheet)
        sheets->append(sheet);
    else if (argument == Argument::RunTime)
        sheets->append(uncheckableSheet(EmbeddingLanguage::Python, tokens.constFirst().start,
                                        tokens.constLast().end, reason));
}

// Whether the line before the one at offset is a "# qss" comment alone.
bool markedLine(const QString &text, int offset)
{
    const int lineStart = int(text.lastIndexOf(QLatin1Char('\n'), offset - 1)) + 1;
    if (lineStart < 1)
        return false;
    const int previousStart = int(text.lastIndexOf(QLatin1Char('\n'), lineStart - 2)) + 1;
    const QStringView previous =
        QStringView(text).mid(previousStart, lineStart - 1 - previousStart).trimmed();
    return previous.startsWith(QLatin1Char('#')) &&
           previous.mid(1).trimmed() == QLatin1String("qss");
}

// A string on a line marked "# qss", its tokenizer just after it: the strings written
// side by side from it, unless they are a dict's key.
void readMarked(const QString &text, PythonTokenizer &tokenizer, const SourceToken &marked,
                QVector<EmbeddedSheet> *sheets)
{
    QVector<SourceToken> tokens{marked};
    SourceToken token;
    int after = tokenizer.position();
    bool key = false;
    while (tokenizer.next(&token)) {
        key = token.text == QLatin1String(":");
        if (token.kind != SourceTokenKind::Literal)
            break;
        tokens.append(token);
        after = tokenizer.position();
    }
    tokenizer.seek(after);
    EmbeddedSheet sheet;
    QString reason;
    if (!key &&
        readArgument(text, tokens, 0, int(tokens.size()), &sheet, &reason) == Argument::Sheet)
        sheets->append(sheet);
}

QVector<EmbeddedSheet> readSheets(const QString &text)
{
    QVector<EmbeddedSheet> sheets;
    PythonTokenizer tokenizer(text);
    FileVariables variables(text);
    QString previousName; // the identifier before the current one ("def")
    int markedDone = -1;  // the last marked line whose string has been read
    SourceToken token;
    while (tokenizer.next(&token)) {
        if (token.kind == SourceTokenKind::Identifier &&
            token.text == QLatin1String("setStyleSheet") && previousName != QLatin1String("def")) {
            const int afterName = tokenizer.position();
            SourceToken next;
            if (tokenizer.next(&next) && next.text == QLatin1String("("))
                readCall(text, tokenizer, variables, &sheets);
            else
                tokenizer.seek(afterName);
        } else if (token.kind == SourceTokenKind::Literal && markedLine(text, token.start)) {
            const int line = int(text.lastIndexOf(QLatin1Char('\n'), token.start - 1));
            const int before = int(sheets.size());
            if (line != markedDone)
                readMarked(text, tokenizer, token, &sheets);
            if (sheets.size() > before)
                markedDone = line;
        }
        previousName = token.kind == SourceTokenKind::Identifier ? token.text : QString();
    }
    return sheets;
}

} // namespace

QVector<EmbeddedSheet> readPythonSheets(const QString &text)
{
    QVector<EmbeddedSheet> sheets = readSheets(text);
    inFileOrder(sheets);
    placeSheets(sheets, text);
    return sheets;
}
