// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/protocol/textdocument.h"

#include <QUrl>

#include <algorithm>

namespace {
int utf8Length(uint codePoint)
{
    return codePoint < 0x80 ? 1 : codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
}

bool isPairAt(const QString &text, int i)
{
    return i + 1 < text.size() && text.at(i).isHighSurrogate() && text.at(i + 1).isLowSurrogate();
}
} // namespace

QString localPathOfUri(const QString &uri)
{
    const QUrl url(uri);
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

QString uriOfLocalPath(const QString &path)
{
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

TextDocument::TextDocument(const QString &uri, const QString &text, int version,
                           PositionEncoding encoding)
    : uri(uri)
    , path(localPathOfUri(uri))
    , version(version)
    , encoding(encoding)
    , content(text)
{}

void TextDocument::setText(const QString &text)
{
    content = text;
    indexed = false;
}

void TextDocument::replace(int start, int end, const QString &text)
{
    start = qBound(0, start, int(content.size()));
    end = qBound(start, end, int(content.size()));
    content.replace(start, end - start, text);
    indexed = false;
}

void TextDocument::index() const
{
    if (indexed)
        return;
    lineStarts = {0};
    lfLineStarts = {0};
    for (int i = 0; i < content.size(); ++i) {
        const QChar c = content.at(i);
        if (c == QLatin1Char('\n')) {
            lineStarts.append(i + 1);
            lfLineStarts.append(i + 1);
        } else if (c == QLatin1Char('\r') &&
                   (i + 1 >= content.size() || content.at(i + 1) != QLatin1Char('\n'))) {
            lineStarts.append(i + 1);
        }
    }
    indexed = true;
}

int TextDocument::offsetAt(int line, int character) const
{
    index();
    if (line < 0)
        return 0;
    if (line >= lineStarts.size())
        return int(content.size());
    const int start = lineStarts.at(line);
    int end = line + 1 < lineStarts.size() ? lineStarts.at(line + 1) : int(content.size());
    while (end > start &&
           (content.at(end - 1) == QLatin1Char('\n') || content.at(end - 1) == QLatin1Char('\r')))
        --end;
    int offset = start;
    int counted = 0;
    while (offset < end && counted < character) {
        const bool pair = isPairAt(content, offset);
        if (encoding == PositionEncoding::Utf16) {
            counted += pair ? 2 : 1;
        } else {
            const uint code =
                pair ? QChar::surrogateToUcs4(content.at(offset), content.at(offset + 1))
                     : content.at(offset).unicode();
            counted += utf8Length(code);
        }
        // A column inside a character lands after it, never between surrogates.
        offset += pair ? 2 : 1;
    }
    return offset;
}

int TextDocument::offsetAt(const QJsonObject &position) const
{
    return offsetAt(position.value(QLatin1String("line")).toInt(-1) < 0
                        ? 0
                        : position.value(QLatin1String("line")).toInt(),
                    qMax(0, position.value(QLatin1String("character")).toInt()));
}

void TextDocument::positionAt(int offset, int *line, int *character) const
{
    index();
    offset = qBound(0, offset, int(content.size()));
    const auto it = std::upper_bound(lineStarts.cbegin(), lineStarts.cend(), offset);
    *line = int(it - lineStarts.cbegin()) - 1;
    const int start = lineStarts.at(*line);
    if (encoding == PositionEncoding::Utf16) {
        *character = offset - start;
        return;
    }
    int count = 0;
    for (int i = start; i < offset; ++i) {
        if (isPairAt(content, i)) {
            count += 4;
            ++i;
        } else {
            count += utf8Length(content.at(i).unicode());
        }
    }
    *character = count;
}

QJsonObject TextDocument::position(int offset) const
{
    int line = 0, character = 0;
    positionAt(offset, &line, &character);
    return {{QStringLiteral("line"), line}, {QStringLiteral("character"), character}};
}

QJsonObject TextDocument::range(int start, int end) const
{
    return {{QStringLiteral("start"), position(start)}, {QStringLiteral("end"), position(end)}};
}

bool TextDocument::rangeOffsets(const QJsonObject &range, int *start, int *end) const
{
    const QJsonValue from = range.value(QLatin1String("start"));
    const QJsonValue to = range.value(QLatin1String("end"));
    if (!from.isObject() || !to.isObject())
        return false;
    *start = offsetAt(from.toObject());
    *end = qMax(*start, offsetAt(to.toObject()));
    return true;
}

int TextDocument::offsetOfLintPosition(int line, int column) const
{
    index();
    if (line < 1)
        return 0;
    if (line > lfLineStarts.size())
        return int(content.size());
    int offset = lfLineStarts.at(line - 1);
    for (int counted = 1; counted < column && offset < content.size(); ++counted) {
        if (content.at(offset) == QLatin1Char('\n'))
            break;
        offset += isPairAt(content, offset) ? 2 : 1;
    }
    return offset;
}
