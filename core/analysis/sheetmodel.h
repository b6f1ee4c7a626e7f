// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/lintoptions.h"
#include "analysis/qssreference.h"
#include "analysis/suppressioncomments.h"

#include <QByteArray>
#include <QColor>
#include <QPalette>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

// The toolkit's parse stays behind the model: only the analysis sees its types.
QT_BEGIN_NAMESPACE
namespace QCss {
class Parser;
struct Selector;
struct Declaration;
} // namespace QCss
QT_END_NAMESPACE
struct ToolkitSheet;
class SelectorIndex;

// One sheet as the checks see it, built once before any check runs and only read
// after that: the text as the toolkit sees it, the toolkit's own tokens, the rules
// and declarations with their positions, the palette header and the url() targets.

// One selector of a rule, reduced to what the checks compare: the last compound
// (the part that names the styled widget) and whether anything stands before it.
// An attribute selector, [name] or [name="value"].
struct SheetAttribute
{
    QString name;
    QString value;
    bool anyValue = false; // [name]: the property is set, whatever its value
    int match = 0;         // how value compares, in the toolkit's own numbering
};

struct SheetSelector
{
    const QCss::Selector *toolkit = nullptr; // the toolkit's parse, owned by the model
    QString text;
    int offset = 0; // in the text
    int specificity = 0;
    bool hasAncestors = false;
    QString element; // "" for "*" or none
    QStringList ids; // object names
    QVector<SheetAttribute> attributes;
    QStringList states; // pseudo-states without "!"
    QStringList negatedStates;
    QString subcontrol;
};

struct SheetDeclaration
{
    const QCss::Declaration *toolkit = nullptr; // owned by the model
    QString property;
    bool important = false; // "!important"
    int offset = 0;         // of the property name
    int valueOffset = 0;    // of the first value token
    int firstSymbol = 0;    // value tokens [firstSymbol, endSymbol)
    int endSymbol = 0;
    QString valueText; // as written, blanks folded
};

struct SheetRule
{
    QVector<SheetSelector> selectors;
    QVector<SheetDeclaration> declarations;
    int offset = 0;
    int endOffset = 0; // just after its closing "}"
    int order = 0;
    int firstSymbol = 0; // selector tokens [firstSymbol, braceSymbol)
    int braceSymbol = 0;
};

// A declaration the toolkit drops while it keeps the rest of the sheet.
struct DroppedDeclaration
{
    int firstSymbol = 0;
    int failedSymbol = 0;
};

// Where and why the toolkit rejects the whole sheet.
struct SyntaxFailure
{
    int symbol = 0;        // the token it stops at
    QString expected;      // what the walk expected there
    bool unclosed = false; // the text ends inside the rule whose "{" is at symbol
};

// A line that mentions the palette keyword, in any letter case.
struct PaletteLine
{
    int line = 0;
    int column = 0;       // of the keyword
    int offset = 0;       // of the keyword, in the text
    QString written;      // the keyword as written
    bool matched = false; // a directive the program reads
    int matchColumn = 0;
    int matchOffset = 0;
    int matchLength = 0; // from the keyword to the end of the colour
    QString name;        // as written, "Disabled." included
    QString colorText;
    QPalette::ColorGroup group = QPalette::All;
    QPalette::ColorRole role = QPalette::NoRole;
    bool known = false;
    QColor color;
    bool extraDigit = false; // a hexadecimal digit follows the six the program reads
};

// The toolkit decodes an image whole; beyond this many pixels that costs gigabytes.
constexpr qint64 kMaxImagePixels = 64LL * 1000 * 1000;
// Too large to hand to the toolkit, by the size its header declares.
inline bool imageTooLarge(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width * height > kMaxImagePixels;
}

// One url() of a declaration, looked at where it resolves without opening it.
struct ResourceTarget
{
    QString url;
    int offset = 0;
    int length = 0; // from "url(" to its ")", or to the end of the line when not closed there
    bool isResource = false; // ":/..."
    bool unchecked = false;  // a ":/..." url with no resources configured to look it up in
    QString resolved;
    QString nonRegularKind; // "" or what stands there when it is no regular file
    bool exists = false;
    QSize imageSize; // as the image's header declares it, when it exists
};

// A sheet whose text is "file:///NAME": the toolkit reads the sheet from NAME.
struct SheetReference
{
    QString name;
    QString nonRegularKind;
    bool readable = false;
    QString error;
    bool accepted = true;
};

class SheetModel
{
public:
    // Parses bytes as the program installs them, judged by options (the class model,
    // where url()s resolve, which compiled-in resources exist).
    SheetModel(const QByteArray &bytes, const QString &path,
               const LintOptions &options = LintOptions());
    ~SheetModel();
    SheetModel(const SheetModel &) = delete;
    SheetModel &operator=(const SheetModel &) = delete;

    QString path;
    QByteArray bytes;
    // UTF-8 up to the first NUL with CR LF folded: the text the program installs.
    QString text;
    LintOptions options;
    QssReference::WidgetClasses classes;
    // Set when the text names another file to read the sheet from; nothing else is
    // parsed then.
    bool isReference = false;
    SheetReference reference;

    // The toolkit's tokens of the text (after its escape preprocessing).
    const QCss::Parser &parser() const;
    bool syntaxAccepted = true;
    SyntaxFailure syntaxFailure;
    QVector<SheetRule> rules;
    QVector<DroppedDeclaration> dropped;
    QVector<PaletteLine> paletteLines;
    // End of the comment the text opens with, 0 when it opens with none.
    int leadingCommentEnd = 0;
    QVector<ResourceTarget> resources;
    QVector<SuppressionComment> suppressions;

    // 1-based line and column of a character offset in text.
    void lineColumn(int offset, int *line, int *column) const;
    // Offset in text of a token, undoing the toolkit's escape preprocessing.
    int symbolOffset(int symbolIndex) const;
    // The tokens [first, end) as written, blanks folded.
    QString tokensText(int first, int end) const;
    // Offset in text just after the last token of [first, end) that is not a blank;
    // the offset of first when there is none.
    int tokensEnd(int first, int end) const;
    // Which selectors may style a class and which set a property there; built on
    // first use (selectorindex.cpp).
    const SelectorIndex &selectorIndex() const;
    // A palette colour the header sets (the All group unless asked), or invalid.
    QColor paletteColor(QPalette::ColorRole role, QPalette::ColorGroup group = QPalette::All) const;
    // Whether what is said of the sheet rests on files on disk: a url() naming a path,
    // or the file the sheet is read from (sheetresources.cpp, with what follows them).
    bool readsFiles() const;

private:
    std::unique_ptr<ToolkitSheet> toolkit;
    mutable std::shared_ptr<const SelectorIndex> index;
    void decode();
    void noteEscapeShifts(const QString &original);
    void parseRules();
    void scanPalette();
    // The url()s and a "file:///" reference, looked at on disk (sheetresources.cpp).
    void resolveResources();
    void readReference();
    int urlLength(int offset) const;

    QVector<int> lineStarts;
    // Pairs (preprocessed offset, characters removed before it), ascending.
    QVector<QPair<int, int>> escapeShifts;
};

// "ids,others,elements", the specificity as CSS writes it: object names, then
// attributes and pseudo-states, then classes.
QString specificityText(const SheetSelector &selector);

// The properties the sheet's attribute selectors test, in any compound, each once.
QStringList testedAttributeNames(const SheetModel &model);
