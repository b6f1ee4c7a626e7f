// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/toolkitsheet.h"

#include "analysis/contrastratio.h"
#include "analysis/pseudostates.h"
#include "analysis/qssreference.h"
#include "analysis/rulecascade.h"
#include "analysis/selectorindex.h"
#include "analysis/treecontrast.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <deque>

using namespace QCss;

// WCAG 2.1 contrast, level AA unless configured: text against its background needs
// 4.5 : 1; the outline of a control (border, indicator) needs 3 : 1 against what it
// sits on, unless the control's own fill already stands out that much. Disabled
// controls are exempt in WCAG; the palette's disabled text is still held to the
// outline's ratio so it stays legible.

namespace {
// The toolkit's background brush of a look; its image and placement do not matter
// to contrast.
void extractBackgroundBrush(ValueExtractor &extractor, QBrush *brush)
{
    QString uri;
    Repeat repeat = Repeat_XY;
    Qt::Alignment alignment;
    Origin origin = Origin_Padding, clip = Origin_Border;
    Attachment attachment = Attachment_Scroll;
    extractor.extractBackground(brush, &uri, &repeat, &alignment, &origin, &attachment, &clip);
}

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

// Whether element is one of names or derives from one: its ancestry is looked up once
// for all of them.
bool derivesFromAny(const QssReference::WidgetClasses &classes, const QString &element,
                    const QStringList &names)
{
    const QStringList ancestry = classes.ancestry(element);
    return std::any_of(names.cbegin(), names.cend(),
                       [&ancestry](const QString &name) { return ancestry.contains(name); });
}

bool showsText(const QssReference::WidgetClasses &classes, const SheetSelector &selector)
{
    static const QStringList textSubcontrols = {QStringLiteral("tab"), QStringLiteral("item"),
                                                QStringLiteral("section"), QStringLiteral("title")};
    static const QStringList textless = {QStringLiteral("QScrollBar"), QStringLiteral("QSlider"),
                                         QStringLiteral("QDial"),      QStringLiteral("QSizeGrip"),
                                         QStringLiteral("QSplitter"),  QStringLiteral("QToolBar")};
    if (!selector.subcontrol.isEmpty() && !textSubcontrols.contains(selector.subcontrol))
        return false;
    return !derivesFromAny(classes, selector.element, textless);
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
    return derivesFromAny(classes, selector.element, controls);
}

enum class Role
{
    Button,
    Input,
    Plain
};

Role widgetRole(const QssReference::WidgetClasses &classes, const QString &element)
{
    static const QStringList buttons = {QStringLiteral("QPushButton"),
                                        QStringLiteral("QToolButton"), QStringLiteral("QComboBox")};
    static const QStringList inputs = {
        QStringLiteral("QLineEdit"), QStringLiteral("QAbstractSpinBox"),
        QStringLiteral("QTextEdit"), QStringLiteral("QPlainTextEdit"),
        QStringLiteral("QAbstractItemView")};
    if (derivesFromAny(classes, element, buttons))
        return Role::Button;
    if (derivesFromAny(classes, element, inputs))
        return Role::Input;
    return Role::Plain;
}

struct Look
{
    QBrush foreground;
    QBrush selectedForeground; // selection-color
    QBrush background;
    int borders[4] = {0, 0, 0, 0};
    QBrush borderColours[4];
    BorderStyle borderStyles[4] = {BorderStyle_None, BorderStyle_None, BorderStyle_None,
                                   BorderStyle_None};
    // A border length in em or ex, which this process has no fonts to measure.
    bool outlineUnmeasured = false;
    // Those that apply, in the toolkit's order: where a colour came from, when asked.
    QVector<const SheetDeclaration *> declarations;
};

// Which of the sheet's values gives a colour, looked for only when a finding names it:
// the last of declarations whose value alone gives the look's brush, or a palette role.
struct ColourSource
{
    QVector<const SheetDeclaration *> declarations;
    QBrush Look::*brush = nullptr;
    QPalette::ColorRole role = QPalette::NoRole;
};

ColourSource fromLook(const Look &look, QBrush Look::*brush)
{
    return {look.declarations, brush, QPalette::NoRole};
}

ColourSource fromPalette(QPalette::ColorRole role)
{
    return {{}, nullptr, role};
}

ColourPlace placeOf(const PaletteLine &line)
{
    const int length = int(line.colorText.size());
    return {line.matchOffset + line.matchLength - length, length};
}

// The palette line the sheet's colour of role in group comes from, as paletteColor
// reads them.
ColourPlace paletteLinePlace(const SheetModel &model, QPalette::ColorRole role,
                             QPalette::ColorGroup group = QPalette::All)
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

// A colour a finding judged, and what the finding calls it.
struct JudgedValue
{
    ColourPlace place;
    QString what;
};

// The text's colour first, as the finding is about it; none when the toolkit's own
// default gave the text, since then no value of the sheet is to blame.
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

// ".QFrame" is the toolkit's class selector: it styles a QFrame, which QWidget rules
// style too.
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
        SheetSelector page;
        page.element = QStringLiteral("QWidget");
        const Look pageLook = lookOf(page);
        const bool filled = pageLook.background.style() == Qt::SolidPattern;
        pageColour = filled ? over(pageLook.background.color(), fallback(QPalette::Window))
                            : fallback(QPalette::Window);
        pageSource = filled ? fromLook(pageLook, &Look::background) : fromPalette(QPalette::Window);
    }

    // The declarations the toolkit would apply to a widget matched by target, in
    // its order: by specificity, then by position.
    Look lookOf(const SheetSelector &target) const
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
        const Look look = computeLook(target);
        looks.insert(key, look);
        return look;
    }

    Look computeLook(const SheetSelector &written) const
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
        Look look;
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

    // Where source's colour was written: a later declaration overrides an earlier one
    // only when its value gives the brush at all.
    ColourPlace placeOf(const ColourSource &source) const
    {
        if (!source.brush)
            return paletteLinePlace(context, source.role);
        for (auto it = source.declarations.crbegin(); it != source.declarations.crend(); ++it) {
            Look alone;
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

    QPalette palette;
    QColor pageColour;
    ColourSource pageSource;

private:
    const SheetModel &context;
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
            const QString foregroundWhat =
                QStringLiteral("%1 %2").arg(foreground->name, colourText(foreground->color));
            const QString backgroundWhat = QStringLiteral("%1 %2").arg(
                QLatin1String(pair.backgroundName), colourText(background));
            report.atLine(foreground->line, foreground->matchColumn, foreground->matchLength,
                          QStringLiteral("%1 on %2: contrast %3, below %4")
                              .arg(foregroundWhat, backgroundWhat, ratioText(ratio),
                                   ratioText(pair.minimum)));
            reportJudged(report,
                         judgedValues(placeOf(*foreground), foregroundWhat,
                                      paletteLinePlace(context, pair.background, pair.group),
                                      backgroundWhat));
        }
    }
}

