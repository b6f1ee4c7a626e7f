// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "embedded/embeddedsheets.h"
#include "embedded/sheetbuilder.h"

#include <QHash>

namespace {

// The value of the entity or character reference at from ("&...;") and its length;
// 0 when there is none there.
int readReference(const QString &text, int from, int limit, uint *value)
{
    const int semicolon = text.indexOf(QLatin1Char(';'), from);
    if (semicolon < 0 || semicolon >= limit || semicolon - from > 12)
        return 0;
    const QStringView name = QStringView(text).mid(from + 1, semicolon - from - 1);
    static const QHash<QString, uint> entities{{QStringLiteral("lt"), '<'},
                                               {QStringLiteral("gt"), '>'},
                                               {QStringLiteral("amp"), '&'},
                                               {QStringLiteral("quot"), '"'},
                                               {QStringLiteral("apos"), '\''}};
    const auto entity = entities.constFind(name.toString());
    if (entity != entities.cend()) {
        *value = *entity;
        return semicolon + 1 - from;
    }
    if (!name.startsWith(QLatin1Char('#')) || name.size() < 2)
        return 0;
    const bool hex = name.at(1) == QLatin1Char('x');
    bool ok = false;
    const uint code = name.mid(hex ? 2 : 1).toString().toUInt(&ok, hex ? 16 : 10);
    if (!ok)
        return 0;
    *value = code;
    return semicolon + 1 - from;
}

QString decodedAttribute(const QString &text, int from, int end)
{
    QString value;
    for (int i = from; i < end;) {
        uint code = 0;
        const int length = text.at(i) == QLatin1Char('&') ? readReference(text, i, end, &code) : 0;
        if (length > 0 && code <= 0xFFFF) {
            value.append(QChar(ushort(code)));
            i += length;
        } else {
            value.append(text.at(i));
            ++i;
        }
    }
    return value;
}

struct Tag
{
    QString name;
    QHash<QString, QString> attributes;
    bool closing = false;     // </name>
    bool selfClosing = false; // <name/>
    int end = 0;              // just past its ">"
};

// The tag opening at from ("<"); false when it never closes.
bool readTag(const QString &text, int from, Tag *tag)
{
    int i = from + 1;
    tag->closing = i < text.size() && text.at(i) == QLatin1Char('/');
    if (tag->closing)
        ++i;
    const int nameStart = i;
    while (i < text.size() && !text.at(i).isSpace() && text.at(i) != QLatin1Char('>') &&
           text.at(i) != QLatin1Char('/'))
        ++i;
    tag->name = text.mid(nameStart, i - nameStart);
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('>')) {
            tag->selfClosing = text.at(i - 1) == QLatin1Char('/');
            tag->end = i + 1;
            return true;
        }
        if (c.isSpace() || c == QLatin1Char('/')) {
            ++i;
            continue;
        }
        const int attributeStart = i;
        while (i < text.size() && text.at(i) != QLatin1Char('=') &&
               text.at(i) != QLatin1Char('>') && !text.at(i).isSpace())
            ++i;
        const QString attribute = text.mid(attributeStart, i - attributeStart);
        while (i < text.size() && text.at(i).isSpace())
            ++i;
        if (i >= text.size() || text.at(i) != QLatin1Char('='))
            continue;
        ++i;
        while (i < text.size() && text.at(i).isSpace())
            ++i;
        if (i >= text.size())
            return false;
        const QChar quote = text.at(i);
        if (quote != QLatin1Char('"') && quote != QLatin1Char('\''))
            continue;
        const int close = text.indexOf(quote, i + 1);
        if (close < 0)
            return false;
        tag->attributes.insert(attribute, decodedAttribute(text, i + 1, close));
        i = close + 1;
    }
    return false;
}

// What a "<" of the form opens: a section whose content is no element (a comment, a
// processing instruction, a declaration, CDATA), or else a tag. The one place that
// knows where each of them ends.
struct Markup
{
    enum Kind
    {
        Tag,
        CData,
        Other,
    };
    Kind kind = Tag;
    // A section's content, [contentStart, contentEnd), and the offset after it; an
    // unclosed one runs to the end of the text.
    int contentStart = 0;
    int contentEnd = 0;
    int end = 0;
    bool closed = true;
};

