// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QWidget>

#include <memory>

class QLabel;
class QVBoxLayout;

// A gallery tab holding an author's form at the size it was designed at (as far as
// the tab allows), or a line saying why there is none yet.
class FormPage : public QWidget
{
public:
    explicit FormPage(QWidget *parent = nullptr);

    // Replaces the form shown; the page takes it.
    void setForm(std::unique_ptr<QWidget> form);
    QWidget *form() const { return shown; }
    // Shown while there is no form.
    void setMessage(const QString &message);

private:
    QVBoxLayout *layout;
    QLabel *messageLabel;
    QWidget *shown = nullptr;
};
