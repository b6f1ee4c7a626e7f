// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/checks/names.h"
#include "analysis/toolkitsheet.h"

#include <QHash>
#include <QSet>

using namespace QCss;

namespace {
const char *const kSides[] = {"top", "right", "bottom", "left"};

// The longhands each shorthand sets, by its name: the toolkit reads each declaration
// in order, and a border shorthand resets width, style and colour of the edges it
// names, written or not. Built once, as rules are compared pair by pair.
const QHash<QString, QSet<QString>> &coveredLonghands()
{
    static const QHash<QString, QSet<QString>> table = [] {
        QHash<QString, QSet<QString>> result;
        const auto border = [](const char *side, const char *part) {
            return QStringLiteral("border-") + QLatin1String(side) + QLatin1String(part);
        };
        QSet<QString> &all = result[QStringLiteral("border")];
        all << QStringLiteral("border-width") << QStringLiteral("border-style")
            << QStringLiteral("border-color");
        for (const char *side : kSides) {
            all << border(side, "") << border(side, "-width") << border(side, "-style")
                << border(side, "-color");
        }
        for (const char *part : {"width", "style", "color"}) {
            QSet<QString> &sides = result[QStringLiteral("border-") + QLatin1String(part)];
            for (const char *side : kSides)
                sides << border(side, "-") + QLatin1String(part);
        }
        for (const char *box : {"margin", "padding"}) {
            QSet<QString> &sides = result[QLatin1String(box)];
            for (const char *side : kSides)
                sides << QLatin1String(box) + QLatin1Char('-') + QLatin1String(side);
        }
        QSet<QString> &corners = result[QStringLiteral("border-radius")];
        for (const char *corner : {"top-left", "top-right", "bottom-left", "bottom-right"})
            corners << border(corner, "-radius");
        return result;
    }();
    return table;
}

// True when the shorthand sets every part the longhand sets. An edge's shorthand
// ("border-top") sets any "border-top-...-width", "-style" or "-color".
bool shorthandCovers(const QString &shorthand, const QString &longhand)
{
    if (shorthand == longhand)
        return false;
    const auto &table = coveredLonghands();
    const auto covered = table.constFind(shorthand);
    if (covered != table.cend())
        return covered->contains(longhand);
    for (const char *side : kSides) {
        if (shorthand == QLatin1String("border-") + QLatin1String(side))
            return longhand.startsWith(shorthand + QLatin1Char('-')) &&
                   (longhand.endsWith(QLatin1String("-width")) ||
                    longhand.endsWith(QLatin1String("-style")) ||
                    longhand.endsWith(QLatin1String("-color")));
    }
    return false;
}

// Only these names, in any letter case, can set another declaration's property.
bool mayBeShorthand(const QString &property)
{
    return property.startsWith(QLatin1String("border"), Qt::CaseInsensitive) ||
           property.compare(QLatin1String("margin"), Qt::CaseInsensitive) == 0 ||
           property.compare(QLatin1String("padding"), Qt::CaseInsensitive) == 0;
}

void checkOverriddenLonghands(const SheetModel &model, CheckReporter &report)
{
    for (const SheetRule &rule : model.rules) {
        const auto &declarations = rule.declarations;
        for (int i = 0; i < declarations.size(); ++i) {
            const SheetDeclaration &longhand = declarations.at(i);
            QString longhandName; // lower-cased when first compared
            for (int j = i + 1; j < declarations.size(); ++j) {
                const SheetDeclaration &shorthand = declarations.at(j);
                // "!important" goes last whatever its place in the rule.
                if (longhand.important && !shorthand.important)
                    continue;
                if (!mayBeShorthand(shorthand.property))
                    continue;
                if (longhandName.isNull())
                    longhandName = longhand.property.toLower();
                if (!shorthandCovers(shorthand.property.toLower(), longhandName))
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
