// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes through the style sheet lexer, as a sheet and as a
// template, read as UTF-8 and as raw UTF-16 (lone surrogates and all). Besides no
// crash, hang or sanitizer report: the spans tile the text exactly, in order, none
// empty; each opens as its kind says and a closed one ends with its closing mark; a
// sheet lexed again from any span's start gives the same spans from there.

#include "fuzzrequire.h"
#include "support/sheetlexer.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void checkOpening(QStringView text, const SheetSpan &span)
{
    const QStringView written = text.mid(span.start, span.length);
    switch (span.kind) {
    case SheetSpanKind::Comment:
        require(written.startsWith(QLatin1String("/*")));
        require(span.unterminated !=
                (written.size() >= 4 && written.endsWith(QLatin1String("*/"))));
        require(!span.unterminated || span.end() == text.size());
        break;
    case SheetSpanKind::String:
        require(written.front() == QLatin1Char('"') || written.front() == QLatin1Char('\''));
        require(span.unterminated || (written.size() >= 2 && written.back() == written.front()));
        break;
    case SheetSpanKind::Url:
        require(written.startsWith(QLatin1String("url("), Qt::CaseInsensitive));
        require(span.unterminated ? span.end() == text.size() : written.back() == QLatin1Char(')'));
        break;
    case SheetSpanKind::Reference:
        require(written.front() == QLatin1Char('{'));
        require(span.unterminated || written.back() == QLatin1Char('}'));
        break;
    case SheetSpanKind::Hash:
        require(written.front() == QLatin1Char('#') && written.size() >= 2);
        break;
    case SheetSpanKind::Whitespace:
        require(written.trimmed().isEmpty());
        break;
    default:
        require(!span.unterminated);
        break;
    }
    require(spanContent(text, span).size() <= span.length);
}

void checkTiling(QStringView text, LexMode mode)
{
    const QVector<SheetSpan> spans = lexSheet(text, mode);
    int at = 0;
    for (const SheetSpan &span : spans) {
        require(span.start == at && span.length > 0);
        checkOpening(text, span);
        at = span.end();
    }
    require(at == text.size());
    if (mode != LexMode::Sheet)
        return;
    // Every few spans, to keep a long input from costing the square of its length.
    for (int k = 0; k < spans.size(); k += 1 + spans.size() / 16) {
        SheetLexer lexer(text, mode, spans.at(k).start);
        for (int j = k; j < spans.size(); ++j) {
            require(!lexer.atEnd());
            const SheetSpan span = lexer.next();
            require(span.start == spans.at(j).start && span.length == spans.at(j).length &&
                    span.kind == spans.at(j).kind);
        }
        require(lexer.atEnd());
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const QString utf8 = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    const QString utf16(reinterpret_cast<const QChar *>(data), int(size / 2));
    for (const QString &text : {utf8, utf16}) {
        checkTiling(text, LexMode::Sheet);
        checkTiling(text, LexMode::Template);
    }
    return 0;
}
