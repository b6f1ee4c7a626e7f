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

// Rows "program", "arguments" and "module" (the Python module a script needs, empty
// for the C++ application): each application of this build's Qt.
inline void addAttachedApplicationRows()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("module");
    const QString script = QStringLiteral(ATTACHED_APP_SCRIPT);
    QTest::newRow("C++ application")
        << QStringLiteral(ATTACHED_APP_EXECUTABLE) << QStringList() << QString();
#if QT_VERSION_MAJOR == 5
    QTest::newRow("PyQt5 script") << systemPython << QStringList{script, QStringLiteral("pyqt5")}
                                  << QStringLiteral("PyQt5.QtWidgets");
    QTest::newRow("PySide2 script")
        << systemPython << QStringList{script, QStringLiteral("pyside2")}
        << QStringLiteral("PySide2.QtWidgets");
#else
    QTest::newRow("PyQt6 script") << systemPython << QStringList{script, QStringLiteral("pyqt6")}
                                  << QStringLiteral("PyQt6.QtWidgets");
#endif
}
