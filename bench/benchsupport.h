// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QLatin1String>
#include <QString>
#include <QtGlobal>

#include <cstdio>

// The offscreen platform says so for every window shown; nothing to act on in a
// benchmark, and it would bury the figures.
inline void quietPlatformNotices(QtMsgType type, const QMessageLogContext &context,
                                 const QString &message)
{
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}
