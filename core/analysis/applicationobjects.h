// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

// The application's own objects and classes as its Qt Designer forms declare them:
// what a style sheet's "#name" and class names can refer to.

struct ApplicationObject
{
    // Only widgets are styled; the rest have names a sheet cannot select.
    enum class Kind
    {
        Widget,
        Layout,
        Spacer,
        Action,
        ActionGroup,
        ButtonGroup,
    };
    QString name;
    QString className; // as the form writes it ("ui::SaveButton")
    Kind kind = Kind::Widget;
    QString form;
    int line = 0;

    bool isWidget() const { return kind == Kind::Widget; }
};

// One of the application's own widget classes, derived from the class it extends:
// a form's promoted class, the class a form is generated for, or a class its C++ or
// Python sources declare.
struct ApplicationClass
{
    enum class Origin
    {
        Promoted,  // a form's <customwidget>
        FormClass, // a form's <class>, derived from its top-level widget's class
        Cpp,
        Python,
    };
    QString name; // as a selector writes it, "::" as "--"
    QString base; // likewise; "" when the form names none
    QString form; // the file that declares it
    int line = 0;
    Origin origin = Origin::Promoted;
    // False for a C++ class declared without Q_OBJECT: the toolkit knows its widgets
    // by the nearest base that has one, so a selector naming it matches nothing.
    bool metaObject = true;
};

class ApplicationObjects
{
public:
    // In the order the forms were given and their elements written.
    QVector<ApplicationObject> objects;
    // Each class once, as the first form that declares it has it.
    QVector<ApplicationClass> classes;
    // The forms read, as their paths were given.
    QStringList forms;

    // Adds what another reading found, keeping the first of each class (a form's
    // own class gives way to the source that declares it).
    void append(const ApplicationObjects &other);
    // The objects of a name, of any kind, in order.
    QVector<ApplicationObject> named(const QString &name) const;
    bool hasWidget(const QString &name) const;
    // Every widget's name, each once, sorted: what "#name" can select.
    QStringList widgetNames() const;
    const ApplicationClass *applicationClass(const QString &selectorName) const;
    // Each class with its base, as the analysis's "widgets" are.
    QHash<QString, QString> classBases() const;

private:
    void index(int from);
    QHash<QString, QVector<int>> byName;
    QHash<QString, int> classByName;
};

// A class name as a selector writes it: a namespace's "::" as "--".
QString selectorClassName(const QString &className);
// Where a class comes from, for a listing ("promoted in a form", "C++").
QString classOriginName(ApplicationClass::Origin origin);
// What a kind is called in a message and a listing ("layout", "action"), with its
// article when asked ("an action").
QString objectKindName(ApplicationObject::Kind kind, bool withArticle = false);

// Reads one form's text into an index of its own. False, with error saying "LINE:
// what", when the text is no Designer form; nothing of it is kept then.
bool readFormObjects(const QByteArray &bytes, const QString &formPath, ApplicationObjects *into,
                     QString *error);

// Reads every form (regular files of bounded size), each once, in the order given.
// A form that cannot be read or is no form is a warning, "FILE:LINE: what", and adds
// nothing. A form unchanged since it was last read (its path, size and time) is not
// read again. Null when no form could be read.
std::shared_ptr<const ApplicationObjects> readApplicationForms(const QStringList &formPaths,
                                                               QStringList *warnings);
