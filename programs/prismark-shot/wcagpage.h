// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "audit/wcagcriteria.h"

#include <QString>

class ImageWriter;

// A crop's file name on a theme's page, relative to the page: "crops/<n>.png".
QString wcagCropPath(int index);

// The page of one theme: the criteria table, then the findings grouped by the rule
// that paints them and the criterion, each group with its widgets, one crop per
// distinct look and where the fix goes. It opens from the file system with no
// server and no network; crops are files beside it, named by wcagCropPath, one per
// distinct crop in the order of the theme's findings.
QString wcagPageHtml(const WcagReport &report, const QString &theme);

// DIR/<theme>/index.html and its crops for every theme of the report; prints what
// could not be written and returns false then.
bool writeWcagPages(const WcagReport &report, const QString &folder, ImageWriter &writer);
