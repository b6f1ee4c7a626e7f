// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"

#include "analysis/contrastcascade.h"
#include "analysis/contrastratio.h"
#include "analysis/contrastsurface.h"
#include "analysis/palettepaircontrast.h"
#include "analysis/qssreference.h"
#include "analysis/treecontrast.h"

#include <QHash>

#include <algorithm>
#include <deque>

using namespace QCss;

// WCAG 2.1 contrast, level AA unless configured: text against its background needs
// 4.5 : 1; the outline of a control (border, indicator) needs 3 : 1 against what it
// sits on, unless the control's own fill already stands out that much. Disabled
// controls are exempt in WCAG; the palette's disabled text is still held to the
// outline's ratio so it stays legible.

namespace {
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

// A finding's text before and after the selectors it names; none when fails is false.
struct Verdict
{
    bool fails = false;
    QString head;
    QString tail;
    QVector<JudgedValue> judged = {};
};

// The selectors of one rule that share a finding are named in one diagnostic, and so
// are the palettes it is found under.
struct Finding
{
    int offset;
    int length;
    QString head;
    QString tail;
    QStringList selectors;
    QVector<JudgedValue> judged;
    QVector<int> palettes; // indices into the options' palettes
};

// What the judgement under every palette found.
struct Findings
{
    QVector<Finding> list;
    QMultiHash<int, int> byOffset; // indices into list; a long sheet has many
    int unmeasured = 0;
    int firstUnmeasured = 0;
};

// At the length characters from offset: the property of the declaration that sets the
// colour found wanting, under the palette-th palette.
void addFinding(Findings &findings, int offset, int length, const Verdict &verdict,
                const QString &selector, int palette)
{
    for (auto it = findings.byOffset.constFind(offset);
         it != findings.byOffset.cend() && it.key() == offset; ++it) {
        Finding &finding = findings.list[it.value()];
        if (finding.head == verdict.head && finding.tail == verdict.tail) {
            if (!finding.selectors.contains(selector))
                finding.selectors.append(selector);
            if (!finding.palettes.contains(palette))
                finding.palettes.append(palette);
            return;
        }
    }
    findings.byOffset.insert(offset, int(findings.list.size()));
    findings.list.append(
        {offset, length, verdict.head, verdict.tail, {selector}, verdict.judged, {palette}});
}

// What a selector's text says for the checks: its surface, whether it shows text and
// is a control with an outline, and the verdicts on its text and outline wherever a
// rule sets them.
struct JudgedSelector
{
    ContrastSurface surface;
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
    // Under the palette-th of the options' palettes.
    ContrastCheck(const SheetModel &context, int palette)
        : context(context)
        , cascade(context, context.options.palettes.at(palette))
        , paletteIndex(palette)
        , textMinimum(context.options.textContrast)
        , outlineMinimum(context.options.outlineContrast)
    {}

