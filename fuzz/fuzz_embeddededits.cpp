// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: the language server's sheets of a form or a source after an edit.
// Bytes: the language, the edit's place (two bytes), how many characters it removes
// and how many it inserts, the inserted text, then the file (UTF-8). An edit the sheets
// are moved through must leave exactly what reading the edited file gives; completion
// and hover anywhere answer only with ranges inside the file. The findings the server
// keeps from the file's sheets, told for the edited file, must be a fresh analysis's.

#include "embedded/embeddedlint.h"
#include "fuzzrequire.h"
#include "prismark-lsp/features/embeddeddocument.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool sameSheets(const QVector<EmbeddedSheet> &a, const QVector<EmbeddedSheet> &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        const EmbeddedSheet &x = a.at(i);
        const EmbeddedSheet &y = b.at(i);
        if (x.text != y.text || x.sourceOffsets != y.sourceOffsets || x.offset != y.offset ||
            x.endOffset != y.endOffset || x.line != y.line || x.column != y.column ||
            x.checkable != y.checkable || x.pieces.size() != y.pieces.size())
            return false;
        for (int k = 0; k < x.pieces.size(); ++k) {
            const EmbeddedPiece &p = x.pieces.at(k);
            const EmbeddedPiece &q = y.pieces.at(k);
            if (p.decodedStart != q.decodedStart || p.decodedEnd != q.decodedEnd ||
                p.sourceStart != q.sourceStart || p.sourceEnd != q.sourceEnd)
                return false;
        }
    }
    return true;
}

bool sameFindings(const QVector<LintDiagnostic> &a, const QVector<LintDiagnostic> &b)
{
    const auto samePlace = [](const auto &x, const auto &y) {
        return x.line == y.line && x.column == y.column && x.endLine == y.endLine &&
               x.endColumn == y.endColumn;
    };
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        const LintDiagnostic &x = a.at(i);
        const LintDiagnostic &y = b.at(i);
        if (!samePlace(x, y) || x.check != y.check || x.message != y.message ||
            x.fixes.size() != y.fixes.size() || x.related.size() != y.related.size())
            return false;
        for (int k = 0; k < x.fixes.size(); ++k) {
            if (!samePlace(x.fixes.at(k), y.fixes.at(k)) ||
                x.fixes.at(k).newText != y.fixes.at(k).newText)
                return false;
        }
        for (int k = 0; k < x.related.size(); ++k) {
            if (!samePlace(x.related.at(k), y.related.at(k)))
                return false;
        }
    }
    return true;
}

void requireInside(const TextSpan &span, const QString &text)
{
    require(span.start >= 0 && span.start <= span.end && span.end <= text.size());
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    constexpr size_t kHeader = 5;
    if (size < kHeader)
        return 0;
    const EmbeddingLanguage languages[] = {EmbeddingLanguage::Form, EmbeddingLanguage::Cpp,
                                           EmbeddingLanguage::Python};
    const EmbeddingLanguage language = languages[data[0] % 3];
    const size_t insertedBytes = qMin(size_t(data[4] % 16), size - kHeader);
    const QString inserted =
        QString::fromUtf8(reinterpret_cast<const char *>(data) + kHeader, int(insertedBytes));
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data) + kHeader + insertedBytes,
                          int(size - kHeader - insertedBytes));
    const int start = (data[1] << 8 | data[2]) % (text.size() + 1);
    const int end = qMin(int(text.size()), start + data[3] % 8);

    EmbeddedDocument document(language, text);
    const QString edited = QString(text).replace(start, end - start, inserted);
    if (document.applyEdit(start, end, inserted, edited))
        require(sameSheets(document.sheets(), readEmbeddedSheets(language, edited)));
    else
        document = EmbeddedDocument(language, edited);

    const QString path = QStringLiteral("fuzz");
    EmbeddedLintCache kept;
    kept.lint(text, language, path, LintOptions());
    require(sameFindings(kept.lint(edited, language, path, LintOptions()),
                         lintEmbeddedSheets(edited, language, path, LintOptions())));

    const ClientCapabilities client;
    const int step = qMax(1, int(edited.size()) / 32);
    for (int offset = 0; offset <= edited.size(); offset += step) {
        for (const CompletionItem &item : embeddedCompletionItems(document, offset, client))
            requireInside(item.replaces, edited);
        if (const auto hover = embeddedHoverAt(document, offset, client))
            requireInside(hover->span, edited);
    }
    return 0;
}
