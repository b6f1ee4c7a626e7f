// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "live/rulesview.h"

#include "analysis/sheetmodel.h"
#include "live/ruleinspector.h"
#include "live/widgetstate.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>

namespace {

constexpr int ruleRole = Qt::UserRole;
constexpr int lineRole = Qt::UserRole + 1;
constexpr int columnRole = Qt::UserRole + 2;
constexpr int struckRole = Qt::UserRole + 3;

// As CSS writes it: object names, then attributes and pseudo-states, then classes.
QString specificityText(const QCss::Selector &selector)
{
    int ids = 0, others = 0, elements = 0;
    for (const QCss::BasicSelector &part : selector.basicSelectors) {
        ids += int(part.ids.size());
        others += int(part.attributeSelectors.size() + part.pseudos.size());
        elements += part.elementName.isEmpty() ? 0 : 1;
    }
    return QStringLiteral("%1,%2,%3").arg(ids).arg(others).arg(elements);
}

QString statesText(const LintSelector &selector)
{
    QStringList states;
    for (const QString &state : selector.states)
        states.append(QLatin1Char(':') + state);
    for (const QString &state : selector.negatedStates)
        states.append(QStringLiteral(":!") + state);
    return states.isEmpty() ? RulesView::tr("any state") : states.join(QLatin1Char(' '));
}

QString identityHtml(const WidgetIdentity &identity, const QString &sheetName)
{
    QStringList lines;
    QString head = QStringLiteral("<b>%1</b>").arg(identity.className.toHtmlEscaped());
    if (!identity.objectName.isEmpty())
        head += QStringLiteral(" #%1").arg(identity.objectName.toHtmlEscaped());
    lines << head;
    lines << RulesView::tr("is a %1")
                 .arg(identity.baseClasses.join(QStringLiteral(" › ")))
                 .toHtmlEscaped();
    if (!identity.ancestors.isEmpty())
        lines << RulesView::tr("inside %1")
                     .arg(identity.ancestors.join(QStringLiteral(" › ")))
                     .toHtmlEscaped();
    if (!identity.attributes.isEmpty())
        lines << RulesView::tr("properties: %1")
                     .arg(identity.attributes.join(QLatin1Char(' ')))
                     .toHtmlEscaped();
    QStringList states = pseudoStateNames(identity.state);
    for (QString &state : states)
        state.prepend(QLatin1Char(':'));
    lines << RulesView::tr("states now: %1").arg(states.join(QLatin1Char(' '))).toHtmlEscaped();
    if (identity.ownStyleSheet)
        lines << QStringLiteral("<i>%1</i>")
                     .arg(
                         RulesView::tr(
                             "It or a widget around it has a style sheet of its own; its rules are "
                             "not listed here.")
                             .toHtmlEscaped());
    lines << RulesView::tr("Rules of %1 that match, the winner first; grey ones do not apply in "
                           "the states now, struck declarations lose to the line named.")
                 .arg(sheetName)
                 .toHtmlEscaped();
    return lines.join(QStringLiteral("<br>"));
}

} // namespace

RulesView::RulesView(QWidget *parent)
    : QWidget(parent)
    , identityLabel(new QLabel(this))
    , tree(new QTreeWidget(this))
{
    identityLabel->setWordWrap(true);
    identityLabel->setTextFormat(Qt::RichText);
    identityLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    tree->setColumnCount(3);
    tree->setHeaderLabels({tr("Rule"), tr("Specificity"), tr("States")});
    tree->setRootIsDecorated(true);
    tree->setUniformRowHeights(true);
    tree->header()->setStretchLastSection(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(identityLabel);
    layout->addWidget(tree, 1);

    connect(tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item && item->data(0, ruleRole).isValid())
            emit ruleChosen(item->data(0, ruleRole).toInt());
    });
    connect(tree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        if (item && item->data(0, lineRole).isValid())
            emit positionActivated(item->data(0, lineRole).toInt(),
                                   item->data(0, columnRole).toInt());
    });
    showMessage(tr("Press Pick (Ctrl+Shift+I), then click a widget of the gallery to see the "
                   "rules that paint it."));
}

void RulesView::showMessage(const QString &message)
{
    tree->clear();
    identityLabel->setText(message.toHtmlEscaped());
}

