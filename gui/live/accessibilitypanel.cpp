// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "live/accessibilitypanel.h"

#include "audit/auditgroups.h"
#include "audit/auditrules.h"
#include "live/livesheet.h"
#include "widgetstyles/widgetstate.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int fileRole = Qt::UserRole;
constexpr int lineRole = Qt::UserRole + 1;
constexpr int columnRole = Qt::UserRole + 2;

enum Column
{
    CriterionColumn,
    LevelColumn,
    ResultColumn,
    WidgetColumn,
    StateColumn,
    ValueColumn,
    RuleColumn,
    ColumnCount,
};

QString ruleText(const RulePlace &place)
{
    if (place.rule.isEmpty())
        return QString();
    return QStringLiteral("%1 (line %2)").arg(place.rule).arg(place.line);
}

} // namespace

AccessibilityPanel::AccessibilityPanel(LiveSheet *sheet,
                                       std::function<QVector<AuditedPage>()> pages, QWidget *parent)
    : QWidget(parent)
    , sheet(sheet)
    , pages(std::move(pages))
    , checkButton(new QPushButton(tr("Check accessibility"), this))
    , statusLabel(new QLabel(this))
    , findingsTree(new QTreeWidget(this))
{
    checkButton->setToolTip(tr("Audit what is shown by WCAG 2.2: text and non-text contrast, "
                               "focus visible and its appearance, target size"));
    statusLabel->setWordWrap(true);
    statusLabel->setText(tr("Not checked yet."));
    findingsTree->setUniformRowHeights(true);
    findingsTree->setColumnCount(ColumnCount);
    findingsTree->setHeaderLabels({tr("Criterion"), tr("Level"), tr("Result"), tr("Widget"),
                                   tr("State"), tr("Value"), tr("Rule")});
    findingsTree->header()->setStretchLastSection(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 6, 0, 0);
    auto *row = new QHBoxLayout;
    row->addWidget(statusLabel, 1);
    row->addWidget(checkButton);
    layout->addLayout(row);
    layout->addWidget(findingsTree, 1);

    connect(checkButton, &QPushButton::clicked, this, &AccessibilityPanel::check);
    connect(findingsTree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        if (item->data(0, lineRole).toInt() > 0)
            emit ruleChosen(item->data(0, fileRole).toString(), item->data(0, lineRole).toInt(),
                            item->data(0, columnRole).toInt());
    });
    connect(sheet, &LiveSheet::updated, this, &AccessibilityPanel::markStale);
}

AccessibilityPanel::~AccessibilityPanel() = default;

bool AccessibilityPanel::isChecking() const
{
    return audit && audit->isRunning();
}

void AccessibilityPanel::check()
{
    if (isChecking()) {
        audit->cancel();
        return;
    }
    // The sheet in force now, as the inspector reads it; its rules are found only
    // when it is the author's.
    std::shared_ptr<const AuditRules> rules;
    if (sheet->shownStyle() == sheet->fileName() && !qApp->styleSheet().isEmpty())
        rules = std::make_shared<AuditRules>(qApp->styleSheet(), sheet->path(), styleUnderSheet());
    audit = std::make_unique<SteppedAudit>(pages(), sheet->shownStyle(), rules);
    audit->setDrive(AuditDrive::Quiet);
    audit->setScale(1);
    connect(audit.get(), &SteppedAudit::progressed, this, &AccessibilityPanel::showProgress);
    connect(audit.get(), &SteppedAudit::finished, this, &AccessibilityPanel::finished);
    findingsTree->clear();
    checkButton->setText(tr("Stop"));
    statusLabel->setText(tr("Checking…"));
    audit->start();
}

void AccessibilityPanel::showProgress(const QString &page, const QString &object)
{
    statusLabel->setText(tr("Checking %1 in %2…").arg(object, page));
}

QTreeWidgetItem *AccessibilityPanel::addRow(QTreeWidgetItem *parent, const QStringList &cells,
                                            const RulePlace &place, bool gap)
{
    auto *item =
        parent ? new QTreeWidgetItem(parent, cells) : new QTreeWidgetItem(findingsTree, cells);
    item->setData(0, fileRole, place.sheetFile);
    item->setData(0, lineRole, place.line);
    item->setData(0, columnRole, place.column);
    item->setToolTip(ValueColumn, cells.value(ValueColumn));
    if (gap)
        for (int column = 0; column < ColumnCount; ++column)
            item->setForeground(column, palette().brush(QPalette::Disabled, QPalette::Text));
    return item;
}

