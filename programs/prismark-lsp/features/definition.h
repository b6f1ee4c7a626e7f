// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

#include <optional>

// The file a url() at the position resolves to, as the toolkit resolves it (relative
// paths against the working directory), when a regular file is there.
std::optional<QString> definitionAt(const QString &text, int offset);
