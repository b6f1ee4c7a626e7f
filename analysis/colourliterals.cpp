// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/colourliterals.h"

#include "analysis/qssreference.h"
#include "theme/palettedirectives.h"

#include <QtGui/private/qcssparser_p.h>

#include <algorithm>

namespace {
bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_');
}

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
    {}

    QVector<ColourLiteral> scan();

private:
    void skipComment();
    void skipString();
    int closingParenthesis(int from) const;
    void scanValueWord();
    void add(int offset, int length)
    {
        const QColor colour = readColourLiteral(text.mid(offset, length));
        if (colour.isValid())
            found.append({offset, length, colour, false});
    }

    const QString &text;
    int i = 0;
    QVector<ColourLiteral> found;
    QString property;
};

void ValueScanner::skipComment()
{
    const int end = text.indexOf(QLatin1String("*/"), i + 2);
    i = end < 0 ? int(text.size()) : end + 2;
}

void ValueScanner::skipString()
{
    const QChar quote = text.at(i++);
    while (i < text.size() && text.at(i) != quote && text.at(i) != QLatin1Char('\n')) {
        if (text.at(i) == QLatin1Char('\\'))
            ++i;
        ++i;
    }
    ++i;
}

int ValueScanner::closingParenthesis(int from) const
{
    int depth = 0;
    for (int k = from; k < text.size(); ++k) {
        const QChar c = text.at(k);
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')') && --depth == 0)
            return k;
        else if (c == QLatin1Char(';') || c == QLatin1Char('}') || c == QLatin1Char('{'))
            return -1;
    }
    return -1;
}

void ValueScanner::scanValueWord()
{
    const int start = i;
    while (i < text.size() && isNameChar(text.at(i)))
        ++i;
    const QString word = text.mid(start, i - start);
    if (i < text.size() && text.at(i) == QLatin1Char('(')) {
        const int close = closingParenthesis(i);
        if (isColourFunction(word) && close > 0) {
            add(start, close + 1 - start);
            i = close + 1;
        } else if (word.compare(QLatin1String("url"), Qt::CaseInsensitive) == 0 && close > 0) {
            i = close + 1; // a path may spell a colour name
        } else {
            ++i; // gradients: their stops are scanned as words of the value
        }
        return;
    }
    if (!word.isEmpty() && !word.at(0).isDigit() && takesNamedColours(property) &&
        QColor::isValidColor(word))
        add(start, i - start);
}

QVector<ColourLiteral> ValueScanner::scan()
{
    int depth = 0;
    bool inValue = false;
    int statementStart = 0;
    QString preamble; // of the innermost open block
    QStringList preambles;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('/') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('*')) {
            skipComment();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            skipString();
        } else if (c == QLatin1Char('{')) {
            preambles.append(text.mid(statementStart, i - statementStart).trimmed());
            ++depth;
            inValue = false;
            statementStart = ++i;
        } else if (c == QLatin1Char('}')) {
            depth = qMax(0, depth - 1);
            if (!preambles.isEmpty())
                preambles.removeLast();
            inValue = false;
            statementStart = ++i;
        } else if (c == QLatin1Char(';')) {
            inValue = false;
            statementStart = ++i;
        } else if (c == QLatin1Char(':') && depth > 0 && !inValue &&
                   !preambles.constLast().startsWith(QLatin1String("@media"))) {
            property = text.mid(statementStart, i - statementStart).trimmed().toLower();
            inValue = true;
            ++i;
        } else if (inValue && c == QLatin1Char('#')) {
            int end = i + 1;
            while (end < text.size() && isNameChar(text.at(end)))
                ++end;
            add(i, end - i);
            i = end;
        } else if (inValue && isNameChar(c)) {
            scanValueWord();
        } else {
            ++i;
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
