// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "tokens/sourceerror.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Where each stretch of a rendered template came from, so that a finding on the
// built sheet can be told on the line the author wrote.
class SourceMap
{
public:
    // Where one place of the rendered sheet came from.
    struct Origin
    {
        // The template's text, or the token's $value when the text is a token's value.
        SourcePosition where;
        // Always in the template: the reference itself for a token's value.
        SourcePosition templateWhere;
        // The reference the text was written for, or empty.
        QString tokenPath;
        // Copied from the template as it stands, so an edit there edits the same text.
        bool copied = true;
    };

    // The template's text was copied from templateOffset on.
    void addCopy(int outputStart, int outputEnd, int templateOffset);
    // A value written for the expression at templateOffset; tokenWhere is the
    // token's $value when the expression is a reference to tokenPath.
    void addValue(int outputStart, int outputEnd, int templateOffset, const QString &tokenPath,
                  const SourcePosition &tokenWhere);
    // Called once with the template's and the rendered text.
    void finish(const QString &templateFile, const QString &templateText, const QString &output);

    // outputOffset in [0, output length]; a place past the end maps to the template's end.
    Origin originOf(int outputOffset) const;
    // 1-based line and column of the rendered sheet, as a finding gives them.
    Origin originAt(int line, int column) const;
    int outputOffset(int line, int column) const;
    // The references whose values the stretch [outputStart, outputEnd) holds, in order.
    QStringList tokensIn(int outputStart, int outputEnd) const;
    // The same references, each with its $value as where.
    QVector<Origin> tokenOriginsIn(int outputStart, int outputEnd) const;

private:
    struct Segment
    {
        int outputStart = 0;
        int outputEnd = 0;
        int templateOffset = 0;
        bool copied = true;
        QString tokenPath;
        SourcePosition tokenWhere;
    };
    SourcePosition templatePosition(int offset) const;

    QVector<Segment> segments;
    QString file;
    QVector<int> templateLines;
    int templateLength = 0;
    QVector<int> outputLines;
    int outputLength = 0;
};
