// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes as a design token file, read and resolved. No
// input may crash or hang it, and every error must point inside the file.

#include "tokens/designtokens.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<int>(size));
    const QString file = QStringLiteral("fuzz.tokens.json");
    SourceErrors errors;
    DesignTokens tokens;
    tokens.addDocument(text, file, &errors);
    // A second file over the first, as a variant merges over the base.
    tokens.addDocument(text, file, &errors);
    tokens.resolve(&errors);
    for (const QString &name : tokens.names()) {
        if (const TokenValue *value = tokens.value(name))
            value->sheetText();
    }

    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const SourceError &error : errors) {
        if (error.where.file != file || error.where.line < 1 || error.where.line > lines.size())
            std::abort();
        if (error.where.column < 1 ||
            error.where.column > lines.at(error.where.line - 1).size() + 1)
            std::abort();
    }
    return 0;
}