void RulesView::showInspection(const RuleInspection &inspection, const SheetModel &model,
                               const QString &sheetName)
{
    tree->clear();
    identityLabel->setText(identityHtml(inspection.identity, sheetName));
    addEntries(inspection, model);
    if (tree->topLevelItemCount() == 0) {
        auto *none =
            new QTreeWidgetItem(tree, {tr("No rule of %1 matches this widget.").arg(sheetName)});
        none->setFlags(Qt::ItemIsEnabled);
    }
    tree->expandAll();
    tree->resizeColumnToContents(0);
}

void RulesView::addEntries(const RuleInspection &inspection, const SheetModel &model)
{
    // The widget's own cascade first, then each subcontrol's, as the toolkit keeps them apart.
    QStringList parts{QString()};
    for (const CascadeEntry &entry : inspection.entries) {
        if (!parts.contains(entry.subcontrol))
            parts.append(entry.subcontrol);
    }
    const QBrush inactive = palette().brush(QPalette::Disabled, QPalette::Text);
    for (const QString &part : qAsConst(parts)) {
        QTreeWidgetItem *parent = nullptr;
        if (!part.isEmpty()) {
            parent = new QTreeWidgetItem(tree, {tr("subcontrol ::%1").arg(part)});
            parent->setFlags(Qt::ItemIsEnabled);
            QFont bold = parent->font(0);
            bold.setBold(true);
            parent->setFont(0, bold);
        }
        for (const CascadeEntry &entry : inspection.entries) {
            if (entry.subcontrol != part)
                continue;
            const LintRule &rule = model.rules.at(entry.match.rule);
            const LintSelector &selector = rule.selectors.at(qMax(0, entry.match.selector));
            int line = 0, column = 0;
            model.lineColumn(selector.offset, &line, &column);
            const QStringList texts{
                QStringLiteral("%1:%2  %3").arg(line).arg(column).arg(selector.text),
                specificityText(selector.selector), statesText(selector)};
            auto *item =
                parent ? new QTreeWidgetItem(parent, texts) : new QTreeWidgetItem(tree, texts);
            item->setData(0, ruleRole, entry.match.rule);
            item->setData(0, lineRole, line);
            item->setData(0, columnRole, column);
            if (!entry.appliesNow) {
                for (int c = 0; c < 3; ++c)
                    item->setForeground(c, inactive);
                item->setToolTip(0, tr("Not in the states the widget is in now."));
            }
            for (const CascadeDeclaration &declared : entry.declarations) {
                const LintDeclaration &declaration = rule.declarations.at(declared.index);
                int dLine = 0, dColumn = 0;
                model.lineColumn(declaration.offset, &dLine, &dColumn);
                QString text =
                    QStringLiteral("%1: %2;").arg(declaration.property, declaration.valueText);
                auto *child = new QTreeWidgetItem(item, {text});
                child->setData(0, lineRole, dLine);
                child->setData(0, columnRole, dColumn);
                if (declared.overridden) {
                    const LintDeclaration &winner =
                        model.rules.at(declared.winnerRule)
                            .declarations.at(declared.winnerDeclaration);
                    int wLine = 0, wColumn = 0;
                    model.lineColumn(winner.offset, &wLine, &wColumn);
                    QFont struck = child->font(0);
                    struck.setStrikeOut(true);
                    child->setFont(0, struck);
                    child->setData(0, struckRole, true);
                    child->setText(1, tr("line %1 wins").arg(wLine));
                    child->setToolTip(0, tr("Overridden by %1: %2; on line %3.")
                                             .arg(winner.property, winner.valueText)
                                             .arg(wLine));
                }
                if (!entry.appliesNow)
                    child->setForeground(0, inactive);
            }
        }
    }
}

QStringList RulesView::rowTexts() const
{
    QStringList rows;
    const std::function<void(const QTreeWidgetItem *, int)> walk = [&](const QTreeWidgetItem *item,
                                                                       int depth) {
        QString text = item->text(0);
        if (item->data(0, struckRole).toBool())
            text = QStringLiteral("~~%1~~ %2").arg(text, item->text(1));
        rows.append(QString(depth * 2, QLatin1Char(' ')) + text);
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i), depth + 1);
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        walk(tree->topLevelItem(i), 0);
    return rows;
}