// A finding's text before and after the selectors it names; none when fails is false.
struct Verdict
{
    bool fails = false;
    QString head;
    QString tail;
    QVector<JudgedValue> judged = {};
};

// The selectors of one rule that share a finding are named in one diagnostic.
struct Finding
{
    int offset;
    int length;
    QString head;
    QString tail;
    QStringList selectors;
    QVector<JudgedValue> judged;
};

void addFinding(QVector<Finding> &findings, const SheetDeclaration &at, const Verdict &verdict,
                const QString &selector)
{
    const int offset = at.offset;
    for (Finding &finding : findings) {
        if (finding.offset == offset && finding.head == verdict.head &&
            finding.tail == verdict.tail) {
            if (!finding.selectors.contains(selector))
                finding.selectors.append(selector);
            return;
        }
    }
    findings.append(
        {offset, int(at.property.size()), verdict.head, verdict.tail, {selector}, verdict.judged});
}

// The colours a selector's widget is drawn in: its look, and the background of the
// widget and of what the selector styles (the same unless it is a subcontrol).
struct Surface
{
    Look look;
    QColor behind; // what shows through the widget: its parent's fill or the page
    Role role = Role::Plain;
    QColor widgetBackground;
    QColor background;
    ColourSource behindSource;
    ColourSource backgroundSource;
    ColourSource textSource; // when look's foreground is solid
};

