// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/applicationobjects.h"

#include <QString>

#include <memory>

// The folders walked at most for it, as for a configuration's forms.
constexpr int kMaxApplicationFolders = 10000;

// The application a folder holds, as a walk of it learns it: what its Designer forms
// and its C++ and Python sources declare; null when it declares nothing (or the
// folder is ""). Kept for the folder and read again only when one of its files
// changed (its path, size or time): for an editor's workspace, whose files change
// while it is open. Safe to ask from several threads.
std::shared_ptr<const ApplicationObjects> folderApplication(const QString &folder);
