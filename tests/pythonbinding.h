// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtTest>

// Whether a test's attached application can run here: one in Python needs the
// distribution's binding, and no Python loads the sanitizer build's plugin.

// The distribution's Python, where its Qt bindings are (a python3 earlier on PATH
// may be another, with bindings of its own or none).
const QString systemPython = QStringLiteral("/usr/bin/python3");

// The distribution's PyQt for this build's Qt.
inline QString pyQtWidgetsModule()
{
    return QStringLiteral("PyQt%1.QtWidgets").arg(QT_VERSION_MAJOR);
}

inline bool pythonModuleThere(const QString &module)
{
    QProcess python;
    python.start(systemPython, {QStringLiteral("-c"), QStringLiteral("import ") + module});
    return python.waitForFinished(20000) && python.exitStatus() == QProcess::NormalExit &&
           python.exitCode() == 0;
}

// Why an application that imports module, the Python binding it runs on, is skipped
// here; "" when it runs, and for no module (a program of this build).
inline QString whyPythonIsSkipped(const QString &module)
{
    if (module.isEmpty())
        return QString();
#ifdef PRISMARK_SANITIZE
    // The plugin needs the sanitizer runtime loaded first.
    return QStringLiteral("the sanitizer build's plugin loads only into a program built with "
                          "the sanitizer");
#else
    if (!pythonModuleThere(module))
        return module + QStringLiteral(" is not installed (see scripts/test.sh)");
    return QString();
#endif
}

// The same for a command line: one the system's Python runs imports this build's PyQt.
inline QString whyCommandIsSkipped(const QStringList &command)
{
    return whyPythonIsSkipped(command.contains(systemPython) ? pyQtWidgetsModule() : QString());
}

// Skips the test function, saying why, unless why is empty.
#define SKIP_UNLESS_RUNNABLE(why)                                                                  \
    do {                                                                                           \
        const QString reason = (why);                                                              \
        if (!reason.isEmpty())                                                                     \
            QSKIP(qPrintable(reason));                                                             \
    } while (false)
