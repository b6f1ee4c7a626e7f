// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/toolkitsheet.h"

#include "analysis/contrastratio.h"
#include "analysis/qssreference.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>

using namespace QCss;

// WCAG 2.1 contrast, level AA unless configured: text against its background needs
// 4.5 : 1; the outline of a control (border, indicator) needs 3 : 1 against what it
// sits on, unless the control's own fill already stands out that much. Disabled
// controls are exempt in WCAG; the palette's disabled text is still held to the
// outline's ratio so it stays legible.

namespace {

double contrast(const QColor &a, const QColor &b)
{
    return contrastRatio(a, b);
}

QColor over(const QColor &top, const QColor &bottom)
{
    return compositeOver(top, bottom);
}

QString ratioText(double ratio)
{
    return QString::number(std::floor(ratio * 100) / 100, 'f', 2) + QStringLiteral(" : 1");
}

QString colourText(const QColor &color)
{
    return color.alpha() == 255 ? color.name() : color.name(QColor::HexArgb);
}

bool showsText(const QssReference::WidgetClasses &classes, const SheetSelector &selector)
{
    static const QStringList textSubcontrols = {QStringLiteral("tab"), QStringLiteral("item"),
                                                QStringLiteral("section"), QStringLiteral("title")};
    static const QStringList textless = {QStringLiteral("QScrollBar"), QStringLiteral("QSlider"),
                                         QStringLiteral("QDial"), QStringLiteral("QSizeGrip"),
                                         QStringLiteral("QSplitter")};
    if (!selector.subcontrol.isEmpty() && !textSubcontrols.contains(selector.subcontrol))
        return false;
    for (const QString &name : textless) {
        if (classes.inherits(selector.element, name))
            return false;
    }
    return true;
}

// Controls whose outline tells the user where to click or type.
bool isControl(const QssReference::WidgetClasses &classes, const SheetSelector &selector)
{
    static const QStringList controls = {
        QStringLiteral("QAbstractButton"),  QStringLiteral("QLineEdit"),
        QStringLiteral("QAbstractSpinBox"), QStringLiteral("QComboBox"),
        QStringLiteral("QTextEdit"),        QStringLiteral("QPlainTextEdit"),
    };
    if (selector.subcontrol == QLatin1String("indicator"))
        return true;
    if (!selector.subcontrol.isEmpty())
        return false;
    return std::any_of(controls.cbegin(), controls.cend(), [&](const QString &name) {
        return classes.inherits(selector.element, name);
    });
}

enum class Role
{
    Button,
    Input,
    Plain
};

Role widgetRole(const QssReference::WidgetClasses &classes, const QString &element)
{
    for (const char *name : {"QPushButton", "QToolButton", "QComboBox"}) {
        if (classes.inherits(element, QLatin1String(name)))
            return Role::Button;
    }
    for (const char *name :
         {"QLineEdit", "QAbstractSpinBox", "QTextEdit", "QPlainTextEdit", "QAbstractItemView"}) {
        if (classes.inherits(element, QLatin1String(name)))
            return Role::Input;
    }
    return Role::Plain;
}

struct Look
{
    QBrush foreground;
    QBrush background;
    int borders[4] = {0, 0, 0, 0};
    QBrush borderColours[4];
    BorderStyle borderStyles[4] = {BorderStyle_None, BorderStyle_None, BorderStyle_None,
                                   BorderStyle_None};
    // A border length in em or ex, which this process has no fonts to measure.
    bool outlineUnmeasured = false;
};

// The toolkit measures em and ex with the widget's font; without a GUI application
// there is no font database, and measuring would crash.
bool fontsAvailable()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

bool usesFontUnits(const Declaration &declaration)
{
    for (const Value &value : declaration.d->values) {
        if (value.type != Value::Length)
            continue;
        const QString text = value.variant.toString().toLower();
        if (text.endsWith(QLatin1String("em")) || text.endsWith(QLatin1String("ex")))
            return true;
    }
    return false;
}

class Cascade
{
public:
    explicit Cascade(const SheetModel &context)
        : context(context)
    {
        // Roles the header leaves out take the toolkit's light defaults, so the result
        // does not depend on the platform the check runs on.
        const struct
        {
            QPalette::ColorRole role;
            QRgb rgb;
        } defaults[] = {
            {QPalette::Window, 0xefefef},        {QPalette::WindowText, 0x000000},
            {QPalette::Base, 0xffffff},          {QPalette::Text, 0x000000},
            {QPalette::Button, 0xefefef},        {QPalette::ButtonText, 0x000000},
            {QPalette::Highlight, 0x308cc6},     {QPalette::HighlightedText, 0xffffff},
            {QPalette::AlternateBase, 0xf7f7f7}, {QPalette::BrightText, 0xffffff},
            {QPalette::Light, 0xffffff},         {QPalette::Midlight, 0xcacaca},
            {QPalette::Mid, 0xb8b8b8},           {QPalette::Dark, 0x9f9f9f},
            {QPalette::Shadow, 0x767676},        {QPalette::Link, 0x0000ff},
            {QPalette::LinkVisited, 0xff00ff},   {QPalette::ToolTipBase, 0xffffdc},
            {QPalette::ToolTipText, 0x000000},
        };
        for (const auto &entry : defaults)
            palette.setColor(entry.role, QColor(entry.rgb));
        for (const PaletteLine &directive : context.paletteLines) {
            if (directive.matched && directive.known)
                palette.setColor(directive.group, directive.role, directive.color);
        }
        // A selector repeated later with the same declarations makes the earlier copy
        // redundant: the later one outweighs it and sets everything it sets. Long
        // sheets repeat themselves a lot, so only the last copy is kept.
        // Keyed by the selector text (shared, not copied) and a hash of the content.
        using CopyKey = QPair<QString, uint>;
        QHash<CopyKey, int> lastCopy;
        QVector<QPair<CopyKey, Entry>> all;
        for (const SheetRule &rule : context.rules) {
            uint content = 0;
            for (const SheetDeclaration &declaration : rule.declarations)
                content = qHash(declaration.valueText, qHash(declaration.property, content));
            for (const SheetSelector &selector : rule.selectors) {
                if (selector.hasAncestors)
                    continue;
                const CopyKey key(selector.text, content);
                lastCopy.insert(key, all.size());
                all.append(qMakePair(key, Entry{&rule, &selector}));
            }
        }
        for (int i = 0; i < all.size(); ++i) {
            if (lastCopy.value(all.at(i).first) != i)
                continue;
            const Entry &entry = all.at(i).second;
            entries[bucket(entry.selector->subcontrol, entry.selector->element)].append(entry);
        }
        SheetSelector page;
        page.element = QStringLiteral("QWidget");
        const QBrush pageBrush = lookOf(page).background;
        pageColour = pageBrush.style() == Qt::SolidPattern
                         ? over(pageBrush.color(), fallback(QPalette::Window))
                         : fallback(QPalette::Window);
    }

