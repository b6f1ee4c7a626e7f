// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/shotmatrix.h"

#include "prismark-shot/shotnames.h"

#include <algorithm>
#include <cmath>

namespace {

const QString kRtlPart = QStringLiteral("-rtl");
const QString kDisabledPart = QStringLiteral("-disabled");
const QString kPng = QStringLiteral(".png");
const QString kLeftToRight = QStringLiteral("ltr");
const QString kRightToLeft = QStringLiteral("rtl");
constexpr qreal kMaxScale = 8;

// Removes part from the end of *text when it is there.
bool chopEnd(QString *text, const QString &part)
{
    if (!text->endsWith(part))
        return false;
    text->chop(part.size());
    return true;
}

} // namespace

const QStringList &shotBaseStyles()
{
    static const QStringList styles{QStringLiteral("fusion"), QStringLiteral("windows")};
    return styles;
}

QString baseStyleFactoryKey(const QString &name)
{
    return name.left(1).toUpper() + name.mid(1);
}

bool ShotCombination::operator==(const ShotCombination &other) const
{
    return baseStyle == other.baseStyle && direction == other.direction &&
           disabled == other.disabled && qFuzzyCompare(scale, other.scale);
}

QString scaleText(qreal scale)
{
    return QString::number(scale, 'g', 6);
}

QString combinationSuffix(const ShotCombination &combination)
{
    QString suffix;
    if (combination.baseStyle != shotBaseStyles().first())
        suffix += QLatin1Char('-') + combination.baseStyle;
    if (combination.direction == Qt::RightToLeft)
        suffix += kRtlPart;
    if (combination.disabled)
        suffix += kDisabledPart;
    if (!qFuzzyCompare(combination.scale, 1))
        suffix += QLatin1Char('@') + scaleText(combination.scale) + QLatin1Char('x');
    return suffix;
}

QString shotFileName(const QString &tab, const ShotCombination &combination)
{
    return tab + combinationSuffix(combination) + kPng;
}

QString combinationTitle(const ShotCombination &combination)
{
    QStringList parts{baseStyleFactoryKey(combination.baseStyle)};
    if (combination.direction == Qt::RightToLeft)
        parts << QStringLiteral("right to left");
    if (combination.disabled)
        parts << QStringLiteral("disabled");
    if (!qFuzzyCompare(combination.scale, 1))
        parts << scaleText(combination.scale) + QLatin1Char('x');
    return parts.join(QLatin1String(", "));
}

// Reads "[-windows][-rtl][-disabled][@<scale>x].png" whole, in that order only.
static bool parseSuffix(QString text, ShotCombination *combination)
{
    if (!chopEnd(&text, kPng))
        return false;
    ShotCombination parsed;
    const int at = text.lastIndexOf(QLatin1Char('@'));
    if (at >= 0) {
        if (!text.endsWith(QLatin1Char('x')))
            return false;
        bool ok = false;
        parsed.scale = text.mid(at + 1).chopped(1).toDouble(&ok);
        if (!ok || !(parsed.scale > 0))
            return false;
        text.truncate(at);
    }
    parsed.disabled = chopEnd(&text, kDisabledPart);
    if (chopEnd(&text, kRtlPart))
        parsed.direction = Qt::RightToLeft;
    for (const QString &style : shotBaseStyles().mid(1))
        if (chopEnd(&text, QLatin1Char('-') + style))
            parsed.baseStyle = style;
    if (!text.isEmpty())
        return false;
    *combination = parsed;
    return true;
}

bool parseShotFileName(const QString &fileName, const QStringList &tabs, QString *tab,
                       ShotCombination *combination)
{
    QString best;
    ShotCombination bestCombination;
    for (const QString &candidate : tabs) {
        ShotCombination parsed;
        if (candidate.size() > best.size() && fileName.startsWith(candidate) &&
            parseSuffix(fileName.mid(candidate.size()), &parsed) &&
            shotFileName(candidate, parsed) == fileName) {
            best = candidate;
            bestCombination = parsed;
        }
    }
    if (best.isEmpty())
        return false;
    *tab = best;
    *combination = bestCombination;
    return true;
}

bool parseBaseStyles(const QStringList &values, QStringList *styles, QString *error)
{
    styles->clear();
    for (const QString &value : splitOptionValues(values)) {
        const QString name = value.toLower();
        if (!shotBaseStyles().contains(name)) {
            *error = QStringLiteral("unknown base style \"%1\"; valid: %2")
                         .arg(value, shotBaseStyles().join(QLatin1String(", ")));
            return false;
        }
        if (!styles->contains(name))
            *styles << name;
    }
    if (styles->isEmpty())
        *styles << shotBaseStyles().first();
    return true;
}

bool parseScales(const QStringList &values, QVector<qreal> *scales, QString *error)
{
    scales->clear();
    for (const QString &value : splitOptionValues(values)) {
        bool ok = false;
        const qreal scale = value.toDouble(&ok);
        // Written so that "nan", which no comparison holds for, is refused too.
        if (!ok || !(scale > 0 && scale <= kMaxScale)) {
            *error = QStringLiteral("--scale wants numbers above 0 and up to 8");
            return false;
        }
        if (std::none_of(scales->cbegin(), scales->cend(),
                         [scale](qreal known) { return qFuzzyCompare(known, scale); }))
            *scales << scale;
    }
    if (scales->isEmpty())
        *scales << 1;
    return true;
}

bool parseDirections(const QStringList &values, QVector<Qt::LayoutDirection> *directions,
                     QString *error)
{
    directions->clear();
    for (const QString &value : splitOptionValues(values)) {
        Qt::LayoutDirection direction;
        if (value.compare(kLeftToRight, Qt::CaseInsensitive) == 0) {
            direction = Qt::LeftToRight;
        } else if (value.compare(kRightToLeft, Qt::CaseInsensitive) == 0) {
            direction = Qt::RightToLeft;
        } else {
            *error = QStringLiteral("unknown direction \"%1\"; valid: ltr, rtl").arg(value);
            return false;
        }
        if (!directions->contains(direction))
            *directions << direction;
    }
    if (directions->isEmpty())
        *directions << Qt::LeftToRight;
    return true;
}

bool parseColorSchemes(const QStringList &values, QVector<ColorScheme> *schemes, QString *error)
{
    schemes->clear();
    for (const QString &value : splitOptionValues(values)) {
        ColorScheme scheme;
        if (!colorSchemeFromName(value, &scheme)) {
            *error = QStringLiteral("unknown colour scheme \"%1\"; valid: %2")
                         .arg(value, colorSchemeNames().join(QLatin1String(", ")));
            return false;
        }
        if (!schemes->contains(scheme))
            *schemes << scheme;
    }
    if (schemes->isEmpty())
        *schemes << ColorScheme::Light;
    return true;
}
