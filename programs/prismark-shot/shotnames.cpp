// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/shotnames.h"

#include "tokens/themetemplate.h"

#include <QCoreApplication>
#include <QFileInfo>

QString kebabCase(const QString &name)
{
    // One rule for every program's folder and file names: the theme engine's.
    return kebabCaseName(name);
}

static QString fileStem(Theme theme)
{
    return QFileInfo(styleSheetFileName(theme)).completeBaseName();
}

bool findBuiltInTheme(const QString &name, Theme *theme)
{
    for (int value = 0; value < ThemeCount; ++value) {
        const Theme candidate = static_cast<Theme>(value);
        if (name.compare(fileStem(candidate), Qt::CaseInsensitive) == 0 ||
            name.compare(QLatin1String(themeInfo(candidate).displayName), Qt::CaseInsensitive) ==
                0) {
            *theme = candidate;
            return true;
        }
    }
    return false;
}

ShotTheme builtInShotTheme(Theme theme)
{
    ShotTheme shot;
    shot.name = fileStem(theme);
    shot.folder = kebabCase(shot.name);
    shot.displayName = QCoreApplication::translate("MainWindow", themeInfo(theme).displayName);
    shot.builtIn = true;
    shot.theme = theme;
    return shot;
}

ShotTheme sheetShotTheme(const QString &path)
{
    ShotTheme shot;
    shot.name = QFileInfo(path).completeBaseName();
    shot.folder = kebabCase(shot.name);
    shot.displayName = shot.name;
    shot.builtIn = false;
    shot.sheetPath = path;
    return shot;
}

QVector<ShotTheme> themesPerScheme(const QVector<ShotTheme> &themes,
                                   const QVector<ColorScheme> &schemes)
{
    const bool named = schemes != QVector<ColorScheme>{ColorScheme::Light};
    QVector<ShotTheme> result;
    for (const ShotTheme &theme : themes) {
        for (ColorScheme scheme : schemes) {
            ShotTheme shot = theme;
            shot.scheme = scheme;
            if (named) {
                const QString name = colorSchemeName(scheme);
                shot.name += QStringLiteral(" (%1)").arg(name);
                shot.folder += QLatin1Char('-') + name;
                shot.displayName += QStringLiteral(" (%1)").arg(name);
            }
            result << shot;
        }
    }
    return result;
}

QStringList builtInThemeNames()
{
    QStringList names;
    for (int value = 0; value < ThemeCount; ++value) {
        const Theme theme = static_cast<Theme>(value);
        names << QStringLiteral("%1 (\"%2\")")
                     .arg(fileStem(theme), QLatin1String(themeInfo(theme).displayName));
    }
    return names;
}

QStringList splitOptionValues(const QStringList &values)
{
    QStringList result;
    for (const QString &value : values) {
        const QStringList parts = value.split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (const QString &part : parts)
            result << part.trimmed();
    }
    return result;
}
