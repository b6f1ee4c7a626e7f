// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "live/inspector/rulesview.h"

#include "analysis/sheetmodel.h"
#include "live/inspector/ruleinspector.h"
#include "widgetstyles/widgetstate.h"

#include <QHeaderView>
#include <QLabel>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>

namespace {

constexpr int ruleRole = Qt::UserRole;
constexpr int lineRole = Qt::UserRole + 1;
constexpr int columnRole = Qt::UserRole + 2;
constexpr int struckRole = Qt::UserRole + 3;

QString statesText(const SheetSelector &selector)
{
    QStringList states;
    for (const QString &state : selector.states)
        states.append(QLatin1Char(':') + state);
    for (const QString &state : selector.negatedStates)
        states.append(QStringLiteral(":!") + state);
    return states.isEmpty() ? RulesView::tr("any state") : states.join(QLatin1Char(' '));
}

// Descendant selectors look at the widgets around it; the nearest ones matter most.
constexpr int kAncestorsShown = 3;

QString identityHtml(const WidgetIdentity &identity, const QString &sheetName)
{
    QStringList lines;
    QString head = QStringLiteral("<b>%1</b>").arg(identity.className.toHtmlEscaped());
    if (!identity.objectName.isEmpty())
        head += QStringLiteral(" #%1").arg(identity.objectName.toHtmlEscaped());
    head += QStringLiteral(" &nbsp; ") + RulesView::tr("is a %1")
                                             .arg(identity.baseClasses.join(QStringLiteral(" › ")))
                                             .toHtmlEscaped();
    lines << head;
    if (!identity.ancestors.isEmpty()) {
        QStringList shown =
            identity.ancestors.mid(qMax(0, int(identity.ancestors.size()) - kAncestorsShown));
        if (shown.size() < identity.ancestors.size())
            shown.prepend(QStringLiteral("…"));
        lines << RulesView::tr("inside %1").arg(shown.join(QStringLiteral(" › "))).toHtmlEscaped();
    }
    QStringList states = pseudoStateNames(identity.state);
    for (QString &state : states)
        state.prepend(QLatin1Char(':'));
    QString now = RulesView::tr("now %1").arg(states.join(QLatin1Char(' ')));
    if (!identity.attributes.isEmpty())
        now = identity.attributes.join(QLatin1Char(' ')) + QStringLiteral(" · ") + now;
    lines << now.toHtmlEscaped();
    if (identity.ownStyleSheet) {
        lines << QStringLiteral("<i>%1</i>")
                     .arg(RulesView::tr(
                              "It or a widget around it has a style sheet of its own, which wins "
                              "over the rules listed here:")
                              .toHtmlEscaped());
        for (const QString &sheet : identity.ownSheets)
            lines << QStringLiteral("&nbsp; <tt>%1</tt>").arg(sheet.toHtmlEscaped());
    }
    lines << QStringLiteral("<small>%1</small>")
                 .arg(RulesView::tr("Rules of %1, the winner first; grey: not in the states now; "
                                    "struck: loses to the line named.")
                          .arg(sheetName)
                          .toHtmlEscaped());
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

    // A click chooses a rule even when it is the current one already (to outline its
    // widgets again on another tab); so does moving through the list.
    const auto choose = [this](const QTreeWidgetItem *item) {
        if (item && item->data(0, ruleRole).isValid())
            emit ruleChosen(item->data(0, ruleRole).toInt());
    };
    connect(tree, &QTreeWidget::itemClicked, this, choose);
    connect(tree, &QTreeWidget::currentItemChanged, this,
            [choose](QTreeWidgetItem *item, QTreeWidgetItem *previous) {
                if (previous)
                    choose(item);
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
    identityLabel->setToolTip(
        tr("inside %1").arg(inspection.identity.ancestors.join(QStringLiteral(" › "))));
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
    // Half way to the background: a sheet may give disabled text the normal colour.
    const QColor text = tree->palette().color(QPalette::Text);
    const QColor base = tree->palette().color(QPalette::Base);
    const QBrush inactive(QColor((text.red() + base.red()) / 2, (text.green() + base.green()) / 2,
                                 (text.blue() + base.blue()) / 2));
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
            const SheetRule &rule = model.rules.at(entry.match.rule);
            const SheetSelector &selector = rule.selectors.at(qMax(0, entry.match.selector));
            int line = 0, column = 0;
            model.lineColumn(selector.offset, &line, &column);
            const QStringList texts{
                QStringLiteral("%1:%2  %3").arg(line).arg(column).arg(selector.text),
                specificityText(selector), statesText(selector)};
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
                const SheetDeclaration &declaration = rule.declarations.at(declared.index);
                int dLine = 0, dColumn = 0;
                model.lineColumn(declaration.offset, &dLine, &dColumn);
                QString text =
                    QStringLiteral("%1: %2;").arg(declaration.property, declaration.valueText);
                auto *child = new QTreeWidgetItem(item, {text});
                child->setData(0, ruleRole, entry.match.rule);
                child->setData(0, lineRole, dLine);
                child->setData(0, columnRole, dColumn);
                if (declared.overridden) {
                    const SheetDeclaration &winner =
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

QString RulesView::identityText() const
{
    QTextDocument document;
    document.setHtml(identityLabel->text());
    return document.toPlainText();
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
