// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/sheetmodel.h"

#include "analysis/applicationobjects.h"

#include "analysis/qssreference.h"
#include "analysis/toolkitsheet.h"
#include "support/sheetlexer.h"
#include "theme/palettedirectives.h"
#include "theme/stylesheetloader.h"

#include <QMutex>

#include <algorithm>
#include <cctype>
#include <memory>
#include <utility>

using namespace QCss;

namespace {
// Walks the token list with the toolkit's own parser steps, in the order its parse
// takes them, to learn where each rule and declaration stands and, for a sheet the
// toolkit rejects, where and why it stops. The verdict itself is the toolkit's.
class RuleWalker
{
public:
    RuleWalker(SheetModel &context, ToolkitSheet &toolkit)
        : context(context)
        , toolkit(toolkit)
        , p(toolkit.parser)
    {}

    // False at the first failure; failIndex and expected say where and what.
    bool walk();

    int failIndex = -1;
    QString expected;
    // The text ends inside the rule whose "{" is at failIndex.
    bool unclosed = false;

private:
    bool fail(int at, const QString &what)
    {
        failIndex = at;
        expected = what;
        return false;
    }
    // After a failed step: the token a failed next() consumed, else the next one.
    int failedAt() const
    {
        return (p.errorIndex == p.index && p.index > 0) ? p.index - 1 : p.index;
    }
    void skipSpaceAndMarkup()
    {
        while (p.test(S) || p.test(CDO) || p.test(CDC)) {
        }
    }
    bool walkRuleset();
    void addSelector(SheetRule &rule, const Selector &selector, int first, int end);
    void addDeclaration(SheetRule &rule, const Declaration &declaration, int first, int end);
    QString tokensText(int first, int end) const { return context.tokensText(first, end); }

