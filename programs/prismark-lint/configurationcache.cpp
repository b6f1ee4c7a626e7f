// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lint/configurationcache.h"

#include "analysis/applicationforms.h"
#include "prismark-lint/gallerycontrast.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

LintConfigResult Configurations::configurationFor(const QString &sheet)
{
    if (settings.noConfig)
        return LintConfigResult();
    const QString file =
        settings.configFile.isEmpty() ? findLintConfig(sheet) : settings.configFile;
    return file.isEmpty() ? LintConfigResult() : load(file).forSheet(sheet);
}

LintOptions Configurations::optionsFor(const QString &sheet)
{
    LintOptions options = configurationFor(sheet).options;
    options.gallery = options.gallery || settings.gallery;
    if (settings.gallery)
        options.contrastTree = gallery();
    for (const QString &id : settings.enabled) {
        options.disabledChecks.removeAll(id);
        options.enabledChecks.append(id);
    }
    options.disabledChecks += settings.disabled;
    if (settings.tokens)
        options.tokens = settings.tokens;
    if (!walkedForms.isEmpty()) {
        // Whatever the forms' own problems, linting them says so.
        QStringList formWarnings;
        if (options.applicationObjects) {
            addApplicationForms(options, walkedForms, &formWarnings);
        } else {
            // Read once per walk and shared: a walk may hold thousands of files.
            if (!walkedObjects)
                walkedObjects = readApplicationForms(walkedForms, &formWarnings);
            options.forms += walkedForms;
            options.applicationObjects = walkedObjects;
        }
    }
    return options;
}

const LintConfigResult &Configurations::load(const QString &file)
{
    const auto cached = loaded.constFind(file);
    if (cached != loaded.cend())
        return *cached;
    const LintConfigResult result = readLintConfig(file);
    QTextStream err(stderr);
    if (!result.ok) {
        complain(err, result.error);
        failed = true;
    }
    for (const QString &warning : result.warnings)
        complain(err, QStringLiteral("warning: ") + warning);
    return *loaded.insert(file, result);
}

std::shared_ptr<const ContrastTree> Configurations::gallery()
{
    if (!galleryTree && qobject_cast<QApplication *>(QCoreApplication::instance()))
        galleryTree = galleryContrastTree();
    return galleryTree;
}
