// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "embedded/embeddedsheets.h"
#include "embedded/sheetbuilder.h"
#include "embedded/sourcetokens.h"
#include "embedded/sourcevariables.h"

#include <QStringList>

#include <algorithm>

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

// The escape at from (a backslash) inside a literal ending before limit: its value
// and its length.
int decodeEscape(const QString &text, int from, int limit, uint *value)
{
    const QChar kind = from + 1 < limit ? text.at(from + 1) : QChar();
    static const QString simple = QStringLiteral("ntrvfab");
    static const char values[] = "\n\t\r\v\f\a\b";
    const int index = kind.isNull() ? -1 : int(simple.indexOf(kind));
    if (index >= 0) {
        *value = uchar(values[index]);
        return 2;
    }
    if (kind == QLatin1Char('x') || kind == QLatin1Char('u') || kind == QLatin1Char('U')) {
        // \x takes every hexadecimal digit there is, \u four and \U eight.
        const int digits = kind == QLatin1Char('u') ? 4 : kind == QLatin1Char('U') ? 8 : limit;
        return readEscapeDigits(text, from + 2, limit, digits, 16, value) - from;
    }
    if (kind >= QLatin1Char('0') && kind <= QLatin1Char('7'))
        return readEscapeDigits(text, from + 1, limit, 3, 8, value) - from;
    if (kind.isNull()) {
        *value = '\\';
        return 1;
    }
    // \" \' \\ \? and any other: the character itself.
    *value = kind.unicode();
    return 2;
}

// A raw literal's content, each character as itself.
void decodeRaw(const QString &text, const SourceToken &literal, SheetBuilder *builder)
{
    builder->beginPiece(literal.contentStart, LiteralSpelling::Raw, literal.closing);
    for (int i = literal.contentStart; i < literal.contentEnd; ++i)
        builder->append(text.at(i).unicode(), i);
    builder->endPiece(literal.contentEnd);
}

// The length of the line splice at from (a backslash and a line break), or 0.
int lineSplice(const QString &text, int from, int limit)
{
    if (from + 1 < limit && text.at(from + 1) == QLatin1Char('\n'))
        return 2;
    if (from + 2 < limit && text.at(from + 1) == QLatin1Char('\r') &&
        text.at(from + 2) == QLatin1Char('\n'))
        return 3;
    return 0;
}

// An escaped literal's content. A narrow literal's \x and octal escapes are bytes, and
// the toolkit reads the bytes as UTF-8 (uic writes every non-ASCII character so).
void decodeEscaped(const QString &text, const SourceToken &literal, SheetBuilder *builder)
{
    const int close = literal.contentEnd;
    builder->beginPiece(literal.contentStart, LiteralSpelling::Escaped, literal.closing);
    const bool narrow = literal.text.isEmpty() || literal.text == QLatin1String("u8");
    QVector<QPair<uint, int>> bytes;
    for (int j = literal.contentStart; j < close;) {
        const QChar c = text.at(j);
        const QChar kind = j + 1 < close ? text.at(j + 1) : QChar();
        const bool byteEscape =
            c == QLatin1Char('\\') &&
            (kind == QLatin1Char('x') || (kind >= QLatin1Char('0') && kind <= QLatin1Char('7')));
        uint value = 0;
        if (narrow && byteEscape) {
            const int length = decodeEscape(text, j, close, &value);
            if (value >= 0x80 && value <= 0xFF) {
                bytes.append({value, j});
                j += length;
                continue;
            }
        }
        appendUtf8(bytes, builder);
        if (c != QLatin1Char('\\')) {
            const bool pair =
                c.isHighSurrogate() && j + 1 < close && text.at(j + 1).isLowSurrogate();
            builder->append(pair ? QChar::surrogateToUcs4(c, text.at(j + 1)) : c.unicode(), j);
            j += pair ? 2 : 1;
        } else if (const int splice = lineSplice(text, j, close)) {
            j += splice; // no character
        } else {
            const int length = decodeEscape(text, j, close, &value);
            builder->append(value, j);
            j += length;
        }
    }
    appendUtf8(bytes, builder);
    builder->endPiece(close);
}

// "void setStyleSheet(", "void Widget::setStyleSheet(": a type before the name.
bool followsDeclaration(const QVector<SourceToken> &recent)
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

// Steps inside wrappers around the whole argument: QStringLiteral( ... ),
// QString::fromUtf8( ... ).
void peelWrappers(const QVector<SourceToken> &tokens, int *first, int *last)
{
    for (;;) {
        int name = *first;
        QString qualified;
        while (name < *last && tokens.at(name).kind == SourceTokenKind::Identifier) {
            qualified += tokens.at(name).text;
            if (name + 1 < *last && tokens.at(name + 1).text == QLatin1String("::")) {
                qualified += QStringLiteral("::");
                name += 2;
            } else {
                ++name;
                break;
            }
        }
        if (name == *first || name >= *last || tokens.at(name).text != QLatin1String("(") ||
            matchingParenthesis(tokens, name, *last) != *last - 1 || !isWrapper(qualified))
            return;
        *first = name + 1;
        --*last;
    }
}

