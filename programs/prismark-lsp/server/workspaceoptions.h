// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/lintoptions.h"

#include <QString>

// The workspace folder the client opened, whose application (its forms' and its
// sources' classes and names, as a walk of it by prismark-lint learns them) joins
// the options of every sheet inside it, kept current as its files change.

void setWorkspaceFolder(const QString &folder);

// A sheet's configuration, as prismark-lint finds it, with the workspace's application.
LintOptions workspaceOptionsFor(const QString &sheet);
