// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/stylesheetlint.h"

#include <QColor>
#include <QHash>
#include <QPalette>
#include <QVector>
#include <QtGui/private/qcssparser_p.h>

// What every check of one sheet shares: the text as the toolkit sees it, the
// toolkit's own tokens and rules with their positions, the palette header and the
// list the checks report into. Internal to lint/.

// One selector of a rule, reduced to what the checks compare: the last compound
// (the part that names the styled widget) and whether anything stands before it.
struct LintSelector
{
    QCss::Selector selector;
    QString text;
    int offset = 0; // in the text
    int specificity = 0;
    bool hasAncestors = false;
    QString element; // "" for "*" or none
    QStringList ids; // object names
    QVector<QCss::AttributeSelector> attributes;
    QStringList states; // pseudo-states without "!"
    QStringList negatedStates;
    QString subcontrol;
};

struct LintDeclaration
{
    QCss::Declaration declaration;
    QString property;
    int offset = 0;      // of the property name
    int valueOffset = 0; // of the first value token
    int firstSymbol = 0; // value tokens [firstSymbol, endSymbol)
    int endSymbol = 0;
    QString valueText; // as written, blanks folded
};

struct LintRule
{
    QVector<LintSelector> selectors;
    QVector<LintDeclaration> declarations;
    int offset = 0;
    int order = 0;
    int firstSymbol = 0; // selector tokens [firstSymbol, braceSymbol)
    int braceSymbol = 0;
};

struct PaletteDirective
{
    int line = 0;
    int column = 0;
    QString name; // as written, "Disabled." included
    QPalette::ColorGroup group = QPalette::All;
    QPalette::ColorRole role = QPalette::NoRole;
    bool known = false;
    QColor color;
};

class LintContext
{
public:
    LintContext(const QString &path, const LintOptions &options);

    QString path;
    LintOptions options;
    QByteArray bytes;
    // UTF-8 up to the first NUL with CR LF folded: the text the program installs.
    QString text;
    // Where rules' relative url()s resolve: empty for the current directory.
    QString urlBase;

    // The toolkit's tokens of the text (after its escape preprocessing).
    QCss::Parser parser;
    bool syntaxAccepted = true;
    QVector<LintRule> rules;
    QVector<PaletteDirective> palette;

    QVector<LintDiagnostic> diagnostics;
    // Beyond this many diagnostics of one check a file only counts them: a sheet
    // of many megabytes would otherwise keep a list larger than itself.
    static constexpr int kMaxPerCheck = 1000;
    // Adds one diagnostic per check that went over the limit.
    void reportOmitted();

    bool enabled(const QString &check) const;
    void report(int offset, LintSeverity severity, const QString &check, const QString &message);
    void reportAt(int line, int column, LintSeverity severity, const QString &check,
                  const QString &message);

    void setText(const QString &text);
    // 1-based line and column of a character offset in text.
    void lineColumn(int offset, int *line, int *column) const;
    // Offset in text of a token, undoing the toolkit's escape preprocessing.
    int symbolOffset(int symbolIndex) const;
    void noteEscapeShifts(const QString &original);

    // A palette colour the header sets (the All group unless asked), or invalid.
    QColor paletteColor(QPalette::ColorRole role, QPalette::ColorGroup group = QPalette::All) const;

private:
    QVector<int> lineStarts;
    struct Omitted
    {
        int listed = 0;
        int omitted = 0;
        LintSeverity worst = LintSeverity::Note;
        int line = 1;
        int column = 1;
    };
    QHash<QString, Omitted> perCheck;
    // Pairs (preprocessed offset, characters removed before it), ascending.
    QVector<QPair<int, int>> escapeShifts;
};

// The largest sheet read, from a file or standard input.
constexpr qint64 kMaxSheetBytes = 64 * 1024 * 1024;

// The checks, in the order they run.
void checkEncoding(LintContext &context);
void checkSyntax(LintContext &context);
// For a text that starts with "file:///", which the toolkit reads as a file name.
void checkSheetReference(LintContext &context);
void checkPalette(LintContext &context);
void checkNames(LintContext &context);
void checkResources(LintContext &context);
void checkShadowing(LintContext &context);
void checkContrast(LintContext &context);
void checkCoverage(LintContext &context);

// Shared by the cascade-aware checks.
// True when every widget and state that a matches is matched by b too.
bool selectorCovers(const LintSelector &b, const LintSelector &a);
// Where the toolkit sorts a rule's selector among those that match a widget.
int cascadeWeight(const LintSelector &selector, int order);
// True when b's declarations override a's where both apply.
bool selectorWins(const LintSelector &b, int bOrder, const LintSelector &a, int aOrder);
