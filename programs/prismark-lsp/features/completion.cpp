// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/features/completion.h"

#include "analysis/applicationobjects.h"
#include "analysis/colourliterals.h"
#include "analysis/qssreference.h"
#include "prismark-lsp/features/sheetcontext.h"
#include "theme/palettedirectives.h"
#include "theme/semanticvariants.h"
#include "theme/shellobjectnames.h"

#include <QColor>
#include <QFileInfo>
#include <QRegularExpression>

using Place = CursorContext::Place;

namespace {
// The protocol's CompletionItemKind values used here.
enum Kind
{
    KindFunction = 3,
    KindField = 5,
    KindVariable = 6,
    KindClass = 7,
    KindProperty = 10,
    KindUnit = 11,
    KindValue = 12,
    KindKeyword = 14,
    KindSnippet = 15,
    KindColour = 16,
    KindEnumMember = 20,
    KindConstant = 21,
};

// Properties whose values the gallery's sheets select on, besides "variant".
const char *const kAttributeProperties[][2] = {
    {"flat", "a flat push button"},
    {"checkable", "a button that can be checked"},
    {"readOnly", "a read-only editor"},
    {"editable", "an editable combo box"},
    {"default", "a dialog's default button"},
    {"autoDefault", "a button that becomes the default when focused"},
    {"frame", "a line edit or combo box with its frame"},
    {"accessibleName", "the name screen readers announce"},
};

class Items
{
public:
    Items(const CursorContext &context, int offset)
        : replaces{context.wordStart, offset}
    {}

    // Every item replaces the word being written.
    void add(const QString &label, int kind, const QString &detail, const QString &documentation,
             const QString &newText = QString(), bool snippet = false)
    {
        items.append({label, kind, detail, documentation, replaces,
                      newText.isNull() ? label : newText, snippet});
    }