// QString{}, {}, nullptr: an empty sheet, written without parentheses.
bool clearsTheSheet(const QVector<SourceToken> &tokens, int first, int last)
{
    if (last - first == 1)
        return tokens.at(first).text == QLatin1String("nullptr");
    if (last - first == 3 && tokens.at(first).kind != SourceTokenKind::Identifier)
        return false;
    const int open = last - 2;
    return open >= first && open <= first + 1 && tokens.at(open).text == QLatin1String("{") &&
           tokens.at(open + 1).text == QLatin1String("}") &&
           (open == first || isWrapper(tokens.at(first).text));
}

// SIGNAL(setStyleSheet(QString)), SLOT(...): a signature spelt as a string, no call.
bool insideSignature(const QVector<SourceToken> &recent)
{
    const int size = int(recent.size());
    if (size < 2 || recent.at(size - 1).text != QLatin1String("("))
        return false;
    static const QStringList macros{QStringLiteral("SIGNAL"), QStringLiteral("SLOT"),
                                    QStringLiteral("Q_SIGNAL"), QStringLiteral("Q_SLOT"),
                                    QStringLiteral("METHOD")};
    return macros.contains(recent.at(size - 2).text);
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

// What an argument's tokens give.
enum class Argument
{
    Cleared,     // no sheet: setStyleSheet(QString())
    Sheet,       // a sheet to check
    RunTime,     // a sheet made at run time, and why
    Declaration, // a parameter list: no call at all
};

// The sheet the tokens [start, whole) of an argument or a value give.
Argument readArgument(const QString &text, const QVector<SourceToken> &tokens, int start, int whole,
                      EmbeddedSheet *sheet, QString *reason, bool filledLater = false)
{
    int first = start;
    int last = whole;
    // "...".arg(a).arg(b): a template, its %1 ... %99 filled in at run time.
    const int filled = trailingCalls(tokens, first, last, QStringLiteral("arg"));
    const bool isTemplate = filledLater || (filled < last && filled > first);
    if (isTemplate)
        last = filled;
    peelWrappers(tokens, &first, &last);
    if (first >= last || clearsTheSheet(tokens, first, last))
        return Argument::Cleared;
    bool literals = true;
    for (int i = first; i < last; ++i)
        literals = literals && tokens.at(i).kind == SourceTokenKind::Literal;
    if (!literals) {
        *reason = runtimeReason(tokens, start, whole);
        return tokens.at(first).text == QLatin1String("const") ? Argument::Declaration
                                                               : Argument::RunTime;
    }
    SheetBuilder builder(EmbeddingLanguage::Cpp, tokens.at(first).start);
    builder.setTemplate(isTemplate ? TemplateSyntax::QtArg : TemplateSyntax::None);
    for (int i = first; i < last; ++i) {
        if (tokens.at(i).raw)
            decodeRaw(text, tokens.at(i), &builder);
        else
            decodeEscaped(text, tokens.at(i), &builder);
    }
    if (builder.onlyPlaceholders()) {
        *reason = QStringLiteral("it is filled in whole at run time");
        return Argument::RunTime;
    }
    if (builder.empty())
        return Argument::Cleared;
    *sheet = builder.finish(tokens.at(last - 1).end);
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
    Argument follow(const SourceToken &use, EmbeddedSheet *sheet, QString *reason, bool filledLater)
    {
        if (!read) {
            CppTokenizer tokenizer(text);
            SourceToken token;
            while (tokenizer.next(&token))
                tokens.append(token);
            variables = SourceVariables::forCpp(tokens);
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
        if (value == Argument::RunTime || value == Argument::Declaration) {
            *reason = QStringLiteral("it is the variable \"%1\", whose value %2")
                          .arg(use.text, why.startsWith(QLatin1String("it ")) ? why.mid(3) : why);
            return Argument::RunTime;
        }
        return value;
    }

private:
    const QString &text;
    bool read = false;
    QVector<SourceToken> tokens;
    SourceVariables variables;
};

// The sheet a call passes, its tokenizer just after the "(".
void readCall(const QString &text, CppTokenizer &tokenizer, FileVariables &variables,
              QVector<EmbeddedSheet> *sheets)
{
    QVector<SourceToken> tokens;
    int end = 0;
    const int open = tokenizer.position();
    if (!readCallArgument(tokenizer, &tokens, &end)) {
        tokenizer.seek(open);
        return;
    }
    EmbeddedSheet sheet;
    QString reason;
    Argument argument = readArgument(text, tokens, 0, int(tokens.size()), &sheet, &reason);
    // sheet, Ns::sheet, QString::fromLatin1(sheet), sheet.arg(a).arg(b): a name, its
    // value a literal or template.
    const int whole = int(tokens.size());
    int first = 0;
    int last = trailingCalls(tokens, 0, whole, QStringLiteral("arg"));
    const bool filled = last < whole;
    peelWrappers(tokens, &first, &last);
    while (last - first >= 3 && tokens.at(first).kind == SourceTokenKind::Identifier &&
           tokens.at(first + 1).text == QLatin1String("::"))
        first += 2;
    if (argument == Argument::RunTime && last - first == 1 &&
        tokens.at(first).kind == SourceTokenKind::Identifier)
        argument = variables.follow(tokens.at(first), &sheet, &reason, filled);
    if (argument == Argument::Sheet)
        sheets->append(sheet);
    else if (argument == Argument::RunTime)
        sheets->append(uncheckableSheet(EmbeddingLanguage::Cpp, tokens.constFirst().start,
                                        tokens.constLast().end, reason));
}

// A literal marked "/* qss */" just before it, its tokenizer just after the literal or
// wrapper name: the sheet it holds, wherever it stands.
void readMarked(const QString &text, CppTokenizer &tokenizer, const SourceToken &marked,
                QVector<EmbeddedSheet> *sheets)
{
    QVector<SourceToken> tokens{marked};
    SourceToken token;
    int after = tokenizer.position();
    if (marked.kind == SourceTokenKind::Identifier) {
        int end = 0;
        if (!tokenizer.next(&token) || token.text != QLatin1String("(") ||
            !readCallArgument(tokenizer, &tokens, &end)) {
            tokenizer.seek(after);
            return;
        }
        tokens.removeFirst();
        after = tokenizer.position();
    } else {
        while (tokenizer.next(&token) && token.kind == SourceTokenKind::Literal) {
            tokens.append(token);
            after = tokenizer.position();
        }
        tokenizer.seek(after);
    }
    EmbeddedSheet sheet;
    QString reason;
    if (readArgument(text, tokens, 0, int(tokens.size()), &sheet, &reason) == Argument::Sheet)
        sheets->append(sheet);
}

// Whether a "/* qss */" comment stands just before offset, after the token ending at from.
bool markedBefore(const QString &text, int from, int offset)
{
    int end = offset;
    while (end > from && text.at(end - 1).isSpace())
        --end;
    if (end - from < 4 || text.at(end - 1) != QLatin1Char('/') ||
        text.at(end - 2) != QLatin1Char('*'))
        return false;
    const int open = int(text.lastIndexOf(QLatin1String("/*"), end - 2));
    return open >= from &&
           QStringView(text).mid(open + 2, end - 2 - open - 2).trimmed() == QLatin1String("qss");
}

QVector<EmbeddedSheet> readSheets(const QString &text)
{
    QVector<EmbeddedSheet> sheets;
    CppTokenizer tokenizer(text);
    FileVariables variables(text);
    int previousEnd = 0;         // where the token before ended, for a marker after it
    QVector<SourceToken> recent; // the last few tokens, for telling a declaration from a call
    const auto remember = [&recent](const SourceToken &token) {
        recent.append(token);
        if (recent.size() > 8)
            recent.removeFirst();
    };
    SourceToken token;
    while (tokenizer.next(&token)) {
        if (token.kind == SourceTokenKind::Identifier &&
            token.text == QLatin1String("setStyleSheet")) {
            const bool declaration = followsDeclaration(recent) || insideSignature(recent);
            remember(token);
            const int afterName = tokenizer.position();
            SourceToken next;
            if (!tokenizer.next(&next))
                break;
            if (next.text != QLatin1String("(") || declaration) {
                tokenizer.seek(afterName);
            } else {
                readCall(text, tokenizer, variables, &sheets);
                recent.clear();
            }
            previousEnd = tokenizer.position();
            continue;
        }
        if ((token.kind == SourceTokenKind::Literal ||
             (token.kind == SourceTokenKind::Identifier && isWrapper(token.text))) &&
            markedBefore(text, previousEnd, token.start)) {
            readMarked(text, tokenizer, token, &sheets);
            recent.clear();
            previousEnd = tokenizer.position();
            continue;
        }
        remember(token);
        previousEnd = token.end;
    }
    return sheets;
}

} // namespace

QVector<EmbeddedSheet> readCppSheets(const QString &text)
{
    QVector<EmbeddedSheet> sheets = readSheets(text);
    inFileOrder(sheets);
    placeSheets(sheets, text);
    return sheets;
}
