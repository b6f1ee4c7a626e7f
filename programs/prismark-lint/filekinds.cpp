// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lint/filekinds.h"

#include "analysis/lintfixer.h"
#include "analysis/stylesheetlint.h"
#include "analysis/templatelint.h"
#include "embedded/embeddedlint.h"

#include <algorithm>

namespace {
bool anyName(const QString &)
{
    return true;
}

bool isSheetName(const QString &name)
{
    return name.endsWith(QLatin1String(".qss"));
}

FileReadResult readWhole(const LintedFile &file)
{
    return readFileOrStandardInput(file.path, kMaxSheetBytes);
}

FileLint lintSheet(const LintedFile &file, const LintRequest &request)
{
    return {lintStyleSheet(file.bytes, file.name, request.options), false, QString()};
}

FixedFile fixSheet(const LintedFile &file, const LintRequest &request)
{
    const LintFixResult result =
        fixStyleSheet(file.bytes, file.name, request.options, request.unsafeFixes);
    return {result.bytes, result.changed, result.fixed, result.remaining, result.refusal};
}

// Built in memory, with the token files it names read beside it.
FileLint lintTemplate(const LintedFile &file, const LintRequest &request)
{
    const TemplateLint lint = lintThemeTemplate(file.path, request.options, request.variants);
    return {lint.diagnostics, lint.unreadable, lint.usageError};
}

template <EmbeddingLanguage language> bool isEmbedding(const QString &name)
{
    return embeddingLanguage(name) == language;
}

template <EmbeddingLanguage language>
FileLint lintEmbedded(const LintedFile &file, const LintRequest &request)
{
    return {lintEmbeddedSheets(QString::fromUtf8(file.bytes), language, file.name, request.options),
            false, QString()};
}

template <EmbeddingLanguage language>
FixedFile fixEmbedded(const LintedFile &file, const LintRequest &request)
{
    const EmbeddedFixResult result =
        fixEmbeddedSheets(file.bytes, language, file.name, request.options, request.unsafeFixes);
    return {result.bytes, result.changed, result.fixed, result.remaining,
            result.notices.join(QLatin1String("; "))};
}

// A form or a source: its sheets are those it embeds, and a walk checks it only when
// it names a style sheet at all ("styleSheet", "setStyleSheet").
template <EmbeddingLanguage language>
LintFileKind embedding(const char *name, bool applicationForms)
{
    return {name,
            isEmbedding<language>,
            true,
            isEmbedding<language>,
            "tyleSheet",
            applicationForms,
            readWhole,
            lintEmbedded<language>,
            fixEmbedded<language>};
}
} // namespace

const QVector<LintFileKind> &lintFileKinds()
{
    static const QVector<LintFileKind> kinds{
        // name, takes, from standard input, walked, walked mention, application forms,
        // read, lint, fix
        {"template", isThemeTemplatePath, false, nullptr, nullptr, false, nullptr, lintTemplate,
         nullptr},
        embedding<EmbeddingLanguage::Form>("form", true),
        embedding<EmbeddingLanguage::Cpp>("C++", false),
        embedding<EmbeddingLanguage::Python>("Python", false),
        // Whatever else is named is read as a sheet; a walk takes only .qss files.
        {"sheet", anyName, true, isSheetName, nullptr, false, readWhole, lintSheet, fixSheet},
    };
    return kinds;
}

const LintFileKind &lintFileKindOf(const LintedFile &file)
{
    const QVector<LintFileKind> &kinds = lintFileKinds();
    return *std::find_if(kinds.cbegin(), kinds.cend(), [&](const LintFileKind &kind) {
        return (kind.fromStandardInput || !file.isStandardInput()) && kind.takes(file.name);
    });
}

bool isWalkedFileName(const QString &name)
{
    const QVector<LintFileKind> &kinds = lintFileKinds();
    return std::any_of(kinds.cbegin(), kinds.cend(),
                       [&](const LintFileKind &kind) { return kind.walked && kind.walked(name); });
}
