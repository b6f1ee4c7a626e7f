// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "profiling/ruleattribution.h"

#include <QList>
#include <QString>

class QWidget;

// prismark-profile inside the author's application: the sheet in the folder (see
// attach/attachprotocol.h) measured on the application's own windows, and the
// measurement written beside it. False, with the reason, when nothing was written.
bool profileApplicationWindows(const QString &folder, const QList<QWidget *> &windows,
                               const AttributionSettings &settings, QString *error);
