// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/lintcontext.h"

#include <QStringList>

using namespace QCss;

namespace {
// Length of the valid UTF-8 sequence at i, or 0 when the byte starts none.
int utf8SequenceLength(const QByteArray &bytes, int i)
{
    const auto byte = [&bytes](int at) { return uchar(bytes.at(at)); };
    const uchar lead = byte(i);
    if (lead < 0x80)
        return 1;
    int length = 0;
    uint minimum = 0;
    uint code = 0;
    if ((lead & 0xe0) == 0xc0) {
        length = 2, minimum = 0x80, code = lead & 0x1f;
    } else if ((lead & 0xf0) == 0xe0) {
        length = 3, minimum = 0x800, code = lead & 0x0f;
    } else if ((lead & 0xf8) == 0xf0) {
        length = 4, minimum = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xc0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i + k) & 0x3f);
    }
    if (code < minimum || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
        return 0;
    return length;
}

QString tokenDescription(const LintContext &context, int symbolIndex)
{
    const auto &symbols = context.parser.symbols;
    if (symbolIndex >= symbols.size())
        return QStringLiteral("the end of the text");
    const Symbol &symbol = symbols.at(symbolIndex);
    if (symbol.token == S)
        return QStringLiteral("white space");
    QString lexem = symbol.lexem().trimmed();
    if (lexem.size() > 30)
        lexem = lexem.left(27) + QStringLiteral("...");
    return QStringLiteral("\"%1\"").arg(lexem);
}

// Walks the token list with the toolkit's own parser steps, in the order its parse
// takes them, to learn where each rule and declaration stands and, for a sheet the
// toolkit rejects, where and why it stops. The verdict itself is the toolkit's.
class RuleWalker
{
public:
    explicit RuleWalker(LintContext &context)
        : context(context)
        , p(context.parser)
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
    void addSelector(LintRule &rule, const Selector &selector, int first, int end);
    void addDeclaration(LintRule &rule, const Declaration &declaration, int first, int end);
    void reportDropped(int first, int failedIndex);
    QString tokensText(int first, int end) const;

    LintContext &context;
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
    LintRule rule;
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
            reportDropped(rewind, failedAt());
            p.index = rewind;
            const bool foundSemicolon = p.until(SEMICOLON);
            const int semicolonIndex = p.index;
            p.index = declarationStart;
            const bool foundRBrace = p.until(RBRACE);
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
    p.skipSpace();
    context.rules.append(rule);
    return true;
}

QString RuleWalker::tokensText(int first, int end) const
{
    QString result;
    for (int i = first; i < end && i < p.symbols.size(); ++i) {
        const Symbol &symbol = p.symbols.at(i);
        result += symbol.token == S ? QStringLiteral(" ") : symbol.lexem();
    }
    return result.simplified();
}

