#pragma once

#include "app/themecatalogue.h"

#include <QMainWindow>

class PreviewContent;
class StyleSwitcherWindow;
class TitleBar;

// The frameless main window: frame, title bar, gallery and size grip, and the one
// place where themes are applied.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);

public slots:
    void applyTheme(Theme theme);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void positionStyleSwitcher();

    QWidget *frame;
    TitleBar *titleBar;
    PreviewContent *previewContent;
    StyleSwitcherWindow *styleSwitcher;
    bool placeSwitcherAfterResize = false;
};
