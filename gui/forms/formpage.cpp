// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "forms/formpage.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {
// About what the gallery's tab leaves a page in a window of its default size; a
// form designed larger is shown smaller, as its layout allows.
const QSize kLargestDesignedSize(960, 540);
} // namespace

FormPage::FormPage(QWidget *parent)
    : QWidget(parent)
    , layout(new QVBoxLayout(this))
    , messageLabel(new QLabel(this))
{
    messageLabel->setWordWrap(true);
    layout->addWidget(messageLabel);
    layout->addStretch(1);
}

void FormPage::setForm(std::unique_ptr<QWidget> form)
{
    delete shown;
    shown = form.release();
    messageLabel->hide();
    if (!shown)
        return;
    const QSize designed = shown->size();
    // A dialog or main window of its own becomes a part of the page.
    shown->setParent(this, Qt::Widget);
    shown->setMinimumSize(
        designed.boundedTo(kLargestDesignedSize).expandedTo(shown->minimumSize()));
    layout->insertWidget(0, shown, 0, Qt::AlignLeft | Qt::AlignTop);
    shown->show();
}

void FormPage::setMessage(const QString &message)
{
    messageLabel->setText(message);
    messageLabel->setVisible(!shown);
}