// What a selector's text says for the checks: its surface, and whether it shows text
// and is a control with an outline.

// What a selector's text says for the checks: its surface, whether it shows text and
// is a control with an outline, and the verdicts on its text and outline wherever a
// rule sets them.
struct JudgedSelector
{
    Surface surface;
    bool showsText = false;
    bool isControl = false;
    Verdict text;
    enum class Outline
    {
        Stands, // its fill stands out, or it has no outline to judge
        Unmeasured,
        Judged,
    } outlineState = Outline::Stands;
    Verdict outline;
};

class ContrastCheck
{
public:
    ContrastCheck(const SheetModel &context, CheckReporter &report)
        : context(context)
        , report(report)
        , cascade(context)
        , textMinimum(context.options.textContrast)
        , outlineMinimum(context.options.outlineContrast)
    {}

    // With a tree at hand, text is judged on its objects and only outlines on the
    // sheet alone.
    void run(const QVector<TreeContrastFinding> *treeFindings)
    {
        for (const SheetRule &rule : qAsConst(context.rules)) {
            QVector<Finding> findings;
            for (const SheetSelector &selector : rule.selectors) {
                const JudgedSelector *judgement = judgementOf(selector);
                if (!judgement)
                    continue;
                if (!treeFindings || !judgedOnTrees(selector))
                    checkText(rule, selector, *judgement, findings);
                checkOutline(rule, selector, *judgement, findings);
            }
            reportFindings(findings);
        }
        if (treeFindings) {
            QVector<Finding> findings;
            for (const TreeContrastFinding &found : *treeFindings)
                addTreeFinding(findings, found);
            reportFindings(findings);
        }
        reportUnmeasured();
    }

private:
    // Disabled widgets are exempt, and a state the toolkit does not know never shows.
    static bool judged(const SheetSelector &selector)
    {
        if (selector.states.contains(QLatin1String("disabled")))
            return false;
        const auto known = [](const QString &state) {
            return QssReference::isKnownPseudoState(state);
        };
        return std::all_of(selector.states.cbegin(), selector.states.cend(), known) &&
               std::all_of(selector.negatedStates.cbegin(), selector.negatedStates.cend(), known);
    }

    // A selector is judged once per text: everything its judgement depends on (the
    // compound, the ancestors, the class) is read from the text, and long sheets repeat
    // their selectors. Null when it is not judged or its surface has no one colour.
    const JudgedSelector *judgementOf(const SheetSelector &selector) const
    {
        auto known = judgements.constFind(selector.text);
        if (known == judgements.cend()) {
            Surface surface;
            const JudgedSelector *made = nullptr;
            if (judged(selector) && surfaceOf(selector, &surface)) {
                JudgedSelector judgement;
                judgement.surface = surface;
                judgement.showsText = showsText(context.classes, selector);
                judgement.isControl = isControl(context.classes, selector);
                judgement.text = textVerdict(surface);
                judgeOutline(selector, &judgement);
                made = &judgementsMade.emplace_back(judgement);
            }
            known = judgements.insert(selector.text, made);
        }
        return *known;
    }

    // A tree's objects show their own text and their views' items; tabs, headers,
    // titles and menu items stay with the sheet alone.
    bool judgedOnTrees(const SheetSelector &selector) const
    {
        return selector.subcontrol.isEmpty() ||
               (selector.subcontrol == QLatin1String("item") &&
                context.classes.inherits(withClassAsElement(selector).element,
                                         QStringLiteral("QAbstractItemView")));
    }

