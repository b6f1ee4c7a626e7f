// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/attachedsession.h"

#include "attach/agentsheet.h"
#include "attach/applicationprofile.h"
#include "attach/appwindowaudit.h"
#include "attach/attachprotocol.h"
#include "attach/settledwindows.h"
#include "attach/windowshots.h"
#include "live/applicationsheet.h"
#include "live/inspector/liveinspector.h"
#include "live/inspector/rulesview.h"
#include "live/inspector/widgetoutline.h"
#include "live/inspector/widgetpicker.h"
#include "live/inspector/widgettree.h"
#include "live/livesheet.h"
#include "live/sheetdiagnosticswindow.h"
#include "support/atomicwrite.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMouseEvent>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// How long the tools wait for the application's first window before opening anyway.
constexpr int noPaintWaitMs = 1000;

QString environment(const char *name)
{
    return QString::fromLocal8Bit(qgetenv(name));
}

} // namespace

AttachSettings AttachSettings::fromEnvironment()
{
    AttachSettings settings;
    settings.server = environment(Attach::serverVariable);
    settings.sheet = environment(Attach::sheetVariable);
    settings.variant = environment(Attach::variantVariable);
    settings.testFolder = environment(Attach::testFolderVariable);
    settings.testInspect = environment(Attach::testInspectVariable);
    settings.shotFolder = environment(Attach::shotFolderVariable);
    settings.shotSettleMs = environment(Attach::shotSettleVariable).toInt();
    settings.shotStyle = environment(Attach::shotStyleVariable);
    if (environment(Attach::shotDirectionVariable) == QLatin1String(Attach::rightToLeft))
        settings.shotDirection = Qt::RightToLeft;
    settings.profileFolder = environment(Attach::profileFolderVariable);
    settings.profileSettleMs = environment(Attach::profileSettleVariable).toInt();
    settings.profileRounds = environment(Attach::profileRoundsVariable).toInt();
    settings.shotAudit = environment(Attach::shotAuditVariable);
    return settings;
}

AttachedSession::AttachedSession(const AttachSettings &settings, QObject *parent)
    : QObject(parent)
    , settings(settings)
{
    // The tools are widgets: they go while the application object still stands.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &AttachedSession::closeTools);
    // Read and checked on another core while the application builds its first window,
    // so that start() only installs it.
    if (!settings.sheet.isEmpty()) {
        auto config = std::make_shared<std::promise<LintConfigResult>>();
        configAhead = config->get_future();
        checkedAhead = std::make_shared<TaskOnAnotherCore<LiveSheet::CheckedAhead>>(
            [path = settings.sheet, config] {
                const LintConfigResult read = LiveSheet::configurationOf(path);
                config->set_value(read);
                return LiveSheet::checkAheadOf(path, read.options);
            });
    }
    // A render's base style goes on before anything else, as the event loop starts.
    if (settings.shotFolder.isEmpty())
        QCoreApplication::instance()->installEventFilter(this);
}

bool AttachedSession::eventFilter(QObject *watched, QEvent *event)
{
    // Sent before the style polishes the widget: with the sheet installed now, no
    // widget of the application is ever polished twice for it.
    if (event->type() == QEvent::Polish) {
        QCoreApplication::instance()->removeEventFilter(this);
        start();
    }
    return QObject::eventFilter(watched, event);
}

AttachedSession::~AttachedSession()
{
    closeTools();
    if (socket >= 0)
        ::close(socket);
}

