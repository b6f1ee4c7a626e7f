// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/treecontrast.h"

#include "analysis/contrastcascade.h"
#include "analysis/contrastratio.h"
#include "analysis/pseudostates.h"
#include "analysis/rulecascade.h"

using namespace QCss;

namespace {
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
    QString origin = {};    // the palette's role, when neither gives it
};

class TreeContrast
{
public:
    TreeContrast(const SheetModel &model, const ContrastTree &tree, const ContrastPalette &palette)
        : model(model)
        , tree(tree)
        , cascade(model, palette)
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
                    const Sourced &orElse, const QColor &under) const
    {
        if (!isSolid(brush))
            return orElse;
        return {compositeOver(brush.color(), under), declaration, selectorOf(look, declaration),
                placeOf(model, declaration)};
    }

    // The palette's colour of role: the sheet's header's, or the base palette's.
    Sourced fromRole(QPalette::ColorRole role) const
    {
        return {cascade.fallback(role), nullptr, QString(), paletteLinePlace(model, role),
                cascade.fallbackOrigin(role)};
    }

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
                return sourced(look.background, look, look.backgroundColor, {}, under.colour);
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
                    return sourced(paneLook.background, paneLook, paneLook.backgroundColor, {},
                                   under.colour);
                }
            }
            if (pane || parent->property("autoFillBackground").toBool())
                return fromRole(QPalette::Window);
        }
        return fromRole(QPalette::Window);
    }

    void judge(const ContrastTarget &target, QVector<TreeContrastFinding> &findings) const
    {
        const TreeLook own = lookOf(target.object, target.state, QString());
        const Sourced behind = behindOf(target.object);
        if (hasPattern(own.background) || !behind.colour.isValid())
            return;
        const QPalette::ColorRole fill = fallbackFillRole(target.role);
        const Sourced roleFill = fill != QPalette::NoRole ? fromRole(fill) : behind;
        Sourced background =
            sourced(own.background, own, own.backgroundColor, roleFill, behind.colour);
        if (!isSolid(own.background) && target.role == ContrastRole::Plain)
            background = behind;
        Sourced text;
        if (target.item) {
            if (!itemColours(target, own, &text, &background))
                return;
        } else {
            const QPalette::ColorRole role = fallbackTextRole(target.role);
            text = sourced(own.foreground, own, own.color, fromRole(role), background.colour);
        }
        // What the palette alone decides, the palette header's pairs judge.
        const Sourced &at = text.declaration ? text : background;
        if (!at.declaration)
            return;
        const QColor drawn = compositeOver(text.colour, background.colour);
        const double ratio = contrastRatio(drawn, background.colour);
        if (ratio >= textMinimum)
            return;
        findings.append({target, drawn, background.colour, ratio, at.declaration->offset,
                         int(at.declaration->property.size()), at.selector, text.place,
                         background.place, text.origin, background.origin});
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
            *background = sourced(item.background, item, item.backgroundColor, {}, under);
        else if (target.selectedItem) {
            Sourced highlight = fromRole(QPalette::Highlight);
            highlight.colour = compositeOver(highlight.colour, under);
            *background =
                sourced(view.selectedBackground, view, view.selectionBackground, highlight, under);
        }
        if (isSolid(item.foreground))
            *text = sourced(item.foreground, item, item.color, {}, background->colour);
        else if (target.selectedItem)
            *text = sourced(view.selectedForeground, view, view.selectionColor,
                            fromRole(QPalette::HighlightedText), background->colour);
        else
            *text = sourced(view.foreground, view, view.color, fromRole(QPalette::Text),
                            background->colour);
        return true;
    }

    const SheetModel &model;
    const ContrastTree &tree;
    const ContrastCascade cascade;
    RuleMatcher matcher;
    const double textMinimum;
    mutable QHash<const QObject *, QVector<RuleMatch>> matchCache;
    mutable QHash<const QObject *, Sourced> behindCache;
};
} // namespace

QPalette::ColorRole fallbackTextRole(ContrastRole role)
{
    return role == ContrastRole::Button  ? QPalette::ButtonText
           : role == ContrastRole::Input ? QPalette::Text
                                         : QPalette::WindowText;
}

QPalette::ColorRole fallbackFillRole(ContrastRole role)
{
    return role == ContrastRole::Button  ? QPalette::Button
           : role == ContrastRole::Input ? QPalette::Base
                                         : QPalette::NoRole;
}

std::optional<QVector<TreeContrastFinding>>
judgeTreeContrast(const SheetModel &model, const ContrastTree &tree, const ContrastPalette &palette)
{
    TreeContrast judgement(model, tree, palette);
    if (!judgement.isValid())
        return std::nullopt;
    return judgement.run();
}