    // A selector with ancestors names the widget it sits in: a clear widget shows that
    // one's fill (when the sheet gives it one colour), not the page's.
    QColor behindOf(const SheetSelector &selector, ColourSource *source) const
    {
        *source = cascade.pageSource;
        const auto &parts =
            selector.toolkit ? selector.toolkit->basicSelectors : QVector<BasicSelector>();
        if (parts.size() < 2)
            return cascade.pageColour;
        const BasicSelector &parent = parts.at(parts.size() - 2);
        SheetSelector container;
        container.element = parent.elementName;
        container.ids = parent.ids;
        const Look fill = cascade.lookOf(container);
        if (!isSolid(fill.background))
            return cascade.pageColour;
        *source = fromLook(fill, &Look::background);
        return over(fill.background.color(), cascade.pageColour);
    }

    // False when a background is a gradient or a pattern, which has no one colour.
    bool surfaceOf(const SheetSelector &selector, Surface *surface) const
    {
        surface->look = cascade.lookOf(selector);
        surface->behind = behindOf(selector, &surface->behindSource);
        // What the widget (not its subcontrol) shows, for what a subcontrol leaves open.
        SheetSelector widget = selector;
        widget.subcontrol.clear();
        // An item's selected state is the item's, not the view's: a view's own
        // ":selected" rule never paints its items.
        const bool selectedItem = !selector.subcontrol.isEmpty() &&
                                  widget.states.removeAll(QStringLiteral("selected")) > 0;
        const Look widgetLook =
            selector.subcontrol.isEmpty() ? surface->look : cascade.lookOf(widget);
        surface->role = widgetRole(context.classes, withClassAsElement(selector).element);
        surface->widgetBackground =
            isSolid(widgetLook.background)
                ? over(widgetLook.background.color(), surface->behind)
                : (surface->role == Role::Button  ? cascade.fallback(QPalette::Button)
                   : surface->role == Role::Input ? cascade.fallback(QPalette::Base)
                                                  : surface->behind);
        const ColourSource widgetSource =
            isSolid(widgetLook.background)  ? fromLook(widgetLook, &Look::background)
            : surface->role == Role::Button ? fromPalette(QPalette::Button)
            : surface->role == Role::Input  ? fromPalette(QPalette::Base)
                                            : surface->behindSource;
        if (!widgetLook.background.gradient() && widgetLook.background.style() != Qt::NoBrush &&
            !isSolid(widgetLook.background))
            return false;
        if (widgetLook.background.gradient() || surface->look.background.gradient())
            return false;
        surface->background =
            isSolid(surface->look.background)
                ? over(surface->look.background.color(), surface->widgetBackground)
                : surface->widgetBackground;
        surface->backgroundSource = isSolid(surface->look.background)
                                        ? fromLook(surface->look, &Look::background)
                                        : widgetSource;
        surface->textSource = fromLook(surface->look, &Look::foreground);
        // The widget's own text colour, for a subcontrol that sets none; a selected item
        // is drawn in the view's selection colour.
        if (!isSolid(surface->look.foreground) && selectedItem) {
            const bool own = isSolid(widgetLook.selectedForeground);
            surface->look.foreground = own ? widgetLook.selectedForeground
                                           : QBrush(cascade.fallback(QPalette::HighlightedText));
            surface->textSource = own ? fromLook(widgetLook, &Look::selectedForeground)
                                      : fromPalette(QPalette::HighlightedText);
        } else if (!isSolid(surface->look.foreground)) {
            surface->look.foreground = widgetLook.foreground;
            surface->textSource = fromLook(widgetLook, &Look::foreground);
        }
        return true;
    }

    void checkText(const SheetRule &rule, const SheetSelector &selector,
                   const JudgedSelector &judgement, QVector<Finding> &findings) const
    {
        const SheetDeclaration *first = nullptr;
        if (!judgement.showsText || !setsAny(rule, {"color", "background"}, &first))
            return;
        if (judgement.text.fails)
            addFinding(findings, *first, judgement.text, selector.text);
    }

