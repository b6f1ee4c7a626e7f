// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QProxyStyle>
#include <QString>

// The theme style applyTheme installed. With a style sheet in force the application
// style is the toolkit's style sheet wrapper, which parents the proxy it wraps.
inline QStyle *installedThemeStyle()
{
    QStyle *style = QApplication::style();
    if (qobject_cast<QProxyStyle *>(style))
        return style;
    const auto wrapped = style->findChildren<QProxyStyle *>(QString(), Qt::FindDirectChildrenOnly);
    return wrapped.size() == 1 ? wrapped.first() : nullptr;
}
