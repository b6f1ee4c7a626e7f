// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lint/configurationcache.h"

#include "analysis/applicationforms.h"
#include "analysis/qrcresources.h"
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
    if (walked) {
        addWalkedApplication(options);
        addWalkedResources(options);
    }
    return options;
}

void Configurations::setWalk(const WalkedApplication *walk)
{
    walked = walk;
    walkedObjects.reset();
    walkedResources.reset();
    mergedFrom.reset();
    merged.reset();
}

void Configurations::addWalkedApplication(LintOptions &options)
{
    // Whatever the forms' own problems, linting them says so.
    QStringList formWarnings;
    if (!walkedObjects && (!walked->forms.isEmpty() || walked->sources)) {
        auto objects = std::make_shared<ApplicationObjects>();
        if (const auto forms = readApplicationForms(walked->forms, &formWarnings))
            objects->append(*forms);
        if (walked->sources)
            objects->append(*walked->sources);
        if (!objects->forms.isEmpty() || !objects->objects.isEmpty() || !objects->classes.isEmpty())
            walkedObjects = objects;
    }
    if (!walkedObjects)
        return;
    if (!options.applicationObjects) {
        options.forms += walked->forms;
        options.applicationObjects = walkedObjects;
        return;
    }
    // The files of a walk mostly share one configuration: its objects are merged with
    // the walk's once, not for every file.
    if (options.applicationObjects == mergedFrom) {
        options.forms = mergedForms;
        options.applicationObjects = merged;
        return;
    }
    mergedFrom = options.applicationObjects;
    addApplicationForms(options, walked->forms, &formWarnings);
    if (walked->sources) {
        auto withSources = std::make_shared<ApplicationObjects>(*options.applicationObjects);
        withSources->append(*walked->sources);
        options.applicationObjects = withSources;
    }
    mergedForms = options.forms;
    merged = options.applicationObjects;
}

// The .qrc files the walk found are the application's resources, beside those the
// configuration names.
void Configurations::addWalkedResources(LintOptions &options)
{
    if (walked->qrcFiles.isEmpty())
        return;
    if (!walkedResources) {
        LintOptions read;
        QStringList warnings;
        for (const QString &qrc : walked->qrcFiles)
            readQrcFile(qrc, read, warnings);
        QTextStream err(stderr);
        for (const QString &warning : qAsConst(warnings))
            complain(err, QStringLiteral("warning: ") + warning);
        walkedResources = std::make_shared<const LintOptions>(read);
    }
    options.resourcePaths.unite(walkedResources->resourcePaths);
    for (auto it = walkedResources->missingResourceFiles.cbegin();
         it != walkedResources->missingResourceFiles.cend(); ++it) {
        if (!options.missingResourceFiles.contains(it.key()))
            options.missingResourceFiles.insert(it.key(), it.value());
    }
    options.resourcesConfigured = true;
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