    Verdict textVerdict(const Surface &surface) const
    {
        QColor text;
        ColourSource textSource = surface.textSource;
        if (isSolid(surface.look.foreground)) {
            text = surface.look.foreground.color();
        } else {
            const QPalette::ColorRole role = surface.role == Role::Button  ? QPalette::ButtonText
                                             : surface.role == Role::Input ? QPalette::Text
                                                                           : QPalette::WindowText;
            text = cascade.fallback(role);
            textSource = fromPalette(role);
        }
        text = over(text, surface.background);
        const double ratio = contrast(text, surface.background);
        if (ratio >= textMinimum)
            return Verdict();
        return {
            true,
            QStringLiteral("text %1 on %2").arg(colourText(text), colourText(surface.background)),
            QStringLiteral(": contrast %1, below %2").arg(ratioText(ratio), ratioText(textMinimum)),
            judgedValues(cascade.placeOf(textSource),
                         QStringLiteral("text %1").arg(colourText(text)),
                         cascade.placeOf(surface.backgroundSource),
                         QStringLiteral("background %1").arg(colourText(surface.background)))};
    }

    void addTreeFinding(QVector<Finding> &findings, const TreeContrastFinding &found) const
    {
        const QString head = QStringLiteral("text %1 on %2")
                                 .arg(colourText(found.text), colourText(found.background));
        const QString tail = QStringLiteral(": contrast %1, below %2")
                                 .arg(ratioText(found.ratio), ratioText(textMinimum));
        for (Finding &finding : findings) {
            if (finding.offset == found.offset && finding.head == head && finding.tail == tail) {
                if (!finding.selectors.contains(found.selector))
                    finding.selectors.append(found.selector);
                return;
            }
        }
        findings.append(
            {found.offset,
             found.length,
             head,
             tail,
             {found.selector},
             judgedValues(found.textPlace, QStringLiteral("text %1").arg(colourText(found.text)),
                          found.backgroundPlace,
                          QStringLiteral("background %1").arg(colourText(found.background)))});
    }

    void checkOutline(const SheetRule &rule, const SheetSelector &selector,
                      const JudgedSelector &judgement, QVector<Finding> &findings)
    {
        const SheetDeclaration *first = nullptr;
        if (!judgement.isControl || !setsAny(rule, {"border"}, &first))
            return;
        if (judgement.outlineState == JudgedSelector::Outline::Unmeasured) {
            if (unmeasured++ == 0)
                firstUnmeasured = first->offset;
        } else if (judgement.outlineState == JudgedSelector::Outline::Judged &&
                   judgement.outline.fails) {
            addFinding(findings, *first, judgement.outline, selector.text);
        }
    }

    void judgeOutline(const SheetSelector &selector, JudgedSelector *judgement) const
    {
        const Surface &surface = judgement->surface;
        const QColor outside =
            selector.subcontrol.isEmpty() ? surface.behind : surface.widgetBackground;
        if (contrast(surface.background, outside) >= outlineMinimum)
            return;
        const Look &look = surface.look;
        if (look.outlineUnmeasured) {
            judgement->outlineState = JudgedSelector::Outline::Unmeasured;
            return;
        }
        for (int edge = 0; edge < 4; ++edge) {
            // A transparent edge draws nothing: it is no outline, whatever its width.
            if (look.borders[edge] <= 0 || look.borderStyles[edge] == BorderStyle_None ||
                !isSolid(look.borderColours[edge]) || look.borderColours[edge].color().alpha() == 0)
                continue;
            const QColor border = over(look.borderColours[edge].color(), outside);
            const double ratio = contrast(border, outside);
            judgement->outlineState = JudgedSelector::Outline::Judged;
            if (ratio < outlineMinimum) {
                judgement->outline = {
                    true,
                    QStringLiteral("outline %1 on %2").arg(colourText(border), colourText(outside)),
                    QStringLiteral(" (its fill %1 does not stand out either): "
                                   "contrast %2, below %3")
                        .arg(colourText(surface.background), ratioText(ratio),
                             ratioText(outlineMinimum))};
            }
            return;
        }
    }

