// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "live/livesheet.h"
#include "support/anothercore.h"

#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QString>

#include <future>
#include <memory>

class ApplicationSheet;
class LiveInspector;
class QJsonArray;
class QSocketNotifier;
class QWidget;
class SheetDiagnosticsWindow;
class WidgetOutline;
class WidgetPicker;

// What the attach plugin is told by the environment prismark-live starts the
// application in (see attach/attachprotocol.h).
struct AttachSettings
{
    QString server;
    QString sheet;
    QString variant;
    QString testFolder;
    QString testInspect;
    // prismark-shot's request; no shot folder for prismark-live.
    QString shotFolder;
    int shotSettleMs = 0;
    QString shotStyle;
    Qt::LayoutDirection shotDirection = Qt::LeftToRight;
    // prismark-profile's request; no profile folder otherwise.
    QString profileFolder;
    int profileSettleMs = 0;
    int profileRounds = 0; // at most; 0 for the attribution's own default
    // The audit asked for with the shots (an Attach audit kind), or "".
    QString shotAudit;

    static AttachSettings fromEnvironment();
};

// prismark-live inside the author's application: says hello to prismark-live,
// installs and follows the author's sheet on the whole application, and opens the
// Sheet Diagnostics window and the inspector on the application's own windows.
// For prismark-shot it opens no tools but shows the application over the base style
// and in the direction asked for, and renders its windows once it has settled; for
// prismark-profile it opens none either, and measures the sheet on its windows once
// it has settled.
//
// Test hook: with a test folder, after every update of the sheet and every
// top-level window shown it writes each window's grab as <window name>.png and then
// report.json: "updates" (how many so far), "outcome", "problem", "diagnostics"
// ("LINE:COLUMN: message [check]"), "windows", "ownSheet" (the application's own
// sheet, replaced), "repaintMs" (from the last change on disk to its windows
// painted again), "repaintedNs" (the monotonic clock once they were) and, with a
// widget to inspect, "inspection" (its rules, winner
// first, as the Rules page lists them), and "highlighted", the object names of the
// widgets outlined at prismark-live's request.
//
// Whatever the tools, it answers prismark-live's requests of its widgets (see
// treeRequestKind in attachprotocol.h): describes them, outlines them, and picks one;
// with a widget to inspect, a pick clicks that widget itself.
class AttachedSession : public QObject
{
    Q_OBJECT
public:
    explicit AttachedSession(const AttachSettings &settings, QObject *parent = nullptr);
    ~AttachedSession() override;

    // Once the application object is complete: when the first of its widgets is
    // polished, so the author's sheet is in place before any is, or else once its
    // event loop runs. Runs once.
    void start();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void afterFirstPaint();
    void sayHello();
    void send(const char *kind, const QJsonObject &fields);
    void prepareForShots();
    void sendShots(const QJsonArray &windows);
    void startProfile();
    void profileWindows(const QList<QWidget *> &windows);
    void openTools();
    void closeTools();
    void scheduleReport();
    void writeReport();
    void repaintNow();
    QJsonObject inspection() const;
    void listen();
    void hear();
    void answer(const QString &kind, const QJsonObject &fields);
    void highlight(const QJsonArray &ids);
    void pick();
    QList<QWidget *> applicationWindows() const;

    const AttachSettings settings;
    int socket = -1;
    ApplicationSheet *applicationSheet = nullptr;
    // Read on another core from the plugin's creation on: the configuration, then the
    // check of the sheet, which the first read waits for.
    std::future<LintConfigResult> configAhead;
    std::shared_ptr<TaskOnAnotherCore<LiveSheet::CheckedAhead>> checkedAhead;
    QPointer<SheetDiagnosticsWindow> diagnostics;
    LiveInspector *inspector = nullptr;
    int updates = 0;
    double repaintMs = 0;
    qint64 repaintedNs = 0; // when, on the monotonic clock
    bool reportDue = false;
    bool started = false;
    bool toolsDue = false;
    QMetaObject::Connection idle;
    QSocketNotifier *requests = nullptr;
    QByteArray heard;
    // Made without a window, it becomes a child of the one it outlines, and goes with it.
    QPointer<WidgetOutline> requestedOutline;
    WidgetPicker *requestedPicker = nullptr;
    QStringList highlighted;
};