Markup markupAt(const QString &text, int from)
{
    static const struct
    {
        const char *open;
        const char *close;
        Markup::Kind kind;
    } sections[] = {{"<!--", "-->", Markup::Other},
                    {"<![CDATA[", "]]>", Markup::CData},
                    {"<?", "?>", Markup::Other},
                    {"<!", ">", Markup::Other}};
    Markup markup;
    for (const auto &section : sections) {
        if (!QStringView(text).mid(from).startsWith(QLatin1String(section.open)))
            continue;
        markup.kind = section.kind;
        markup.contentStart = from + int(qstrlen(section.open));
        const int close = int(text.indexOf(QLatin1String(section.close), markup.contentStart));
        markup.closed = close >= 0;
        markup.contentEnd = close < 0 ? int(text.size()) : close;
        markup.end = close < 0 ? int(text.size()) : close + int(qstrlen(section.close));
        break;
    }
    return markup;
}

// Reads a <string>'s content from contentStart up to the "<" of its end tag into
// builder; the offset of that "<", or -1 when the element never ends.
int readStringContent(const QString &text, int contentStart, SheetBuilder *builder)
{
    int i = contentStart;
    bool inText = false;
    auto beginText = [&]() {
        if (!inText)
            builder->beginPiece(i, LiteralSpelling::XmlText);
        inText = true;
    };
    auto endText = [&]() {
        if (inText)
            builder->endPiece(i);
        inText = false;
    };
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('<')) {
            const Markup markup = markupAt(text, i);
            endText();
            if (markup.kind != Markup::CData)
                return i;
            if (!markup.closed)
                return -1;
            builder->beginPiece(markup.contentStart, LiteralSpelling::XmlCData,
                                QStringLiteral("]]>"));
            for (int j = markup.contentStart; j < markup.contentEnd; ++j)
                builder->append(
                    text.at(j) == QLatin1Char('\r') &&
                            (j + 1 >= markup.contentEnd || text.at(j + 1) != QLatin1Char('\n'))
                        ? '\n'
                        : text.at(j).unicode(),
                    j);
            builder->endPiece(markup.contentEnd);
            i = markup.end;
            continue;
        }
        beginText();
        uint code = 0;
        const int length =
            c == QLatin1Char('&') ? readReference(text, i, int(text.size()), &code) : 0;
        if (length > 0) {
            builder->append(code, i);
            i += length;
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            builder->append(QChar::surrogateToUcs4(c, text.at(i + 1)), i);
            i += 2;
        } else {
            // A line break is read as LF however the file ends its lines.
            const bool loneCr = c == QLatin1Char('\r') &&
                                (i + 1 >= text.size() || text.at(i + 1) != QLatin1Char('\n'));
            builder->append(loneCr ? '\n' : c.unicode(), i);
            ++i;
        }
    }
    return -1;
}

} // namespace

QVector<EmbeddedSheet> readFormSheets(const QString &text)
{
    QVector<EmbeddedSheet> sheets;
    struct Widget
    {
        QString className;
        QString objectName;
    };
    QVector<Widget> widgets;
    bool inStyleSheet = false;
    int at = 0;
    while ((at = text.indexOf(QLatin1Char('<'), at)) >= 0) {
        const Markup markup = markupAt(text, at);
        if (markup.kind != Markup::Tag) {
            at = markup.end;
            continue;
        }
        Tag tag;
        if (!readTag(text, at, &tag))
            break;
        at = tag.end;
        if (tag.closing) {
            if (tag.name == QLatin1String("widget") && !widgets.isEmpty())
                widgets.removeLast();
            else if (tag.name == QLatin1String("property"))
                inStyleSheet = false;
            continue;
        }
        if (tag.name == QLatin1String("widget") && !tag.selfClosing) {
            widgets.append({tag.attributes.value(QStringLiteral("class")),
                            tag.attributes.value(QStringLiteral("name"))});
        } else if (tag.name == QLatin1String("property")) {
            inStyleSheet = !tag.selfClosing && tag.attributes.value(QStringLiteral("name")) ==
                                                   QLatin1String("styleSheet");
        } else if (tag.name == QLatin1String("string") && inStyleSheet && !tag.selfClosing) {
            SheetBuilder builder(EmbeddingLanguage::Form, tag.end);
            const int contentEnd = readStringContent(text, tag.end, &builder);
            if (contentEnd < 0)
                break;
            at = contentEnd;
            inStyleSheet = false;
            if (builder.empty())
                continue;
            EmbeddedSheet sheet = builder.finish(contentEnd);
            if (!widgets.isEmpty()) {
                sheet.widgetClass = widgets.constLast().className;
                sheet.objectName = widgets.constLast().objectName;
            }
            sheets.append(sheet);
        }
    }
    placeSheets(sheets, text);
    return sheets;
}
