// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/appwindowaudit.h"

#include "attach/windowshots.h"
#include "audit/auditresults.h"
#include "audit/auditrules.h"
#include "audit/steppedaudit.h"
#include "live/applicationsheet.h"
#include "widgetstyles/widgetstate.h"

#include <QApplication>
#include <QWidget>

bool auditApplicationWindows(const QString &folder, const QString &sheetPath, bool wcag,
                             QString *problem)
{
    const QList<QWidget *> windows = ApplicationSheet::topLevelWindows();
    QStringList names;
    for (const QWidget *window : windows)
        names << ApplicationSheet::windowName(window);
    const QStringList stems = windowFileStems(names);
    QVector<AuditedPage> pages;
    for (int index = 0; index < windows.size(); ++index)
        pages.append({windows[index], stems[index]});
    std::shared_ptr<const AuditRules> rules;
    if (!qApp->styleSheet().isEmpty())
        rules = std::make_shared<AuditRules>(qApp->styleSheet(), sheetPath, styleUnderSheet());
    SteppedAudit audit(pages, QString(), rules);
    audit.setDrive(AuditDrive::Quiet);
    audit.setWcag(wcag);
    audit.runToEnd();
    AuditResults results;
    results.states = audit.stateReport();
    results.wcag = audit.wcagReport();
    results.strips = audit.strips();
    return writeAuditResults(results, folder, problem);
}