    // The declarations the toolkit would apply to a widget matched by target, in
    // its order: by specificity, then by position.
    Look lookOf(const SheetSelector &target) const
    {
        // The look depends on the compound alone, not on where the target stands, and
        // long sheets repeat their compounds.
        QString key = target.element + QLatin1Char('\n') + target.subcontrol;
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
        const Look look = computeLook(target);
        looks.insert(key, look);
        return look;
    }

    Look computeLook(const SheetSelector &target) const
    {
        QVector<const Entry *> matching;
        // Only rules for the target's class, its bases or any class can cover it.
        QStringList ancestry = context.classes.ancestry(target.element);
        ancestry.append(QString());
        for (const QString &name : qAsConst(ancestry)) {
            const auto it = entries.constFind(bucket(target.subcontrol, name));
            if (it == entries.cend())
                continue;
            for (const Entry &entry : *it) {
                if (selectorCovers(context.classes, *entry.selector, target))
                    matching.append(&entry);
            }
        }
        std::stable_sort(matching.begin(), matching.end(), [](const Entry *a, const Entry *b) {
            return cascadeWeight(*a->selector, a->rule->order) <
                   cascadeWeight(*b->selector, b->rule->order);
        });
        QVector<Declaration> declarations;
        for (const Entry *entry : matching) {
            for (const SheetDeclaration &declaration : entry->rule->declarations)
                declarations.append(withPaletteResolved(*declaration.toolkit));
        }
        Look look;
        ValueExtractor extractor(declarations, palette);
        QBrush selectedForeground, selectedBackground, alternate;
        extractor.extractPalette(&look.foreground, &selectedForeground, &selectedBackground,
                                 &alternate);
        QString uri;
        Repeat repeat = Repeat_XY;
        Qt::Alignment alignment;
        Origin origin = Origin_Padding, clip = Origin_Border;
        Attachment attachment = Attachment_Scroll;
        extractor.extractBackground(&look.background, &uri, &repeat, &alignment, &origin,
                                    &attachment, &clip);
        QSize radii[4];
        if (fontsAvailable()) {
            extractor.extractBorder(look.borders, look.borderColours, look.borderStyles, radii);
            return look;
        }
        QVector<Declaration> measurable;
        for (const Declaration &declaration : qAsConst(declarations)) {
            if (!usesFontUnits(declaration))
                measurable.append(declaration);
            else if (declaration.d->property.startsWith(QLatin1String("border"),
                                                        Qt::CaseInsensitive))
                look.outlineUnmeasured = true;
        }
        ValueExtractor borderExtractor(measurable, palette);
        borderExtractor.extractBorder(look.borders, look.borderColours, look.borderStyles, radii);
        return look;
    }

