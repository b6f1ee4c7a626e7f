// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/checks/names.h"
#include "analysis/toolkitsheet.h"

using namespace QCss;

namespace {
const char *const kSides[] = {"top", "right", "bottom", "left"};

// True when the toolkit's shorthand sets every part the longhand sets: it reads
// each declaration in order, and a border shorthand resets width, style and colour
// of the edges it names, written or not.
bool shorthandCovers(const QString &shorthand, const QString &longhand)
{
    if (shorthand == longhand)
        return false;
    const auto sideParts = [&](const QString &prefix, const QString &suffix) {
        for (const char *side : kSides) {
            if (longhand == prefix + QLatin1String(side) + suffix)
                return true;
        }
        return false;
    };
    if (shorthand == QLatin1String("border")) {
        return longhand == QLatin1String("border-width") ||
               longhand == QLatin1String("border-style") ||
               longhand == QLatin1String("border-color") ||
               sideParts(QStringLiteral("border-"), QString()) ||
               sideParts(QStringLiteral("border-"), QStringLiteral("-width")) ||
               sideParts(QStringLiteral("border-"), QStringLiteral("-style")) ||
               sideParts(QStringLiteral("border-"), QStringLiteral("-color"));
    }
    for (const char *side : kSides) {
        if (shorthand == QLatin1String("border-") + QLatin1String(side))
            return longhand.startsWith(shorthand + QLatin1Char('-')) &&
                   (longhand.endsWith(QLatin1String("-width")) ||
                    longhand.endsWith(QLatin1String("-style")) ||
                    longhand.endsWith(QLatin1String("-color")));
    }
    for (const char *part : {"width", "style", "color"}) {
        if (shorthand == QLatin1String("border-") + QLatin1String(part))
            return sideParts(QStringLiteral("border-"), QLatin1Char('-') + QLatin1String(part));
    }
    if (shorthand == QLatin1String("margin") || shorthand == QLatin1String("padding"))
        return sideParts(shorthand + QLatin1Char('-'), QString());
    if (shorthand == QLatin1String("border-radius")) {
        for (const char *corner : {"top-left", "top-right", "bottom-left", "bottom-right"}) {
            if (longhand ==
                QLatin1String("border-") + QLatin1String(corner) + QLatin1String("-radius"))
                return true;
        }
    }
    return false;
}

void checkOverriddenLonghands(const SheetModel &model, CheckReporter &report)
{
    for (const SheetRule &rule : model.rules) {
        const auto &declarations = rule.declarations;
        for (int i = 0; i < declarations.size(); ++i) {
            const SheetDeclaration &longhand = declarations.at(i);
            for (int j = i + 1; j < declarations.size(); ++j) {
                const SheetDeclaration &shorthand = declarations.at(j);
                // "!important" goes last whatever its place in the rule.
                if (longhand.important && !shorthand.important)
                    continue;
                if (!shorthandCovers(shorthand.property.toLower(), longhand.property.toLower()))
                    continue;
                int line = 0;
                int column = 0;
                model.lineColumn(shorthand.offset, &line, &column);
                report.at(longhand.offset, int(longhand.property.size()),
                          QStringLiteral("\"%1\" has no effect: the \"%2\" shorthand after it "
                                         "(line %3) sets it again; write it after the shorthand")
                              .arg(longhand.property, shorthand.property)
                              .arg(line));
                report.relatedTo(shorthand.offset, int(shorthand.property.size()),
                                 QStringLiteral("the shorthand that overrides it"));
                // Removing a declaration that has no effect keeps what the toolkit paints.
                report.mendByReplacing(longhand.offset, declarationLength(model, longhand),
                                       QString(), true);
                break;
            }
        }
    }
}
} // namespace

const LintCheck kOverriddenLonghandCheck = {
    "overridden-longhand",
    LintSeverity::Warning,
    true,
    0,
    "a longhand that a later shorthand of the same rule overrides",
    "The toolkit reads a rule's declarations in order, and a shorthand sets every part it "
    "covers, written or not: \"border-style: dashed\" before \"border: 1px solid red\" is "
    "undone by it. Write the longhand after the shorthand to change that part. The fix "
    "offered removes the longhand, which changes nothing the toolkit paints.",
    "QFrame { border-style: dashed; border: 1px solid red; }",
    "QFrame { border: 1px solid red; border-style: dashed; }",
    checkOverriddenLonghands,
};
