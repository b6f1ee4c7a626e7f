// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Writes a PNG with fixed settings (no colour space, no text, no time) under a temporary
// name in the target's folder and renames it into place only when complete, so a
// failed write never leaves a partial file under the final name. Safe to call from
// worker threads. On failure returns false and sets *error to one line for a user.
bool writePngAtomically(const QString &path, const QImage &image, QString *error);
// The PNG file's bytes: 8 bits a channel, RGB, or RGBA where the image has alpha;
// the same bytes for the same pixels.
QByteArray encodePng(const QImage &image);
