// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/attachedtools.h"

#include "attach/agentsheet.h"
#include "attach/attachlauncher.h"
#include "attach/attachprotocol.h"
#include "live/inspector/remoteinspector.h"
#include "live/inspector/rulesview.h"
#include "live/livewindowplacement.h"
#include "live/sheetdiagnosticswindow.h"
#include "support/atomicwrite.h"

#include <QDir>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QScreen>
#include <QTimer>

namespace {

QJsonArray rectArray(const QRect &rect)
{
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

} // namespace

AttachedTools::AttachedTools(AttachLauncher *launcher, AgentSheet *sheet, QObject *parent)
    : QObject(parent)
    , launcher(launcher)
    , diagnostics(new SheetDiagnosticsWindow(sheet->liveSheet(), nullptr))
    , remote(new RemoteInspector(
          sheet->liveSheet(), [sheet] { return sheet->installedText(); }, diagnostics))
    , testFolder(QString::fromLocal8Bit(qgetenv(Attach::testFolderVariable)))
    , testInspect(QString::fromLocal8Bit(qgetenv(Attach::testInspectVariable)))
{
    // The audit drives the widgets it audits, which are in the application.
    diagnostics->removeAccessibilityPage();
    connect(launcher, &AttachLauncher::messageReceived, this, &AttachedTools::hear);
    connect(remote, &RemoteInspector::treeWanted, this, [this](const QStringList &properties) {
        this->launcher->send(
            QLatin1String(Attach::treeRequestKind),
            {{QLatin1String(Attach::propertiesField), QJsonArray::fromStringList(properties)}});
    });
    connect(remote, &RemoteInspector::pickWanted, this,
            [this] { this->launcher->send(QLatin1String(Attach::pickKind), {}); });
    connect(remote, &RemoteInspector::highlightWanted, this, [this](const QVector<qint64> &ids) {
        QJsonArray list;
        for (qint64 id : ids)
            list.append(double(id));
        this->launcher->send(QLatin1String(Attach::highlightKind),
                             {{QLatin1String(Attach::idsField), list}});
    });
    if (!testFolder.isEmpty())
        connect(remote, &RemoteInspector::inspected, this, &AttachedTools::scheduleReport);
    // Shown once the application has said where its windows are.
    launcher->send(QLatin1String(Attach::treeRequestKind), {});
}

AttachedTools::~AttachedTools()
{
    delete diagnostics;
}

void AttachedTools::hear(const QString &kind, const QJsonObject &fields)
{
    if (kind == QLatin1String(Attach::treeKind)) {
        const WidgetTree tree = Attach::decodeWidgetTree(fields);
        remote->takeTree(tree);
        if (!placed)
            place(tree);
    } else if (kind == QLatin1String(Attach::pickedKind)) {
        remote->takePick(qint64(fields.value(QLatin1String(Attach::idField)).toDouble()));
    }
}

void AttachedTools::place(const WidgetTree &tree)
{
    placed = true;
    QRect windows;
    for (const WidgetNode &node : tree.nodes) {
        if (node.parent == 0 && node.visible)
            windows |= node.geometry;
    }
    if (!windows.isNull()) {
        const QScreen *screen = QGuiApplication::screenAt(windows.center());
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        if (screen) {
            const QRect frame = besideWindowsFrameRect(windows, diagnostics->frameGeometry().size(),
                                                       screen->availableGeometry());
            diagnostics->resize(diagnostics->width(), qMin(diagnostics->height(), frame.height()));
            diagnostics->move(frame.topLeft());
        }
    }
    applicationFrame = {{QStringLiteral("applicationFrame"), rectArray(windows)}};
    diagnostics->show();
    if (!testFolder.isEmpty()) {
        scheduleReport();
        if (!testInspect.isEmpty())
            remote->startPicking();
    }
}

void AttachedTools::scheduleReport()
{
    if (reportDue)
        return;
    reportDue = true;
    QTimer::singleShot(0, this, &AttachedTools::writeReport);
}

void AttachedTools::writeReport()
{
    reportDue = false;
    const QDir folder(testFolder);
    // Whole or not at all: the tests read these while the next report rewrites them.
    QSaveFile image(folder.filePath(QStringLiteral("tools.png")));
    if (image.open(QIODevice::WriteOnly) && diagnostics->grab().save(&image, "PNG"))
        image.commit();
    QJsonObject report = applicationFrame;
    report.insert(QStringLiteral("frame"), rectArray(diagnostics->frameGeometry()));
    if (remote->inspectedId() != 0) {
        report.insert(QStringLiteral("identity"), remote->rulesView()->identityText());
        report.insert(QStringLiteral("rows"),
                      QJsonArray::fromStringList(remote->rulesView()->rowTexts()));
    }
    QString error;
    writeFileAtomically(folder.filePath(QStringLiteral("tools.json")),
                        QJsonDocument(report).toJson(), &error);
}
