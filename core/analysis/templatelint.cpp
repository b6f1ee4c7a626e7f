// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/templatelint.h"

#include "analysis/checkregistry.h"
#include "analysis/stylesheetlint.h"
#include "tokens/designtokens.h"
#include "tokens/themebuild.h"
#include "tokens/uniformtokens.h"

#include <QHash>

bool isThemeTemplatePath(const QString &path)
{
    return path.endsWith(QLatin1String(".qss.in"), Qt::CaseInsensitive);
}

namespace {
QString viaText(const QString &tokenPath)
{
    return QStringLiteral(" (via {%1})").arg(tokenPath);
}

// Where a value of the rendered sheet was written: a token's $value (after its
// aliases), else the template's text, a colour function's expression included.
SourceMap::Origin valueOrigin(const LintLocation &value, const SourceMap &map)
{
    const int start = map.outputOffset(value.line, value.column);
    const SourceMap::Origin origin = map.originOf(start);
    if (!origin.tokenPath.isEmpty())
        return origin;
    // "1px solid {color.frame}": the one reference the value holds.
    const QVector<SourceMap::Origin> tokens =
        map.tokenOriginsIn(start, map.outputOffset(value.endLine, value.endColumn));
    if (tokens.size() == 1 && !tokens.first().where.file.isEmpty())
        return tokens.first();
    return origin;
}

// The fixes that edit text copied from the template, moved there.
QVector<LintFix> mappedFixes(const QVector<LintFix> &fixes, const SourceMap &map)
{
    QVector<LintFix> mapped;
    for (const LintFix &fix : fixes) {
        const SourceMap::Origin from = map.originAt(fix.line, fix.column);
        const SourceMap::Origin to = map.originAt(fix.endLine, fix.endColumn);
        if (!from.copied || !to.copied || from.where.file != to.where.file)
            continue;
        LintFix moved = fix;
        moved.line = from.where.line;
        moved.column = from.where.column;
        moved.endLine = to.where.line;
        moved.endColumn = to.where.column;
        mapped.append(moved);
    }
    return mapped;
}

// A finding about values (a text colour on its background) told where the first was
// written, the others as related places, in whichever file each was written.
LintDiagnostic mapToJudgedValues(const LintDiagnostic &diagnostic, const SourceMap &map)
{
    LintDiagnostic mapped = diagnostic;
    mapped.judgedValues.clear();
    mapped.related.clear();
    const SourceMap::Origin subject = valueOrigin(diagnostic.judgedValues.first(), map);
    mapped.file = subject.where.file;
    mapped.line = subject.where.line;
    mapped.column = subject.where.column;
    mapped.endLine = 0;
    mapped.endColumn = 0;
    if (!subject.tokenPath.isEmpty())
        mapped.message += viaText(subject.tokenPath);
    for (int i = 1; i < diagnostic.judgedValues.size(); ++i) {
        const LintLocation &value = diagnostic.judgedValues.at(i);
        const SourceMap::Origin origin = valueOrigin(value, map);
        LintLocation place;
        place.file = origin.where.file == mapped.file ? QString() : origin.where.file;
        place.line = place.endLine = origin.where.line;
        place.column = place.endColumn = origin.where.column;
        if (origin.copied) {
            const SourceMap::Origin end = map.originAt(value.endLine, value.endColumn);
            if (end.copied && end.where.file == origin.where.file) {
                place.endLine = end.where.line;
                place.endColumn = end.where.column;
            }
        }
        place.message = value.message;
        if (!origin.tokenPath.isEmpty())
            place.message += viaText(origin.tokenPath);
        mapped.related.append(place);
    }
    mapped.fixes = mappedFixes(diagnostic.fixes, map);
    return mapped;
}
} // namespace

LintDiagnostic mapToSources(const LintDiagnostic &diagnostic, const SourceMap &map)
{
    if (!diagnostic.judgedValues.isEmpty())
        return mapToJudgedValues(diagnostic, map);
    LintDiagnostic mapped = diagnostic;
    const SourceMap::Origin start = map.originAt(diagnostic.line, diagnostic.column);
    mapped.file = start.where.file;
    mapped.line = start.where.line;
    mapped.column = start.where.column;
    if (!start.tokenPath.isEmpty()) {
        mapped.message += viaText(start.tokenPath);
    } else if (diagnostic.endLine > 0) {
        // A finding over a stretch (a palette line, a declaration) names the
        // references whose values it holds.
        const QVector<SourceMap::Origin> origins =
            map.tokenOriginsIn(map.outputOffset(diagnostic.line, diagnostic.column),
                               map.outputOffset(diagnostic.endLine, diagnostic.endColumn));
        QStringList paths;
        for (const SourceMap::Origin &origin : origins) {
            paths << origin.tokenPath;
            if (!origin.where.file.isEmpty())
                mapped.tokenValues.append({origin.tokenPath, origin.where.file, origin.where.line,
                                           origin.where.column, QString()});
        }
        if (!paths.isEmpty())
            mapped.message += QStringLiteral(" (via {%1})").arg(paths.join(QLatin1String("}, {")));
    }
    mapped.endLine = 0;
    mapped.endColumn = 0;
    if (diagnostic.endLine > 0 && start.copied) {
        const SourceMap::Origin end = map.originAt(diagnostic.endLine, diagnostic.endColumn);
        if (end.where.file == mapped.file) {
            mapped.endLine = end.where.line;
            mapped.endColumn = end.where.column;
        }
    }
    // A place elsewhere, or a fix over a value written for a reference, would point at
    // or edit text the author did not write there.
    mapped.related.clear();
    for (const LintLocation &location : diagnostic.related) {
        const SourceMap::Origin from = map.originAt(location.line, location.column);
        const SourceMap::Origin to = map.originAt(location.endLine, location.endColumn);
        if (from.where.file != mapped.file)
            continue;
        LintLocation moved = location;
        moved.line = from.where.line;
        moved.column = from.where.column;
        moved.endLine = to.where.file == mapped.file ? to.where.line : from.where.line;
        moved.endColumn = to.where.file == mapped.file ? to.where.column : from.where.column;
        if (!from.tokenPath.isEmpty())
            moved.message += viaText(from.tokenPath);
        mapped.related.append(moved);
    }
    mapped.fixes = mappedFixes(diagnostic.fixes, map);
    return mapped;
}

