// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "audit/stateaudit.h"
#include "audit/wcagaudit.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QVector>

#include <memory>

class AuditRules;

// A shown page to audit (a gallery tab, an application's window) and the name its
// findings are filed under.
struct AuditedPage
{
    QPointer<QWidget> page;
    QString name;
};

// The state audit, and the WCAG audit over it, of pages already on screen, one
// widget per turn of the event loop so the program stays usable meanwhile; or all
// at once. A page or widget gone or hidden by its turn is passed over.
class SteppedAudit : public QObject
{
    Q_OBJECT
public:
    // rules may be null; findings are filed under theme.
    SteppedAudit(const QVector<AuditedPage> &pages, const QString &theme,
                 std::shared_ptr<const AuditRules> rules, QObject *parent = nullptr);
    ~SteppedAudit() override;

    void setDrive(AuditDrive drive);
    // Without the WCAG audit, the state audit's findings alone (the default is both).
    void setWcag(bool on);
    // Renders at this scale; 0 (the default) takes each window's own.
    void setScale(qreal scale);

    void start();
    void runToEnd();
    // Stops after the widget being audited; finished() follows.
    void cancel();
    bool isRunning() const { return running; }

    // Once finished: the WCAG report's gaps are the state report's and then those
    // of the texts it could not show; when not one widget was audited, both list
    // the theme as unaudited.
    const AuditReport &stateReport() const { return states; }
    const WcagReport &wcagReport() const { return wcag; }
    // Each page's strips, in page order, by the page's name.
    const QVector<QPair<QString, QVector<StateStrip>>> &strips() const { return pageStrips; }

signals:
    // Before each widget: the page's name and the widget's.
    void progressed(const QString &page, const QString &object);
    void finished();

private:
    bool step();
    bool enterNextPage();
    void finish();

    const QVector<AuditedPage> pages;
    const QString theme;
    const std::shared_ptr<const AuditRules> rules;
    AuditDrive drive = AuditDrive::Input;
    bool wcagOn = true;
    qreal scale = 0;
    WcagAudit wcagAudit;
    std::unique_ptr<StateAudit> stateAudit;
    int pageIndex = -1;
    QVector<QPointer<QWidget>> widgets;
    int widgetIndex = 0;
    // Widgets audited so far, of every page.
    int auditedCount = 0;
    AuditReport states;
    WcagReport wcag;
    QVector<QPair<QString, QVector<StateStrip>>> pageStrips;
    QTimer stepTimer;
    bool running = false;
};
