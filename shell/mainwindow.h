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

    // Installs a sheet that is no built-in theme (an author's own file) the way a
    // theme is installed; the status line names it displayName.
    void applyStyleSheet(const QString &styleSheet, const QString &displayName);

public slots:
    void applyTheme(Theme theme);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showStyleName(const QString &displayName);
    void positionStyleSwitcher();

    QWidget *frame;
    TitleBar *titleBar;
    PreviewContent *previewContent;
    StyleSwitcherWindow *styleSwitcher;
    bool placeSwitcherAfterResize = false;
};
