// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

// How far below the planted rule every other group must stay, unless within noise. A
// cheap rule can cost something small but steady: the only type selector of a sheet
// has the toolkit look up every widget's class names, the only id rule every object
// name, and a profile is right to rank that. Under the sanitizers, which make each of
// those look-ups' allocations dear, it came to a quarter of the planted rule's cost
// on 2,000 labels; there the planted rule need only lead.
#ifdef PRISMARK_SANITIZE
constexpr double kPlantedLead = 1;
#else
constexpr double kPlantedLead = 10;
#endif

// What is wrong with a profile's groups when the planted rule, at plantedLine, should
// lead them alone; empty when nothing is.
inline QString plantedRankingFault(const QJsonArray &groups, int plantedLine)
{
    if (groups.isEmpty())
        return QStringLiteral("no groups");
    const QJsonObject first = groups.first().toObject();
    if (first.value(QLatin1String("lines")).toArray().first().toInt() != plantedLine)
        return QStringLiteral("%1 leads").arg(first.value(QLatin1String("key")).toString());
    if (first.value(QLatin1String("rank")).toInt() != 1 ||
        first.value(QLatin1String("tied")).toBool())
        return QStringLiteral("the planted rule is not ranked first alone");
    // Shares of the apply, whether the passes were timed or counted.
    const auto meanOf = [](const QJsonObject &group) {
        return group.value(QLatin1String("applyShare"))
            .toObject()
            .value(QLatin1String("trimmed"))
            .toDouble();
    };
    for (int i = 1; i < groups.size(); ++i) {
        const QJsonObject group = groups.at(i).toObject();
        if (!group.value(QLatin1String("withinNoise")).toBool() &&
            meanOf(group) * kPlantedLead >= meanOf(first))
            return QStringLiteral("%1 is blamed: a share of %2 against %3")
                .arg(group.value(QLatin1String("key")).toString())
                .arg(meanOf(group))
                .arg(meanOf(first));
    }
    return QString();
}