    SheetModel &context;
    ToolkitSheet &toolkit;
    Parser &p;
};

bool RuleWalker::walk()
{
    p.index = 0;
    p.errorIndex = -1;
    if (p.testTokenAndEndsWith(ATKEYWORD_SYM, QLatin1String("charset"))) {
        int before = p.index;
        if (!p.next(STRING))
            return fail(before, QStringLiteral("a quoted character set name after @charset"));
        before = p.index;
        if (!p.next(SEMICOLON))
            return fail(before, QStringLiteral("\";\" after the @charset name"));
    }
    skipSpaceAndMarkup();
    while (p.testImport()) {
        ImportRule rule;
        p.errorIndex = -1;
        if (!p.parseImport(&rule))
            return fail(failedAt(), QStringLiteral("a url() or string, then \";\", after @import"));
        skipSpaceAndMarkup();
    }
    do {
        if (p.testMedia()) {
            MediaRule rule;
            p.errorIndex = -1;
            if (!p.parseMedia(&rule))
                return fail(failedAt(),
                            QStringLiteral("a medium and a block of rules after @media"));
        } else if (p.testPage()) {
            PageRule rule;
            p.errorIndex = -1;
            if (!p.parsePage(&rule))
                return fail(failedAt(), QStringLiteral("a block of declarations after @page"));
        } else if (p.testRuleset()) {
            if (!walkRuleset())
                return false;
        } else if (p.test(ATKEYWORD_SYM)) {
            const int at = p.index - 1;
            if (!p.until(RBRACE))
                return fail(at, QStringLiteral("a block in braces after this at-rule"));
        } else if (p.hasNext()) {
            return fail(p.index, QStringLiteral("a selector or an at-rule"));
        }
        skipSpaceAndMarkup();
    } while (p.hasNext());
    return true;
}

bool RuleWalker::walkRuleset()
{
    SheetRule rule;
    // testRuleset() has taken the selector's first token already.
    rule.firstSymbol = p.index - 1;
    rule.offset = context.symbolOffset(rule.firstSymbol);
    rule.order = context.rules.size();

    Selector selector;
    int first = rule.firstSymbol;
    p.errorIndex = -1;
    if (!p.parseSelector(&selector))
        return fail(failedAt(), QStringLiteral("a selector"));
    addSelector(rule, selector, first, p.index);
    while (p.test(COMMA)) {
        p.skipSpace();
        first = p.index;
        Selector next;
        p.errorIndex = -1;
        if (!p.parseNextSelector(&next))
            return fail(failedAt(), QStringLiteral("a selector after \",\""));
        addSelector(rule, next, first, p.index);
    }
    p.skipSpace();
    int before = p.index;
    if (!p.next(LBRACE))
        return fail(before, QStringLiteral("\"{\" after the selector"));
    rule.braceSymbol = before;
    const int declarationStart = p.index;

    do {
        p.skipSpace();
        Declaration declaration;
        const int rewind = p.index;
        p.errorIndex = -1;
        if (!p.parseNextDeclaration(&declaration)) {
            context.dropped.append({rewind, failedAt()});
            p.index = rewind;
            const bool foundSemicolon = p.until(SEMICOLON);
            const int semicolonIndex = p.index;
            p.index = declarationStart;
            const bool foundRBrace = p.until(RBRACE);
            const int afterRBrace = p.index;
            if (foundSemicolon && semicolonIndex < p.index) {
                declaration = Declaration();
                p.index = semicolonIndex - 1;
            } else {
                p.skipSpace();
                if (!foundRBrace) {
                    // Point at the brace left open rather than at the end of the text.
                    unclosed = true;
                    return fail(rule.braceSymbol, QString());
                }
                rule.endOffset = context.symbolOffset(afterRBrace - 1) + 1;
                context.rules.append(rule);
                return true;
            }
        }
        if (!declaration.isEmpty())
            addDeclaration(rule, declaration, rewind, p.index);
    } while (p.test(SEMICOLON));

    before = p.index;
    if (!p.next(RBRACE)) {
        int line = 0, column = 0;
        context.lineColumn(rule.offset, &line, &column);
        return fail(before,
                    QStringLiteral("\";\" or \"}\" to close the rule of line %1").arg(line));
    }
    rule.endOffset = context.symbolOffset(p.index - 1) + 1;
    p.skipSpace();
    context.rules.append(rule);
    return true;
}

void RuleWalker::addSelector(SheetRule &rule, const Selector &selector, int first, int end)
{
    SheetSelector entry;
    toolkit.selectors.push_back(selector);
    entry.toolkit = &toolkit.selectors.back();
    entry.text = tokensText(first, end);
    entry.offset = context.symbolOffset(first);
    entry.specificity = selector.specificity();
    entry.hasAncestors = selector.basicSelectors.size() > 1;
    const BasicSelector &last = selector.basicSelectors.last();
    entry.element = last.elementName;
    entry.ids = last.ids;
    for (const AttributeSelector &attribute : last.attributeSelectors)
        entry.attributes.append({attribute.name, attribute.value,
                                 attribute.valueMatchCriterium == AttributeSelector::NoMatch,
                                 int(attribute.valueMatchCriterium)});
    // As the toolkit does: a leading pseudo it does not know names a subcontrol.
    for (int i = 0; i < last.pseudos.size(); ++i) {
        const Pseudo &pseudo = last.pseudos.at(i);
        if (i == 0 && pseudo.type == PseudoClass_Unknown) {
            entry.subcontrol = pseudo.name.toLower();
            continue;
        }
        (pseudo.negated ? entry.negatedStates : entry.states).append(pseudo.name.toLower());
    }
    rule.selectors.append(entry);
}

void RuleWalker::addDeclaration(SheetRule &rule, const Declaration &declaration, int first, int end)
{
    SheetDeclaration entry;
    toolkit.declarations.push_back(declaration);
    entry.toolkit = &toolkit.declarations.back();
    entry.property = declaration.d->property;
    entry.important = declaration.d->important;
    entry.offset = context.symbolOffset(first);
    int i = first;
    while (i < end && p.symbols.at(i).token != COLON)
        ++i;
    ++i;
    while (i < end && p.symbols.at(i).token == S)
        ++i;
    int last = end;
    while (last > i && p.symbols.at(last - 1).token == S)
        --last;
    entry.firstSymbol = i;
    entry.endSymbol = last;
    entry.valueOffset = context.symbolOffset(i);
    entry.valueText = tokensText(i, last);
    rule.declarations.append(entry);
}

// The configured classes, and the forms' promoted classes the configuration does not
// name otherwise.
QHash<QString, QString> knownClasses(const LintOptions &options)
{
    if (!options.applicationObjects)
        return options.widgets;
    QHash<QString, QString> classes = options.applicationObjects->classBases();
    for (auto it = options.widgets.cbegin(); it != options.widgets.cend(); ++it)
        classes.insert(it.key(), it.value());
    return classes;
}

// Every sheet of a walk is read with the same application and configuration, and the
// classes' ancestries cost as much as the application has classes: built once for them
// and shared (the tables are implicitly shared, so a copy is cheap). A language server's
// threads may ask at once.
QssReference::WidgetClasses classesOf(const LintOptions &options)
{
    if (!options.applicationObjects)
        return QssReference::WidgetClasses(options.widgets);
    struct Shared
    {
        std::weak_ptr<const ApplicationObjects> objects;
        qsizetype classCount = -1;
        QHash<QString, QString> configured;
        QssReference::WidgetClasses classes;
    };
    static QMutex mutex;
    static Shared shared;
    const QMutexLocker lock(&mutex);
    const bool same = !shared.objects.owner_before(options.applicationObjects) &&
                      !options.applicationObjects.owner_before(shared.objects) &&
                      !shared.objects.expired() &&
                      shared.classCount == options.applicationObjects->classes.size() &&
                      shared.configured == options.widgets;
    if (!same) {
        shared.objects = options.applicationObjects;
        shared.classCount = options.applicationObjects->classes.size();
        shared.configured = options.widgets;
        shared.classes = QssReference::WidgetClasses(knownClasses(options));
    }
    return shared.classes;
}
} // namespace

