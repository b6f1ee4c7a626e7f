// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "shot/auditrules.h"

#include "analysis/rulecascade.h"
#include "analysis/rulematcher.h"
#include "analysis/sheetmodel.h"

#include <QWidget>

namespace {

quint64 stateBit(AuditState state)
{
    switch (state) {
    case AuditState::Hover:
        return QCss::PseudoClass_Hover;
    case AuditState::Pressed:
        return QCss::PseudoClass_Pressed;
    case AuditState::Focus:
        return QCss::PseudoClass_Focus;
    case AuditState::Disabled:
        return QCss::PseudoClass_Disabled;
    case AuditState::Checked:
        return QCss::PseudoClass_Checked;
    case AuditState::Normal:
        break;
    }
    return 0;
}

// The pseudo-states the widget has in the audited state, as the toolkit sets them
// for a widget of an active window.
quint64 statesIn(AuditState state, bool checkable)
{
    quint64 states = QCss::PseudoClass_Active | stateBit(state);
    states |=
        state == AuditState::Disabled ? QCss::PseudoClass_Disabled : QCss::PseudoClass_Enabled;
    if (checkable)
        states |=
            state == AuditState::Checked ? QCss::PseudoClass_Checked : QCss::PseudoClass_Unchecked;
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
    if (!matcher->isValid())
        return;
    const quint64 bit = stateBit(finding->state);
    const QVector<CascadeEntry> entries =
        cascadeMatches(*model, matcher->matches(widget), statesIn(finding->state, checkable));
    const CascadeEntry *naming = nullptr;
    const CascadeEntry *painting = nullptr;
    for (const CascadeEntry &entry : entries) {
        if (!entry.appliesNow)
            continue;
        const LintSelector &selector =
            model->rules.at(entry.match.rule).selectors.at(entry.match.selector);
        if (!naming && bit && (selector.selector.pseudoClass() & bit))
            naming = &entry;
        if (!painting && entry.subcontrol.isEmpty())
            painting = &entry;
    }
    const CascadeEntry *chosen = naming ? naming : painting;
    if (!chosen)
        return;
    const LintSelector &selector =
        model->rules.at(chosen->match.rule).selectors.at(chosen->match.selector);
    finding->sheetFile = path;
    finding->rule = selector.text;
    finding->ruleNamesState = naming != nullptr;
    model->lineColumn(selector.offset, &finding->line, &finding->column);
}
