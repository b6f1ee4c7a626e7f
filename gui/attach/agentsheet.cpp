// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/agentsheet.h"

#include "attach/attachprotocol.h"
#include "support/atomicwrite.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

const char *outcomeName(LiveSheet::Outcome outcome)
{
    switch (outcome) {
    case LiveSheet::Outcome::Applied:
        return Attach::appliedOutcome;
    case LiveSheet::Outcome::Rejected:
        return Attach::rejectedOutcome;
    case LiveSheet::Outcome::Unreadable:
        return Attach::unreadableOutcome;
    case LiveSheet::Outcome::Missing:
        break;
    }
    return Attach::missingOutcome;
}

AgentSheet::AgentSheet(const QString &path, const QString &variant, Send send, QObject *parent)
    : QObject(parent)
    , send(std::move(send))
    , sheet(new LiveSheet(
          path, [this](const QString &text) { install(text); }, this))
{
    if (!variant.isEmpty() && sheet->isTemplate())
        sheet->setFirstVariant(variant);
    connect(sheet, &LiveSheet::updated, this, &AgentSheet::sendOutcome);
}

void AgentSheet::apply()
{
    sheet->apply();
}

void AgentSheet::install(const QString &text)
{
    // One file, replaced whole: the agent reads the newest checked text, never half.
    const QString path = QDir(folder.path()).filePath(QStringLiteral("checked.qss"));
    installed = text;
    QString error;
    if (folder.isValid() && writeFileAtomically(path, text.toUtf8(), &error))
        send(QLatin1String(Attach::agentSheetKind), {{QLatin1String(Attach::fileField), path}});
}

void AgentSheet::sendOutcome()
{
    const QString refusal =
        sheet->outcome() == LiveSheet::Outcome::Applied ? QString() : sheet->problem();
    if (sayRefusals && !refusal.isEmpty() && refusal != refusalSaid)
        std::fprintf(stderr, "%s: %s: %s The application keeps the last good sheet.\n",
                     qPrintable(QCoreApplication::applicationName()), qPrintable(sheet->fileName()),
                     qPrintable(refusal));
    refusalSaid = refusal;
    send(QLatin1String(Attach::outcomeKind),
         {{QLatin1String(Attach::outcomeField), QLatin1String(outcomeName(sheet->outcome()))},
          {QLatin1String(Attach::sheetProblemField), sheet->problem()}});
}
