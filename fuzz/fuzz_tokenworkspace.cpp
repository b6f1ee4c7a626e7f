// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes as a token file and as a theme template whose
// token files all read as the same bytes, through the language server's token
// features and a template's colour function completion and hover. No input may crash
// or hang them; every span they give lies inside its file, a use's span holds its
// path, a key's span its last segment, and every edit stays inside its file.

#include "prismark-lsp/features/templatefunctions.h"
#include "prismark-lsp/features/tokencolours.h"
#include "prismark-lsp/features/tokenfilecompletion.h"
#include "prismark-lsp/features/tokennavigation.h"
#include "prismark-lsp/features/tokenreferences.h"
#include "prismark-lsp/features/tokenworkspace.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool inside(TextSpan span, const QString &text)
{
    return span.start >= 0 && span.start <= span.end && span.end <= text.size();
}

void checkSources(const TokenWorkspace &workspace)
{
    for (const TokenSource &source : workspace.sources()) {
        for (const TokenUse &use : source.uses) {
            check(inside(use.span, source.text));
            check(source.text.mid(use.span.start, use.span.end - use.span.start) == use.path);
        }
        for (const TokenDeclaration &declaration : source.declarations) {
            if (declaration.key.start >= 0) {
                check(inside(declaration.key, source.text));
                check(source.text.mid(declaration.key.start,
                                      declaration.key.end - declaration.key.start) ==
                      declaration.path.section(QLatin1Char('.'), -1));
            }
            if (!declaration.group)
                check(inside(declaration.value, source.text));
        }
    }
}

void probe(const TokenWorkspace &workspace, const QString &file, const QString &text)
{
    const int step = std::max(1, int(text.size()) / 32);
    for (int offset = 0; offset <= text.size(); offset += step) {
        for (const FileSpan &span : tokenDefinitions(workspace, file, offset))
            check(workspace.source(span.file) &&
                  inside(span.span, workspace.source(span.file)->text));
        for (const FileSpan &span : tokenReferences(workspace, file, offset, true))
            check(workspace.source(span.file) &&
                  inside(span.span, workspace.source(span.file)->text));
        if (const auto target = prepareTokenRename(workspace, file, offset))
            check(inside(target->span, text));
        const TokenRename rename = renameToken(workspace, file, offset, QStringLiteral("x"));
        for (const FileEdits &edits : rename.files) {
            for (const PublishedFix &edit : edits.edits)
                check(workspace.source(edits.file) &&
                      inside({edit.start, edit.end}, workspace.source(edits.file)->text));
        }
        tokenHover(workspace, file, offset, true);
        for (const CompletionItem &item : tokenFileCompletions(workspace, text, offset))
            check(inside(item.replaces, text));
        for (const CompletionItem &item : colourFunctionCompletions(text, offset, file, true))
            check(inside(item.replaces, text));
        if (const auto hover = colourFunctionHover(text, offset, file, true))
            check(inside(hover->span, text));
    }
    for (const ColourInformation &colour : tokenColours(workspace, file)) {
        check(inside(colour.span, text));
        for (const ColourPresentation &presentation :
             tokenColourPresentations(workspace, file, colour.span, colour.colour))
            check(inside({presentation.edit.start, presentation.edit.end}, text));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<int>(size));
    // A folder that is not there: nothing is read from disk.
    const QString folder = QStringLiteral("/nonexistent-prismark-fuzz/");
    const SourceReader same = [&text](const QString &) -> std::optional<QString> { return text; };
    for (const QString &name :
         {QStringLiteral("fuzz.tokens.json"), QStringLiteral("fuzz.qss.in")}) {
        const TokenWorkspace workspace = TokenWorkspace::around(folder + name, text, same);
        checkSources(workspace);
        probe(workspace, folder + name, text);
    }
    return 0;
}