    void reportFindings(const QVector<Finding> &findings)
    {
        for (const Finding &finding : findings) {
            QStringList quoted;
            for (const QString &selector : finding.selectors)
                quoted.append(QLatin1Char('"') + selector + QLatin1Char('"'));
            report.at(finding.offset, finding.length,
                      finding.head + QStringLiteral(" in ") + quoted.join(QLatin1String(", ")) +
                          finding.tail);
            reportJudged(report, finding.judged);
        }
    }

    void reportUnmeasured()
    {
        if (unmeasured == 0)
            return;
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

    const SheetModel &context;
    CheckReporter &report;
    const Cascade cascade;
    mutable QHash<QString, const JudgedSelector *> judgements;
    mutable std::deque<JudgedSelector> judgementsMade; // stays where it is made
    const double textMinimum;
    const double outlineMinimum;
    int unmeasured = 0;
    int firstUnmeasured = 0;
};

// The colours the toolkit gives one object, or one of its subcontrols, in one state,
// and the declarations they come from.
struct TreeLook
{
    QBrush foreground;
    QBrush selectedForeground;
    QBrush selectedBackground;
    QBrush background;
    const SheetDeclaration *color = nullptr;
    const SheetDeclaration *selectionColor = nullptr;
    const SheetDeclaration *selectionBackground = nullptr;
    const SheetDeclaration *backgroundColor = nullptr;
    QVector<CascadeEntry> entries;
};

// A colour and the declaration it comes from, if the sheet sets it.
struct Sourced
{
    QColor colour;
    const SheetDeclaration *declaration = nullptr;
    QString selector;
    ColourPlace place = {}; // the declaration's value, or the palette line's colour
};

bool hasPattern(const QBrush &brush)
{
    return brush.style() != Qt::NoBrush && !isSolid(brush);
}

class TreeContrast
{
public:
    TreeContrast(const SheetModel &model, const ContrastTree &tree)
        : model(model)
        , tree(tree)
        , cascade(model)
        , matcher(model)
        , textMinimum(model.options.textContrast)
    {
        matcher.setStyleName(tree.styleName());
    }

    bool isValid() const { return matcher.isValid(); }

    QVector<TreeContrastFinding> run()
    {
        QVector<TreeContrastFinding> findings;
        if (!matcher.isValid())
            return findings;
        for (const ContrastTarget &target : tree.contrastTargets())
            judge(target, findings);
        return findings;
    }

private:
    const QVector<RuleMatch> &matchesOf(const QObject *object) const
    {
        auto found = matchCache.find(object);
        if (found == matchCache.end())
            found = matchCache.insert(object, matcher.matches(object));
        return *found;
    }

    TreeLook lookOf(const QObject *object, quint64 state, const QString &subcontrol) const
    {
        TreeLook look;
        look.entries = cascadeMatches(model, matchesOf(object), state);
        // Lowest weight first, as the toolkit applies them.
        QVector<Declaration> declarations;
        for (auto entry = look.entries.crbegin(); entry != look.entries.crend(); ++entry) {
            if (!entry->appliesNow || entry->subcontrol != subcontrol)
                continue;
            for (const SheetDeclaration &declaration :
                 model.rules.at(entry->match.rule).declarations)
                declarations.append(cascade.withPaletteResolved(*declaration.toolkit));
        }
        ValueExtractor extractor(declarations, cascade.palette);
        QBrush alternate;
        extractor.extractPalette(&look.foreground, &look.selectedForeground,
                                 &look.selectedBackground, &alternate);
        extractBackgroundBrush(extractor, &look.background);
        const auto winner = [&](const char *property) {
            return winningDeclaration(model, look.entries, subcontrol, QLatin1String(property));
        };
        look.color = winner("color");
        look.selectionColor = winner("selection-color");
        look.selectionBackground = winner("selection-background-color");
        look.backgroundColor = winner("background-color");
        return look;
    }