    QVector<CompletionItem> items;

private:
    const TextSpan replaces;
};

QString widgetDocumentation(const QString &name)
{
    const QStringList ancestry = QssReference::widgetAncestry(name);
    QString text = ancestry.size() > 1 ? QStringLiteral("Derives from %1.")
                                             .arg(ancestry.mid(1).join(QStringLiteral(" \u2192 ")))
                                       : QStringLiteral("The base of every widget class.");
    const QStringList subcontrols = QssReference::subcontrolsOf(name);
    if (!subcontrols.isEmpty())
        text += QStringLiteral(" Subcontrols: %1.").arg(subcontrols.join(QStringLiteral(", ")));
    return text;
}

// A sheet in the program's own theme format: the gallery's object names and
// variant values apply to it.
bool isGallerySheet(const QString &text)
{
    return text.contains(kPaletteKeyword);
}

// Each widget of the application's forms: its class and where a form declares it.
void addApplicationObjectItems(Items &items, const ApplicationObjects &application,
                               QStringList *offered)
{
    for (const QString &name : application.widgetNames()) {
        QStringList classes;
        QStringList places;
        QString firstForm; // by its file name: the popup is narrow
        for (const ApplicationObject &object : application.named(name)) {
            if (!object.isWidget())
                continue;
            const QString className =
                object.className.isEmpty() ? QStringLiteral("widget") : object.className;
            if (!classes.contains(className))
                classes.append(className);
            places.append(QStringLiteral("%1:%2").arg(object.form).arg(object.line));
            if (firstForm.isEmpty())
                firstForm =
                    QStringLiteral("%1:%2").arg(QFileInfo(object.form).fileName()).arg(object.line);
        }
        items.add(name, KindVariable,
                  QStringLiteral("%1 in %2").arg(classes.join(QStringLiteral(", ")), firstForm),
                  QStringLiteral("Selects the %1 whose objectName is \"%2\", declared in %3.")
                      .arg(classes.join(QStringLiteral(" or ")), name,
                           places.join(QStringLiteral(", "))));
        offered->append(name);
    }
}

// The application's own classes, each with its base and where it is declared.
void addApplicationClassItems(Items &items, const ApplicationObjects &application)
{
    for (const ApplicationClass &declared : application.classes) {
        const QString place = QStringLiteral("%1:%2").arg(declared.form).arg(declared.line);
        items.add(declared.name, KindClass,
                  QStringLiteral("%1 in %2")
                      .arg(declared.base.isEmpty() ? QStringLiteral("application class")
                                                   : QStringLiteral("extends ") + declared.base,
                           QStringLiteral("%1:%2")
                               .arg(QFileInfo(declared.form).fileName())
                               .arg(declared.line)),
                  QStringLiteral("The application's class %1, derived from %2, declared in %3.")
                      .arg(declared.name,
                           declared.base.isEmpty() ? QStringLiteral("a class no form names")
                                                   : declared.base,
                           place));
    }
}

// The application's widgets when its forms are known, the sheet's own object names,
// and the window shell's in a sheet for the gallery.
void addObjectNameItems(Items &items, const CursorContext &context, const QString &text,
                        const ApplicationObjects *application)
{
    QStringList offered;
    if (application)
        addApplicationObjectItems(items, *application, &offered);
    QStringList names = objectNamesIn(text);
    if (isGallerySheet(text)) {
        for (const QLatin1String &name :
             {ShellObjectNames::windowFrame, ShellObjectNames::titleBar,
              ShellObjectNames::titleLabel, ShellObjectNames::windowButton,
              ShellObjectNames::closeButton}) {
            if (!names.contains(name))
                names.append(name);
        }
    }
    names.removeAll(context.word);
    for (const QString &name : qAsConst(names)) {
        if (offered.contains(name))
            continue;
        items.add(name, KindVariable, QStringLiteral("object name"),
                  QStringLiteral("Selects the widget whose objectName is \"%1\".").arg(name));
    }
}

void addAttributeNameItems(Items &items, const QString &text)
{
    if (isGallerySheet(text)) {
        for (const SemanticVariant &variant : kSemanticVariants) {
            const QString pair =
                QStringLiteral("%1=\"%2\"")
                    .arg(QLatin1String(kVariantProperty), QLatin1String(variant.key));
            items.add(pair, KindProperty, QStringLiteral("gallery variant"),
                      QStringLiteral("The gallery's widgets marked %1.").arg(pair));
        }
    }
    items.add(QLatin1String(kVariantProperty), KindProperty, QStringLiteral("property"),
              QStringLiteral("The semantic variant the gallery gives its widgets."));
    for (const auto &row : kAttributeProperties)
        items.add(QLatin1String(row[0]), KindProperty, QStringLiteral("property"),
                  QStringLiteral("Selects %1.").arg(QLatin1String(row[1])));
}

void addSelectorItems(Items &items, const CursorContext &context, const QString &text,
                      const ApplicationObjects *application)
{
    switch (context.place) {
    case Place::TypeName:
        for (const QString &name : QssReference::widgetClasses()) {
            items.add(name, KindClass,
                      QssReference::isProgramWidget(name) ? QStringLiteral("this program's class")
                                                          : QStringLiteral("widget class"),
                      widgetDocumentation(name));
        }
        if (application)
            addApplicationClassItems(items, *application);
        break;
    case Place::PseudoState:
        for (const QString &name : QssReference::pseudoStatesOf(context.element)) {
            const QssReference::NameInfo *info = QssReference::pseudoState(name);
            const QString meaning = info ? info->meaning : QString();
            items.add(name, KindEnumMember, QStringLiteral("pseudo-state"), meaning);
            if (!context.negated) {
                items.add(QLatin1Char('!') + name, KindEnumMember,
                          QStringLiteral("negated pseudo-state"),
                          QStringLiteral("not %1").arg(meaning));
            }
        }
        break;
    case Place::Subcontrol:
        for (const QString &name : QssReference::subcontrolsOf(context.element)) {
            const QssReference::NameInfo *info = QssReference::subcontrol(name);
            items.add(name, KindField,
                      context.element.isEmpty()
                          ? QStringLiteral("subcontrol")
                          : QStringLiteral("subcontrol of %1").arg(context.element),
                      info ? info->meaning : QString());
        }
        break;
    case Place::ObjectName:
        addObjectNameItems(items, context, text, application);
        break;
    case Place::AttributeName:
        addAttributeNameItems(items, text);
        break;
    case Place::AttributeValue:
        if (context.attribute == QLatin1String(kVariantProperty)) {
            for (const SemanticVariant &variant : kSemanticVariants)
                items.add(QLatin1String(variant.key), KindValue, QStringLiteral("variant"),
                          QStringLiteral("The gallery's \"%1\" widgets.")
                              .arg(QLatin1String(variant.label)));
        } else {
            items.add(QStringLiteral("true"), KindValue, QStringLiteral("boolean"),
                      QStringLiteral("The property is set."));
            items.add(QStringLiteral("false"), KindValue, QStringLiteral("boolean"),
                      QStringLiteral("The property is not set."));
        }
        break;
    default:
        break;
    }
}

void addBrushItems(Items &items, bool snippets)
{
    const QString gradient = snippets ? QStringLiteral("qlineargradient(x1: 0, y1: 0, x2: 0, y2: "
                                                       "1, stop: 0 ${1:#ffffff}, stop: 1 "
                                                       "${2:#000000})")
                                      : QStringLiteral("qlineargradient(x1: 0, y1: 0, x2: 0, y2: "
                                                       "1, stop: 0 #ffffff, stop: 1 #000000)");
    items.add(QStringLiteral("qlineargradient"), KindSnippet, QStringLiteral("gradient"),
              QStringLiteral("A linear gradient from top to bottom, white to black."), gradient,
              snippets);
    items.add(QStringLiteral("palette"), KindFunction, QStringLiteral("palette role"),
              QStringLiteral("A colour of the widget's palette, such as palette(highlight)."),
              QStringLiteral("palette("));
    items.add(QStringLiteral("rgba"), KindFunction, QStringLiteral("colour"),
              QStringLiteral("Red, green, blue and alpha, 0 to 255 each."),
              QStringLiteral("rgba("));
    for (const QString &name : QColor::colorNames()) {
        const QColor colour(name);
        items.add(name, KindColour, QStringLiteral("named colour"),
                  colour.alpha() == 255 ? colour.name() : colour.name(QColor::HexArgb));
    }
}

void addUnitItems(Items &items, const CursorContext &context, QssReference::ValueKind kind)
{
    static const QRegularExpression number(QStringLiteral("^[0-9]+(\\.[0-9]*)?[a-z]*$"));
    if (!number.match(context.word).hasMatch())
        return;
    QString digits = context.word;
    while (!digits.isEmpty() && digits.back().isLetter())
        digits.chop(1);
    const QStringList units = kind == QssReference::ValueKind::FontSize
                                  ? QStringList{QStringLiteral("pt"), QStringLiteral("px")}
                                  : QssReference::lengthUnits();
    for (const QString &unit : units) {
        items.add(digits + unit, KindUnit, QStringLiteral("unit"),
                  unit == QLatin1String("px")   ? QStringLiteral("Pixels.")
                  : unit == QLatin1String("pt") ? QStringLiteral("Points (1/72 inch).")
                  : unit == QLatin1String("em") ? QStringLiteral("The font's em height.")
                                                : QStringLiteral("The font's x-height."));
    }
}

void addValueItems(Items &items, const CursorContext &context, const ClientCapabilities &client)
{
    using QssReference::ValueKind;
    if (context.function == QLatin1String("palette")) {
        for (const QString &role : QssReference::paletteValueRoles())
            items.add(role, KindConstant, QStringLiteral("palette role"),
                      QStringLiteral("The widget palette's %1 colour.").arg(role));
        return;
    }
    const QssReference::PropertyInfo *info = QssReference::property(context.property);
    if (!info)
        return;
    const bool takesLength = info->kind == ValueKind::Length || info->kind == ValueKind::Border ||
                             info->kind == ValueKind::FontSize ||
                             info->valueType.startsWith(QLatin1String("Length")) ||
                             info->valueType == QLatin1String("Radius");
    if (takesLength && !context.word.isEmpty() && context.word.at(0).isDigit()) {
        addUnitItems(items, context, info->kind);
        return;
    }
    for (const QString &keyword : info->keywords)
        items.add(keyword, KindKeyword, info->name,
                  QStringLiteral("A value of %1: %2.").arg(info->name, info->meaning));
    if (info->valueType == QLatin1String("Palette Role")) {
        for (const QString &role : QssReference::paletteValueRoles())
            items.add(role, KindConstant, QStringLiteral("palette role"),
                      QStringLiteral("The widget palette's %1 colour.").arg(role));
    }
    if (info->kind == ValueKind::Colour || info->kind == ValueKind::Background ||
        info->kind == ValueKind::Border)
        addBrushItems(items, client.snippets);
    if (info->valueType.startsWith(QLatin1String("Url")) || info->kind == ValueKind::Background) {
        items.add(QStringLiteral("url"), KindFunction, QStringLiteral("image"),
                  QStringLiteral("An image file or a compiled-in resource (\":/...\")."),
                  QStringLiteral("url("));
    }
}

void addPaletteItems(Items &items, const CursorContext &context, const QString &text)
{
    if (context.place == Place::PaletteRole) {
        for (const QString &role : paletteRoleNames()) {
            items.add(role, KindEnumMember, QStringLiteral("palette role"),
                      QStringLiteral("Sets %1 in every colour group.").arg(role));
            items.add(
                kDisabledRolePrefix + role, KindEnumMember, QStringLiteral("disabled palette role"),
                QStringLiteral("Sets %1 of disabled widgets only; write it after %1.").arg(role));
        }
        return;
    }
    QStringList seen;
    for (const ColourLiteral &literal : findColourLiterals(text)) {
        if (!literal.inPaletteDirective)
            continue;
        const QString name = literal.colour.name();
        if (!seen.contains(name) && seen.size() < 32)
            seen.append(name);
    }
    if (seen.isEmpty())
        seen = QStringList{QStringLiteral("#ffffff"), QStringLiteral("#000000")};
    for (const QString &name : qAsConst(seen))
        items.add(name, KindColour, QStringLiteral("colour"),
                  QStringLiteral("#rrggbb, or #aarrggbb with alpha first."));
}
} // namespace

QVector<CompletionItem> completionItems(const QString &text, int offset,
                                        const ClientCapabilities &client,
                                        const ApplicationObjects *application)
{
    const CursorContext context = contextAt(text, offset);
    Items items(context, qBound(0, offset, int(text.size())));
    switch (context.place) {
    case Place::PropertyName:
        for (const QssReference::PropertyInfo &info : QssReference::properties())
            items.add(info.name, KindProperty, info.valueType, info.meaning,
                      info.name + QStringLiteral(": "));
        break;
    case Place::PropertyValue:
        addValueItems(items, context, client);
        break;
    case Place::PaletteRole:
    case Place::PaletteColour:
        addPaletteItems(items, context, text);
        break;
    default:
        addSelectorItems(items, context, text, application);
        break;
    }
    return items.items;
}
