// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes as a form, a C++ and a Python source, through the
// analysis, --fix and --embedded formatting of their sheets. Besides no crash, hang or
// sanitizer report: every finding, its end and its fixes lie inside the file; the
// fixed and the formatted file hold as many sheets as the input, and change nothing
// outside them.

#include "analysis/toolkitparse.h"
#include "embedded/embeddedformat.h"
#include "embedded/embeddedlint.h"
#include "fuzzrequire.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void requireInside(const QStringList &lines, int line, int column)
{
    require(line >= 1 && line <= lines.size());
    require(column >= 1 && column <= lines.at(line - 1).size() + 1);
}

// The text outside the sheets' literals, in order.
QString outside(const QString &text, const QVector<EmbeddedSheet> &sheets)
{
    QString kept;
    int at = 0;
    for (const EmbeddedSheet &sheet : sheets) {
        if (!sheet.checkable || sheet.pieces.isEmpty())
            continue;
        kept += text.mid(at, sheet.offset - at) + QLatin1Char('|');
        at = sheet.endOffset;
    }
    return kept + text.mid(at);
}

void check(EmbeddingLanguage language, const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(bytes);
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const LintDiagnostic &finding :
         lintEmbeddedSheets(text, language, QStringLiteral("f"), LintOptions())) {
        requireInside(lines, finding.line, finding.column);
        if (finding.endLine > 0)
            requireInside(lines, finding.endLine, finding.endColumn);
        for (const LintFix &fix : finding.fixes) {
            requireInside(lines, fix.line, fix.column);
            requireInside(lines, fix.endLine, fix.endColumn);
        }
    }
    const QVector<EmbeddedSheet> sheets = readEmbeddedSheets(language, text);
    const EmbeddedFixResult fixed =
        fixEmbeddedSheets(bytes, language, QStringLiteral("f"), LintOptions(), true);
    const QVector<EmbeddedSheet> fixedSheets =
        readEmbeddedSheets(language, QString::fromUtf8(fixed.bytes));
    require(fixedSheets.size() == sheets.size());
    const EmbeddedFormatResult formatted =
        formatEmbeddedSheets(text, language, SheetFormatOptions());
    const QVector<EmbeddedSheet> formattedSheets = readEmbeddedSheets(language, formatted.text);
    require(formattedSheets.size() == sheets.size());
    // Only the literals of C++ and Python sheets are rewritten whole, quotes and all;
    // a form's text is replaced inside its element.
    if (language == EmbeddingLanguage::Form)
        require(outside(formatted.text, formattedSheets) == outside(text, sheets));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 8 * 1024)
        return 0;
    quietToolkitParserMessages();
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    for (EmbeddingLanguage language :
         {EmbeddingLanguage::Form, EmbeddingLanguage::Cpp, EmbeddingLanguage::Python})
        check(language, bytes);
    return 0;
}
