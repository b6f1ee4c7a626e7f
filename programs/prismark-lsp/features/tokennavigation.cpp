// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/features/tokennavigation.h"

#include <QFileInfo>

#include <algorithm>

namespace {

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_');
}

// "tokens/light.tokens.json:12", as a refusal names a place.
QString placeText(const TokenWorkspace &workspace, const QString &file, int offset)
{
    const TokenSource *source = workspace.source(file);
    const int line = source ? int(source->text.left(offset).count(QLatin1Char('\n'))) + 1 : 1;
    return QStringLiteral("%1:%2").arg(QFileInfo(file).fileName()).arg(line);
}

void addEdit(QVector<FileEdits> &files, const QString &file, TextSpan span, const QString &text)
{
    auto it = std::find_if(files.begin(), files.end(),
                           [&file](const FileEdits &edits) { return edits.file == file; });
    if (it == files.end()) {
        files.append({file, {}});
        it = files.end() - 1;
    }
    it->edits.append({span.start, span.end, text, true, QString()});
}

} // namespace

QVector<FileSpan> tokenDefinitions(const TokenWorkspace &workspace, const QString &file, int offset)
{
    const std::optional<TokenTarget> target = workspace.targetAt(file, offset);
    if (!target)
        return {};
    QVector<FileSpan> found;
    for (const auto &declaration : workspace.declarationsOf(target->path)) {
        if (!declaration.second.group)
            found.append({declaration.first, declaration.second.value});
    }
    return found;
}

QVector<FileSpan> tokenReferences(const TokenWorkspace &workspace, const QString &file, int offset,
                                  bool includeDeclaration)
{
    const std::optional<TokenTarget> target = workspace.targetAt(file, offset);
    if (!target)
        return {};
    QVector<FileSpan> found;
    if (includeDeclaration) {
        for (const auto &declaration : workspace.declarationsOf(target->path)) {
            if (declaration.second.key.start >= 0)
                found.append({declaration.first, declaration.second.key});
        }
    }
    for (const auto &use : workspace.usesOf(target->path, false))
        found.append({use.first, use.second.span});
    return found;
}

std::optional<RenameTarget> prepareTokenRename(const TokenWorkspace &workspace, const QString &file,
                                               int offset)
{
    const std::optional<TokenTarget> target = workspace.targetAt(file, offset);
    if (!target || target->span.span.start < 0 || workspace.declarationsOf(target->path).isEmpty())
        return std::nullopt;
    if (target->declaration)
        return RenameTarget{target->span.span, target->path.section(QLatin1Char('.'), -1)};
    return RenameTarget{target->span.span, target->path};
}

TokenRename renameToken(const TokenWorkspace &workspace, const QString &file, int offset,
                        const QString &newName)
{
    const std::optional<TokenTarget> target = workspace.targetAt(file, offset);
    if (!target)
        return {{}, QStringLiteral("there is no token path here to rename")};
    const QString oldPath = target->path;
    const auto declarations = workspace.declarationsOf(oldPath);
    if (declarations.isEmpty())
        return {{}, QStringLiteral("{%1} is not declared in the token files").arg(oldPath)};
    const int dot = int(oldPath.lastIndexOf(QLatin1Char('.')));
    const QString prefix = dot < 0 ? QString() : oldPath.left(dot + 1);
    QString last = newName.trimmed();
    if (last.contains(QLatin1Char('.'))) {
        if (prefix.isEmpty() || !last.startsWith(prefix) ||
            last.mid(prefix.size()).contains(QLatin1Char('.')))
            return {{},
                    QStringLiteral("only the last part of a token path is renamed: {%1} can "
                                   "become {%2NAME}, not {%3}")
                        .arg(oldPath, prefix, last)};
        last = last.mid(prefix.size());
    }
    if (last.isEmpty() || !std::all_of(last.begin(), last.end(), isNameChar))
        return {{},
                QStringLiteral("\"%1\" is not a token name: letters, digits, '-' and '_' only")
                    .arg(newName)};
    const QString newPath = prefix + last;
    if (newPath == oldPath)
        return {};
    const auto taken = workspace.declarationsOf(newPath);
    if (!taken.isEmpty())
        return {{},
                QStringLiteral("{%1} already exists (%2)")
                    .arg(newPath, placeText(workspace, taken.first().first,
                                            taken.first().second.key.start))};
    TokenRename rename;
    for (const auto &declaration : declarations) {
        if (declaration.second.key.start < 0)
            return {{},
                    QStringLiteral("the key of {%1} in %2 is written with escapes; rename it "
                                   "by hand")
                        .arg(oldPath, QFileInfo(declaration.first).fileName())};
        addEdit(rename.files, declaration.first, declaration.second.key, last);
    }
    for (const auto &use : workspace.usesOf(oldPath, true))
        addEdit(rename.files, use.first, use.second.span,
                newPath + use.second.path.mid(oldPath.size()));
    return rename;
}