LintDiagnostic themeBuildDiagnostic(const SourceError &error)
{
    LintDiagnostic diagnostic;
    diagnostic.file = error.where.file;
    diagnostic.line = qMax(1, error.where.line);
    diagnostic.column = qMax(1, error.where.column);
    diagnostic.severity = LintSeverity::Error;
    diagnostic.check = kThemeBuildCheckId;
    diagnostic.message = error.message;
    return diagnostic;
}

QVector<LintDiagnostic> lintTokenFile(const QString &path, const QString &text)
{
    SourceErrors errors;
    DesignTokens tokens;
    tokens.addDocument(text, path, &errors);
    tokens.resolve(&errors);
    QVector<LintDiagnostic> found;
    for (const SourceError &error : qAsConst(errors))
        found.append(themeBuildDiagnostic(error));
    return found;
}

namespace {
// Findings told alike in several variants are one, with all of them; so must be the
// places they name, since each may lie in a variant's own token file.
QString findingKey(const LintDiagnostic &d)
{
    QString key = QStringLiteral("%1\x1f%2\x1f%3\x1f%4\x1f%5\x1f%6")
                      .arg(d.file)
                      .arg(d.line)
                      .arg(d.column)
                      .arg(d.check, d.message)
                      .arg(int(d.severity));
    for (const LintLocation &place : d.related)
        key += QStringLiteral("\x1f%1:%2:%3").arg(place.file).arg(place.line).arg(place.column);
    return key;
}
} // namespace

TemplateLint lintBuiltTemplate(const ThemeBuild &build, const QString &path,
                               const std::function<LintOptions(const BuiltSheet &)> &optionsFor)
{
    TemplateLint result;
    result.usageError = build.usageError;
    result.unreadable = build.unreadable();
    if (!build.usageError.isEmpty())
        return result;
    // A sheet built with errors is not the sheet the author meant: its holes would
    // only repeat the build's findings as the analysis sees them.
    if (!build.errors.isEmpty()) {
        for (const SourceError &error : build.errors)
            result.diagnostics.append(themeBuildDiagnostic(error));
        return result;
    }
    QHash<QString, int> seen;
    for (const BuiltSheet &sheet : build.sheets) {
        const QVector<LintDiagnostic> found = lintStyleSheet(sheet.text, path, optionsFor(sheet));
        for (const LintDiagnostic &diagnostic : found) {
            LintDiagnostic mapped = mapToSources(diagnostic, sheet.map);
            for (LintTokenValue &value : mapped.tokenValues)
                value.variant = sheet.variant;
            const LintCheck *check = lintCheck(diagnostic.check);
            if (check && check->has(CheckFlag::ProposesEdit) && !diagnostic.fixes.isEmpty() &&
                mapped.fixes.isEmpty())
                continue;
            const QString key = findingKey(mapped);
            const auto known = seen.constFind(key);
            if (known != seen.constEnd()) {
                result.diagnostics[*known].variants.append(sheet.variant);
                result.diagnostics[*known].tokenValues += mapped.tokenValues;
                continue;
            }
            mapped.variants = QStringList{sheet.variant};
            seen.insert(key, int(result.diagnostics.size()));
            result.diagnostics.append(mapped);
        }
    }
    sortLintDiagnostics(result.diagnostics);
    return result;
}

TemplateLint lintThemeTemplate(const QString &path, const LintOptions &options,
                               const QStringList &variants, const QString &text,
                               const QHash<QString, QString> &tokenTexts)
{
    ThemeBuildOptions buildOptions;
    buildOptions.variants = variants;
    buildOptions.sourceIconUrls = true;
    buildOptions.templateText = text;
    buildOptions.sourceTexts = tokenTexts;
    const ThemeBuild build = buildTheme(path, buildOptions);
    if (!build.ok())
        return lintBuiltTemplate(build, path, {});
    // A literal in the template stands in every variant, so the tokens it may be
    // written as are those of all the variants, not only those asked for.
    LintOptions sheetOptions = options;
    SourceErrors ignored; // the build has read the same files without errors
    sheetOptions.tokens = std::make_shared<const UniformTokens>(
        uniformTokens(themeVariantTokens(path, &ignored, text, tokenTexts)));
    sheetOptions.builtFromTemplate = true;
    return lintBuiltTemplate(build, path, [&](const BuiltSheet &) { return sheetOptions; });
}

QStringList judgedValueTokens(const LintDiagnostic &diagnostic, const SourceMap &map)
{
    QStringList tokens;
    for (const LintLocation &value : diagnostic.judgedValues)
        tokens.append(valueOrigin(value, map).tokenPath);
    return tokens;
}
