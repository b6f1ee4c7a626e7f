// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QVector>

// Where in a sheet's grammar a position stands, read from the text up to it. It is a
// tolerant walk of its own rather than the toolkit's parse: the text being typed is
// rarely a sheet the toolkit accepts.
struct CursorContext
{
    enum class Place
    {
        None,
        Comment,
        PaletteRole,   // after "@palette " in a comment
        PaletteColour, // after "@palette Role ="
        TypeName,
        PseudoState,   // after ":" (or ":!")
        Subcontrol,    // after "::"
        ObjectName,    // after "#"
        AttributeName, // after "["
        AttributeValue,
        PropertyName,
        PropertyValue,
    };
    Place place = Place::None;
    // The word being written ends at the position and starts here.
    int wordStart = 0;
    QString word;
    QString element;   // selector places: the class the compound names, "" for none
    QString attribute; // AttributeValue
    bool negated = false;
    QString property;   // PropertyValue, in lower case
    QString function;   // PropertyValue: the innermost open function, in lower case
    int blockOpen = -1; // PropertyName and PropertyValue: the rule's "{"
};

CursorContext contextAt(const QString &text, int offset);

// The word around offset, made of name characters (and "." for palette roles), and
// where it starts; "" when there is none.
QString wordAround(const QString &text, int offset, int *start);

// One rule: its selector and its block.
struct RuleSpan
{
    int selectorStart = 0;
    int selectorEnd = 0; // its "{"
    int end = 0;         // just after its "}", or the end of the text
};
QVector<RuleSpan> ruleSpans(const QString &text);

// The object names a sheet's selectors use ("#name"), each once, in order.
QStringList objectNamesIn(const QString &text);
