// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/sheetmodel.h"

#include "analysis/applicationobjects.h"

#include "analysis/qssreference.h"
#include "analysis/toolkitsheet.h"
#include "support/safefileread.h"
#include "support/sheetlexer.h"
#include "theme/palettedirectives.h"
#include "theme/stylesheetloader.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <cctype>
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

// The toolkit decodes an image whole; only its header is read here, for its size.
QSize declaredImageSize(const QString &path)
{
    QImageReader reader(path);
    return reader.size();
}
} // namespace

SheetModel::SheetModel(const QByteArray &bytes, const QString &path, const LintOptions &options)
    : path(path.isEmpty() ? QStringLiteral("-") : path)
    , bytes(bytes)
    , options(options)
    , classes(knownClasses(options))
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

int SheetModel::urlLength(int offset) const
{
    // To the url()'s ")" (an escaped "url(" is a name and a "(", so to the first ")"),
    // but no further than its line.
    const int lineEnd = text.indexOf(QLatin1Char('\n'), offset);
    const int end = lineEnd < 0 ? int(text.size()) : lineEnd;
    for (SheetLexer lexer(text, LexMode::Sheet, offset); !lexer.atEnd();) {
        const SheetSpan span = lexer.next();
        if (span.start >= end)
            break;
        if (span.kind == SheetSpanKind::Url || isPunctuation(text, span, QLatin1Char(')')))
            return qMin(span.end(), end) - offset;
    }
    return end - offset;
}

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

void SheetModel::resolveResources()
{
    for (const SheetRule &rule : qAsConst(rules)) {
        for (const SheetDeclaration &entry : rule.declarations) {
            // The url() tokens of the value, in order, for the positions.
            QVector<int> urlOffsets;
            for (int i = entry.firstSymbol; i < entry.endSymbol; ++i) {
                const Symbol &symbol = toolkit->parser.symbols.at(i);
                if (symbol.token == FUNCTION &&
                    symbol.lexem().compare(QLatin1String("url("), Qt::CaseInsensitive) == 0)
                    urlOffsets.append(symbolOffset(i));
            }
            int occurrence = 0;
            for (const Value &value : entry.toolkit->d->values) {
                if (value.type != Value::Uri)
                    continue;
                ResourceTarget target;
                target.url = value.variant.toString();
                target.offset = urlOffsets.value(occurrence++, entry.valueOffset);
                target.length = urlLength(target.offset);
                const QString &url = target.url;
                if (url.isEmpty() || url == QLatin1String("none") ||
                    url.startsWith(QLatin1String("qrc:")) ||
                    url.startsWith(QLatin1String("file:"))) {
                    resources.append(target);
                    continue;
                }
                target.isResource = url.startsWith(QLatin1Char(':'));
                // A relative path resolves against the working directory of the program
                // that installs the sheet, not against the sheet's folder.
                if (target.isResource) {
                    // The application's resources, not this program's: looked up in its
                    // .qrc files when they are configured, else left unchecked.
                    target.resolved = QDir::cleanPath(url.mid(1).prepend(QLatin1Char('/')));
                    target.unchecked = !options.resourcesConfigured;
                    target.exists = options.resourcePaths.contains(target.resolved);
                    resources.append(target);
                    continue;
                }
                target.resolved = url;
                if (QFileInfo(url).isRelative())
                    target.resolved =
                        QDir(options.urlBase.isEmpty() ? QDir::currentPath() : options.urlBase)
                            .filePath(url);
                target.nonRegularKind = nonRegularFileKind(target.resolved);
                if (target.nonRegularKind.isEmpty()) {
                    const QFileInfo info(target.resolved);
                    target.exists = info.exists();
                    // An empty file has no header to read; some (/proc/kmsg) claim to
                    // be empty and block a reader.
                    if (target.exists && info.size() > 0)
                        target.imageSize = declaredImageSize(target.resolved);
                }
                resources.append(target);
            }
        }
    }
}

bool SheetModel::readsFiles() const
{
    // A ":/" resource is looked up in the configuration's .qrc lists, and an empty,
    // "none" or URL value is never resolved: only a path is looked for on disk.
    return isReference ||
           std::any_of(resources.cbegin(), resources.cend(), [](const ResourceTarget &target) {
               return !target.isResource && !target.resolved.isEmpty();
           });
}

void SheetModel::readReference()
{
    // The toolkit reads an application style sheet that starts with "file:///" from
    // the file the rest of the text names, relative to the working directory.
    reference.name = text.mid(8);
    reference.nonRegularKind = nonRegularFileKind(reference.name);
    if (!reference.nonRegularKind.isEmpty())
        return;
    const FileReadResult file = readRegularFile(reference.name, kMaxSheetBytes);
    reference.readable = file.ok;
    reference.error = file.error;
    if (!file.ok)
        return;
    QCss::Parser referenced(QString::fromUtf8(file.bytes));
    QCss::StyleSheet sheet;
    reference.accepted = referenced.parse(&sheet);
    syntaxAccepted = reference.accepted;
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

bool selectorCovers(const QssReference::WidgetClasses &classes, const SheetSelector &b,
                    const SheetSelector &a)
{
    // Only the last compound is compared, so b must not depend on ancestors.
    if (b.hasAncestors || b.subcontrol != a.subcontrol)
        return false;
    if (!b.element.isEmpty() && b.element != a.element && !classes.inherits(a.element, b.element))
        return false;
    for (const QString &id : b.ids) {
        if (!a.ids.contains(id))
            return false;
    }
    for (const auto &attribute : b.attributes) {
        const bool implied = std::any_of(
            a.attributes.cbegin(), a.attributes.cend(), [&attribute](const SheetAttribute &other) {
                if (other.name != attribute.name)
                    return false;
                if (attribute.anyValue)
                    return true;
                return other.match == attribute.match && other.value == attribute.value;
            });
        if (!implied)
            return false;
    }
    for (const QString &state : b.states) {
        if (!a.states.contains(state))
            return false;
    }
    for (const QString &state : b.negatedStates) {
        if (!a.negatedStates.contains(state))
            return false;
    }
    return true;
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

int cascadeWeight(const SheetSelector &selector, int order)
{
    // The toolkit's own weight: a rule's position plus its specificity times 256, so
    // in a sheet of more than 256 rules position bleeds into specificity.
    return order + selector.specificity * 0x100;
}

bool selectorWins(const SheetSelector &b, int bOrder, const SheetSelector &a, int aOrder)
{
    return cascadeWeight(b, bOrder) > cascadeWeight(a, aOrder);
}