SheetModel::SheetModel(const QByteArray &bytes, const QString &path, const LintOptions &options)
    : path(path.isEmpty() ? QStringLiteral("-") : path)
    , bytes(bytes)
    , options(options)
    , classes(classesOf(options))
    , toolkit(std::make_unique<ToolkitSheet>())
{
    decode();
    suppressions = findSuppressionComments(text);
    if (text.startsWith(QLatin1String("file:///"))) {
        isReference = true;
        readReference();
        return;
    }
    parseRules();
    scanPalette();
    resolveResources();
}

SheetModel::~SheetModel() = default;

const QCss::Parser &SheetModel::parser() const
{
    return toolkit->parser;
}

void SheetModel::decode()
{
    // The text the program installs: read in text mode, then UTF-8 up to a NUL.
    if (bytes.contains("\r\n")) {
        QByteArray folded = bytes;
        text = decodeStyleSheetText(folded.replace("\r\n", "\n"));
    } else {
        text = decodeStyleSheetText(bytes);
    }
    lineStarts.clear();
    lineStarts.reserve(int(text.count(QLatin1Char('\n'))) + 1);
    lineStarts.append(0);
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\n'))
            lineStarts.append(i + 1);
    }
}

void SheetModel::parseRules()
{
    noteEscapeShifts(text);
    toolkit->parser.init(text, false);
    // The scanner grows the list by doubling; the checks keep it to the end.
    toolkit->parser.symbols.squeeze();

    // The walk takes the toolkit's own parse steps, so a sheet it walks to the end is
    // one the toolkit accepts, and parsing it a second time would only double the cost.
    RuleWalker walker(*this, *toolkit);
    const bool walked = walker.walk();
    if (walked)
        return;
    // The toolkit's own verdict on what the walk rejects: a walk that parted ways with
    // it must not report an error the toolkit does not see.
    {
        StyleSheet sheet;
        toolkit->parser.index = 0;
        toolkit->parser.errorIndex = -1;
        syntaxAccepted = toolkit->parser.parse(&sheet);
    }
    if (syntaxAccepted)
        return;
    syntaxFailure.symbol = walker.failIndex;
    syntaxFailure.expected = walker.expected;
    syntaxFailure.unclosed = walker.unclosed;
}

void SheetModel::scanPalette()
{
    // The leading comment: the comment that opens the text (after blanks).
    for (SheetLexer lexer(text); !lexer.atEnd();) {
        const SheetSpan span = lexer.next();
        if (span.kind == SheetSpanKind::Whitespace)
            continue;
        if (span.kind == SheetSpanKind::Comment)
            leadingCommentEnd = span.end();
        break;
    }
    int countedUpTo = 0;
    int lineNumber = 1;
    for (const PaletteDirectiveLine &found : paletteDirectiveLines(text, Qt::CaseInsensitive)) {
        lineNumber += QStringView(text)
                          .mid(countedUpTo, found.lineStart - countedUpTo)
                          .count(QLatin1Char('\n'));
        countedUpTo = found.lineStart;
        const PaletteDirectiveMatch &match = found.match;
        PaletteLine entry;
        entry.line = lineNumber;
        entry.column = found.keyword - found.lineStart + 1;
        entry.offset = found.keyword;
        entry.written = text.mid(found.keyword, kPaletteKeyword.size());
        if (match.matched) {
            entry.matched = true;
            entry.matchColumn = match.start + 1;
            entry.matchOffset = found.lineStart + match.start;
            entry.matchLength = match.end - match.start;
            entry.name = match.name;
            entry.colorText = match.colorText;
            entry.group = match.group;
            entry.role = match.role;
            entry.known = match.knownRole;
            entry.color = match.color;
            const int after = found.lineStart + match.end;
            const QChar next = after < found.lineEnd ? text.at(after) : QChar();
            entry.extraDigit = next.unicode() < 0x80 && std::isxdigit(next.unicode());
        }
        paletteLines.append(entry);
    }
}

