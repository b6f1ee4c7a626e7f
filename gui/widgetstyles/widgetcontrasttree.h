// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/treecontrast.h"

#include <QPointer>
#include <QWidget>

// A widget tree as the contrast check judges it: every widget that shows text, in its
// own state and in those an author styles (hover, pressed, checked), and the items of
// its views, selected or not. Disabled widgets are exempt, as the check has them.
class WidgetContrastTree : public ContrastTree
{
public:
    // root must outlive the tree's use; a tree whose root is gone has no targets.
    explicit WidgetContrastTree(QWidget *root);

    QVector<ContrastTarget> contrastTargets() const override;
    quint64 stateOf(const QObject *object) const override;
    QString styleName() const override;

private:
    QPointer<QWidget> root;
};
