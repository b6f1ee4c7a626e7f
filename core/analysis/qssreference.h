// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// The names and value kinds of the toolkit's style sheet reference (Qt 5.15), kept
// in one place so that a new name is a one-line change.
namespace QssReference {

// A property the style sheet engine of that version (major * 100 + minor, 0 for the
// one this program was built against) reads: its own list, the style hints it reads
// by name, or a qproperty- assignment.
bool isKnownProperty(const QString &name, bool knownToParser, int qtVersion = 0);
// The version that first reads a property only some versions read, else 0.
int propertyKnownFrom(const QString &name);
// "5.15" for 515; the built version for 0.
QString versionText(int version);
bool isKnownPseudoState(const QString &name);
bool isKnownSubcontrol(const QString &name);
// The class model a sheet is judged against: the toolkit's classes and this
// program's, plus an application's own, each named with the class it derives from.
class WidgetClasses
{
public:
    explicit WidgetClasses(const QHash<QString, QString> &own = {});
    bool isKnown(const QString &name) const;
    // True when widget is base or derives from it; "" (any widget) derives from nothing.
    bool inherits(const QString &widget, const QString &base) const;
    // widget, then its bases; just widget when the class is not known.
    QStringList ancestry(const QString &widget) const;

private:
    QHash<QString, QString> own;
    // Each known class's ancestry, walked once: the cascade-aware checks ask whether
    // one class derives from another for nearly every pair of rules they compare.
    QHash<QString, QStringList> ancestries;
};

// A widget class a type selector can name: the toolkit's and this program's own.
bool isKnownWidget(const QString &name);
// True when widget is base or derives from it; "" (any widget) derives from nothing.
bool inheritsWidget(const QString &widget, const QString &base);
// widget, then its bases up to QWidget; just widget when the class is not known.
QStringList widgetAncestry(const QString &widget);
// Every widget class a type selector can name, bases first.
QStringList widgetClasses();
// One of this program's own classes rather than the toolkit's.
bool isProgramWidget(const QString &name);

enum class ValueKind
{
    Other,
    Colour,     // a brush: colour, gradient or palette(role)
    Background, // shorthand: colour, url, repeat, position
    Border,     // shorthand: width, style, colour
    BorderStyle,
    Length,
    FontSize,
    FontWeight,
};
ValueKind valueKind(const QString &property);

// What the reference says of a property: the value type it names, a one-line
// meaning, and the keywords it takes (empty when its values are not keywords).
struct PropertyInfo
{
    QString name;
    ValueKind kind = ValueKind::Other;
    QString valueType; // "Brush", "Length", "Alignment", ...
    QString meaning;
    QStringList keywords;
    QString appliesTo; // "any widget", "subcontrols", or the classes that read it
};
// Every property the parser knows and every style hint, sorted by name.
const QVector<PropertyInfo> &properties();
// nullptr for a name that is neither.
const PropertyInfo *property(const QString &name);

// A pseudo-state or subcontrol: what it means, and the classes it belongs to (empty
// for a pseudo-state of any widget); their subclasses have it too.
struct NameInfo
{
    QString name;
    QString meaning;
    QStringList appliesTo;
};
const QVector<NameInfo> &pseudoStates();
const NameInfo *pseudoState(const QString &name); // lower case
// The class's own pseudo-states (its bases' included), then those of any widget.
QStringList pseudoStatesOf(const QString &widget);
const QVector<NameInfo> &subcontrols();
const NameInfo *subcontrol(const QString &name); // lower case
// The subcontrols of the class and its bases; all of them for "" or an unknown class.
QStringList subcontrolsOf(const QString &widget);

// The roles palette(role) reads, as the parser spells them.
QStringList paletteValueRoles();
QStringList lengthUnits();
QStringList borderStyles();

// The units the engine's length reader understands.
bool isKnownLengthUnit(const QString &unit);
bool isKnownBorderStyle(const QString &name);

} // namespace QssReference