    // With a tree at hand, text is judged on its objects and only outlines on the
    // sheet alone.
    void run(const QVector<TreeContrastFinding> *treeFindings, Findings &found)
    {
        for (const SheetRule &rule : qAsConst(context.rules)) {
            for (const SheetSelector &selector : rule.selectors) {
                const JudgedSelector *judgement = judgementOf(selector);
                if (!judgement)
                    continue;
                if (!treeFindings || !judgedOnTrees(selector))
                    checkText(rule, selector, *judgement, found);
                checkOutline(rule, selector, *judgement, found);
            }
        }
        if (treeFindings) {
            for (const TreeContrastFinding &tree : *treeFindings)
                addTreeFinding(found, tree);
        }
        // The note counts what one palette could not measure.
        if (unmeasured > found.unmeasured) {
            found.unmeasured = unmeasured;
            found.firstUnmeasured = firstUnmeasured;
        }
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
            ContrastSurface surface;
            const JudgedSelector *made = nullptr;
            if (judged(selector) && surfaceOf(cascade, context.classes, selector, &surface)) {
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

    void checkText(const SheetRule &rule, const SheetSelector &selector,
                   const JudgedSelector &judgement, Findings &findings) const
    {
        const SheetDeclaration *first = nullptr;
        if (!judgement.showsText || !setsAny(rule, {"color", "background"}, &first))
            return;
        if (judgement.text.fails)
            addFinding(findings, first->offset, int(first->property.size()), judgement.text,
                       selector.text, paletteIndex);
    }

    Verdict textVerdict(const ContrastSurface &surface) const
    {
        QColor text;
        ColourSource textSource = surface.textSource;
        if (isSolid(surface.look.foreground)) {
            text = surface.look.foreground.color();
        } else {
            const QPalette::ColorRole role = fallbackTextRole(surface.role);
            text = cascade.fallback(role);
            textSource = fromPalette(role);
        }
        text = compositeOver(text, surface.background);
        const double ratio = contrastRatio(text, surface.background);
        if (ratio >= textMinimum)
            return Verdict();
        return {
            true,
            QStringLiteral("text %1 on %2")
                .arg(colourText(text, cascade.originOf(textSource)),
                     colourText(surface.background, cascade.originOf(surface.backgroundSource))),
            QStringLiteral(": contrast %1, below %2").arg(ratioText(ratio), ratioText(textMinimum)),
            judgedValues(cascade.placeOf(textSource),
                         QStringLiteral("text %1").arg(colourText(text)),
                         cascade.placeOf(surface.backgroundSource),
                         QStringLiteral("background %1").arg(colourText(surface.background)))};
    }

    // A tree's finding in the same words as the sheet's, named with the selectors of
    // its rule that share it.
    void addTreeFinding(Findings &findings, const TreeContrastFinding &found) const
    {
        const Verdict verdict{
            true,
            QStringLiteral("text %1 on %2")
                .arg(colourText(found.text, found.textOrigin),
                     colourText(found.background, found.backgroundOrigin)),
            QStringLiteral(": contrast %1, below %2")
                .arg(ratioText(found.ratio), ratioText(textMinimum)),
            judgedValues(found.textPlace, QStringLiteral("text %1").arg(colourText(found.text)),
                         found.backgroundPlace,
                         QStringLiteral("background %1").arg(colourText(found.background)))};
        addFinding(findings, found.offset, found.length, verdict, found.selector, paletteIndex);
    }

    void checkOutline(const SheetRule &rule, const SheetSelector &selector,
                      const JudgedSelector &judgement, Findings &findings)
    {
        const SheetDeclaration *first = nullptr;
        if (!judgement.isControl || !setsAny(rule, {"border"}, &first))
            return;
        if (judgement.outlineState == JudgedSelector::Outline::Unmeasured) {
            if (unmeasured++ == 0)
                firstUnmeasured = first->offset;
        } else if (judgement.outlineState == JudgedSelector::Outline::Judged &&
                   judgement.outline.fails) {
            addFinding(findings, first->offset, int(first->property.size()), judgement.outline,
                       selector.text, paletteIndex);
        }
    }

    void judgeOutline(const SheetSelector &selector, JudgedSelector *judgement) const
    {
        const ContrastSurface &surface = judgement->surface;
        const bool onWidget = !selector.subcontrol.isEmpty();
        const QColor outside = onWidget ? surface.widgetBackground : surface.behind;
        if (contrastRatio(surface.background, outside) >= outlineMinimum)
            return;
        const ContrastLook &look = surface.look;
        if (look.outlineUnmeasured) {
            judgement->outlineState = JudgedSelector::Outline::Unmeasured;
            return;
        }
        for (int edge = 0; edge < 4; ++edge) {
            // A transparent edge draws nothing: it is no outline, whatever its width.
            if (look.borders[edge] <= 0 || look.borderStyles[edge] == BorderStyle_None ||
                !isSolid(look.borderColours[edge]) || look.borderColours[edge].color().alpha() == 0)
                continue;
            const QColor border = compositeOver(look.borderColours[edge].color(), outside);
            const double ratio = contrastRatio(border, outside);
            judgement->outlineState = JudgedSelector::Outline::Judged;
            if (ratio < outlineMinimum) {
                const ColourSource &outsideSource =
                    onWidget ? surface.widgetSource : surface.behindSource;
                judgement->outline = {
                    true,
                    QStringLiteral("outline %1 on %2")
                        .arg(colourText(border),
                             colourText(outside, cascade.originOf(outsideSource))),
                    QStringLiteral(" (its fill %1 does not stand out either): "
                                   "contrast %2, below %3")
                        .arg(colourText(surface.background,
                                        cascade.originOf(surface.backgroundSource)),
                             ratioText(ratio), ratioText(outlineMinimum)),
                    judgedValues(cascade.borderPlaceOf(look, edge),
                                 QStringLiteral("outline %1").arg(colourText(border)),
                                 cascade.placeOf(outsideSource),
                                 QStringLiteral("background %1").arg(colourText(outside)))};
            }
            return;
        }
    }

    const SheetModel &context;
    const ContrastCascade cascade;
    const int paletteIndex;
    mutable QHash<QString, const JudgedSelector *> judgements;
    mutable std::deque<JudgedSelector> judgementsMade; // stays where it is made
    const double textMinimum;
    const double outlineMinimum;
    int unmeasured = 0;
    int firstUnmeasured = 0;
};

// Which of palettes a finding is under, unless it is under all of them or its colours
// already name them: " under the dark palette".
QString underWhich(const Finding &finding, const QVector<ContrastPalette> &palettes)
{
    if (finding.palettes.size() == palettes.size())
        return QString();
    QStringList named;
    for (int index : finding.palettes) {
        const ContrastPalette &palette = palettes.at(index);
        if (!finding.head.contains(palette.roleOwner() + QLatin1String("'s ")))
            named.append(palette.description());
    }
    return named.isEmpty() ? QString()
                           : QStringLiteral(" under ") + named.join(QLatin1String(" and "));
}

void reportFindings(CheckReporter &report, const Findings &found,
                    const QVector<ContrastPalette> &palettes)
{
    for (const Finding &finding : found.list) {
        QStringList quoted;
        for (const QString &selector : finding.selectors)
            quoted.append(QLatin1Char('"') + selector + QLatin1Char('"'));
        report.at(finding.offset, finding.length,
                  finding.head + QStringLiteral(" in ") + quoted.join(QLatin1String(", ")) +
                      underWhich(finding, palettes) + finding.tail);
        reportJudged(report, finding.judged);
    }
    if (found.unmeasured == 0)
        return;
    const QString what = found.unmeasured == 1
                             ? QStringLiteral("an outline with a border length in em or ex was")
                             : QStringLiteral("%1 outlines with a border length in em or ex were")
                                   .arg(found.unmeasured);
    report.at(found.firstUnmeasured, LintSeverity::Note,
              QStringLiteral("%1 not checked: those units need the widget's font, and this "
                             "program loads no fonts")
                  .arg(what));
}

void checkContrast(const SheetModel &context, CheckReporter &report)
{
    checkPalettePairs(context, report);
    Findings found;
    for (int palette = 0; palette < context.options.palettes.size(); ++palette) {
        // A sheet the toolkit's rules cannot be matched with keeps the sheet-only model.
        const auto tree = context.options.contrastTree
                              ? judgeTreeContrast(context, *context.options.contrastTree,
                                                  context.options.palettes.at(palette))
                              : std::nullopt;
        ContrastCheck(context, palette).run(tree ? &*tree : nullptr, found);
    }
    reportFindings(report, found, context.options.palettes);
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
    "followed as the toolkit follows it, state by state. A colour the sheet does not set "
    "comes from the palette under it, and the finding names it: text #000000 (the light "
    "palette's WindowText) on #272727. A sheet written for dark mode is judged under the dark "
    "palette when the configuration's `palettes` says so.",
    "QLabel { color: #777777; background-color: #888888; }",
    "QLabel { color: #000000; background-color: #ffffff; }",
    checkContrast,
    "\"contrast\" sets the ratios: {\"text\": 4.5, \"outline\": 3.0} by default, 7.0 and 4.5 for "
    "WCAG AAA. \"palettes\" the palettes every sheet is judged under, each on its own: "
    "[\"light\"] by default (the toolkit's standard Fusion palette), \"dark\" (its dark "
    "palette under a dark colour scheme), or a sheet whose @palette header is the "
    "application's own; a finding under some of them only says which",
    nullptr,
};
