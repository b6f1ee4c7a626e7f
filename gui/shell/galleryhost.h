// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "theme/themecatalogue.h"

#include <QString>
#include <QStringList>

#include <functional>

class QObject;
class QWidget;

// What the live tools ask of the gallery they run beside. They reach the gallery
// through this alone, so that the attach plugin, which runs the same tools inside
// an author's own application, links none of the gallery's window.
class GalleryHost
{
public:
    virtual QWidget *galleryWindow() = 0;
    // The style switcher's window, which the diagnostics window keeps itself below.
    virtual QWidget *switcherWindow() const = 0;
    virtual void installAuthorSheet(const QString &styleSheet, const QString &displayName) = 0;
    // Leaves no built-in theme checked in the switcher.
    virtual void clearThemeSelection() = 0;
    // Calls picked after the theme picked in the switcher is in force, for as long
    // as context lives.
    virtual void onThemePicked(QObject *context, std::function<void(Theme)> picked) = 0;
    virtual QStringList galleryTabTitles() const = 0;
    virtual QWidget *galleryTabPage(int index) const = 0;
    virtual void onGalleryTabChanged(QObject *context, std::function<void(int)> changed) = 0;

protected:
    ~GalleryHost() = default;
};
