// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-profile/profilesheet.h"

#include "analysis/templatelint.h"
#include "support/safefileread.h"
#include "theme/stylesheetloader.h"
#include "tokens/themebuild.h"
#include "widgetstyles/sheetstyle.h"

namespace {

ProfileSheet builtTemplate(const QString &path, const QString &variant)
{
    ProfileSheet sheet;
    ThemeBuildOptions options;
    if (!variant.isEmpty())
        options.variants = QStringList{variant};
    // The icons stay where the template keeps them; nothing is written.
    options.sourceIconUrls = true;
    const ThemeBuild build = buildTheme(path, options);
    if (!build.usageError.isEmpty()) {
        sheet.error = build.usageError;
        sheet.wrongRequest = true;
        return sheet;
    }
    if (!build.errors.isEmpty()) {
        sheet.error = build.errors.constFirst().text();
        return sheet;
    }
    if (build.sheets.isEmpty()) {
        sheet.error = QStringLiteral("the template builds no sheet");
        return sheet;
    }
    const FileReadResult source = readRegularFile(path, maxAuthorSheetBytes, true);
    sheet.ok = true;
    sheet.variant = build.sheets.constFirst().variant;
    sheet.text = QString::fromUtf8(build.sheets.constFirst().text);
    sheet.authorText = QString::fromUtf8(source.bytes);
    sheet.built = true;
    sheet.map = build.sheets.constFirst().map;
    return sheet;
}

} // namespace

ProfileSheet readProfileSheet(const QString &path, const QString &variant)
{
    if (isThemeTemplatePath(path))
        return builtTemplate(path, variant);
    ProfileSheet sheet;
    const FileReadResult read = readRegularFile(path, maxAuthorSheetBytes, true);
    if (!read.ok) {
        sheet.error = read.error;
        return sheet;
    }
    sheet.ok = true;
    // As the program installs it.
    sheet.text = decodeStyleSheetText(read.bytes);
    sheet.authorText = sheet.text;
    return sheet;
}

int ProfileSheet::authorLine(int offset) const
{
    if (built)
        return map.originOf(offset).templateWhere.line;
    return text.left(offset).count(QLatin1Char('\n')) + 1;
}
