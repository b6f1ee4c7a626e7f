// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/diagnostic.h"
#include "analysis/lintoptions.h"
#include "embedded/embeddedsheets.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

// The analysis on the sheets a form or a source embeds, each as the sheet of its
// widget, its findings and fixes told at the file's own lines and columns.

// The note on a sheet made at run time, which nothing else is told of.
inline const QLatin1String kEmbeddedSheetCheckId("embedded-sheet");

// The text the analysis is given for a widget's own sheet. The toolkit takes a
// widget's sheet that does not parse as declarations for the widget itself, as if
// written "* { ... }"; wrapped says so, and the wrapper's opening is prefixLength long.
struct WidgetSheet
{
    QString text;
    int prefixLength = 0;
    bool wrapped = false;
};

WidgetSheet widgetSheet(const QString &sheet);
// The sheet taken as declarations for the widget itself, wrapped whether it parses or
// not: for a sheet still being written, which neither way of reading accepts yet.
WidgetSheet declarationsSheet(const QString &sheet);
// The sheet inside a wrapped widget sheet's text; false when it is no longer wrapped.
bool unwrapWidgetSheet(const WidgetSheet &sheet, const QString &text, QString *inner);

// Findings for every sheet embedded in fileText (UTF-8 decoded), named path.
QVector<LintDiagnostic> lintEmbeddedSheets(const QString &fileText, EmbeddingLanguage language,
                                           const QString &path, const LintOptions &options);

struct AnalysedSheet;

// lintEmbeddedSheets() for the same file read again and again, as an editor's
// language server reads it at every change: a sheet whose text and widget are those of
// a sheet of the last reading, under the same options and path, is not analysed
// again, its findings only told at the places the file now writes it. Any change of
// the options (the configuration, the forms, the .qrc and token files it reads) starts
// afresh; a sheet whose findings rest on files on disk (a url() naming a path) is
// analysed every time. Not for two threads at once.
class EmbeddedLintCache
{
public:
    QVector<LintDiagnostic> lint(const QString &fileText, EmbeddingLanguage language,
                                 const QString &path, const LintOptions &options);
    // How many sheets the last lint() analysed, the others coming from the cache.
    int analysedInLastRun() const { return analysedLastRun; }

private:
    QByteArray optionsKey;
    QString analysedPath;
    std::shared_ptr<const ContrastTree> contrastTree;
    QHash<QString, std::shared_ptr<const AnalysedSheet>> analyses;
    int analysedLastRun = 0;
};

// newText as the piece of a literal spells it, or false when it cannot hold it
// (a raw literal whose delimiter it contains, say).
bool spellInPiece(const EmbeddedPiece &piece, const QString &newText, QString *spelt);

struct EmbeddedFixResult
{
    QByteArray bytes; // the file with its sheets mended; the input when nothing was
    int fixed = 0;    // fixes applied, summed over the sheets
    bool changed = false;
    QVector<LintDiagnostic> remaining;
    // Why a sheet's fixes were left unwritten, one line each ("LINE:COLUMN: why").
    QStringList notices;
};

// The file with the safe fixes (and the guesses when unsafeFixes) of every embedded
// sheet written back inside its literal or XML, with the escapes the file uses; the
// file changes nowhere else.
EmbeddedFixResult fixEmbeddedSheets(const QByteArray &bytes, EmbeddingLanguage language,
                                    const QString &path, const LintOptions &options,
                                    bool unsafeFixes);
