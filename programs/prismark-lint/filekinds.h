// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/diagnostic.h"
#include "analysis/lintoptions.h"
#include "support/safefileread.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// The kinds of file prismark-lint checks, a row each: how it knows one, how it reads
// it, what lints it and what fixes it. The run and its modes (a report, --fix,
// --diff, standard input) go through a row's functions alone, so a new kind of file
// is a new row.

// A file being checked, as named and as read.
struct LintedFile
{
    // As named on the command line or found by a walk; "-" for standard input.
    QString path;
    // What its findings and its configuration go by: standard input's --stdin-filename,
    // else the path.
    QString name;
    // As its kind read it.
    QByteArray bytes;

    bool isStandardInput() const { return path == QLatin1String("-"); }
};

// What a kind's linter and fixer are given beside the file.
struct LintRequest
{
    const LintOptions &options;
    const QStringList &variants; // of a theme template; all when empty
    bool unsafeFixes = false;
};

// What linting one file came to.
struct FileLint
{
    QVector<LintDiagnostic> diagnostics;
    // A file it names could not be read (a template's token file, say).
    bool unreadable = false;
    // Why the file was not checked at all (a variant it does not have), for standard
    // error; the file is then not among those checked.
    QString refusal;
};

// The file with its fixes applied, whole.
struct FixedFile
{
    QByteArray bytes; // the input itself when nothing was applied
    bool changed = false;
    int fixed = 0;
    QVector<LintDiagnostic> remaining;
    // Why fixes were left unwritten (a text that is not plain UTF-8, a literal that
    // cannot spell them), else empty.
    QString notice;
};

struct LintFileKind
{
    const char *name;
    // Whether a file of this name is of the kind; the first row that takes it wins.
    bool (*takes)(const QString &name);
    // Whether standard input can be of the kind (a template is built with the files
    // beside it, so it cannot).
    bool fromStandardInput;
    // Whether a folder walk checks a file of this name; null: never.
    bool (*walked)(const QString &name);
    // A walked file that never writes this is not one the run checks; null: each is.
    const char *walkedMention;
    // Whether the files of the kind a walk finds are the application's Designer forms.
    bool applicationForms;
    // The file's bytes, or why it cannot be read; null when the linter reads it.
    FileReadResult (*read)(const LintedFile &file);
    FileLint (*lint)(const LintedFile &file, const LintRequest &request);
    // null when the kind has no fixes: --fix and --diff report it as it is.
    FixedFile (*fix)(const LintedFile &file, const LintRequest &request);
};

// Every kind, in the order they are tried.
const QVector<LintFileKind> &lintFileKinds();
// The kind a file is checked as: the first row that takes it.
const LintFileKind &lintFileKindOf(const LintedFile &file);
// Whether a folder walk checks a file of this name.
bool isWalkedFileName(const QString &name);
