// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lint/walkedapplication.h"

#include "analysis/lintoptions.h"
#include "embedded/applicationsources.h"
#include "embedded/embeddedsheets.h"
#include "prismark-lint/filekinds.h"
#include "support/folderwalk.h"
#include "support/safefileread.h"

namespace {
bool isQrcName(const QString &name)
{
    return name.endsWith(QLatin1String(".qrc"));
}

// Reads a source for its classes and names; one that mentions neither is not tokenized.
void readSource(const QString &path, EmbeddingLanguage language, SourceDeclarations &sources,
                WalkedApplication &walked)
{
    const FileReadResult file = readFileOrStandardInput(path, kMaxSheetBytes);
    if (!file.ok)
        return; // checking it says why
    walked.sourceBytes.insert(path, file.bytes);
    const bool declares = file.bytes.contains("class") || file.bytes.contains("bjectName");
    if (!declares)
        return;
    const QString text = QString::fromUtf8(file.bytes);
    if (language == EmbeddingLanguage::Cpp)
        sources.readCpp(text, path);
    else
        sources.readPython(text, path);
}
} // namespace

WalkedApplication walkApplication(const QString &folder)
{
    FolderWalk walk;
    walk.asGitKeepsIt = true;
    walk.pathOrder = true;
    walk.wanted = [](const QString &path) {
        const QString name = fileNameOf(path);
        return isWalkedFileName(name) || isQrcName(name);
    };
    WalkedApplication walked;
    SourceDeclarations sources;
    for (const QString &found : walkFolder(folder, walk).files) {
        const QString name = fileNameOf(found);
        if (isQrcName(name)) {
            walked.qrcFiles.append(found);
            continue;
        }
        walked.files.append(found);
        const EmbeddingLanguage language = embeddingLanguage(name);
        if (lintFileKindOf(LintedFile{found, found, {}}).applicationForms)
            walked.forms.append(found);
        else if (language == EmbeddingLanguage::Cpp || language == EmbeddingLanguage::Python)
            readSource(found, language, sources, walked);
    }
    if (!sources.classes.isEmpty() || !sources.objects.isEmpty())
        walked.sources = std::make_shared<const ApplicationObjects>(sources.applicationObjects());
    return walked;
}
