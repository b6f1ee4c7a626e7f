// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/applicationobjects.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The application's own widget classes and object names as its C++ and Python sources
// declare them: classes with their bases, whether a C++ class has Q_OBJECT, and the
// literal names given to setObjectName() or objectName=. Read with the languages'
// tokenizers, a declaration at a time; not a parser of either language.

// A base as written: its name and, for a template, its arguments' names.
struct SourceBase
{
    QString name;
    QStringList arguments;
};

struct SourceClass
{
    // C++: qualified by the namespaces and classes around it ("app::SaveButton"), as
    // the toolkit names it; Python: the class's own name.
    QString name;
    // C++: where its bases are looked up, innermost first ("app::ui", "app", "").
    QStringList scopes;
    // C++: the first base alone (a QObject's must come first); Python: every base.
    QVector<SourceBase> bases;
    QStringList templateParameters;
    bool metaObject = false;
    bool python = false;
    QString file;
    int line = 0;
};

class SourceDeclarations
{
public:
    void readCpp(const QString &text, const QString &path);
    void readPython(const QString &text, const QString &path);

    // The widget classes among those read (derived from a toolkit widget class, also
    // through each other and through templates) and the object names set, as the
    // application's objects and classes, with the files they were read from.
    ApplicationObjects applicationObjects() const;

    QVector<SourceClass> classes;
    // Each name set in code, as a widget of a class the code does not say.
    QVector<ApplicationObject> objects;
    QStringList files;
};
