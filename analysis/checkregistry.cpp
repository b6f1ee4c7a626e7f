// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checkregistry.h"

#include "analysis/checks/checks.h"

const QVector<LintCheck> &lintChecks()
{
    static const QVector<LintCheck> checks = {
        {"syntax", LintSeverity::Error, true,
         "the toolkit's own parser rejects the sheet (and then drops all of it): where it stops "
         "and what it expected there; a declaration it drops inside an accepted sheet is a "
         "warning",
         checkSyntax},
        {"encoding", LintSeverity::Warning, true,
         "UTF-16 byte-order mark (an error); invalid UTF-8; a NUL byte (the loader ends the sheet "
         "there); CR-only line ends",
         checkEncoding},
        {"palette", LintSeverity::Warning, true,
         "`@palette` lines against the grammar the program reads: unknown role, malformed colour, "
         "`Disabled.` before its role, outside the leading comment, a role twice, eight digits "
         "(read as `#AARRGGBB`)",
         checkPalette},
        {"unknown-property", LintSeverity::Warning, true,
         "a property the toolkit's style sheet reference does not know in the targeted Qt "
         "version, nor the configuration's `properties`",
         checkUnknownProperties},
        {"unknown-pseudo-state", LintSeverity::Warning, true,
         "a pseudo-state the reference does not know: the selector never matches",
         checkUnknownPseudoStates},
        {"unknown-subcontrol", LintSeverity::Warning, true,
         "a subcontrol the reference does not know: the rule styles nothing",
         checkUnknownSubcontrols},
        {"unknown-widget", LintSeverity::Warning, true,
         "a type selector that names no widget class of the toolkit or the configuration's "
         "`widgets` (names are case-sensitive)",
         checkUnknownWidgets},
        {"bad-value", LintSeverity::Warning, true,
         "colours the toolkit cannot read, length units it ignores, `font-size` without "
         "`pt`/`px`, declarations it drops",
         checkBadValues},
        {"missing-resource", LintSeverity::Warning, true,
         "a `url()` that is no file (relative paths resolve against the working directory, as "
         "the toolkit resolves them, or `base-dir`), or a `:/` path in none of the configured "
         "`.qrc` files (without any, one note counts them)",
         checkMissingResources},
        {"unsafe-resource", LintSeverity::Error, true,
         "a `url()` naming a FIFO, device or directory, or an image of more than 64 megapixels",
         checkUnsafeResources},
        {"shadowed", LintSeverity::Warning, true,
         "a declaration that never shows because a rule of equal or higher specificity sets the "
         "same property on the same widgets in the same or a wider state",
         checkShadowing},
        {"contrast", LintSeverity::Warning, true,
         "WCAG 2.1: text below 4.5 : 1 on its background, a control's outline below 3 : 1 where "
         "its fill does not stand out either, the palette header's pairs (disabled text below "
         "3 : 1)",
         checkContrast},
        {"coverage", LintSeverity::Note, false,
         "variant values, `:disabled`, `:focus`, `:checked` and the window shell's object names "
         "the sheet leaves unstyled in the gallery (also with `--gallery`)",
         checkCoverage},
        {"needless-disable", LintSeverity::Warning, true,
         "a `prismark-lint-disable` comment that suppresses nothing, names an unknown check id "
         "or is never closed",
         checkSuppressionComments},
    };
    return checks;
}

QStringList lintCheckIds()
{
    QStringList ids;
    for (const LintCheck &check : lintChecks())
        ids.append(QLatin1String(check.id));
    return ids;
}

QStringList lintDefaultCheckIds()
{
    QStringList ids;
    for (const LintCheck &check : lintChecks()) {
        if (check.onByDefault)
            ids.append(QLatin1String(check.id));
    }
    return ids;
}