    // The selector, of those that paint the object in its state, whose rule holds
    // declaration.
    QString selectorOf(const TreeLook &look, const SheetDeclaration *declaration) const
    {
        for (const CascadeEntry &entry : look.entries) {
            if (!entry.appliesNow)
                continue;
            const SheetRule &rule = model.rules.at(entry.match.rule);
            const SheetDeclaration *first = rule.declarations.constData();
            if (declaration >= first && declaration < first + rule.declarations.size())
                return rule.selectors.at(entry.match.selector).text;
        }
        return QString();
    }

    Sourced sourced(const QBrush &brush, const TreeLook &look, const SheetDeclaration *declaration,
                    const QColor &orElse, const QColor &under,
                    const ColourPlace &orElsePlace = {}) const
    {
        if (!isSolid(brush))
            return {orElse, nullptr, QString(), orElsePlace};
        return {over(brush.color(), under), declaration, selectorOf(look, declaration),
                placeOf(model, declaration)};
    }

    ColourPlace paletteAt(QPalette::ColorRole role) const { return paletteLinePlace(model, role); }

    // What shows through an object without a fill of its own: the nearest ancestor's
    // fill, or the window's palette colour. Invalid when that fill is a gradient.
    Sourced behindOf(const QObject *object) const
    {
        // Siblings share what is behind them; every target would walk it again.
        const auto known = behindCache.constFind(object);
        if (known != behindCache.cend())
            return *known;
        const Sourced behind = findBehind(object);
        behindCache.insert(object, behind);
        return behind;
    }

    Sourced findBehind(const QObject *object) const
    {
        for (const QObject *parent = object->parent(); parent; parent = parent->parent()) {
            if (!parent->isWidgetType())
                continue;
            const TreeLook look = lookOf(parent, tree.stateOf(parent), QString());
            if (hasPattern(look.background))
                return {};
            if (isSolid(look.background)) {
                const Sourced under = behindOf(parent);
                if (!under.colour.isValid())
                    return {};
                return sourced(look.background, look, look.backgroundColor, QColor(), under.colour);
            }
            // A tab widget's pages lie on its pane, which the base style fills with the
            // window colour unless the sheet fills it; so does a widget that fills
            // its own background.
            const bool pane = parent->inherits("QTabWidget");
            if (pane) {
                const TreeLook paneLook =
                    lookOf(parent, tree.stateOf(parent), QStringLiteral("pane"));
                if (hasPattern(paneLook.background))
                    return {};
                if (isSolid(paneLook.background)) {
                    const Sourced under = behindOf(parent);
                    if (!under.colour.isValid())
                        return {};
                    return sourced(paneLook.background, paneLook, paneLook.backgroundColor,
                                   QColor(), under.colour);
                }
            }
            if (pane || parent->property("autoFillBackground").toBool())
                return {cascade.fallback(QPalette::Window), nullptr, QString(),
                        paletteAt(QPalette::Window)};
        }
        return {cascade.fallback(QPalette::Window), nullptr, QString(),
                paletteAt(QPalette::Window)};
    }

