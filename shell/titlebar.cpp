#include "shell/titlebar.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>

TitleBar::TitleBar(QWidget *window, QWidget *parent)
    : QWidget(parent)
    , window(window)
    , iconLabel(new QLabel(this))
    , titleLabel(new QLabel(this))
{
    setObjectName(QStringLiteral("appTitleBar"));
    setFixedHeight(40);
    iconLabel->setFixedSize(22, 22);
    iconLabel->setScaledContents(true);
    titleLabel->setObjectName(QStringLiteral("appTitleLabel"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(iconLabel);
    layout->addWidget(titleLabel, 1);
    syncFromWindow();
}

void TitleBar::syncFromWindow()
{
    titleLabel->setText(window->windowTitle());
    iconLabel->setPixmap(window->windowIcon().pixmap(18, 18));
}
