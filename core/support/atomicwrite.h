// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file's content all at once (a reader sees the old text or the new,
// never half of it), keeping its permissions. False with error set when it could
// not; the file is then as it was.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error);
