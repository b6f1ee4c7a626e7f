// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"

#include "theme/palettedirectives.h"

#include <QHash>

namespace {
QString colourText(const QColor &color)
{
    return color.name(QColor::HexRgb);
}

// "A, B and C"
QString roleList()
{
    QStringList names = paletteRoleNames();
    const QString last = names.takeLast();
    return names.join(QLatin1String(", ")) + QStringLiteral(" and ") + last;
}

// Every name a directive may give: the roles, each also for the disabled group.
QStringList paletteNames()
{
    QStringList result = paletteRoleNames();
    for (const QString &role : paletteRoleNames())
        result.append(kDisabledRolePrefix + role);
    return result;
}

void checkPalette(const SheetModel &model, CheckReporter &report)
{
    QHash<QString, int> seenLine;
    for (const PaletteLine &entry : model.paletteLines) {
        if (!entry.matched) {
            report.atLine(entry.line, entry.column, int(entry.written.size()),
                          entry.written != kPaletteKeyword
                              ? QStringLiteral("\"%1\" is not a directive: the keyword is "
                                               "\"%2\" in lower case")
                                    .arg(entry.written, kPaletteKeyword)
                              : QStringLiteral("malformed directive, the program skips this "
                                               "line: write \"%1 Role = #rrggbb\"")
                                    .arg(kPaletteKeyword));
            continue;
        }
        const auto warn = [&](const QString &message) {
            report.atLine(entry.line, entry.matchColumn, entry.matchLength, message);
        };
        QString roleName = entry.name;
        if (entry.group == QPalette::Disabled)
            roleName.remove(0, kDisabledRolePrefix.size());
        if (!entry.known) {
            warn(QStringLiteral("unknown palette role \"%1\": the program reads %2, each also "
                                "with \"%3\"")
                     .arg(entry.name, roleList(), kDisabledRolePrefix));
            static const QStringList known = paletteNames();
            report.suggestClosest(int(model.text.indexOf(entry.name, entry.matchOffset)),
                                  int(entry.name.size()), known);
        }
        if (model.leadingCommentEnd == 0 || entry.matchOffset >= model.leadingCommentEnd) {
            warn(QStringLiteral("directive outside the leading comment: the program applies it "
                                "all the same, but the style sheet engine reads it as text of the "
                                "sheet unless it stands in a comment"));
        }
        const QString digits = entry.colorText.mid(1);
        if (digits.size() == 8) {
            const QColor asCss = QColor::fromRgb(
                digits.mid(0, 2).toInt(nullptr, 16), digits.mid(2, 2).toInt(nullptr, 16),
                digits.mid(4, 2).toInt(nullptr, 16), digits.mid(6, 2).toInt(nullptr, 16));
            warn(QStringLiteral("eight-digit colour is read as #AARRGGBB: colour %1 at alpha %2 "
                                "(as CSS #RRGGBBAA it would be %3 at alpha %4)")
                     .arg(colourText(entry.color))
                     .arg(entry.color.alpha())
                     .arg(colourText(asCss))
                     .arg(asCss.alpha()));
        } else if (entry.extraDigit) {
            warn(QStringLiteral("colour has more than six digits: the program reads %1 and "
                                "ignores the rest")
                     .arg(colourText(entry.color)));
        }
        if (!entry.known)
            continue;
        if (seenLine.contains(entry.name)) {
            warn(QStringLiteral("%1 is set twice (first on line %2): this line wins")
                     .arg(entry.name)
                     .arg(seenLine.value(entry.name)));
        }
        // An unprefixed directive rewrites the disabled group as well.
        const QString disabledName = kDisabledRolePrefix + roleName;
        if (entry.group == QPalette::All && seenLine.contains(disabledName)) {
            warn(QStringLiteral("%1 comes after %2%1 (line %3) and overwrites it: put the "
                                "Disabled. directive after the role it refines")
                     .arg(roleName, kDisabledRolePrefix)
                     .arg(seenLine.value(disabledName)));
        }
        seenLine.insert(entry.name, entry.line);
    }
}
} // namespace

const LintCheck kPaletteCheck = {
    "palette",
    LintSeverity::Warning,
    true,
    0,
    "`@palette` lines against the grammar the program reads: unknown role, malformed colour, "
    "`Disabled.` before its role, outside the leading comment, a role twice, eight digits "
    "(read as `#AARRGGBB`)",
    "The program sets the application palette from `@palette Role = #rrggbb` lines in the "
    "sheet's leading comment; a line it cannot read sets nothing, and says nothing. A role "
    "the program does not know, a malformed colour, `Disabled.` before the role it refines "
    "(the plain role overwrites it) and eight digits (read as #AARRGGBB) all give another "
    "palette than meant. For an unknown role the fix offered is the clearly closest known "
    "one, a guess.",
    "/*\n@palette Windows = #ffffff\n*/\n",
    "/*\n@palette Window = #ffffff\n*/\n",
    checkPalette,
    nullptr,
    "an unknown role is changed to the clearly closest known one (unsafe: a guess; it changes "
    "which colour the program sets)",
};
