// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/contrastcascade.h"

#include "analysis/checkreporter.h"
#include "analysis/contrastratio.h"
#include "analysis/rulecascade.h"
#include "analysis/selectorindex.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>

using namespace QCss;

namespace {
// The toolkit measures em and ex with the widget's font; without a GUI application
// there is no font database, and measuring would crash.
bool fontsAvailable()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

bool usesFontUnits(const Declaration &declaration)
{
    // The toolkit takes the unit from the end of any value's text, a keyword's too:
    // "border-width: gem" is measured in em.
    for (const Value &value : declaration.d->values) {
        // A colour's name ends in a hex digit, a number and a known keyword's id in a
        // decimal one: none of them needs its text made.
        if (value.type == Value::Color || value.type == Value::Number ||
            value.type == Value::KnownIdentifier)
            continue;
        const QString text = value.variant.toString();
        if (text.endsWith(QLatin1String("em"), Qt::CaseInsensitive) ||
            text.endsWith(QLatin1String("ex"), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// The compounds before the last one and how they join, as a key: two selectors with
// the same key need the same ancestors, so their last compounds can be compared.
QString ancestorKey(const SheetSelector &selector)
{
    QString key;
    const auto &parts =
        selector.toolkit ? selector.toolkit->basicSelectors : QVector<BasicSelector>();
    for (int i = 0; i + 1 < parts.size(); ++i) {
        const BasicSelector &part = parts.at(i);
        key += part.elementName + QLatin1Char('#') + part.ids.join(QLatin1Char('#'));
        for (const Pseudo &pseudo : part.pseudos)
            key += QLatin1Char(':') + QString::number(pseudo.negated) + pseudo.name;
        for (const AttributeSelector &attribute : part.attributeSelectors)
            key += QStringLiteral("[%1|%2|%3]")
                       .arg(attribute.name)
                       .arg(int(attribute.valueMatchCriterium))
                       .arg(attribute.value);
        key += QLatin1Char(' ') + QString::number(int(part.relationToNext)) + QLatin1Char(' ');
    }
    return key;
}

// True when rule's selector styles every widget target matches: by its last compound
// alone, or by the same ancestors and a last compound that covers target's.
bool coversTarget(const QssReference::WidgetClasses &classes, const SheetSelector &rule,
                  const SheetSelector &target, const QString &targetAncestors)
{
    if (selectorCovers(classes, rule, target))
        return true;
    if (!rule.hasAncestors || ancestorKey(rule) != targetAncestors)
        return false;
    SheetSelector last = rule;
    last.hasAncestors = false;
    return selectorCovers(classes, last, target);
}
} // namespace

void extractBackgroundBrush(ValueExtractor &extractor, QBrush *brush)
{
    QString uri;
    Repeat repeat = Repeat_XY;
    Qt::Alignment alignment;
    Origin origin = Origin_Padding, clip = Origin_Border;
    Attachment attachment = Attachment_Scroll;
    extractor.extractBackground(brush, &uri, &repeat, &alignment, &origin, &attachment, &clip);
}

QString ratioText(double ratio)
{
    return QString::number(std::floor(ratio * 100) / 100, 'f', 2) + QStringLiteral(" : 1");
}

QString colourText(const QColor &color)
{
    return color.alpha() == 255 ? color.name() : color.name(QColor::HexArgb);
}

QString colourText(const QColor &color, const QString &origin)
{
    return origin.isEmpty() ? colourText(color)
                            : QStringLiteral("%1 (%2)").arg(colourText(color), origin);
}

SheetSelector withClassAsElement(const SheetSelector &selector)
{
    SheetSelector named = selector;
    if (!named.element.isEmpty())
        return named;
    for (const SheetAttribute &attribute : selector.attributes) {
        if (attribute.name == QLatin1String("class") && !attribute.anyValue) {
            named.element = attribute.value;
            break;
        }
    }
    return named;
}

ColourPlace placeOf(const PaletteLine &line)
{
    const int length = int(line.colorText.size());
    return {line.matchOffset + line.matchLength - length, length};
}

ColourPlace paletteLinePlace(const SheetModel &model, QPalette::ColorRole role,
                             QPalette::ColorGroup group)
{
    const PaletteLine *found = nullptr;
    for (const PaletteLine &directive : model.paletteLines) {
        if (directive.matched && directive.known && directive.role == role &&
            (directive.group == group || directive.group == QPalette::All))
            found = &directive;
    }
    return found ? placeOf(*found) : ColourPlace();
}

ColourPlace placeOf(const SheetModel &model, const SheetDeclaration *declaration)
{
    if (!declaration)
        return {};
    const int end = model.tokensEnd(declaration->firstSymbol, declaration->endSymbol);
    return {declaration->valueOffset, qMax(0, end - declaration->valueOffset)};
}

QVector<JudgedValue> judgedValues(const ColourPlace &text, const QString &textWhat,
                                  const ColourPlace &background, const QString &backgroundWhat)
{
    QVector<JudgedValue> judged;
    if (!text.known())
        return judged;
    judged.append({text, textWhat});
    if (background.known())
        judged.append({background, backgroundWhat});
    return judged;
}

void reportJudged(CheckReporter &report, const QVector<JudgedValue> &judged)
{
    for (const JudgedValue &value : judged)
        report.judgedValue(value.place.offset, value.place.length, value.what);
}

bool isSolid(const QBrush &brush)
{
    return brush.style() == Qt::SolidPattern && brush.color().isValid();
}

bool hasPattern(const QBrush &brush)
{
    return brush.style() != Qt::NoBrush && !isSolid(brush);
}

ContrastCascade::ContrastCascade(const SheetModel &context, const ContrastPalette &base)
    : base(base)
    , palette(base.palette)
    , context(context)
{
    for (const PaletteLine &directive : context.paletteLines) {
        if (directive.matched && directive.known)
            palette.setColor(directive.group, directive.role, directive.color);
    }
    SheetSelector page;
    page.element = QStringLiteral("QWidget");
    const ContrastLook pageLook = lookOf(page);
    const bool filled = pageLook.background.style() == Qt::SolidPattern;
    pageColour = filled ? compositeOver(pageLook.background.color(), fallback(QPalette::Window))
                        : fallback(QPalette::Window);
    pageSource =
        filled ? fromLook(pageLook, &ContrastLook::background) : fromPalette(QPalette::Window);
}

ContrastLook ContrastCascade::lookOf(const SheetSelector &target) const
{
    // The look depends on the compound alone, not on where the target stands, and
    // long sheets repeat their compounds.
    QString key = ancestorKey(target) + QLatin1Char('@') + target.element + QLatin1Char('\n') +
                  target.subcontrol;
    for (const QString &id : target.ids)
        key += QStringLiteral("\n#") + id;
    for (const auto &attribute : target.attributes)
        key += QStringLiteral("\n[%1|%2|%3]")
                   .arg(attribute.name)
                   .arg(attribute.match)
                   .arg(attribute.value);
    for (const QString &state : target.states)
        key += QStringLiteral("\n:") + state;
    for (const QString &state : target.negatedStates)
        key += QStringLiteral("\n:!") + state;
    const auto cached = looks.constFind(key);
    if (cached != looks.cend())
        return *cached;
    const ContrastLook look = computeLook(target);
    looks.insert(key, look);
    return look;
}

ContrastLook ContrastCascade::computeLook(const SheetSelector &written) const
{
    const SheetSelector target = withClassAsElement(written);
    const QString ancestors = ancestorKey(written);
    // Only rules for the target's class, its bases or any class can cover it.
    QVector<IndexedSelector> matching;
    context.selectorIndex().forClass(
        target.subcontrol, target.element, [&](const IndexedSelector &entry) {
            if (coversTarget(context.classes, *entry.selector, target, ancestors))
                matching.append(entry);
        });
    // The index leaves out selectors with ancestors; a target with the same ones
    // is styled by them.
    if (written.hasAncestors) {
        for (const SheetRule &rule : context.rules) {
            for (const SheetSelector &selector : rule.selectors) {
                if (selector.hasAncestors &&
                    coversTarget(context.classes, selector, target, ancestors))
                    matching.append({&rule, &selector, 0});
            }
        }
    }
    std::stable_sort(matching.begin(), matching.end(),
                     [](const IndexedSelector &a, const IndexedSelector &b) {
                         return cascadeWeight(*a.selector, a.rule->order) <
                                cascadeWeight(*b.selector, b.rule->order);
                     });
    QVector<Declaration> declarations;
    ContrastLook look;
    for (const IndexedSelector &entry : qAsConst(matching)) {
        for (const SheetDeclaration &declaration : entry.rule->declarations) {
            declarations.append(withPaletteResolved(*declaration.toolkit));
            look.declarations.append(&declaration);
        }
    }
    ValueExtractor extractor(declarations, palette);
    QBrush selectedBackground, alternate;
    extractor.extractPalette(&look.foreground, &look.selectedForeground, &selectedBackground,
                             &alternate);
    extractBackgroundBrush(extractor, &look.background);
    QSize radii[4];
    if (fontsAvailable()) {
        extractor.extractBorder(look.borders, look.borderColours, look.borderStyles, radii);
        return look;
    }
    QVector<Declaration> measurable;
    for (const Declaration &declaration : qAsConst(declarations)) {
        if (!usesFontUnits(declaration))
            measurable.append(declaration);
        else if (declaration.d->property.startsWith(QLatin1String("border"), Qt::CaseInsensitive))
            look.outlineUnmeasured = true;
    }
    ValueExtractor borderExtractor(measurable, palette);
    borderExtractor.extractBorder(look.borders, look.borderColours, look.borderStyles, radii);
    return look;
}

Declaration ContrastCascade::withPaletteResolved(const Declaration &declaration) const
{
    const QVector<Value> &values = declaration.d->values;
    const auto isPaletteRole = [](const Value &value) {
        return value.type == Value::Function &&
               value.variant.toStringList().value(0).compare(QLatin1String("palette"),
                                                             Qt::CaseInsensitive) == 0;
    };
    if (std::none_of(values.cbegin(), values.cend(), isPaletteRole))
        return declaration;
    Declaration resolved;
    resolved.d->property = declaration.d->property;
    resolved.d->propertyId = declaration.d->propertyId;
    resolved.d->important = declaration.d->important;
    for (const Value &value : values) {
        if (!isPaletteRole(value)) {
            resolved.d->values.append(value);
            continue;
        }
        Declaration single;
        single.d->values.append(value);
        Value colour;
        colour.type = Value::Color;
        colour.variant = single.colorValue(palette);
        resolved.d->values.append(colour);
    }
    return resolved;
}

QColor ContrastCascade::fallback(QPalette::ColorRole role) const
{
    const QColor color = context.paletteColor(role);
    return color.isValid() ? color : palette.color(QPalette::Active, role);
}

QString ContrastCascade::fallbackOrigin(QPalette::ColorRole role) const
{
    return context.paletteColor(role).isValid() ? QString() : base.roleOrigin(role);
}

QString ContrastCascade::originOf(const ColourSource &source) const
{
    return source.brush || source.role == QPalette::NoRole ? QString()
                                                           : fallbackOrigin(source.role);
}

ColourPlace ContrastCascade::placeOf(const ColourSource &source) const
{
    if (!source.brush)
        return paletteLinePlace(context, source.role);
    for (auto it = source.declarations.crbegin(); it != source.declarations.crend(); ++it) {
        ContrastLook alone;
        ValueExtractor extractor({withPaletteResolved(*(*it)->toolkit)}, palette);
        QBrush alternate;
        extractor.extractPalette(&alone.foreground, &alone.selectedForeground, &alternate,
                                 &alternate);
        extractBackgroundBrush(extractor, &alone.background);
        if ((alone.*source.brush).style() != Qt::NoBrush)
            return ::placeOf(context, *it);
    }
    return {};
}

ColourPlace ContrastCascade::borderPlaceOf(const ContrastLook &look, int edge) const
{
    for (auto it = look.declarations.crbegin(); it != look.declarations.crend(); ++it) {
        if (!(*it)->property.startsWith(QLatin1String("border")))
            continue;
        ValueExtractor extractor({withPaletteResolved(*(*it)->toolkit)}, palette);
        int widths[4] = {0, 0, 0, 0};
        QBrush colours[4];
        BorderStyle styles[4] = {BorderStyle_None, BorderStyle_None, BorderStyle_None,
                                 BorderStyle_None};
        QSize radii[4];
        extractor.extractBorder(widths, colours, styles, radii);
        if (colours[edge].style() != Qt::NoBrush)
            return ::placeOf(context, *it);
    }
    return {};
}