void RuleWalker::addSelector(LintRule &rule, const Selector &selector, int first, int end)
{
    LintSelector entry;
    entry.selector = selector;
    entry.text = tokensText(first, end);
    entry.offset = context.symbolOffset(first);
    entry.specificity = selector.specificity();
    entry.hasAncestors = selector.basicSelectors.size() > 1;
    const BasicSelector &last = selector.basicSelectors.last();
    entry.element = last.elementName;
    entry.ids = last.ids;
    entry.attributes = last.attributeSelectors;
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

void RuleWalker::addDeclaration(LintRule &rule, const Declaration &declaration, int first, int end)
{
    LintDeclaration entry;
    entry.declaration = declaration;
    entry.property = declaration.d->property;
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

void RuleWalker::reportDropped(int first, int failedIndex)
{
    int colon = -1;
    for (int i = first; i < failedIndex && i < p.symbols.size(); ++i) {
        if (p.symbols.at(i).token == COLON) {
            colon = i;
            break;
        }
    }
    if (colon < 0) {
        context.report(context.symbolOffset(first), LintSeverity::Warning, QStringLiteral("syntax"),
                       QStringLiteral("the toolkit drops this declaration: expected \"name: "
                                      "value\", found %1")
                           .arg(tokenDescription(context, failedIndex)));
        return;
    }
    int valueStart = colon + 1;
    while (valueStart < p.symbols.size() && p.symbols.at(valueStart).token == S)
        ++valueStart;
    int valueEnd = valueStart;
    while (valueEnd < p.symbols.size() && valueEnd - valueStart < 20 &&
           p.symbols.at(valueEnd).token != SEMICOLON && p.symbols.at(valueEnd).token != RBRACE)
        ++valueEnd;
    context.report(context.symbolOffset(valueStart), LintSeverity::Warning,
                   QStringLiteral("bad-value"),
                   QStringLiteral("the toolkit drops this declaration: it cannot read the "
                                  "value \"%1\"")
                       .arg(tokensText(valueStart, valueEnd)));
}
} // namespace

void checkEncoding(LintContext &context)
{
    const QByteArray &bytes = context.bytes;
    const auto lineAndColumn = [&bytes](int at, int *line, int *column) {
        const int lineStart = at == 0 ? 0 : bytes.lastIndexOf('\n', at - 1) + 1;
        *line = bytes.left(at).count('\n') + 1;
        const QString prefix = QString::fromUtf8(bytes.mid(lineStart, at - lineStart));
        *column = prefix.size() + 1;
    };
    const QString check = QStringLiteral("encoding");
    if (bytes.startsWith("\xff\xfe") || bytes.startsWith("\xfe\xff")) {
        context.reportAt(1, 1, LintSeverity::Error, check,
                         QStringLiteral("UTF-16 byte-order mark: the program reads style sheets "
                                        "as UTF-8; save the file as UTF-8"));
        return;
    }
    const int nul = bytes.indexOf('\0');
    const int validEnd = nul < 0 ? bytes.size() : nul;
    int invalidCount = 0;
    int firstInvalid = -1;
    for (int i = 0; i < validEnd;) {
        const int length = utf8SequenceLength(bytes, i);
        if (length == 0) {
            if (firstInvalid < 0)
                firstInvalid = i;
            ++invalidCount;
            ++i;
        } else {
            i += length;
        }
    }
    int line = 1, column = 1;
    if (firstInvalid >= 0) {
        lineAndColumn(firstInvalid, &line, &column);
        context.reportAt(line, column, LintSeverity::Warning, check,
                         QStringLiteral("not valid UTF-8 (byte 0x%1; %2 invalid bytes in all): "
                                        "the program shows each as U+FFFD")
                             .arg(uchar(bytes.at(firstInvalid)), 2, 16, QLatin1Char('0'))
                             .arg(invalidCount));
    }
    if (nul >= 0) {
        lineAndColumn(nul, &line, &column);
        context.reportAt(line, column, LintSeverity::Warning, check,
                         QStringLiteral("NUL byte: the program's loader ends the style sheet here, "
                                        "%1 bytes after it are ignored")
                             .arg(bytes.size() - nul - 1));
    }
    const int cr = context.text.indexOf(QLatin1Char('\r'));
    if (cr >= 0) {
        context.report(cr, LintSeverity::Warning, check,
                       QStringLiteral("line ends with CR alone (%1 in all): the program splits "
                                      "lines at LF only, so @palette directives on these lines "
                                      "count as one line")
                           .arg(context.text.count(QLatin1Char('\r'))));
    }
}

void checkSyntax(LintContext &context)
{
    context.noteEscapeShifts(context.text);
    context.parser.init(context.text, false);
    {
        StyleSheet sheet;
        context.syntaxAccepted = context.parser.parse(&sheet);
    }
    const int toolkitStop = context.parser.index;
    // The scanner grows the list by doubling; the checks keep it to the end.
    context.parser.symbols.squeeze();

    RuleWalker walker(context);
    const bool walked = walker.walk();
    if (context.syntaxAccepted)
        return;
    int at = walker.failIndex;
    QString expected = walker.expected;
    if (walked) {
        at = toolkitStop;
        expected = QStringLiteral("something else");
    }
    // "color: red background: blue;" reads "background" as part of the first value
    // and stops at its ":"; the ";" is missing at the end of the value before it.
    const auto &symbols = context.parser.symbols;
    if (!walker.unclosed && at < symbols.size() && symbols.at(at).token == COLON &&
        expected.startsWith(QLatin1String("\";\""))) {
        int name = at - 1;
        while (name > 0 && symbols.at(name).token == S)
            --name;
        int value = name - 1;
        while (value > 0 && symbols.at(value).token == S)
            --value;
        if (name > 0 && value >= 0 && symbols.at(name).token == IDENT) {
            const int end =
                context.symbolOffset(value) + symbols.at(value).lexem().trimmed().size();
            context.report(end, LintSeverity::Error, QStringLiteral("syntax"),
                           QStringLiteral("the toolkit rejects the whole style sheet here: "
                                          "expected \";\" before \"%1\" (it reads \"%1\" as part "
                                          "of this value and stops at the \":\" after it)")
                               .arg(symbols.at(name).lexem()));
            return;
        }
    }
    const QString message =
        walker.unclosed && !walked
            ? QStringLiteral("the toolkit rejects the whole style sheet: this \"{\" is never "
                             "closed, the text ends before its \"}\"")
            : QStringLiteral("the toolkit rejects the whole style sheet here: expected %1, found "
                             "%2")
                  .arg(expected, tokenDescription(context, at));
    context.report(context.symbolOffset(at), LintSeverity::Error, QStringLiteral("syntax"),
                   message);
}
