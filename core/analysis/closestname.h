// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

// The candidate clearly closest to word (a letter-case difference counts as none),
// "" when none is close, two are as close, or word is a candidate itself.
QString closestName(const QString &word, const QStringList &candidates);
