// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/treecontrast.h"

#include <memory>

// The gallery built offscreen for judging, owning its widgets. Needs a QApplication.
std::shared_ptr<const ContrastTree> galleryContrastTree();
