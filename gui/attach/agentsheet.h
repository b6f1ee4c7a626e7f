// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "live/livesheet.h"

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <functional>

// An outcome's name in messages and the tests' reports (see attach/attachprotocol.h).
const char *outcomeName(LiveSheet::Outcome outcome);

// The author's sheet for an application attached through the Python agent, kept in
// prismark's own process rather than the application's: a LiveSheet watches, checks
// and (a template) builds it here, and every text it would install is written to a
// file of prismark's and sent to the agent to put on. Every outcome is sent too, so
// that a first sheet the agent put on before the check comes off when it is refused.
class AgentSheet : public QObject
{
    Q_OBJECT
public:
    using Send = std::function<void(const QString &kind, const QJsonObject &fields)>;

    // The sheet at path (a template's variant, or its first for ""), sent through send.
    AgentSheet(const QString &path, const QString &variant, Send send, QObject *parent = nullptr);

    // Reads the sheet and sends it, or why it was not.
    void apply();
    // Says on standard error why a read was not put on (no window of prismark's shows it).
    void setSayRefusals(bool say) { sayRefusals = say; }
    LiveSheet *liveSheet() const { return sheet; }
    // The text last sent to the agent to put on.
    QString installedText() const { return installed; }

private:
    void install(const QString &text);
    void sendOutcome();

    Send send;
    bool sayRefusals = false;
    QString refusalSaid;
    QString installed;
    QTemporaryDir folder;
    LiveSheet *sheet;
};
