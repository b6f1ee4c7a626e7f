// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/colourliterals.h"

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

// The line holding offset, without its line end: [*start, *end).
void lineAround(const QString &text, int offset, int *start, int *end)
{
    *start = int(text.lastIndexOf(QLatin1Char('\n'), offset - 1)) + 1;
    *end = int(text.indexOf(QLatin1Char('\n'), offset));
    if (*end < 0)
        *end = int(text.size());
}

// True when the directive is all its line holds, so that moving the line moves
// nothing else.
bool standsAlone(const QString &text, const PaletteLine &entry)
{
    int start = 0;
    int end = 0;
    lineAround(text, entry.offset, &start, &end);
    const int matchEnd = entry.matchOffset + entry.matchLength;
    return text.mid(start, entry.offset - start).trimmed().isEmpty() &&
           text.mid(matchEnd, end - matchEnd).trimmed().isEmpty();
}

// Moves the Disabled. line to just after the plain one that overwrites it. The program
// applies directives in order and a plain role sets every group, so as written the
// Disabled. line sets nothing; after the move it sets what its author wrote. Safe: the
// line has no effect where it stands, and coming after its role is its only use.
void offerDisabledAfterRole(const SheetModel &model, const PaletteLine &disabled,
                            const PaletteLine &plain, CheckReporter &report)
{
    const QString &text = model.text;
    if (model.leadingCommentEnd == 0 || plain.matchOffset >= model.leadingCommentEnd ||
        disabled.line >= plain.line || !standsAlone(text, disabled) || !standsAlone(text, plain))
        return;
    int disabledStart = 0;
    int disabledEnd = 0;
    lineAround(text, disabled.offset, &disabledStart, &disabledEnd);
    int plainStart = 0;
    int plainEnd = 0;
    lineAround(text, plain.offset, &plainStart, &plainEnd);
    const QString moved = text.mid(disabledStart, disabledEnd - disabledStart);
    const QString between = text.mid(disabledEnd + 1, plainEnd - disabledEnd - 1);
    report.mendByReplacing(
        disabledStart, plainEnd - disabledStart, between + QLatin1Char('\n') + moved, true,
        QStringLiteral("Move the %1 line after the %2 line").arg(disabled.name, plain.name));
}

void checkPalette(const SheetModel &model, CheckReporter &report)
{
    QHash<QString, const PaletteLine *> seen;
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
        EightDigitHex readings;
        if (readEightDigitHex(entry.colorText, &readings)) {
            const QColor &asCss = readings.alphaLast;
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
            offerDisabledAfterRole(model, *seen.value(disabledName), entry, report);
        }
        seenLine.insert(entry.name, entry.line);
        seen.insert(entry.name, &entry);
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
    "which colour the program sets); a `Disabled.` line that its plain role overwrites is "
    "moved to just after that role (safe: where it stands it sets nothing, and after its role "
    "is the only place it does what it says)",
};
