#pragma once

#include <QWidget>

class QLabel;

// The frameless main window's caption: icon, title and the three window buttons.
class TitleBar : public QWidget
{
public:
    TitleBar(QWidget *window, QWidget *parent);

    // Copies the window's title and icon and redraws the button glyphs.
    void syncFromWindow();

private:
    QWidget *window;
    QLabel *iconLabel;
    QLabel *titleLabel;
};
