// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/colourliterals.h"

#include "analysis/qssreference.h"
#include "support/sheetlexer.h"
#include "theme/palettedirectives.h"

#include <QtGui/private/qcssparser_p.h>

#include <algorithm>
#include <cctype>

namespace {
// Named colours only where the property takes a brush: "tan" is a font family too.
bool takesNamedColours(const QString &property)
{
    using QssReference::ValueKind;
    const ValueKind kind = QssReference::valueKind(property);
    return kind == ValueKind::Colour || kind == ValueKind::Background ||
           kind == ValueKind::Border || property.endsWith(QLatin1String("color"));
}

bool isColourFunction(const QString &name)
{
    static const QStringList functions = {QStringLiteral("rgb"), QStringLiteral("rgba"),
                                          QStringLiteral("hsv"), QStringLiteral("hsva"),
                                          QStringLiteral("hsl"), QStringLiteral("hsla")};
    return functions.contains(name.toLower());
}

// Scans the declarations' values; a small walk of its own, because the toolkit's
// tokens lose nothing it needs but would cost a full parse per request.
class ValueScanner
{
public:
    explicit ValueScanner(const QString &text)
        : text(text)
        , lexer(text)
    {}

    QVector<ColourLiteral> scan();

private:
    int closingParenthesis(int from) const;
    void scanFunctionOrName(const SheetSpan &name);
    void add(int offset, int length)
    {
        const QColor colour = readColourLiteral(text.mid(offset, length));
        if (colour.isValid())
            found.append({offset, length, colour, false});
    }

    const QString &text;
    SheetLexer lexer;
    QVector<ColourLiteral> found;
    QString property;
};

// The ")" that closes the "(" at from, or -1 when the declaration ends first.
int ValueScanner::closingParenthesis(int from) const
{
    int depth = 0;
    for (SheetLexer inner(text, LexMode::Sheet, from); !inner.atEnd();) {
        const SheetSpan span = inner.next();
        if (span.kind != SheetSpanKind::Punctuation)
            continue;
        const QChar c = text.at(span.start);
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')') && --depth == 0)
            return span.start;
        else if (c == QLatin1Char(';') || c == QLatin1Char('}') || c == QLatin1Char('{'))
            return -1;
    }
    return -1;
}

void ValueScanner::scanFunctionOrName(const SheetSpan &name)
{
    const int end = name.end();
    if (end < text.size() && text.at(end) == QLatin1Char('(')) {
        // Gradients go on to their stops, read as words of the value.
        const int close = closingParenthesis(end);
        if (close > 0 && isColourFunction(text.mid(name.start, name.length))) {
            add(name.start, close + 1 - name.start);
            lexer.skipTo(close + 1);
        }
        return;
    }
    const QString word = text.mid(name.start, name.length);
    if (takesNamedColours(property) && QColor::isValidColor(word))
        add(name.start, name.length);
}

QVector<ColourLiteral> ValueScanner::scan()
{
    int depth = 0;
    bool inValue = false;
    int statementStart = 0;
    QStringList preambles; // of the open blocks, innermost last
    while (!lexer.atEnd()) {
        const SheetSpan span = lexer.next();
        if (span.kind == SheetSpanKind::Hash) {
            if (inValue)
                add(span.start, span.length);
            continue;
        }
        if (span.kind == SheetSpanKind::Identifier) {
            if (inValue)
                scanFunctionOrName(span);
            continue;
        }
        if (span.kind != SheetSpanKind::Punctuation)
            continue;
        const int i = span.start;
        const QChar c = text.at(i);
        if (c == QLatin1Char('{')) {
            preambles.append(text.mid(statementStart, i - statementStart).trimmed());
            ++depth;
            inValue = false;
            statementStart = i + 1;
        } else if (c == QLatin1Char('}')) {
            depth = qMax(0, depth - 1);
            if (!preambles.isEmpty())
                preambles.removeLast();
            inValue = false;
            statementStart = i + 1;
        } else if (c == QLatin1Char(';')) {
            inValue = false;
            statementStart = i + 1;
        } else if (c == QLatin1Char(':') && depth > 0 && !inValue &&
                   !preambles.constLast().startsWith(QLatin1String("@media"))) {
            property = text.mid(statementStart, i - statementStart).trimmed().toLower();
            inValue = true;
        }
    }
    return found;
}
} // namespace

QColor readColourLiteral(const QString &literal)
{
    if (literal.isEmpty())
        return QColor();
    QCss::Parser parser(QStringLiteral("color: ") + literal);
    QCss::Declaration declaration;
    if (!parser.parseNextDeclaration(&declaration) || declaration.d->values.size() != 1)
        return QColor();
    return declaration.colorValue();
}

QVector<ColourLiteral> findColourLiterals(const QString &text)
{
    QVector<ColourLiteral> literals = ValueScanner(text).scan();
    // The directives count on every line, as the program reads them.
    for (const PaletteDirectiveLine &line : paletteDirectiveLines(text)) {
        const PaletteDirectiveMatch &match = line.match;
        if (match.matched && match.color.isValid()) {
            const int length = int(match.colorText.size());
            literals.append({line.lineStart + match.end - length, length, match.color, true});
        }
    }
    std::sort(literals.begin(), literals.end(),
              [](const ColourLiteral &a, const ColourLiteral &b) { return a.offset < b.offset; });
    return literals;
}

QString rgbaFunctionText(const QColor &colour)
{
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(colour.red())
        .arg(colour.green())
        .arg(colour.blue())
        .arg(colour.alpha() == 1 ? QStringLiteral("0.004") : QString::number(colour.alpha()));
}

bool readEightDigitHex(const QString &written, EightDigitHex *readings)
{
    if (written.size() != 9 || !written.startsWith(QLatin1Char('#')))
        return false;
    for (int i = 1; i < written.size(); ++i) {
        const ushort digit = written.at(i).unicode();
        if (digit > 0x7f || !std::isxdigit(digit))
            return false;
    }
    int byte[4];
    for (int i = 0; i < 4; ++i)
        byte[i] = written.mid(1 + 2 * i, 2).toInt(nullptr, 16);
    readings->alphaFirst = QColor(byte[1], byte[2], byte[3], byte[0]);
    readings->alphaLast = QColor(byte[0], byte[1], byte[2], byte[3]);
    return true;
}