void AttachedSession::start()
{
    if (started)
        return;
    started = true;
    QCoreApplication::instance()->removeEventFilter(this);
    const bool shooting = !settings.shotFolder.isEmpty();
    const bool profiling = !settings.profileFolder.isEmpty();
    if (shooting || profiling) {
        if (shooting)
            prepareForShots();
        // Nothing fades in or blinks while the passes are timed.
        if (profiling)
            QApplication::setEffectEnabled(Qt::UI_General, false);
        sayHello();
    }
    // The configuration was read first and is there by now; the check's verdict is
    // waited for by the first read, once the watch is made and the file read.
    const LintConfigResult config =
        configAhead.valid() ? configAhead.get() : LiveSheet::configurationOf(settings.sheet);
    LiveSheet::PendingCheck pending;
    if (checkedAhead)
        pending = [task = std::move(checkedAhead)] { return task->take(); };
    applicationSheet = new ApplicationSheet(settings.sheet, config, std::move(pending), this);
    LiveSheet *sheet = applicationSheet->liveSheet();
    if (!settings.variant.isEmpty() && sheet->isTemplate())
        sheet->setFirstVariant(settings.variant);
    if (shooting) {
        sheet->apply();
        auto *shots = new WindowShots(applicationSheet, settings.shotFolder, this);
        connect(shots, &WindowShots::rendered, this, &AttachedSession::sendShots);
        shots->start(settings.shotSettleMs);
        return;
    }
    if (profiling) {
        sheet->apply();
        startProfile();
        return;
    }
    // The application's own windows are painted first; the tools and the sheet's
    // full analysis come after them.
    sheet->holdFullAnalysis();
    sheet->apply();
    connect(applicationSheet, &ApplicationSheet::firstPainted, this,
            &AttachedSession::afterFirstPaint);
    // An application that shows no window at start has none to wait for.
    QTimer::singleShot(noPaintWaitMs, this, &AttachedSession::afterFirstPaint);
    if (!settings.testFolder.isEmpty()) {
        connect(sheet, &LiveSheet::updated, this, &AttachedSession::scheduleReport);
        connect(applicationSheet, &ApplicationSheet::windowShown, this,
                &AttachedSession::scheduleReport);
        connect(applicationSheet, &ApplicationSheet::ownSheetReplaced, this,
                &AttachedSession::scheduleReport);
        connect(applicationSheet, &ApplicationSheet::installed, this, &AttachedSession::repaintNow);
        scheduleReport();
    }
}

void AttachedSession::afterFirstPaint()
{
    if (toolsDue)
        return;
    toolsDue = true;
    // Once the paint and what the application queued behind it are done, when its
    // event loop would wait. prismark-live's launcher waits for the hello to load the
    // rest of prismark-live, which would take the machine from the application.
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    idle = connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
        disconnect(idle);
        QTimer::singleShot(0, this, [this] {
            sayHello();
            listen();
            openTools();
            applicationSheet->liveSheet()->releaseFullAnalysis();
        });
    });
}

void AttachedSession::sayHello()
{
    socket = Attach::connectToServer(settings.server);
    send(Attach::helloKind, {{QStringLiteral("qt"), QString::fromLatin1(qVersion())},
                             {QStringLiteral("pid"), QCoreApplication::applicationPid()}});
}

void AttachedSession::listen()
{
    if (socket < 0)
        return;
    requests = new QSocketNotifier(socket, QSocketNotifier::Read, this);
    connect(requests, &QSocketNotifier::activated, this, &AttachedSession::hear);
}