QString SheetModel::tokensText(int first, int end) const
{
    QString result;
    const QVector<Symbol> &symbols = toolkit->parser.symbols;
    for (int i = first; i < end && i < symbols.size(); ++i) {
        const Symbol &symbol = symbols.at(i);
        if (symbol.token == S) {
            result += QLatin1Char(' ');
            continue;
        }
        // lexem() unescapes, and copies every token; most have nothing to unescape.
        const QStringView written = QStringView(symbol.text).mid(symbol.start, symbol.len);
        if (written.contains(QLatin1Char('\\')))
            result += symbol.lexem();
        else
            result.append(written.data(), int(written.size()));
    }
    return std::move(result).simplified();
}

int SheetModel::tokensEnd(int first, int end) const
{
    end = qMin(end, int(toolkit->parser.symbols.size()));
    while (end > first && toolkit->parser.symbols.at(end - 1).token == S)
        --end;
    if (end <= first)
        return symbolOffset(first);
    // Offsets of the preprocessed lexem are close enough for a range; the start is
    // mapped back exactly.
    return symbolOffset(end - 1) +
           int(toolkit->parser.symbols.at(end - 1).lexem().trimmed().size());
}

void SheetModel::lineColumn(int offset, int *line, int *column) const
{
    offset = qBound(0, offset, int(text.size()));
    const auto it = std::upper_bound(lineStarts.cbegin(), lineStarts.cend(), offset);
    const int lineIndex = int(it - lineStarts.cbegin()) - 1;
    const int start = lineStarts.at(lineIndex);
    int characters = 0;
    // Characters, not UTF-16 units: a surrogate pair is one column.
    for (int i = start; i < offset; ++i) {
        if (!text.at(i).isLowSurrogate())
            ++characters;
    }
    *line = lineIndex + 1;
    *column = characters + 1;
}

void SheetModel::noteEscapeShifts(const QString &original)
{
    // Mirrors the toolkit's escape preprocessing, which replaces "\" and up to six
    // hexadecimal digits by one character, so token offsets can be mapped back.
    escapeShifts.clear();
    if (!original.contains(QLatin1Char('\\')))
        return;
    QString output = original;
    int removed = 0;
    int i = 0;
    while (i < output.size()) {
        if (output.at(i) != QLatin1Char('\\')) {
            ++i;
            continue;
        }
        ++i;
        int hexCount = 0;
        const int hexStart = i;
        while (i < output.size() && isxdigit(output.at(i).toLatin1()) && hexCount < 7) {
            ++hexCount;
            ++i;
        }
        if (hexCount == 0)
            continue;
        hexCount = qMin(hexCount, 6);
        bool ok = false;
        const ushort code = output.mid(hexStart, hexCount).toUShort(&ok, 16);
        if (ok) {
            output.replace(hexStart - 1, hexCount + 1, QChar(code));
            removed += hexCount;
            escapeShifts.append(qMakePair(hexStart, removed));
        }
        i = hexStart;
    }
}

int SheetModel::symbolOffset(int symbolIndex) const
{
    if (toolkit->parser.symbols.isEmpty())
        return 0;
    if (symbolIndex >= toolkit->parser.symbols.size())
        return text.size();
    const QCss::Symbol &symbol = toolkit->parser.symbols.at(qMax(0, symbolIndex));
    // Some tokens ("{", ",", ">") carry the blanks before them.
    int start = symbol.start;
    if (symbol.token != QCss::S) {
        const int end = symbol.start + symbol.len;
        while (start < end - 1 && symbol.text.at(start).isSpace())
            ++start;
    }
    int shift = 0;
    for (const auto &entry : escapeShifts) {
        if (entry.first > start)
            break;
        shift = entry.second;
    }
    return start + shift;
}

QColor SheetModel::paletteColor(QPalette::ColorRole role, QPalette::ColorGroup group) const
{
    QColor result;
    for (const PaletteLine &directive : paletteLines) {
        if (!directive.matched || !directive.known || directive.role != role)
            continue;
        if (directive.group == group || directive.group == QPalette::All)
            result = directive.color;
    }
    return result;
}

QString specificityText(const SheetSelector &selector)
{
    int ids = 0, others = 0, elements = 0;
    for (const BasicSelector &part : selector.toolkit->basicSelectors) {
        ids += int(part.ids.size());
        others += int(part.attributeSelectors.size() + part.pseudos.size());
        elements += part.elementName.isEmpty() ? 0 : 1;
    }
    return QStringLiteral("%1,%2,%3").arg(ids).arg(others).arg(elements);
}

QStringList testedAttributeNames(const SheetModel &model)
{
    QStringList names;
    for (const SheetRule &rule : model.rules) {
        for (const SheetSelector &selector : rule.selectors) {
            for (const BasicSelector &part : selector.toolkit->basicSelectors) {
                for (const AttributeSelector &attribute : part.attributeSelectors) {
                    if (!names.contains(attribute.name))
                        names.append(attribute.name);
                }
            }
        }
    }
    return names;
}
