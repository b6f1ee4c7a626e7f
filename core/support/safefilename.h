// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QSet>
#include <QString>

// A file stem made of a name someone else chose (an object name, a window's class):
// anything but letters, digits, '_', '.' and '-' becomes '_', a leading dot is kept
// from hiding the file, and a stem already taken gets "-2", "-3", ... The result is
// added to taken.
QString uniqueSafeFileStem(const QString &name, QSet<QString> *taken);
