// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QPoint>
#include <QWidget>

class QIcon;
class QLabel;
class QPushButton;

// The frameless main window's caption: icon, title and the three window buttons;
// it moves the window when dragged and draws its glyphs in the theme's colour.
class TitleBar : public QWidget
{
public:
    TitleBar(QWidget *window, QWidget *parent);

    // Copies the window's title and icon and redraws the button glyphs.
    void syncFromWindow();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void setupWindowButton(QPushButton *button, const QString &toolTip);
    void toggleMaximized();
    void updateButtonIcons();
    static QIcon tintedIcon(const QString &svgPath, const QColor &color, qreal devicePixelRatio);

    QWidget *window;
    QLabel *iconLabel;
    QLabel *titleLabel;
    QPushButton *minimizeButton;
    QPushButton *maximizeButton;
    QPushButton *closeButton;
    QPoint dragOffset;
    bool dragging;
};