void AttachedSession::hear()
{
    char chunk[64 * 1024];
    ssize_t read = 0;
    while ((read = ::recv(socket, chunk, sizeof chunk, MSG_DONTWAIT)) > 0)
        heard.append(chunk, int(read));
    if (read == 0 || (read < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
        // prismark-live has gone; the application runs on with the sheet it has.
        requests->setEnabled(false);
    }
    for (const Attach::Message &message : Attach::takeMessages(heard))
        answer(message.kind, message.fields);
}

QList<QWidget *> AttachedSession::applicationWindows() const
{
    return ApplicationSheet::topLevelWindows({diagnostics.data()});
}

void AttachedSession::answer(const QString &kind, const QJsonObject &fields)
{
    if (kind == QLatin1String(Attach::treeRequestKind)) {
        QStringList properties;
        for (const QJsonValue &name :
             fields.value(QLatin1String(Attach::propertiesField)).toArray())
            properties.append(name.toString());
        WidgetTree tree = describeWidgets(applicationWindows(), properties);
        // The outline is the session's, not the application's.
        tree.nodes.erase(std::remove_if(tree.nodes.begin(), tree.nodes.end(),
                                        [this](const WidgetNode &node) {
                                            return requestedOutline &&
                                                   node.id == widgetId(requestedOutline);
                                        }),
                         tree.nodes.end());
        send(Attach::treeKind, Attach::encodeWidgetTree(tree));
    } else if (kind == QLatin1String(Attach::highlightKind)) {
        highlight(fields.value(QLatin1String(Attach::idsField)).toArray());
    } else if (kind == QLatin1String(Attach::pickKind)) {
        pick();
    }
}

void AttachedSession::highlight(const QJsonArray &ids)
{
    if (!requestedOutline)
        requestedOutline = new WidgetOutline(nullptr);
    QVector<QWidget *> widgets;
    highlighted.clear();
    const QList<QWidget *> windows = applicationWindows();
    for (const QJsonValue &id : ids) {
        if (QWidget *widget = widgetOfId(windows, qint64(id.toDouble()))) {
            widgets.append(widget);
            highlighted.append(widget->objectName());
        }
    }
    requestedOutline->outline(widgets);
    if (!settings.testFolder.isEmpty())
        scheduleReport();
}

void AttachedSession::pick()
{
    if (requestedPicker && requestedPicker->isPicking())
        return;
    // A new one each time: the outline it draws on may have gone with its window.
    delete requestedPicker;
    if (!requestedOutline)
        requestedOutline = new WidgetOutline(nullptr);
    requestedPicker = new WidgetPicker(nullptr, requestedOutline, this);
    connect(requestedPicker, &WidgetPicker::picked, this, [this](QWidget *widget) {
        send(Attach::pickedKind, {{QLatin1String(Attach::idField), double(widgetId(widget))}});
    });
    connect(requestedPicker, &WidgetPicker::cancelled, this, [this] {
        send(Attach::pickedKind, {{QLatin1String(Attach::idField), 0}});
    });
    requestedPicker->setLeftOut({diagnostics.data()});
    requestedPicker->start();
    if (settings.testInspect.isEmpty())
        return;
    // The tests' click, on the widget named, through the window system's way in.
    for (QWidget *window : applicationWindows()) {
        QWidget *named = window->objectName() == settings.testInspect
                             ? window
                             : window->findChild<QWidget *>(settings.testInspect);
        if (!named || !window->windowHandle())
            continue;
        const QPoint middle = named->mapTo(window, named->rect().center());
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent click(type, middle, window->mapToGlobal(middle), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(window->windowHandle(), &click);
        }
        return;
    }
}

void AttachedSession::send(const char *kind, const QJsonObject &fields)
{
    if (socket >= 0 &&
        !Attach::sendMessage(socket, Attach::encodeMessage(QString::fromLatin1(kind), fields))) {
        ::close(socket);
        socket = -1;
    }
}

// Before the author's sheet goes on, so the application is polished once, over the
// base style and in the direction of the render. No caret blinks and nothing
// fades, so a render does not catch a moment of either.
void AttachedSession::prepareForShots()
{
    if (!settings.shotStyle.isEmpty()) {
        if (QStyle *style = QStyleFactory::create(settings.shotStyle))
            QApplication::setStyle(style);
    }
    QApplication::setLayoutDirection(settings.shotDirection);
    QApplication::setCursorFlashTime(0);
    QApplication::setEffectEnabled(Qt::UI_General, false);
}

void AttachedSession::sendShots(const QJsonArray &windows)
{
    const LiveSheet *sheet = applicationSheet->liveSheet();
    QJsonObject fields{
        {QLatin1String(Attach::windowsField), windows},
        {QLatin1String(Attach::sheetAppliedField), sheet->outcome() == LiveSheet::Outcome::Applied},
        {QLatin1String(Attach::sheetProblemField), sheet->problem()}};
    if (!settings.shotAudit.isEmpty()) {
        QString problem;
        const bool audited = auditApplicationWindows(
            settings.shotFolder, settings.sheet,
            settings.shotAudit == QLatin1String(Attach::wcagAuditKind), &problem);
        fields.insert(QLatin1String(Attach::auditedField), audited);
        fields.insert(QLatin1String(Attach::auditProblemField), problem);
    }
    send(Attach::shotKind, fields);
}

void AttachedSession::startProfile()
{
    auto *settled = new SettledWindows(applicationSheet, this);
    connect(settled, &SettledWindows::settled, this, [this, settled] {
        profileWindows(settled->windows());
        settled->deleteLater();
    });
    settled->start(settings.profileSettleMs);
}

// The event loop is held for the whole profile: the application's own timers and
// handlers wait, and only the passes' restyles and paints reach its widgets.
void AttachedSession::profileWindows(const QList<QWidget *> &windows)
{
    const LiveSheet *sheet = applicationSheet->liveSheet();
    const bool applied = sheet->outcome() == LiveSheet::Outcome::Applied;
    QString problem = sheet->problem();
    // It puts the author's sheet back whenever another is set: every pass sets one.
    delete applicationSheet;
    applicationSheet = nullptr;
    int measured = 0;
    if (applied && !windows.isEmpty()) {
        AttributionSettings attribution;
        if (settings.profileRounds > 0) {
            attribution.maxRounds = settings.profileRounds;
            attribution.minRounds = qMin(attribution.minRounds, attribution.maxRounds);
        }
        attribution.roundMeasured = [this](int rounds) {
            send(Attach::profileRoundKind, {{QLatin1String(Attach::roundsField), rounds}});
        };
        if (profileApplicationWindows(settings.profileFolder, windows, attribution, &problem))
            measured = windows.size();
    }
    send(Attach::profiledKind, {{QLatin1String(Attach::windowsField), measured},
                                {QLatin1String(Attach::sheetAppliedField), applied},
                                {QLatin1String(Attach::sheetProblemField), problem}});
}

void AttachedSession::openTools()
{
    diagnostics = new SheetDiagnosticsWindow(applicationSheet->liveSheet(), nullptr);
    // The author closing the application's last window ends it, as without the tools.
    diagnostics->setAttribute(Qt::WA_QuitOnClose, false);
    inspector = new LiveInspector(applicationSheet->liveSheet(), diagnostics);
    diagnostics->show();
}

void AttachedSession::closeTools()
{
    // The inspector goes with the window it lives in.
    inspector = nullptr;
    delete diagnostics;
    delete requestedOutline.data();
}

void AttachedSession::scheduleReport()
{
    ++updates;
    if (reportDue)
        return;
    reportDue = true;
    QTimer::singleShot(0, this, &AttachedSession::writeReport);
}

void AttachedSession::repaintNow()
{
    // Painted here and now, so the time is that of the install and its paint alone.
    QElapsedTimer took;
    took.start();
    for (QWidget *window : ApplicationSheet::topLevelWindows({diagnostics.data()}))
        window->repaint();
    repaintMs = took.nsecsElapsed() / 1e6;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    repaintedNs = now.tv_sec * 1000000000LL + now.tv_nsec;
}

QJsonObject AttachedSession::inspection() const
{
    if (!inspector)
        return {};
    QWidget *picked = nullptr;
    for (QWidget *window : ApplicationSheet::topLevelWindows({diagnostics.data()})) {
        picked = window->objectName() == settings.testInspect
                     ? window
                     : window->findChild<QWidget *>(settings.testInspect);
        if (picked)
            break;
    }
    if (!picked)
        return {};
    inspector->inspect(picked);
    return {
        {QStringLiteral("identity"), inspector->rulesView()->identityText()},
        {QStringLiteral("rows"), QJsonArray::fromStringList(inspector->rulesView()->rowTexts())}};
}

void AttachedSession::writeReport()
{
    reportDue = false;
    const QDir folder(settings.testFolder);
    QJsonArray windows;
    for (QWidget *window : ApplicationSheet::topLevelWindows({diagnostics.data()})) {
        const QString name = ApplicationSheet::windowName(window);
        // Whole or not at all: the tests read these while the next update rewrites them.
        QSaveFile image(folder.filePath(name + QStringLiteral(".png")));
        if (image.open(QIODevice::WriteOnly) && window->grab().save(&image, "PNG"))
            image.commit();
        windows.append(name);
    }
    const LiveSheet *sheet = applicationSheet->liveSheet();
    QJsonArray diagnosticLines;
    for (const LintDiagnostic &diagnostic : sheet->diagnostics())
        diagnosticLines.append(QStringLiteral("%1:%2: %3 [%4]")
                                   .arg(diagnostic.line)
                                   .arg(diagnostic.column)
                                   .arg(diagnostic.message, diagnostic.check));
    QJsonObject report{
        {QStringLiteral("updates"), updates},
        {QStringLiteral("outcome"), QString::fromLatin1(outcomeName(sheet->outcome()))},
        {QStringLiteral("problem"), sheet->problem()},
        {QStringLiteral("diagnostics"), diagnosticLines},
        {QStringLiteral("windows"), windows},
        {QStringLiteral("ownSheet"), applicationSheet->applicationsOwnSheet()},
        {QStringLiteral("repaintMs"), sheet->applyMilliseconds() + repaintMs},
        {QStringLiteral("repaintedNs"), double(repaintedNs)},
        {QStringLiteral("highlighted"), QJsonArray::fromStringList(highlighted)},
    };
    if (!settings.testInspect.isEmpty())
        report.insert(QStringLiteral("inspection"), inspection());
    QString error;
    writeFileAtomically(folder.filePath(QStringLiteral("report.json")),
                        QJsonDocument(report).toJson(), &error);
}
