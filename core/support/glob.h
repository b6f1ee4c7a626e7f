// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QRegularExpression>
#include <QString>

// The one glob of paths every part of the tool matches with: a configuration's
// "overrides" and "forms", and the lines of a .gitignore file.
//
//   "*", "?"       any characters, one character, within one folder
//   "**/"          any number of folders, none included ("a/**/b" matches "a/b")
//   "/**" at the end   everything below the folder
//   other "**"     as "*"
//   "[a-z]", "[!_]"    one character of a set, or not of it; never a "/"
//   no "/" but at the end   the file name in any folder ("*.qss" is "**/*.qss")
//
// Case counts. The two syntaxes differ only where their files differ.
enum class GlobSyntax
{
    // A configuration's: "{qss,css}" alternatives, and a leading "./" stands for the
    // configuration's folder. A "[" or "{" never closed is an error.
    Configuration,
    // A .gitignore line, as git reads it: "\" quotes the next character, "[^...]"
    // negates as "[!...]" does, and "{", "}" and a "[" never closed are plain.
    GitIgnore,
};

class PathGlob
{
public:
    explicit PathGlob(const QString &glob, GlobSyntax syntax = GlobSyntax::Configuration);

    // What is wrong with the glob, or "" when it is valid.
    QString error() const { return problem; }
    bool isValid() const { return problem.isEmpty(); }
    // Whether a "/"-separated path relative to the glob's folder matches; an invalid
    // glob matches nothing.
    bool matches(const QString &relativePath) const;
    // Whether it matches file names in any folder (it has no "/" but at the end).
    bool byName() const { return nameOnly; }

private:
    QRegularExpression expression;
    QString problem;
    bool nameOnly = false;
};

// The glob's leading folders that hold no wildcard ("src/ui/" of "src/ui/**/*.ui"), where a
// search for what it matches may start; "" when its first segment has one.
QString globFixedFolders(const QString &glob);
// How many folders below its fixed folders a glob can reach, or -1 for any number.
int globFolderDepth(const QString &glob);
