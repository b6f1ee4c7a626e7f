// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "tokens/designtokens.h"
#include "tokens/sourceerror.h"
#include "tokens/templateexpression.h"

#include <functional>

// What a template's expressions come to over one variant's tokens, and whether that
// fits where the template writes it. Errors go to errors, at the places locate gives
// for offsets in the template.
class TemplateEvaluator
{
public:
    using Locate = std::function<SourcePosition(int offset)>;

    TemplateEvaluator(const DesignTokens &tokens, Locate locate, SourceErrors *errors);

    // The expression's value; one without a type when it has none, its error noted.
    TokenValue evaluate(const TemplateExpression &expression) const;
    // What the expression writes as property's value; empty, with the error noted, when
    // its value does not fit there.
    QString declarationText(const TemplateExpression &expression, const QString &property) const;
    // What it writes in an "@palette" line, as the palette reader takes it.
    QString paletteText(const TemplateExpression &expression) const;

private:
    TokenValue call(const TemplateExpression &expression) const;
    void error(int offset, const QString &message) const;

    const DesignTokens &tokens;
    Locate locate;
    SourceErrors *errors;
};
