// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

// The object names the toolkit gives the widgets it builds inside its own (a tool
// bar's extension button, a scroll area's viewport): a sheet may select them in any
// application, though no form or source of it names them.
struct ToolkitObjectName
{
    const char *name;
    const char *className; // the class a selector can name it with
    const char *owner;     // the widget that builds it
    const char *source;    // where the toolkit's source names it
};

// The entry of a name, or null.
const ToolkitObjectName *toolkitObjectName(const QString &name);
// Every name, in the table's order.
QStringList toolkitObjectNames();
