// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>
#include <QString>

#include <functional>
#include <vector>

// What a theme template writes where a value goes: a reference ("{color.accent}"), a
// colour function of tokens/colourfunctions.h or, as a function's argument, a literal.
struct TemplateExpression
{
    enum Kind
    {
        Reference,
        Call,
        Colour,
        Number,
    };
    Kind kind = Reference;
    QString name; // the token path or the function
    QColor colour;
    QString keyword; // a colour written as a keyword keeps it
    double number = 0;
    int offset = 0; // in the template's text
    std::vector<TemplateExpression> arguments;
};

// The characters of a template's words and the blanks between them, as its readers
// take them.
namespace TemplateText {
bool isNameChar(QChar c);
bool isBlank(QChar c);
} // namespace TemplateText

// Reads expressions out of a template's text; an error goes to report with the
// offset it is at.
class TemplateExpressionReader
{
public:
    using Report = std::function<void(int offset, const QString &message)>;

    TemplateExpressionReader(const QString &text, Report report);

    // The expression at *offset, read no further than end; *offset moves past what was
    // read. False, with the error reported, when there is none.
    bool read(int *offset, int end, TemplateExpression *expression);

private:
    bool readExpression(int *cursor, int end, TemplateExpression *expression, int depth);
    bool readReference(int *cursor, int end, TemplateExpression *expression);
    bool readHexColour(int *cursor, int end, TemplateExpression *expression);
    bool readNumber(int *cursor, int end, TemplateExpression *expression);
    bool readNameOrCall(int *cursor, int end, TemplateExpression *expression, int depth);
    bool readArguments(int *cursor, int end, TemplateExpression *call, int depth);
    void skipBlanks(int *cursor, int end) const;

    const QString &text;
    const int textLength;
    Report report;
};
