// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/shotsubjects.h"

#include "forms/formloader.h"
#include "prismark-shot/shotconsole.h"
#include "prismark-shot/shotoptions.h"
#include "prismark-shot/shotrenderer.h"
#include "support/programsupport.h"
#include "support/safefileread.h"
#include "theme/stylesheetloader.h"
#include "widgetstyles/sheetstyle.h"

#include <QFileInfo>
#include <QSet>

int ShotSubjects::loadThemes(const ShotOptions &options)
{
    for (Theme theme : options.builtInThemes) {
        themes << builtInShotTheme(theme);
        sheetTexts << QString();
    }
    for (const QString &path : options.sheetPaths) {
        const FileReadResult read = readRegularFile(path, maxAuthorSheetBytes, true);
        if (!read.ok) {
            printProgramError(QStringLiteral("cannot read sheet %1: %2").arg(path, read.error));
            return ShotInputOutputError;
        }
        themes << sheetShotTheme(path);
        sheetTexts << decodeStyleSheetText(read.bytes);
    }
    themes = themesPerScheme(themes, options.colorSchemes);
    QVector<QString> texts;
    for (const QString &text : qAsConst(sheetTexts))
        texts << QVector<QString>(options.colorSchemes.size(), text);
    sheetTexts = texts;
    QSet<QString> folders;
    for (const ShotTheme &theme : qAsConst(themes)) {
        if (theme.folder.isEmpty()) {
            printProgramError(
                QStringLiteral("sheet %1: its name gives no output folder name; rename it")
                    .arg(theme.sheetPath));
            return ShotUsageError;
        }
        if (folders.contains(theme.folder)) {
            printProgramError(QStringLiteral("two themes would write to the same folder \"%1\"; "
                                             "rename one of the sheets")
                                  .arg(theme.folder));
            return ShotUsageError;
        }
        folders.insert(theme.folder);
    }
    return ShotSuccess;
}

int ShotSubjects::checkForms(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (!QFileInfo::exists(path)) {
            printProgramError(QStringLiteral("cannot read form %1: no such file").arg(path));
            return ShotInputOutputError;
        }
        const QString file =
            QStringLiteral("form-") + kebabCase(QFileInfo(path).completeBaseName());
        if (file == QLatin1String("form-") || formFiles.contains(file)) {
            printProgramError(
                QStringLiteral("form %1 would be written as %2.png like another; rename it")
                    .arg(path, file));
            return ShotUsageError;
        }
        formPaths << path;
        formFiles << file;
    }
    return ShotSuccess;
}

int ShotSubjects::chooseTabs(const QStringList &names, const QStringList &tabTexts)
{
    QVector<int> chosen;
    for (const QString &name : names) {
        if (name.compare(QLatin1String(kNoTabName), Qt::CaseInsensitive) == 0)
            continue;
        if (name.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0) {
            for (int tab = 0; tab < tabTexts.size(); ++tab)
                if (!chosen.contains(tab))
                    chosen << tab;
            continue;
        }
        int found = -1;
        for (int tab = 0; tab < tabTexts.size(); ++tab)
            if (name.compare(tabTexts[tab], Qt::CaseInsensitive) == 0 ||
                name.compare(kebabCase(tabTexts[tab]), Qt::CaseInsensitive) == 0)
                found = tab;
        if (found < 0) {
            printProgramError(
                QStringLiteral("unknown tab \"%1\"; valid names, in any letter case: %2, all")
                    .arg(name, tabTexts.join(QLatin1String(", "))));
            return ShotUsageError;
        }
        if (!chosen.contains(found))
            chosen << found;
    }
    for (int tab : qAsConst(chosen)) {
        const QString file = kebabCase(tabTexts[tab]);
        tabFiles << file;
        tabs << TabChoice{tab, file, tabTexts[tab]};
    }
    return ShotSuccess;
}

void ShotSubjects::addForms(ShotRenderer &renderer)
{
    for (int index = 0; index < formPaths.size(); ++index) {
        LoadedForm form = loadForm(formPaths.at(index));
        if (!form.widget) {
            // The other forms and the gallery are still rendered; the exit code tells.
            printProgramError(
                QStringLiteral("cannot show form %1: %2").arg(formPaths.at(index), form.error));
            formFailed = true;
            continue;
        }
        const QString title = form.title;
        const int tab = renderer.addFormTab(std::move(form.widget), title);
        const QString &file = formFiles.at(index);
        tabFiles << file;
        tabs << TabChoice{tab, file, title};
    }
}
