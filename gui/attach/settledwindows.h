// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QVector>

class ApplicationSheet;
class QWidget;

// The author's application's top-level windows on screen or shown until it has
// settled, in the order they were shown (those on screen at the start in an order
// of their own), for prismark-shot to render and prismark-profile to measure.
class SettledWindows : public QObject
{
    Q_OBJECT
public:
    explicit SettledWindows(ApplicationSheet *applicationSheet, QObject *parent = nullptr);

    // From now, for settleMs.
    void start(int settleMs);
    // Windows shown and closed since count too, as long as the application keeps them.
    QList<QWidget *> windows() const;

signals:
    void settled();

private:
    void remember(QWidget *window);

    QVector<QPointer<QWidget>> shown;
    QTimer settleTimer;
};