    // The toolkit reads a background's palette(role) from the application palette,
    // which the value extractor does not take; this process may have none at all.
    // The sheet's own palette (its header over the toolkit's defaults) stands in.
    Declaration withPaletteResolved(const Declaration &declaration) const
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

    QColor fallback(QPalette::ColorRole role) const
    {
        const QColor color = context.paletteColor(role);
        return color.isValid() ? color : palette.color(QPalette::Active, role);
    }

    QPalette palette;
    QColor pageColour;

private:
    struct Entry
    {
        const SheetRule *rule;
        const SheetSelector *selector;
    };
    static QString bucket(const QString &subcontrol, const QString &element)
    {
        return subcontrol + QLatin1Char('\n') + element;
    }
    const SheetModel &context;
    QHash<QString, QVector<Entry>> entries;
    mutable QHash<QString, Look> looks;
};

bool isSolid(const QBrush &brush)
{
    return brush.style() == Qt::SolidPattern && brush.color().isValid();
}

bool setsAny(const SheetRule &rule, std::initializer_list<const char *> prefixes,
             const SheetDeclaration **first)
{
    for (const SheetDeclaration &declaration : rule.declarations) {
        for (const char *prefix : prefixes) {
            if (declaration.property.startsWith(QLatin1String(prefix))) {
                *first = &declaration;
                return true;
            }
        }
    }
    return false;
}

void checkPalettePairs(const SheetModel &context, CheckReporter &report)
{
    const double textMinimum = context.options.textContrast;
    // Disabled text is exempt in WCAG; it is held to the outline's ratio to stay legible.
    const double disabledMinimum = context.options.outlineContrast;
    struct Pair
    {
        QPalette::ColorRole foreground;
        QPalette::ColorGroup group;
        QPalette::ColorRole background;
        const char *backgroundName;
        double minimum;
    };
    const Pair pairs[] = {
        {QPalette::WindowText, QPalette::All, QPalette::Window, "Window", textMinimum},
        {QPalette::Text, QPalette::All, QPalette::Base, "Base", textMinimum},
        {QPalette::ButtonText, QPalette::All, QPalette::Button, "Button", textMinimum},
        {QPalette::HighlightedText, QPalette::All, QPalette::Highlight, "Highlight", textMinimum},
        {QPalette::Text, QPalette::Disabled, QPalette::Base, "Base", disabledMinimum},
        {QPalette::ButtonText, QPalette::Disabled, QPalette::Button, "Button", disabledMinimum},
    };
    for (const Pair &pair : pairs) {
        const PaletteLine *foreground = nullptr;
        for (const PaletteLine &directive : context.paletteLines) {
            if (directive.matched && directive.known && directive.role == pair.foreground &&
                directive.group == pair.group)
                foreground = &directive;
        }
        const QColor background = context.paletteColor(pair.background, pair.group);
        if (!foreground || !background.isValid())
            continue;
        const QColor white(Qt::white);
        const QColor base =
            over(background, context.paletteColor(QPalette::Window).isValid()
                                 ? over(context.paletteColor(QPalette::Window), white)
                                 : white);
        const QColor text = over(foreground->color, base);
        const double ratio = contrast(text, base);
        if (ratio < pair.minimum) {
            report.atLine(foreground->line, foreground->matchColumn, foreground->matchLength,
                          QStringLiteral("%1 %2 on %3 %4: contrast %5, below %6")
                              .arg(foreground->name, colourText(foreground->color),
                                   QLatin1String(pair.backgroundName), colourText(background),
                                   ratioText(ratio), ratioText(pair.minimum)));
        }
    }
}

// The selectors of one rule that share a finding are named in one diagnostic.
struct Finding
{
    int offset;
    int length;
    QString head;
    QString tail;
    QStringList selectors;
};

void addFinding(QVector<Finding> &findings, const SheetDeclaration &at, const QString &head,
                const QString &tail, const QString &selector)
{
    const int offset = at.offset;
    for (Finding &finding : findings) {
        if (finding.offset == offset && finding.head == head && finding.tail == tail) {
            finding.selectors.append(selector);
            return;
        }
    }
    findings.append({offset, int(at.property.size()), head, tail, {selector}});
}

void checkContrast(const SheetModel &context, CheckReporter &report)
{
    checkPalettePairs(context, report);
    const Cascade cascade(context);
    const double textMinimum = context.options.textContrast;
    const double outlineMinimum = context.options.outlineContrast;
    int unmeasured = 0;
    int firstUnmeasured = 0;

    for (const SheetRule &rule : qAsConst(context.rules)) {
        QVector<Finding> findings;
        for (const SheetSelector &selector : rule.selectors) {
            if (selector.states.contains(QLatin1String("disabled")))
                continue;
            bool knownStates = true;
            for (const QString &state : selector.states + selector.negatedStates)
                knownStates = knownStates && QssReference::isKnownPseudoState(state);
            if (!knownStates)
                continue;

            const Look look = cascade.lookOf(selector);
            // What the widget (not its subcontrol) shows, for what a subcontrol leaves open.
            SheetSelector widget = selector;
            widget.subcontrol.clear();
            const Look widgetLook = selector.subcontrol.isEmpty() ? look : cascade.lookOf(widget);
            const Role role = widgetRole(context.classes, selector.element);
            QColor widgetBackground =
                isSolid(widgetLook.background)
                    ? over(widgetLook.background.color(), cascade.pageColour)
                    : (role == Role::Button  ? cascade.fallback(QPalette::Button)
                       : role == Role::Input ? cascade.fallback(QPalette::Base)
                                             : cascade.pageColour);
            if (!widgetLook.background.gradient() && widgetLook.background.style() != Qt::NoBrush &&
                !isSolid(widgetLook.background))
                continue;
            if (widgetLook.background.gradient() || look.background.gradient())
                continue;
            const QColor background = isSolid(look.background)
                                          ? over(look.background.color(), widgetBackground)
                                          : widgetBackground;

            const SheetDeclaration *first = nullptr;
            if (showsText(context.classes, selector) &&
                setsAny(rule, {"color", "background"}, &first)) {
                QBrush foreground =
                    isSolid(look.foreground) ? look.foreground : widgetLook.foreground;
                QColor text;
                if (isSolid(foreground))
                    text = foreground.color();
                else
                    text = cascade.fallback(role == Role::Button  ? QPalette::ButtonText
                                            : role == Role::Input ? QPalette::Text
                                                                  : QPalette::WindowText);
                text = over(text, background);
                const double ratio = contrast(text, background);
                if (ratio < textMinimum) {
                    addFinding(findings, *first,
                               QStringLiteral("text %1 on %2")
                                   .arg(colourText(text), colourText(background)),
                               QStringLiteral(": contrast %1, below %2")
                                   .arg(ratioText(ratio), ratioText(textMinimum)),
                               selector.text);
                }
            }

            if (isControl(context.classes, selector) && setsAny(rule, {"border"}, &first)) {
                const QColor outside =
                    selector.subcontrol.isEmpty() ? cascade.pageColour : widgetBackground;
                if (contrast(background, outside) >= outlineMinimum)
                    continue;
                if (look.outlineUnmeasured) {
                    if (unmeasured++ == 0)
                        firstUnmeasured = first->offset;
                    continue;
                }
                for (int edge = 0; edge < 4; ++edge) {
                    if (look.borders[edge] <= 0 || look.borderStyles[edge] == BorderStyle_None ||
                        !isSolid(look.borderColours[edge]))
                        continue;
                    const QColor border = over(look.borderColours[edge].color(), outside);
                    const double ratio = contrast(border, outside);
                    if (ratio < outlineMinimum) {
                        addFinding(findings, *first,
                                   QStringLiteral("outline %1 on %2")
                                       .arg(colourText(border), colourText(outside)),
                                   QStringLiteral(" (its fill %1 does not stand out either): "
                                                  "contrast %2, below %3")
                                       .arg(colourText(background), ratioText(ratio),
                                            ratioText(outlineMinimum)),
                                   selector.text);
                    }
                    break;
                }
            }
        }
        for (const Finding &finding : qAsConst(findings)) {
            QStringList quoted;
            for (const QString &selector : finding.selectors)
                quoted.append(QLatin1Char('"') + selector + QLatin1Char('"'));
            report.at(finding.offset, finding.length,
                      finding.head + QStringLiteral(" in ") + quoted.join(QLatin1String(", ")) +
                          finding.tail);
        }
    }
    if (unmeasured > 0) {
        const QString what = unmeasured == 1
                                 ? QStringLiteral("an outline with a border length in em or ex "
                                                  "was")
                                 : QStringLiteral("%1 outlines with a border length in em or ex "
                                                  "were")
                                       .arg(unmeasured);
        report.at(firstUnmeasured, LintSeverity::Note,
                  QStringLiteral("%1 not checked: those units need the widget's font, and this "
                                 "program loads no fonts")
                      .arg(what));
    }
}
} // namespace

const LintCheck kContrastCheck = {
    "contrast",
    LintSeverity::Warning,
    true,
    0,
    "WCAG 2.1: text below 4.5 : 1 on its background, a control's outline below 3 : 1 where "
    "its fill does not stand out either, the palette header's pairs (disabled text below "
    "3 : 1)",
    "Text that differs too little from its background is hard to read for many people and "
    "on many screens. Following WCAG 2.1, text needs 4.5 : 1 against the background it is "
    "drawn on (the configuration's `contrast` changes the thresholds), a control's outline "
    "3 : 1 where its fill does not stand out either, and disabled text 3 : 1. The cascade is "
    "followed as the toolkit follows it, state by state.",
    "QLabel { color: #777777; background-color: #888888; }",
    "QLabel { color: #000000; background-color: #ffffff; }",
    checkContrast,
};
