// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

// The toolkit's own parser, for what outside the analysis must ask of it directly.

// Parses text as the toolkit parses an application's sheet, and nothing else: the
// floor the analysis's own time is measured against. True when it accepts it.
bool toolkitParsesSheet(const QString &text);

// What the toolkit reads of text, written out: every rule's selectors (names, ids,
// pseudo-states, attributes, relations) and declarations (property, values and their
// kinds), in order; two texts it reads alike give the same. False when it rejects
// the text.
bool toolkitParseSummary(const QString &text, QString *summary);

// From now on the toolkit's parser says nothing on the message log about values it
// drops: the analysis reports them with a position. Every other message goes to
// the handler installed before. Once per process; later calls change nothing.
void quietToolkitParserMessages();

// Where the property reference and the toolkit's parser part ways: a property the
// reference lists that the parser does not know (style hints aside), one the parser
// knows that the reference leaves out, a palette(role) the reference lists that
// does not read a colour of its own. Empty when they agree.
QStringList referenceDisagreements();
