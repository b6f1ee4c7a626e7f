// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

// What the configuration's tests share: files of a project written into a scratch
// folder, and the findings they lead to in a comparable form.

#include "analysis/diagnostic.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QVector>
#include <QtTest>

// Writes bytes to path, making its folders.
inline void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// "LINE:COL check" for each diagnostic, in order.
inline QStringList found(const QVector<LintDiagnostic> &diagnostics)
{
    QStringList result;
    for (const LintDiagnostic &d : diagnostics)
        result.append(QStringLiteral("%1:%2 %3").arg(d.line).arg(d.column).arg(d.check));
    return result;
}
