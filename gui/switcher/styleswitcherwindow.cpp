// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "switcher/styleswitcherwindow.h"

#include "theme/themecatalogue.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

static_assert(ThemeCount == 12, "the switcher lays out three rows of four themes");

StyleSwitcherWindow::StyleSwitcherWindow(QWidget *parent)
    : QWidget(parent, Qt::Tool)
{
    for (int id = 0; id < ThemeCount; ++id) {
        const char *label = themeInfo(static_cast<Theme>(id)).switcherLabel;
        themeButtons[id] = new QRadioButton(tr(label), this);
    }
    setWindowTitle(tr("Style Switcher"));
    // Closing the switcher only hides it; say how to get it back.
    setToolTip(tr("Choose a theme. Once this window is closed, %1 in the main window shows it "
                  "again.")
                   .arg(showShortcut().toString(QKeySequence::NativeText)));
    setFixedSize(640, 240);
    themeButtons[Light]->setChecked(true);

    group = new QButtonGroup(this);
    for (int id = 0; id < ThemeCount; ++id)
        group->addButton(themeButtons[id], id);

    auto *box = new QGroupBox(tr("Prismark Style"), this);
    auto *grid = new QGridLayout(box);
    for (int id = 0; id < ThemeCount; ++id)
        grid->addWidget(themeButtons[id], id / 4, id % 4);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(box);

    // The buttons' order, a scheme's index into it; Desktop last.
    schemeButtons[0] = new QRadioButton(tr("Light"), this);
    schemeButtons[1] = new QRadioButton(tr("Dark"), this);
    schemeButtons[2] = new QRadioButton(tr("Desktop"), this);
    schemeButtons[2]->setChecked(true);
    auto *schemeGroup = new QButtonGroup(this);
    auto *schemeBox = new QGroupBox(tr("Colour Scheme"), this);
    auto *schemeRow = new QHBoxLayout(schemeBox);
    for (QRadioButton *button : schemeButtons) {
        schemeGroup->addButton(button);
        schemeRow->addWidget(button);
        connect(button, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                emit colorSchemeRequested(currentColorScheme());
        });
    }
    schemeRow->addStretch();
    layout->addWidget(schemeBox);

    // toggled rather than clicked, so keyboard selection requests a theme too; the
    // unchecked side of a switch emits nothing, so each change requests once.
    for (int id = 0; id < ThemeCount; ++id) {
        connect(themeButtons[id], &QRadioButton::toggled, this, [this, id](bool checked) {
            if (checked)
                emit themeRequested(id);
        });
    }
}

QKeySequence StyleSwitcherWindow::showShortcut()
{
    // Ctrl+Shift+S: no widget or action of the gallery uses it.
    return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
}

void StyleSwitcherWindow::setCurrentTheme(int index)
{
    bool wasBlocked[ThemeCount];
    for (int id = 0; id < ThemeCount; ++id)
        wasBlocked[id] = themeButtons[id]->blockSignals(true);
    // The exclusive group refuses to uncheck its checked button, so an index out of
    // range leaves the current one checked.
    for (int id = 0; id < ThemeCount; ++id)
        themeButtons[id]->setChecked(id == index);
    for (int id = ThemeCount - 1; id >= 0; --id)
        themeButtons[id]->blockSignals(wasBlocked[id]);
}

std::optional<ColorScheme> StyleSwitcherWindow::currentColorScheme() const
{
    if (schemeButtons[0]->isChecked())
        return ColorScheme::Light;
    if (schemeButtons[1]->isChecked())
        return ColorScheme::Dark;
    return std::nullopt;
}

void StyleSwitcherWindow::setCurrentColorScheme(std::optional<ColorScheme> scheme)
{
    QRadioButton *button = !scheme                        ? schemeButtons[2]
                           : *scheme == ColorScheme::Dark ? schemeButtons[1]
                                                          : schemeButtons[0];
    const QSignalBlocker blocker(button);
    button->setChecked(true);
}

void StyleSwitcherWindow::clearCurrentTheme()
{
    QAbstractButton *checked = group->checkedButton();
    if (!checked)
        return;
    // The exclusive group refuses to uncheck its last checked button.
    const QSignalBlocker blocker(checked);
    group->setExclusive(false);
    checked->setChecked(false);
    group->setExclusive(true);
}

// Its meta-object is compiled here, not with the library's others, so that what
// uses none of the gallery (the attach plugin) does not link it.
#include "moc_styleswitcherwindow.cpp"