void AccessibilityPanel::finished()
{
    const WcagReport &report = audit->wcagReport();
    int failures = 0;
    QVector<AuditGroupEntry> entries;
    for (const WcagFinding &finding : report.findings) {
        failures += finding.severity == WcagSeverity::Failure;
        entries << wcagGroupEntry(finding);
    }
    // A row per rule and criterion, what to fix; its findings, a widget in a state
    // each, under it.
    const QVector<AuditGroup> groups = auditGroups(entries);
    for (const AuditGroup &group : groups) {
        const WcagFinding &first = report.findings[group.members.first()];
        const WcagCriterion &criterion = wcagCriteria().at(first.criterion);
        const QString criterionText = QStringLiteral("%1 %2").arg(QLatin1String(criterion.number),
                                                                  QLatin1String(criterion.name));
        QStringList states;
        for (int index : group.members)
            if (!states.contains(entries[index].state))
                states << entries[index].state;
        const QStringList measures = auditGroupMeasures(entries, group);
        QString value = measures.first();
        if (measures.size() > 1)
            value += tr(" (and %n other measures)", nullptr, int(measures.size() - 1));
        const QString rule =
            first.place.rule.isEmpty() ? tr("palette / no rule") : ruleText(first.place);
        QTreeWidgetItem *item =
            addRow(nullptr,
                   {criterionText, QLatin1String(criterion.level), wcagSeverityName(first.severity),
                    tr("%n widgets", nullptr, auditGroupWidgetCount(entries, group)),
                    states.join(QStringLiteral(", ")), value, rule},
                   first.place, false);
        item->setToolTip(WidgetColumn, auditGroupWidgets(entries, group));
        item->setToolTip(ValueColumn, measures.join(QLatin1Char('\n')));
        item->setToolTip(RuleColumn,
                         tr("Fix: %1").arg(auditGroupFix(entries[group.members.first()])));
        for (int index : group.members) {
            const WcagFinding &finding = report.findings[index];
            addRow(item,
                   {criterionText, QLatin1String(criterion.level),
                    wcagSeverityName(finding.severity),
                    finding.tab + QLatin1Char('/') + finding.object, auditStateName(finding.state),
                    finding.part + QStringLiteral(": ") + finding.figures, ruleText(finding.place)},
                   finding.place, false);
        }
    }
    for (const AuditGap &gap : report.gaps)
        addRow(nullptr,
               {QString(), QString(), tr("not audited"), gap.tab + QLatin1Char('/') + gap.object,
                auditStateName(gap.state), gap.part + QStringLiteral(": ") + gap.reason, QString()},
               RulePlace(), true);
    for (int column = 0; column < RuleColumn; ++column)
        findingsTree->resizeColumnToContents(column);
    checkButton->setText(tr("Check accessibility"));
    if (!report.unaudited.isEmpty())
        statusLabel->setText(tr("Nothing audited: not one visible, enabled widget to audit in "
                                "what is shown."));
    else
        statusLabel->setText(tr("%1 failures, %2 advice in %3 groups, %4 not audited.")
                                 .arg(failures)
                                 .arg(report.findings.size() - failures)
                                 .arg(groups.size())
                                 .arg(report.gaps.size()));
    emit checkFinished();
}

void AccessibilityPanel::markStale()
{
    if (!isChecking() && findingsTree->topLevelItemCount() > 0)
        statusLabel->setText(tr("The sheet changed since this check; check again for its "
                                "findings."));
}

QString AccessibilityPanel::status() const
{
    return statusLabel->text();
}

namespace {

QString cellsOf(const QTreeWidgetItem *item)
{
    QStringList cells;
    for (int column = 0; column < ColumnCount; ++column)
        cells << item->text(column);
    return cells.join(QLatin1Char('\t'));
}

} // namespace

QStringList AccessibilityPanel::rowTexts() const
{
    QStringList rows;
    for (int index = 0; index < findingsTree->topLevelItemCount(); ++index) {
        const QTreeWidgetItem *item = findingsTree->topLevelItem(index);
        if (item->childCount() == 0)
            rows << cellsOf(item);
        for (int child = 0; child < item->childCount(); ++child)
            rows << cellsOf(item->child(child));
    }
    return rows;
}

QStringList AccessibilityPanel::groupTexts() const
{
    QStringList rows;
    for (int index = 0; index < findingsTree->topLevelItemCount(); ++index)
        if (findingsTree->topLevelItem(index)->childCount() > 0)
            rows << cellsOf(findingsTree->topLevelItem(index));
    return rows;
}
