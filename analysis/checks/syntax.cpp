// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/toolkitsheet.h"

#include <QStringList>

#include <algorithm>

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

QString tokenDescription(const SheetModel &context, int symbolIndex)
{
    const auto &symbols = context.parser().symbols;
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

} // namespace

void checkEncoding(const SheetModel &context, CheckReporter &report)
{
    const QByteArray &bytes = context.bytes;
    const auto lineAndColumn = [&bytes](int at, int *line, int *column) {
        const int lineStart = at == 0 ? 0 : bytes.lastIndexOf('\n', at - 1) + 1;
        *line = bytes.left(at).count('\n') + 1;
        const QString prefix = QString::fromUtf8(bytes.mid(lineStart, at - lineStart));
        // Characters, as every other column counts them: a surrogate pair is one.
        *column = int(prefix.size() - std::count_if(prefix.cbegin(), prefix.cend(),
                                                    [](QChar c) { return c.isLowSurrogate(); })) +
                  1;
    };
    if (bytes.startsWith("\xff\xfe") || bytes.startsWith("\xfe\xff")) {
        report.atLine(1, 1, LintSeverity::Error,
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
        report.atLine(line, column, 1,
                      QStringLiteral("not valid UTF-8 (byte 0x%1; %2 invalid bytes in all): "
                                     "the program shows each as U+FFFD")
                          .arg(uchar(bytes.at(firstInvalid)), 2, 16, QLatin1Char('0'))
                          .arg(invalidCount));
    }
    if (nul >= 0) {
        lineAndColumn(nul, &line, &column);
        report.atLine(line, column, 1,
                      QStringLiteral("NUL byte: the program's loader ends the style sheet here, "
                                     "%1 bytes after it are ignored")
                          .arg(bytes.size() - nul - 1));
    }
    const int cr = context.text.indexOf(QLatin1Char('\r'));
    if (cr >= 0) {
        report.at(cr, 1,
                  QStringLiteral("line ends with CR alone (%1 in all): the program splits "
                                 "lines at LF only, so @palette directives on these lines "
                                 "count as one line")
                      .arg(context.text.count(QLatin1Char('\r'))));
    }
}

void checkSyntax(const SheetModel &context, CheckReporter &report)
{
    if (context.isReference) {
        if (context.reference.readable && !context.reference.accepted) {
            report.atLine(1, 1,
                          QStringLiteral("the toolkit reads the style sheet from \"%1\" and "
                                         "rejects it: check that file")
                              .arg(context.reference.name));
        }
        return;
    }
    const auto &symbols = context.parser().symbols;
    // Declarations dropped for want of "name: value"; those with a value the toolkit
    // cannot read are bad values.
    for (const DroppedDeclaration &dropped : context.dropped) {
        bool colon = false;
        for (int i = dropped.firstSymbol; i < dropped.failedSymbol && i < symbols.size(); ++i)
            colon = colon || symbols.at(i).token == COLON;
        if (!colon) {
            const int start = context.symbolOffset(dropped.firstSymbol);
            report.at(start,
                      context.tokensEnd(dropped.firstSymbol, dropped.failedSymbol + 1) - start,
                      LintSeverity::Warning,
                      QStringLiteral("the toolkit drops this declaration: expected \"name: "
                                     "value\", found %1")
                          .arg(tokenDescription(context, dropped.failedSymbol)));
        }
    }
    if (context.syntaxAccepted)
        return;
    const SyntaxFailure &failure = context.syntaxFailure;
    const int at = failure.symbol;
    // "color: red background: blue;" reads "background" as part of the first value
    // and stops at its ":"; the ";" is missing at the end of the value before it.
    if (!failure.unclosed && at < symbols.size() && symbols.at(at).token == COLON &&
        failure.expected.startsWith(QLatin1String("\";\""))) {
        int name = at - 1;
        while (name > 0 && symbols.at(name).token == S)
            --name;
        int value = name - 1;
        while (value > 0 && symbols.at(value).token == S)
            --value;
        if (name > 0 && value >= 0 && symbols.at(name).token == IDENT) {
            const int end =
                context.symbolOffset(value) + symbols.at(value).lexem().trimmed().size();
            report.at(end, context.tokensEnd(name, name + 1) - end,
                      QStringLiteral("the toolkit rejects the whole style sheet here: "
                                     "expected \";\" before \"%1\" (it reads \"%1\" as part "
                                     "of this value and stops at the \":\" after it)")
                          .arg(symbols.at(name).lexem()));
            report.mendBy(end, QStringLiteral(";"));
            return;
        }
    }
    const QString message =
        failure.unclosed && !failure.walked
            ? QStringLiteral("the toolkit rejects the whole style sheet: this \"{\" is never "
                             "closed, the text ends before its \"}\"")
            : QStringLiteral("the toolkit rejects the whole style sheet here: expected %1, found "
                             "%2")
                  .arg(failure.expected, tokenDescription(context, at));
    const int start = context.symbolOffset(at);
    report.at(start, qMax(1, context.tokensEnd(at, at + 1) - start), message);
    const bool endsInRule =
        at >= symbols.size() && failure.expected.startsWith(QLatin1String("\";\" or \"}\""));
    if ((failure.unclosed && !failure.walked) || endsInRule) {
        const bool newline = context.text.endsWith(QLatin1Char('\n'));
        report.mendBy(int(context.text.size()),
                      newline ? QStringLiteral("}\n") : QStringLiteral("\n}"));
    }
}
