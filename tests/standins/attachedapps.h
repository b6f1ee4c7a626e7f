// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "pythonbinding.h"

#include <QFile>
#include <QPoint>
#include <QtTest>

// What the tests of attached applications share: the applications, the author's
// sheets and where to look for their colours.

const char redSheet[] = "QMainWindow, QDialog { background: rgb(200, 30, 30); }\n";
const char yellowSheet[] = "QMainWindow, QDialog { background: rgb(220, 200, 0); }\n";

// A point of the window's own background, and one of its label with its own sheet.
const QPoint backgroundPoint(4, 4);
const QPoint labelPoint(300, 30);

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// Each application of this build's Qt: the C++ one, and the script on each Python
// binding (module is the one it needs, empty for the C++ application).
struct AttachedApplication
{
    const char *name;
    QString program;
    QStringList arguments;
    QString module;
};

inline QVector<AttachedApplication> attachedApplications()
{
    const QString script = QStringLiteral(ATTACHED_APP_SCRIPT);
    return
    {
        {"C++ application", QStringLiteral(ATTACHED_APP_EXECUTABLE), {}, QString()},
#if QT_VERSION_MAJOR == 5
            {"PyQt5 script",
             systemPython,
             {script, QStringLiteral("pyqt5")},
             QStringLiteral("PyQt5.QtWidgets")},
            {"PySide2 script",
             systemPython,
             {script, QStringLiteral("pyside2")},
             QStringLiteral("PySide2.QtWidgets")},
#else
            {"PyQt6 script",
             systemPython,
             {script, QStringLiteral("pyqt6")},
             QStringLiteral("PyQt6.QtWidgets")},
#endif
    };
}

// Rows "program", "arguments" and "module", one for each application.
inline void addAttachedApplicationRows()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("module");
    for (const AttachedApplication &application : attachedApplications())
        QTest::newRow(application.name)
            << application.program << application.arguments << application.module;
}