    void judge(const ContrastTarget &target, QVector<TreeContrastFinding> &findings) const
    {
        const TreeLook own = lookOf(target.object, target.state, QString());
        const Sourced behind = behindOf(target.object);
        if (hasPattern(own.background) || !behind.colour.isValid())
            return;
        const QColor roleFill =
            target.role == ContrastRole::Button  ? cascade.fallback(QPalette::Button)
            : target.role == ContrastRole::Input ? cascade.fallback(QPalette::Base)
                                                 : behind.colour;
        const ColourPlace roleFillPlace =
            target.role == ContrastRole::Button  ? paletteAt(QPalette::Button)
            : target.role == ContrastRole::Input ? paletteAt(QPalette::Base)
                                                 : behind.place;
        Sourced background = sourced(own.background, own, own.backgroundColor, roleFill,
                                     behind.colour, roleFillPlace);
        if (!isSolid(own.background) && target.role == ContrastRole::Plain)
            background = behind;
        Sourced text;
        if (target.item) {
            if (!itemColours(target, own, &text, &background))
                return;
        } else {
            const QPalette::ColorRole role =
                target.role == ContrastRole::Button  ? QPalette::ButtonText
                : target.role == ContrastRole::Input ? QPalette::Text
                                                     : QPalette::WindowText;
            text = sourced(own.foreground, own, own.color, cascade.fallback(role),
                           background.colour, paletteAt(role));
        }
        // What the palette alone decides, the palette header's pairs judge.
        const Sourced &at = text.declaration ? text : background;
        if (!at.declaration)
            return;
        const QColor drawn = over(text.colour, background.colour);
        const double ratio = contrast(drawn, background.colour);
        if (ratio >= textMinimum)
            return;
        findings.append({target, drawn, background.colour, ratio, at.declaration->offset,
                         int(at.declaration->property.size()), at.selector, text.place,
                         background.place});
    }

    // An item is drawn over its view: in the view's selection colours when selected,
    // unless the item's own rules (":selected" ones for a selected item) say otherwise.
    bool itemColours(const ContrastTarget &target, const TreeLook &view, Sourced *text,
                     Sourced *background) const
    {
        const quint64 state =
            target.selectedItem ? target.state | PseudoState::Selected : target.state;
        const TreeLook item = lookOf(target.object, state, QStringLiteral("item"));
        if (hasPattern(item.background) || hasPattern(view.selectedBackground))
            return false;
        const QColor under = background->colour;
        if (isSolid(item.background))
            *background = sourced(item.background, item, item.backgroundColor, QColor(), under);
        else if (target.selectedItem)
            *background = sourced(view.selectedBackground, view, view.selectionBackground,
                                  over(cascade.fallback(QPalette::Highlight), under), under,
                                  paletteAt(QPalette::Highlight));
        if (isSolid(item.foreground))
            *text = sourced(item.foreground, item, item.color, QColor(), background->colour);
        else if (target.selectedItem)
            *text = sourced(view.selectedForeground, view, view.selectionColor,
                            cascade.fallback(QPalette::HighlightedText), background->colour,
                            paletteAt(QPalette::HighlightedText));
        else
            *text = sourced(view.foreground, view, view.color, cascade.fallback(QPalette::Text),
                            background->colour, paletteAt(QPalette::Text));
        return true;
    }

    const SheetModel &model;
    const ContrastTree &tree;
    const Cascade cascade;
    RuleMatcher matcher;
    const double textMinimum;
    mutable QHash<const QObject *, QVector<RuleMatch>> matchCache;
    mutable QHash<const QObject *, Sourced> behindCache;
};

void checkContrast(const SheetModel &context, CheckReporter &report)
{
    checkPalettePairs(context, report);
    if (!context.options.contrastTree) {
        ContrastCheck(context, report).run(nullptr);
        return;
    }
    // A sheet the toolkit's rules cannot be matched with keeps the sheet-only model.
    TreeContrast tree(context, *context.options.contrastTree);
    const QVector<TreeContrastFinding> found = tree.run();
    ContrastCheck(context, report).run(tree.isValid() ? &found : nullptr);
}
} // namespace

QVector<TreeContrastFinding> judgeTreeContrast(const SheetModel &model, const ContrastTree &tree)
{
    return TreeContrast(model, tree).run();
}

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
    "\"contrast\" sets the ratios: {\"text\": 4.5, \"outline\": 3.0} by default, 7.0 and 4.5 for "
    "WCAG AAA",
    nullptr,
};
