// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lint/objectlisting.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {
QVector<ApplicationObject> sorted(const ApplicationObjects &objects)
{
    QVector<ApplicationObject> result = objects.objects;
    std::stable_sort(result.begin(), result.end(),
                     [](const ApplicationObject &a, const ApplicationObject &b) {
                         return std::tie(a.name, a.form, a.line) < std::tie(b.name, b.form, b.line);
                     });
    return result;
}

// The class a promoted object's class extends, or "".
QString baseOf(const ApplicationObjects &objects, const ApplicationObject &object)
{
    const ApplicationClass *promoted =
        objects.applicationClass(selectorClassName(object.className));
    return promoted ? promoted->base : QString();
}

// What a class row says: "class extends QDialog (form class)".
QString classDescription(const ApplicationClass &declared)
{
    QString what = QStringLiteral("class");
    if (!declared.base.isEmpty())
        what += QStringLiteral(" extends ") + declared.base;
    what += QStringLiteral(" (%1%2)").arg(classOriginName(declared.origin),
                                          declared.metaObject ? QString()
                                                              : QStringLiteral(", no Q_OBJECT"));
    return what;
}

QVector<ApplicationClass> sortedClasses(const ApplicationObjects &objects)
{
    QVector<ApplicationClass> result = objects.classes;
    std::stable_sort(
        result.begin(), result.end(),
        [](const ApplicationClass &a, const ApplicationClass &b) { return a.name < b.name; });
    return result;
}

// A name set in code says nothing of its class.
QString objectClass(const ApplicationObject &object)
{
    return object.className.isEmpty() ? QStringLiteral("(named in code)") : object.className;
}
} // namespace

QString objectListingText(const ApplicationObjects &objects)
{
    QVector<QStringList> rows;
    for (const ApplicationObject &object : sorted(objects)) {
        const QString base = baseOf(objects, object);
        QString what = objectClass(object);
        if (!base.isEmpty())
            what += QStringLiteral(" extends ") + base;
        if (!object.isWidget())
            what += QStringLiteral(" (%1, not a widget)").arg(objectKindName(object.kind));
        rows.append({object.name, what, QStringLiteral("%1:%2").arg(object.form).arg(object.line)});
    }
    const int objectRows = int(rows.size());
    // The classes after the objects, each with its base and where it is declared.
    for (const ApplicationClass &declared : sortedClasses(objects))
        rows.append({declared.name, classDescription(declared),
                     QStringLiteral("%1:%2").arg(declared.form).arg(declared.line)});
    int widths[2] = {0, 0};
    for (const QStringList &row : qAsConst(rows)) {
        for (int column = 0; column < 2; ++column)
            widths[column] = qMax(widths[column], int(row.at(column).size()));
    }
    QString text;
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList &row = rows.at(i);
        if (i == objectRows && i > 0)
            text += QLatin1Char('\n');
        text += row.at(0).leftJustified(widths[0] + 2) + row.at(1).leftJustified(widths[1] + 2) +
                row.at(2) + QLatin1Char('\n');
    }
    return text;
}

QString objectListingJson(const ApplicationObjects &objects)
{
    QJsonArray list;
    for (const ApplicationObject &object : sorted(objects)) {
        QJsonObject entry{{QStringLiteral("name"), object.name},
                          {QStringLiteral("class"), object.className},
                          {QStringLiteral("kind"), objectKindName(object.kind)},
                          {QStringLiteral("widget"), object.isWidget()},
                          {QStringLiteral("form"), object.form},
                          {QStringLiteral("line"), object.line}};
        const QString base = baseOf(objects, object);
        if (!base.isEmpty())
            entry.insert(QStringLiteral("extends"), base);
        list.append(entry);
    }
    QJsonArray classes;
    for (const ApplicationClass &promoted : objects.classes)
        classes.append(QJsonObject{{QStringLiteral("class"), promoted.name},
                                   {QStringLiteral("extends"), promoted.base},
                                   {QStringLiteral("form"), promoted.form},
                                   {QStringLiteral("line"), promoted.line},
                                   {QStringLiteral("origin"), classOriginName(promoted.origin)},
                                   {QStringLiteral("qObject"), promoted.metaObject}});
    return QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("objects"), list},
                                                       {QStringLiteral("classes"), classes}})
                                 .toJson(QJsonDocument::Indented));
}
