// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/steppedaudit.h"

#include "audit/auditedwidgets.h"
#include "audit/auditrules.h"

#include <QCoreApplication>
#include <QWidget>

SteppedAudit::SteppedAudit(const QVector<AuditedPage> &pages, const QString &theme,
                           std::shared_ptr<const AuditRules> rules, QObject *parent)
    : QObject(parent)
    , pages(pages)
    , theme(theme)
    , rules(std::move(rules))
{
    states.version = wcag.version = QCoreApplication::applicationVersion();
    states.themeCount = 1;
    wcag.themes << theme;
    stepTimer.setSingleShot(true);
    connect(&stepTimer, &QTimer::timeout, this, [this] {
        if (step())
            stepTimer.start(0);
        else
            finish();
    });
}

SteppedAudit::~SteppedAudit() = default;

void SteppedAudit::setDrive(AuditDrive auditDrive)
{
    drive = auditDrive;
}

void SteppedAudit::setWcag(bool on)
{
    wcagOn = on;
}

void SteppedAudit::setScale(qreal renderScale)
{
    scale = renderScale;
}

void SteppedAudit::start()
{
    running = true;
    stepTimer.start(0);
}

void SteppedAudit::runToEnd()
{
    running = true;
    while (step()) {
    }
    finish();
}

void SteppedAudit::cancel()
{
    if (!running)
        return;
    stepTimer.stop();
    finish();
}

void SteppedAudit::finish()
{
    running = false;
    if (stateAudit) {
        states.gaps += stateAudit->takeGaps();
        stateAudit.reset();
    }
    wcag.findings += wcagAudit.takeFindings();
    // What the state audit left out, the WCAG audit could not measure either.
    wcag.gaps = states.gaps + wcagAudit.takeGaps();
    if (auditedCount == 0)
        states.unaudited = wcag.unaudited = QStringList{theme};
    emit finished();
}

// The next page still shown, its widgets listed; false when none is left.
bool SteppedAudit::enterNextPage()
{
    if (stateAudit)
        states.gaps += stateAudit->takeGaps();
    while (++pageIndex < pages.size()) {
        QWidget *page = pages[pageIndex].page;
        if (!page || !page->isVisible())
            continue;
        QWidget *window = page->window();
        const qreal pageScale = scale > 0 ? scale : window->devicePixelRatioF();
        stateAudit = std::make_unique<StateAudit>(
            window,
            [window](const QRect &area, qreal at) { return renderWindowArea(window, area, at); },
            pageScale);
        stateAudit->setDrive(drive);
        if (wcagOn)
            stateAudit->setObserver(&wcagAudit);
        wcagAudit.setTab(theme, pages[pageIndex].name, rules.get());
        widgets.clear();
        for (QWidget *widget : stateAudit->beginPage(page))
            widgets << widget;
        widgetIndex = 0;
        pageStrips.append({pages[pageIndex].name, {}});
        return true;
    }
    stateAudit.reset();
    return false;
}

bool SteppedAudit::step()
{
    while (!stateAudit || widgetIndex >= widgets.size()) {
        if (!enterNextPage())
            return false;
    }
    QWidget *widget = widgets[widgetIndex++];
    const AuditedPage &page = pages[pageIndex];
    if (!widget || !page.page || !widget->isVisible())
        return true;
    emit progressed(page.name, auditedWidgetName(widget, page.page));
    ++auditedCount;
    StateStrip strip;
    states.findings += stateAudit->auditWidget(widget, theme, page.name, rules.get(), &strip);
    pageStrips.last().second.append(strip);
    wcag.findings += wcagAudit.takeFindings();
    return true;
}
