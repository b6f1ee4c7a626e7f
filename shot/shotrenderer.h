// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QImage>
#include <QSize>
#include <QStringList>

#include <memory>

class MainWindow;
class QWidget;

struct ShotTheme;

// Renders the whole main window, title bar and frame included, the same way every
// time: fixed dates, no focus, no hover, no caret, no animation.
class ShotRenderer
{
public:
    // Call after the application object exists and before any other widget is made.
    static void prepareApplication();

    ShotRenderer(QSize size, qreal scale);
    ~ShotRenderer();

    QSize minimumSize() const;

    // The gallery's tab texts, in tab order.
    QStringList tabTexts() const;

    void applyTheme(const ShotTheme &theme, const QString &styleSheetText);
    // Adds an author's form as a tab after the gallery's own; returns its index.
    int addFormTab(std::unique_ptr<QWidget> form, const QString &title);
    QImage render(int tab, bool disabled);

private:
    std::unique_ptr<MainWindow> window;
    QSize size;
    qreal scale;
};
