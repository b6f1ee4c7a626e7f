// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QCommandLineParser>
#include <QString>

// What prismark-lint answers instead of a run: its help and version, the checks as a
// table (--list-checks), one check's page (--explain) or every check's page written
// as Markdown (--explain-markdown).

// Prints the answer asked for and sets done. False, with usageError set, when it
// cannot be given (an unknown check id, a folder that cannot be written).
bool answerAndStop(const QCommandLineParser &parser, bool &done, QString &usageError);

// The registry as docs/lint.md shows it.
QString checkTable();

// Every check's page as DIR/<id>.md; what went wrong, or empty.
QString writeCheckPages(const QString &directory);
