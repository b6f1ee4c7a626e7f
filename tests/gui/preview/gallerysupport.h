// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT
#pragma once

#include <QtWidgets>

// The gallery's widgets found by name and section, as its behaviour tests look them up.

template <typename T> inline T *child(QObject *root, const char *objectName)
{
    return root->findChild<T *>(QLatin1String(objectName));
}

inline QGroupBox *section(QWidget *gallery, const QString &title)
{
    const auto boxes = gallery->findChildren<QGroupBox *>();
    for (QGroupBox *box : boxes) {
        if (box->title() == title)
            return box;
    }
    return nullptr;
}

inline const QStringList &sectionTitles()
{
    static const QStringList titles{"Semantic Variants", "Semantic Checks", "Semantic Inputs",
                                    "Semantic Ranges", "Semantic Editors"};
    return titles;
}

inline QString describe(const QWidget *widget)
{
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text() + (button->isChecked() ? "*" : "");
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    if (const auto *lineEdit = qobject_cast<const QLineEdit *>(widget))
        return lineEdit->text();
    if (const auto *editor = qobject_cast<const QTextEdit *>(widget)) {
        const bool fixed = editor->minimumHeight() == editor->maximumHeight();
        return QString("%1 (%2)").arg(editor->toPlainText(),
                                      fixed ? QString("%1px").arg(editor->maximumHeight())
                                            : QString("free height"));
    }
    if (const auto *slider = qobject_cast<const QAbstractSlider *>(widget))
        return QString::number(slider->value());
    if (const auto *bar = qobject_cast<const QProgressBar *>(widget))
        return QString::number(bar->value());
    return widget->metaObject()->className();
}
