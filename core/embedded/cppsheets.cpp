// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "embedded/embeddedsheets.h"
#include "embedded/sheetbuilder.h"
#include "embedded/sourcetokens.h"

#include <QStringList>

namespace {

// Escaped bytes read as UTF-8, each character at its first byte's escape; a byte
// that starts no sequence reads as the replacement character. Empties bytes.
void appendUtf8(QVector<QPair<uint, int>> &bytes, SheetBuilder *builder)
{
    for (int k = 0; k < bytes.size();) {
        const uint lead = bytes.at(k).first;
        const int length = lead >= 0xF0 && lead < 0xF8 ? 4
                           : lead >= 0xE0              ? 3
                           : lead >= 0xC0              ? 2
                                                       : 0;
        uint codePoint = length == 4 ? lead & 0x07 : length == 3 ? lead & 0x0F : lead & 0x1F;
        bool valid = length > 0 && k + length <= bytes.size();
        for (int i = 1; valid && i < length; ++i) {
            const uint next = bytes.at(k + i).first;
            valid = next >= 0x80 && next < 0xC0;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        builder->append(valid ? codePoint : 0xFFFD, bytes.at(k).second);
        k += valid ? length : 1;
    }
    bytes.clear();
}

// Reads one C++ source's tokens far enough to find setStyleSheet calls and their
// literal arguments; comments, character literals and other strings are stepped over.
class CppScanner
{
public:
    explicit CppScanner(const QString &text)
        : text(text)
    {}

    QVector<EmbeddedSheet> run();

private:
    const QString &text;
    int at = 0;
    QVector<SourceToken> recent; // the last few tokens, for telling a declaration from a call

    QChar peek(int ahead = 0) const
    {
        return at + ahead < text.size() ? text.at(at + ahead) : QChar();
    }
    bool skipBlanksAndComments();
    bool readToken(SourceToken *token);
    int literalOpening(int from, bool *raw) const;
    bool skipLiteral(int from, int *end) const;
    bool decodeLiteral(int from, int *end, SheetBuilder *builder) const;
    int decodeEscape(int from, int limit, uint *value) const;
    bool readArgument(QVector<SourceToken> *tokens, int *end);
    bool followsDeclaration() const;
    void readCall(QVector<EmbeddedSheet> *sheets);
    void remember(const SourceToken &token);
};

bool CppScanner::skipBlanksAndComments()
{
    while (at < text.size()) {
        const QChar c = text.at(at);
        if (c.isSpace()) {
            ++at;
        } else if (c == QLatin1Char('\\') &&
                   (peek(1) == QLatin1Char('\n') ||
                    (peek(1) == QLatin1Char('\r') && peek(2) == QLatin1Char('\n')))) {
            at += peek(1) == QLatin1Char('\r') ? 3 : 2;
        } else if (c == QLatin1Char('/') && peek(1) == QLatin1Char('/')) {
            while (at < text.size() && text.at(at) != QLatin1Char('\n'))
                ++at;
        } else if (c == QLatin1Char('/') && peek(1) == QLatin1Char('*')) {
            const int close = text.indexOf(QLatin1String("*/"), at + 2);
            at = close < 0 ? int(text.size()) : close + 2;
        } else {
            return true;
        }
    }
    return false;
}

// Where the quote of a string literal starting at from is (after its prefix), or -1.
int CppScanner::literalOpening(int from, bool *raw) const
{
    static const QStringList prefixes{QStringLiteral("u8R"), QStringLiteral("uR"),
                                      QStringLiteral("UR"),  QStringLiteral("LR"),
                                      QStringLiteral("R"),   QStringLiteral("u8"),
                                      QStringLiteral("u"),   QStringLiteral("U"),
                                      QStringLiteral("L"),   QString()};
    for (const QString &prefix : prefixes) {
        if (!QStringView(text).mid(from).startsWith(prefix))
            continue;
        const int quote = from + int(prefix.size());
        if (quote < text.size() && text.at(quote) == QLatin1Char('"')) {
            *raw = prefix.endsWith(QLatin1Char('R'));
            return quote;
        }
    }
    return -1;
}

// The escape at from (a backslash) inside a literal ending before limit: its value
// and its length.
int CppScanner::decodeEscape(int from, int limit, uint *value) const
{
    const QChar kind = from + 1 < limit ? text.at(from + 1) : QChar();
    switch (kind.unicode()) {
    case 'n':
        *value = '\n';
        return 2;
    case 't':
        *value = '\t';
        return 2;
    case 'r':
        *value = '\r';
        return 2;
    case 'v':
        *value = '\v';
        return 2;
    case 'f':
        *value = '\f';
        return 2;
    case 'a':
        *value = '\a';
        return 2;
    case 'b':
        *value = '\b';
        return 2;
    case 'x': {
        uint result = 0;
        int i = from + 2;
        for (; i < limit && hexDigitValue(text.at(i)) >= 0; ++i)
            result = qMin<uint>(result * 16 + uint(hexDigitValue(text.at(i))), 0x110000);
        *value = result;
        return i - from;
    }
    case 'u':
    case 'U': {
        const int digits = kind == QLatin1Char('u') ? 4 : 8;
        uint result = 0;
        int i = from + 2;
        for (; i < limit && i < from + 2 + digits && hexDigitValue(text.at(i)) >= 0; ++i)
            result = qMin<uint>(result * 16 + uint(hexDigitValue(text.at(i))), 0x110000);
        *value = result;
        return i - from;
    }
    default:
        break;
    }
    if (kind >= QLatin1Char('0') && kind <= QLatin1Char('7')) {
        uint result = 0;
        int i = from + 1;
        for (; i < limit && i < from + 4 && text.at(i) >= QLatin1Char('0') &&
               text.at(i) <= QLatin1Char('7');
             ++i)
            result = result * 8 + (text.at(i).unicode() - '0');
        *value = result;
        return i - from;
    }
    if (kind.isNull()) {
        *value = '\\';
        return 1;
    }
    // \" \' \\ \? and any other: the character itself.
    *value = kind.unicode();
    return 2;
}

// Reads the literal at from into builder (when given); end is just past it and any
// suffix. False when it does not close.
bool CppScanner::decodeLiteral(int from, int *end, SheetBuilder *builder) const
{
    bool raw = false;
    const int quote = literalOpening(from, &raw);
    if (quote < 0)
        return false;
    int close = 0;
    int contentStart = 0;
    QString closing;
    if (raw) {
        const int paren = text.indexOf(QLatin1Char('('), quote + 1);
        if (paren < 0 || paren - quote - 1 > 16)
            return false;
        const QString delimiter = text.mid(quote + 1, paren - quote - 1);
        for (const QChar c : delimiter) {
            if (c.isSpace() || c == QLatin1Char(')') || c == QLatin1Char('\\') ||
                c == QLatin1Char('"'))
                return false;
        }
        closing = QLatin1Char(')') + delimiter + QLatin1Char('"');
        contentStart = paren + 1;
        close = text.indexOf(closing, contentStart);
        if (close < 0)
            return false;
        if (builder) {
            builder->beginPiece(contentStart, LiteralSpelling::Raw, closing);
            for (int i = contentStart; i < close; ++i)
                builder->append(text.at(i).unicode(), i);
            builder->endPiece(close);
        }
        *end = close + int(closing.size());
    } else {
        contentStart = quote + 1;
        int i = contentStart;
        while (i < text.size() && text.at(i) != QLatin1Char('"') && text.at(i) != QLatin1Char('\n'))
            i += text.at(i) == QLatin1Char('\\') && i + 1 < text.size() ? 2 : 1;
        if (i >= text.size() || text.at(i) != QLatin1Char('"'))
            return false;
        close = i;
        if (builder) {
            builder->beginPiece(contentStart, LiteralSpelling::Escaped, QStringLiteral("\""));
            // A narrow literal's \x and octal escapes are bytes, and the toolkit reads
            // the bytes as UTF-8 (uic writes every non-ASCII character so).
            const QStringView prefix = QStringView(text).mid(from, quote - from);
            const bool narrow = prefix.isEmpty() || prefix == QLatin1String("u8");
            QVector<QPair<uint, int>> bytes;
            for (int j = contentStart; j < close;) {
                const QChar c = text.at(j);
                const QChar kind = j + 1 < close ? text.at(j + 1) : QChar();
                const bool byteEscape = c == QLatin1Char('\\') &&
                                        (kind == QLatin1Char('x') ||
                                         (kind >= QLatin1Char('0') && kind <= QLatin1Char('7')));
                if (narrow && byteEscape) {
                    uint value = 0;
                    const int length = decodeEscape(j, close, &value);
                    if (value >= 0x80 && value <= 0xFF) {
                        bytes.append({value, j});
                        j += length;
                        continue;
                    }
                }
                appendUtf8(bytes, builder);
                if (c != QLatin1Char('\\')) {
                    if (c.isHighSurrogate() && j + 1 < close && text.at(j + 1).isLowSurrogate()) {
                        builder->append(QChar::surrogateToUcs4(c, text.at(j + 1)), j);
                        j += 2;
                    } else {
                        builder->append(c.unicode(), j);
                        ++j;
                    }
                    continue;
                }
                // A backslash before a line break splices the lines: no character.
                if (j + 1 < close && text.at(j + 1) == QLatin1Char('\n')) {
                    j += 2;
                    continue;
                }
                if (j + 2 < close && text.at(j + 1) == QLatin1Char('\r') &&
                    text.at(j + 2) == QLatin1Char('\n')) {
                    j += 3;
                    continue;
                }
                uint value = 0;
                const int length = decodeEscape(j, close, &value);
                builder->append(value, j);
                j += length;
            }
            appendUtf8(bytes, builder);
            builder->endPiece(close);
        }
        *end = close + 1;
    }
    // A user-defined literal's suffix (_s, _L1) belongs to it.
    while (*end < text.size() && isIdentifierPart(text.at(*end)))
        ++*end;
    return true;
}

bool CppScanner::readToken(SourceToken *token)
{
    if (!skipBlanksAndComments())
        return false;
    token->start = at;
    const QChar c = text.at(at);
    int end = 0;
    if ((c == QLatin1Char('"') || isIdentifierStart(c)) && decodeLiteral(at, &end, nullptr)) {
        token->kind = SourceTokenKind::Literal;
        at = end;
    } else if (isIdentifierStart(c)) {
        token->kind = SourceTokenKind::Identifier;
        while (at < text.size() && isIdentifierPart(text.at(at)))
            ++at;
    } else if (c.isDigit() || (c == QLatin1Char('.') && peek(1).isDigit())) {
        // A number, digit separators and exponents included.
        token->kind = SourceTokenKind::Number;
        ++at;
        while (at < text.size()) {
            const QChar d = text.at(at);
            if ((d == QLatin1Char('+') || d == QLatin1Char('-')) &&
                QStringLiteral("eEpP").contains(text.at(at - 1)))
                ++at;
            else if (isIdentifierPart(d) || d == QLatin1Char('.') || d == QLatin1Char('\''))
                ++at;
            else
                break;
        }
    } else if (c == QLatin1Char('\'')) {
        // A character literal, stepped over whole.
        token->kind = SourceTokenKind::Punctuation;
        ++at;
        while (at < text.size() && text.at(at) != QLatin1Char('\'') &&
               text.at(at) != QLatin1Char('\n'))
            at += text.at(at) == QLatin1Char('\\') ? 2 : 1;
        at = qMin(int(text.size()), at + 1);
    } else if (c == QLatin1Char('"')) {
        // A string that does not close on its line: to the line's end.
        token->kind = SourceTokenKind::Punctuation;
        while (at < text.size() && text.at(at) != QLatin1Char('\n'))
            ++at;
    } else {
        token->kind = SourceTokenKind::Punctuation;
        const bool pair = (c == QLatin1Char(':') && peek(1) == QLatin1Char(':')) ||
                          (c == QLatin1Char('-') && peek(1) == QLatin1Char('>'));
        at += pair ? 2 : 1;
    }
    token->end = at;
    token->text = token->kind == SourceTokenKind::Literal
                      ? QString()
                      : text.mid(token->start, at - token->start);
    return true;
}

void CppScanner::remember(const SourceToken &token)
{
    recent.append(token);
    if (recent.size() > 8)
        recent.removeFirst();
}

// "void setStyleSheet(", "void Widget::setStyleSheet(": a type before the name.
bool CppScanner::followsDeclaration() const
{
    int i = int(recent.size()) - 1;
    while (i >= 1 && recent.at(i).text == QLatin1String("::") &&
           recent.at(i - 1).kind == SourceTokenKind::Identifier)
        i -= 2;
    if (i < 0)
        return false;
    const SourceToken &before = recent.at(i);
    if (before.kind == SourceTokenKind::Identifier)
        return before.text != QLatin1String("return") && before.text != QLatin1String("else");
    return before.text == QLatin1String("*") || before.text == QLatin1String("&") ||
           before.text == QLatin1String("~");
}

// The tokens between the call's parentheses; end just past its ")". False when the
// call never closes.
bool CppScanner::readArgument(QVector<SourceToken> *tokens, int *end)
{
    int depth = 0;
    SourceToken token;
    while (readToken(&token)) {
        if (token.kind == SourceTokenKind::Punctuation) {
            if (token.text == QLatin1String("(") || token.text == QLatin1String("[") ||
                token.text == QLatin1String("{")) {
                ++depth;
            } else if (token.text == QLatin1String(")") || token.text == QLatin1String("]") ||
                       token.text == QLatin1String("}")) {
                if (depth == 0) {
                    *end = token.end;
                    return token.text == QLatin1String(")");
                }
                --depth;
            } else if (token.text == QLatin1String(";") && depth == 0) {
                return false;
            }
        }
        tokens->append(token);
    }
    return false;
}

bool isWrapper(const QString &name)
{
    static const QStringList wrappers{QStringLiteral("QStringLiteral"),
                                      QStringLiteral("QLatin1String"),
                                      QStringLiteral("QLatin1StringView"),
                                      QStringLiteral("QString::fromUtf8"),
                                      QStringLiteral("QString::fromLatin1"),
                                      QStringLiteral("QString::fromLocal8Bit"),
                                      QStringLiteral("QString"),
                                      QStringLiteral("QStringView"),
                                      QStringLiteral("QLatin1Literal"),
                                      QStringLiteral("QByteArrayLiteral")};
    return wrappers.contains(name);
}

// Why an argument is no literal, in a few words.
QString runtimeReason(const QVector<SourceToken> &tokens, int first, int end)
{
    bool call = false;
    for (int i = first; i < end; ++i) {
        const SourceToken &token = tokens.at(i);
        if (token.kind == SourceTokenKind::Identifier &&
            (token.text == QLatin1String("tr") || token.text == QLatin1String("translate") ||
             token.text == QLatin1String("QT_TR_NOOP")))
            return QStringLiteral("it is translated at run time");
        if (token.kind == SourceTokenKind::Identifier && token.text == QLatin1String("arg") &&
            i > first && tokens.at(i - 1).text == QLatin1String("."))
            return QStringLiteral("it is filled in at run time (.arg())");
        if (token.text == QLatin1String("("))
            call = true;
    }
    for (int i = first; i < end; ++i) {
        if (tokens.at(i).text == QLatin1String("?"))
            return QStringLiteral("it is chosen at run time (?:)");
        if (tokens.at(i).text == QLatin1String("+"))
            return QStringLiteral("it is joined at run time");
    }
    if (end - first == 1 && tokens.at(first).kind == SourceTokenKind::Identifier)
        return QStringLiteral("it is the variable \"%1\"").arg(tokens.at(first).text);
    return call ? QStringLiteral("it is made by a call at run time")
                : QStringLiteral("it is built at run time");
}

void CppScanner::readCall(QVector<EmbeddedSheet> *sheets)
{
    QVector<SourceToken> tokens;
    int end = 0;
    const int open = at;
    if (!readArgument(&tokens, &end)) {
        at = open;
        return;
    }
    int first = 0;
    int last = int(tokens.size());
    // Peel wrappers: QStringLiteral( ... ), QString::fromUtf8( ... ).
    for (;;) {
        int name = first;
        QString qualified;
        while (name < last && tokens.at(name).kind == SourceTokenKind::Identifier) {
            qualified += tokens.at(name).text;
            if (name + 1 < last && tokens.at(name + 1).text == QLatin1String("::")) {
                qualified += QStringLiteral("::");
                name += 2;
            } else {
                ++name;
                break;
            }
        }
        if (name == first || name >= last || tokens.at(name).text != QLatin1String("(") ||
            matchingParenthesis(tokens, name, last) != last - 1 || !isWrapper(qualified))
            break;
        first = name + 1;
        --last;
    }
    bool literals = first < last;
    for (int i = first; i < last; ++i)
        literals = literals && tokens.at(i).kind == SourceTokenKind::Literal;
    if (first >= last) {
        at = end;
        return; // setStyleSheet(), setStyleSheet(QString()): the sheet cleared
    }
    if (!literals) {
        // A parameter list is a declaration, not a call.
        if (tokens.at(first).text == QLatin1String("const"))
            return;
        sheets->append(uncheckableSheet(EmbeddingLanguage::Cpp, tokens.at(first).start,
                                        tokens.at(last - 1).end,
                                        runtimeReason(tokens, first, last)));
        at = end;
        return;
    }
    SheetBuilder builder(EmbeddingLanguage::Cpp, tokens.at(first).start);
    for (int i = first; i < last; ++i) {
        int literalEnd = 0;
        decodeLiteral(tokens.at(i).start, &literalEnd, &builder);
    }
    if (!builder.empty())
        sheets->append(builder.finish(tokens.at(last - 1).end));
    at = end;
}

QVector<EmbeddedSheet> CppScanner::run()
{
    QVector<EmbeddedSheet> sheets;
    SourceToken token;
    while (readToken(&token)) {
        if (token.kind == SourceTokenKind::Identifier &&
            token.text == QLatin1String("setStyleSheet")) {
            const bool declaration = followsDeclaration();
            remember(token);
            const int afterName = at;
            SourceToken next;
            if (!readToken(&next))
                break;
            if (next.text != QLatin1String("(") || declaration) {
                at = afterName;
                continue;
            }
            readCall(&sheets);
            recent.clear();
            continue;
        }
        remember(token);
    }
    return sheets;
}

} // namespace

QVector<EmbeddedSheet> readCppSheets(const QString &text)
{
    QVector<EmbeddedSheet> sheets = CppScanner(text).run();
    placeSheets(sheets, text);
    return sheets;
}
