// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/applicationobjects.h"
#include "analysis/lintconfig.h"
#include "analysis/treecontrast.h"
#include "prismark-lint/commandoptions.h"
#include "prismark-lint/walkedapplication.h"

#include <QHash>
#include <QStringList>

#include <memory>

// The configurations of a run: each file found and read once, what is wrong with it
// said once on standard error, and the command line's options put on top.
class Configurations
{
public:
    explicit Configurations(const LintSettings &settings)
        : settings(settings)
    {}

    // The configuration in force for one sheet, without the command line's options.
    LintConfigResult configurationFor(const QString &sheet);
    // The options for one sheet: its configuration, then the command line on top.
    LintOptions optionsFor(const QString &sheet);

    // Whether a configuration could not be read.
    bool failed = false;
    // Sets the folder being walked (null: none): the application the sheets in it are
    // written for, its forms, sources and .qrc files.
    void setWalk(const WalkedApplication *walk);

private:
    // What the walk adds to a sheet's options: its application, its resources.
    void addWalkedApplication(LintOptions &options);
    void addWalkedResources(LintOptions &options);
    // Each file is read once (with its .qrc files); its overrides apply per sheet.
    const LintConfigResult &load(const QString &file);
    // Built once, on first use; only a GUI application can build widgets.
    std::shared_ptr<const ContrastTree> gallery();

    const LintSettings &settings;
    QHash<QString, LintConfigResult> loaded;
    std::shared_ptr<const ContrastTree> galleryTree;
    const WalkedApplication *walked = nullptr;
    // Read once per walk and shared: a walk may hold thousands of files.
    std::shared_ptr<const ApplicationObjects> walkedObjects;
    std::shared_ptr<const LintOptions> walkedResources;
    // The last configuration's objects (held, so that they are compared by identity)
    // with the walk's added, and its forms with the walk's.
    std::shared_ptr<const ApplicationObjects> mergedFrom;
    std::shared_ptr<const ApplicationObjects> merged;
    QStringList mergedForms;
};
