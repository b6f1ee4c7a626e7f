// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

// What the template scanner notes and the renderer carries out: stretches of the
// template's text that a variant's sheet writes differently.

// A stretch of the text the rendering replaces.
struct TemplateEdit
{
    enum Kind
    {
        Remove,
        Value,        // expressions[index], written for property
        PaletteValue, // expressions[index], written as the palette reader takes it
        IconUrl,      // the url of the icon iconName
        Conditional,  // directives[index]
    };
    int start = 0;
    int end = 0;
    Kind kind = Remove;
    int index = 0;
    QString property;
    QString iconName;
};

// An "@only" or "@except" comment.
struct TemplateDirective
{
    bool only = true;
    QStringList variants;
    // Always left out: the directive's own line. Left out when the directive
    // excludes the variant: up to excludedEnd.
    int excludedEnd = 0;
};
