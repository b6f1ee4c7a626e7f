// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "theme/themecatalogue.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Finds and reads a theme's style sheet. The empty string stands for nothing found.

// The disk directories searched, in order: "styles" beside the executable, "styles"
// in the current directory, then styleSheetDataDirectory() for the executable.
QStringList styleSheetSearchDirectories();

// The style sheets' data directory for a program in the given directory: the
// installed share/prismark/styles when the program sits in an installed tree (found
// relative to the program, so an unpacked or moved tree works too), else the
// build tree's copy of the sheets.
QString styleSheetDataDirectory(const QString &executableDirectory);

// Where the text the program installs from bytes ends: at the first NUL byte, else
// at their end.
int styleSheetTextEnd(const QByteArray &bytes);
// UTF-8 up to the first NUL byte.
QString decodeStyleSheetText(const QByteArray &bytes);

// Reads one file as UTF-8 with CR LF folded to LF; anything that is not a readable
// regular file (missing, a directory, a FIFO, a device) gives the empty string.
QString readStyleSheetFile(const QString &path);

// The text of the first search directory that holds a non-empty copy of the file.
QString readStyleSheetFromDisk(const QString &fileName);

// Light and Dark prefer a disk copy to the compiled-in one; the other themes fall
// back to disk only when the compiled-in copy is missing or empty.
QString loadThemeStyleSheet(Theme theme);
