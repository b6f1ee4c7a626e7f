// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/stateaudit.h"

#include "audit/auditedwidgets.h"
#include "audit/auditrules.h"
#include "audit/fakepointer.h"
#include "audit/stateholders.h"
#include "audit/widgetstates.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

#include <optional>

StateAudit::StateAudit(QWidget *topLevel, AreaRender renderArea, qreal scale)
    : topLevel(topLevel)
    , renderArea(std::move(renderArea))
    , scale(scale)
{}

QVector<AuditFinding> StateAudit::auditPage(QWidget *page, const QString &theme,
                                            const QString &tabFile, const AuditRules *rules,
                                            QVector<StateStrip> *strips)
{
    QVector<AuditFinding> findings;
    for (QWidget *widget : beginPage(page)) {
        StateStrip strip;
        findings += auditWidget(widget, theme, tabFile, rules, &strip);
        strips->append(strip);
    }
    return findings;
}

QVector<QWidget *> StateAudit::beginPage(QWidget *page)
{
    currentPage = page;
    const QVector<QWidget *> widgets = auditedWidgets(page, observer);
    if (observer)
        observer->beginTab(page, widgets);
    return widgets;
}

QVector<AuditFinding> StateAudit::auditWidget(QWidget *widget, const QString &theme,
                                              const QString &tabFile, const AuditRules *rules,
                                              StateStrip *strip)
{
    // Focus looks belong to the active window; keyboard focus marks them as wanted.
    const QuietActivation activation(topLevel,
                                     drive == AuditDrive::Quiet && !topLevel->isActiveWindow());
    // The widget that has the focus would look focused in every state.
    std::optional<QuietFocus> unfocused;
    if (drive == AuditDrive::Quiet)
        unfocused.emplace(nullptr);
    if (drive == AuditDrive::Input && !topLevel->isActiveWindow())
        QApplication::setActiveWindow(topLevel);
    QVector<AuditFinding> findings;
    const QString name = auditedWidgetName(widget, currentPage);
    {
        CheckHold hold(widget);
        const auto report = [&](AuditState state, AuditCheckIndex check, const QString &figures) {
            AuditFinding found;
            found.theme = theme;
            found.tab = tabFile;
            found.object = name;
            found.state = state;
            found.check = check;
            found.figures = figures;
            if (rules)
                rules->locate(widget, hold.checkable(), &found);
            findings << found;
        };
        const auto gap = [&](AuditState state, const QString &part, const QString &reason) {
            gaps.append({theme, tabFile, name, state, part, reason});
        };
        WidgetStates states(renderArea, topLevel, widget, scale, report, observer, drive, gap);
        if (!isInteractive(widget)) {
            states.still();
        } else if (drive == AuditDrive::Quiet) {
            states.quietPointerStates();
        } else {
            FakePointer pointer(topLevel);
            states.pointerStates(pointer);
        }
        if (widget->focusPolicy() & Qt::TabFocus)
            states.focus();
        states.disabled();
        if (hold.checkable())
            states.checked(hold);
        *strip = {name, states.strip()};
    }
    // The quiet drive leaves the application's own posted work to its event loop.
    if (drive == AuditDrive::Input)
        QCoreApplication::sendPostedEvents();
    return findings;
}

void StateAudit::setDrive(AuditDrive auditDrive)
{
    drive = auditDrive;
}

QVector<AuditGap> StateAudit::takeGaps()
{
    QVector<AuditGap> taken;
    taken.swap(gaps);
    return taken;
}

void StateAudit::setObserver(StateObserver *stateObserver)
{
    observer = stateObserver;
}

QImage renderWindowArea(QWidget *window, const QRect &area, qreal scale)
{
    QImage image(area.size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::black);
    QPainter painter(&image);
    // The area's corner lands at the target offset.
    window->render(&painter, QPoint(), QRegion(area),
                   QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.end();
    image.setDevicePixelRatio(1);
    return image;
}
