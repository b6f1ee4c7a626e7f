// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QJsonObject>
#include <QString>
#include <QVector>

// How the client counts columns: UTF-16 code units unless it offered UTF-8.
enum class PositionEncoding
{
    Utf16,
    Utf8,
};

// One document the client has open: its text and the conversions between the
// protocol's line and column, offsets in the text, and the analysis's positions.
class TextDocument
{
public:
    TextDocument(const QString &uri, const QString &text, int version, PositionEncoding encoding);

    QString uri;
    // The local file the URI names, "" for any other scheme.
    QString path;
    int version = 0;
    PositionEncoding encoding = PositionEncoding::Utf16;

    const QString &text() const { return content; }
    void setText(const QString &text);
    // Replaces [start, end) of the text.
    void replace(int start, int end, const QString &text);

    // Lines end at LF, CR LF or CR, as the protocol counts them. Positions beyond a
    // line's end or the last line clamp to them.
    int offsetAt(int line, int character) const;
    int offsetAt(const QJsonObject &position) const;
    void positionAt(int offset, int *line, int *character) const;
    QJsonObject position(int offset) const;
    QJsonObject range(int start, int end) const;
    // -1 for a range that is not an object with start and end.
    bool rangeOffsets(const QJsonObject &range, int *start, int *end) const;

    // The analysis counts lines at LF only (it folds CR LF) and columns in
    // characters, a surrogate pair being one.
    int offsetOfLintPosition(int line, int column) const;

private:
    void index() const;

    QString content;
    mutable bool indexed = false;
    mutable QVector<int> lineStarts;   // the protocol's lines
    mutable QVector<int> lfLineStarts; // the analysis's lines
};

QString localPathOfUri(const QString &uri);
QString uriOfLocalPath(const QString &path);
