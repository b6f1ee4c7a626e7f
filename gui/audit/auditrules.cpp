// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/auditrules.h"

#include "analysis/pseudostates.h"
#include "analysis/rulecascade.h"
#include "analysis/rulematcher.h"
#include "analysis/sheetmodel.h"
#include "audit/auditchecks.h"

#include <QWidget>

namespace {

quint64 stateBit(AuditState state)
{
    switch (state) {
    case AuditState::Hover:
        return PseudoState::Hover;
    case AuditState::Pressed:
        return PseudoState::Pressed;
    case AuditState::Focus:
        return PseudoState::Focus;
    case AuditState::Disabled:
        return PseudoState::Disabled;
    case AuditState::Checked:
        return PseudoState::Checked;
    case AuditState::Normal:
        break;
    }
    return 0;
}

// The pseudo-states the widget has in the audited state, as the toolkit sets them
// for a widget of an active window.
quint64 statesIn(AuditState state, bool checkable)
{
    quint64 states = PseudoState::Active | stateBit(state);
    states |= state == AuditState::Disabled ? PseudoState::Disabled : PseudoState::Enabled;
    if (checkable)
        states |= state == AuditState::Checked ? PseudoState::Checked : PseudoState::Unchecked;
    return states;
}

} // namespace

AuditRules::AuditRules(const QString &sheetText, const QString &path, const QString &styleName)
    : model(std::make_unique<SheetModel>(sheetText.toUtf8(), path))
    , matcher(std::make_unique<RuleMatcher>(*model))
    , path(path)
{
    matcher->setStyleName(styleName);
}

AuditRules::~AuditRules()
{
    // The matcher refers to the model.
    matcher.reset();
}

void AuditRules::locate(const QWidget *widget, bool checkable, AuditFinding *finding) const
{
    const RulePlace found = place(widget, checkable, finding->state);
    if (found.rule.isEmpty())
        return;
    finding->sheetFile = found.sheetFile;
    finding->rule = found.rule;
    finding->line = found.line;
    finding->column = found.column;
    finding->ruleNamesState = found.namesState;
}

RulePlace AuditRules::place(const QWidget *widget, bool checkable, AuditState state,
                            const QString &subcontrol, const QString &property) const
{
    RulePlace found;
    if (!matcher->isValid())
        return found;
    const quint64 bit = stateBit(state);
    const QVector<CascadeEntry> entries =
        cascadeMatches(*model, matcher->matches(widget), statesIn(state, checkable));
    const CascadeEntry *naming = nullptr;
    const CascadeEntry *painting = nullptr;
    for (const CascadeEntry &entry : entries) {
        if (!entry.appliesNow || entry.subcontrol != subcontrol)
            continue;
        const SheetSelector &selector =
            model->rules.at(entry.match.rule).selectors.at(entry.match.selector);
        if (!naming && bit && selector.states.contains(auditStateName(state)))
            naming = &entry;
        if (!painting)
            painting = &entry;
    }
    const CascadeEntry *chosen = naming ? naming : painting;
    if (!property.isEmpty()) {
        if (const SheetDeclaration *giving =
                winningDeclaration(*model, entries, subcontrol, property)) {
            for (const CascadeEntry &entry : entries) {
                const QVector<SheetDeclaration> &declarations =
                    model->rules.at(entry.match.rule).declarations;
                if (!declarations.isEmpty() && giving >= declarations.constData() &&
                    giving < declarations.constData() + declarations.size()) {
                    chosen = &entry;
                    break;
                }
            }
        }
    }
    if (!chosen)
        return found;
    const SheetSelector &selector =
        model->rules.at(chosen->match.rule).selectors.at(chosen->match.selector);
    found.sheetFile = path;
    found.rule = selector.text;
    found.namesState = bit && selector.states.contains(auditStateName(state));
    model->lineColumn(selector.offset, &found.line, &found.column);
    return found;
}
