// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// Style sheets written inside other files: the styleSheet properties of Designer
// forms and the literals C++ and Python sources pass to setStyleSheet(), each read
// with a map from every character of the sheet back to where the file spells it.

// Which reader a file takes, by its name's suffix.
enum class EmbeddingLanguage
{
    None,
    Form,   // .ui
    Cpp,    // .cpp .cc .cxx .h .hpp .hh
    Python, // .py
};

EmbeddingLanguage embeddingLanguage(const QString &fileName);

// How one stretch of the source spells the sheet's text, which decides how an edit
// is escaped there.
enum class LiteralSpelling
{
    XmlText,  // element content: entities and character references
    XmlCData, // <![CDATA[...]]>
    Escaped,  // a C++ or Python literal with backslash escapes
    Raw,      // a C++ raw literal or a Python raw string
};

// How a literal marks the places a program fills in at run time.
enum class TemplateSyntax
{
    None,
    QtArg,   // %1 ... %99, for QString::arg()
    Percent, // %s %d %(name)s, with %% for a %
    Braces,  // {} {0} {name} of .format() and an f-string's {expr}, with {{ and }}
};

// One literal (or, in a form, one run of text or CDATA) of a sheet.
struct EmbeddedPiece
{
    // The stretch of the sheet's text it gives, [decodedStart, decodedEnd).
    int decodedStart = 0;
    int decodedEnd = 0;
    // Its content in the file's text, quotes and prefixes excluded, [sourceStart, sourceEnd).
    int sourceStart = 0;
    int sourceEnd = 0;
    LiteralSpelling spelling = LiteralSpelling::Escaped;
    // What ends the literal: " ' """ ''' for C++ and Python, )DELIM" for a C++ raw
    // literal; empty in a form.
    QString closing;
    // Python single-quoted (not triple) literals cannot hold a plain line break.
    bool singleLine = false;
    // The placeholders the literal holds, which an edit must not spell by accident.
    TemplateSyntax syntax = TemplateSyntax::None;
};

// A stretch of a sheet's text, [start, end).
struct SheetRange
{
    int start = 0;
    int end = 0;
};

struct EmbeddedSheet
{
    EmbeddingLanguage language = EmbeddingLanguage::None;
    // The sheet as the toolkit is given it; empty when not checkable.
    QString text;
    // For each UTF-16 unit of text, the offset in the file's text (UTF-8 decoded) of
    // the first unit that spells it: the backslash of an escape, the & of an entity.
    QVector<int> sourceOffsets;
    QVector<EmbeddedPiece> pieces;
    // Where the sheet is written: its first literal, or for a form its <string>
    // content; for one not checkable, its argument. Offset in the file's text, and
    // 1-based line and column in characters.
    int offset = 0;
    int line = 1;
    int column = 1;
    // The whole argument or <string> content, [offset, endOffset).
    int endOffset = 0;
    // A form's property: the widget it belongs to.
    QString widgetClass;
    QString objectName;
    // False for a sheet made at run time (an f-string, a variable, .arg()): reason
    // says what it is, and nothing else is told of it.
    bool checkable = true;
    QString reason;
    // The stand-ins put where a template's placeholders stand: each maps to the
    // placeholder's first character, and nothing is said of it or written inside it.
    QVector<SheetRange> standIns;

    // Offset in the file's text of a place in text, [0, text.size()]: the end of the
    // sheet maps to the end of its last literal's content.
    int sourceOffset(int decodedOffset) const;
    // The piece holding [decodedStart, decodedEnd), or -1 when it crosses from one
    // literal into the next. An insertion between two literals goes in the first.
    int pieceOf(int decodedStart, int decodedEnd) const;
    // Whether [start, end) reaches into a stand-in: overlaps it, or, when empty, lies
    // strictly inside it.
    bool touchesStandIn(int start, int end) const;
};

// The sheets written in content, in file order, read as fileName's suffix says
// (none for other names). Content is decoded as UTF-8; every offset is into that text.
QVector<EmbeddedSheet> readEmbeddedSheets(const QString &fileName, const QByteArray &content);
QVector<EmbeddedSheet> readEmbeddedSheets(EmbeddingLanguage language, const QString &text);

// The readers themselves, for the tests and the fuzz targets.
QVector<EmbeddedSheet> readFormSheets(const QString &text);
QVector<EmbeddedSheet> readCppSheets(const QString &text);
QVector<EmbeddedSheet> readPythonSheets(const QString &text);
