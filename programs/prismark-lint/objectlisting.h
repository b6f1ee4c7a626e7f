// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/applicationobjects.h"

#include <QString>

// --list-objects: what the application's forms declare, sorted by name, then form
// and line: each object with its class (and the class a promoted one extends), what
// it is when no widget, and where. As aligned text, or as JSON.
QString objectListingText(const ApplicationObjects &objects);
QString objectListingJson(const ApplicationObjects &objects);
