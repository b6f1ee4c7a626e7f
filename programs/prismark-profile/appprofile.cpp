// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-profile/appprofile.h"

#include "analysis/matchwork.h"
#include "analysis/sheetmodel.h"
#include "attach/attachedreply.h"
#include "attach/attachlauncher.h"
#include "attach/attachprotocol.h"
#include "prismark-profile/profilecommand.h"
#include "profiling/profilemeasurement.h"
#include "support/atomicwrite.h"
#include "support/programsupport.h"
#include "support/safefileread.h"
#include "theme/stylesheetloader.h"
#include "widgetstyles/sheetstyle.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// How long a round of the attribution, or the passes before the first, may take
// before the application counts as hung: the plugin reports every round.
constexpr int kRoundGraceMs = 120000;
constexpr int kMostTitleCharacters = 60;

QProcessEnvironment profileEnvironment(const AppProfileRequest &request, const QString &folder)
{
    QProcessEnvironment extra;
    extra.insert(QLatin1String(Attach::profileFolderVariable), folder);
    extra.insert(QLatin1String(Attach::profileSettleVariable), QString::number(request.settleMs));
    extra.insert(QLatin1String(Attach::profileRoundsVariable), QString::number(request.rounds));
    return extra;
}

// Passes the Python agent runs and times in the application, asked for one at a time
// by prismark-profile's own attribution; the agent holds the application's event loop
// between them, as the plugin does while it measures.
class AgentPasses
{
public:
    AgentPasses(AttachLauncher &launcher, const QString &folder)
        : launcher(launcher)
        , folder(folder)
    {}

    // The main thread's milliseconds to apply sheet from the plain base style, or to
    // switch to it from another; 0 once the application no longer answers.
    double apply(const QString &sheet, const QString &switchFrom = QString())
    {
        QJsonObject fields{{QLatin1String(Attach::fileField), QStringLiteral("pass.qss")}};
        if (!switchFrom.isNull())
            fields.insert(QLatin1String(Attach::switchFromField), QStringLiteral("from.qss"));
        QString error;
        silent = silent ||
                 !writeFileAtomically(folder.filePath(QStringLiteral("pass.qss")), sheet.toUtf8(),
                                      &error) ||
                 (!switchFrom.isNull() &&
                  !writeFileAtomically(folder.filePath(QStringLiteral("from.qss")),
                                       switchFrom.toUtf8(), &error));
        if (silent)
            return 0;
        double milliseconds = -1;
        QEventLoop wait;
        QObject::connect(
            &launcher, &AttachLauncher::messageReceived, &wait,
            [&](const QString &kind, const QJsonObject &answer) {
                if (kind != QLatin1String(Attach::passedKind))
                    return;
                milliseconds = answer.value(QLatin1String(Attach::millisecondsField)).toDouble(-1);
                wait.quit();
            });
        QObject::connect(&launcher, &AttachLauncher::finished, &wait, &QEventLoop::quit);
        QTimer::singleShot(kRoundGraceMs, &wait, &QEventLoop::quit);
        if (launcher.send(QLatin1String(Attach::passKind), fields))
            wait.exec();
        silent = !(milliseconds >= 0);
        return silent ? 0 : milliseconds;
    }
    bool answered() const { return !silent; }

private:
    AttachLauncher &launcher;
    const QDir folder;
    bool silent = false;
};

// The profile of an application attached through the Python agent, once it has
// settled (ready, its message): measured as on prismark-profile's own stage, but for
// the heap and the matching work, which are counted inside the application only.
ProfileMeasurement measureThroughAgent(AttachLauncher &launcher, const QJsonObject &ready,
                                       const QString &sheetText, const QString &folder,
                                       const AppProfileRequest &request, bool *answered)
{
    const SheetModel model(sheetText.toUtf8(),
                           QDir(folder).filePath(QLatin1String(Attach::profileSheetFile)));
    const QVector<ProfileUnit> units = profileUnits(model);
    AttributionSettings settings;
    if (request.rounds > 0) {
        settings.maxRounds = request.rounds;
        settings.minRounds = qMin(settings.minRounds, settings.maxRounds);
    }
    AgentPasses passes(launcher, folder);
    ProfileMeasurement measurement;
    measurement.time = attributeTime(
        [&passes](const QString &sheet) { return passes.apply(sheet); }, model.text, units.size(),
        [&](const QVector<int> &leftOut) { return sheetWithoutUnits(model, units, leftOut); },
        settings);
    const QString light = loadThemeStyleSheet(Light);
    QVector<double> switches;
    for (int round = 0; round < qMin(kSwitchRounds, settings.maxRounds); ++round)
        switches << passes.apply(model.text, light);
    measurement.switchTime = spreadOf(switches);
    measurement.work = countMatchWork(model, {});
    measurement.workCounted = false;
    measurement.work.objects = ready.value(QLatin1String(Attach::widgetsField)).toInt();
    measurement.work.deepestTree = ready.value(QLatin1String(Attach::deepestField)).toInt();
    measurement.windows = ready.value(QLatin1String(Attach::windowsField)).toInt();
    *answered = passes.answered();
    return measurement;
}

// Whether the application took the sheet and showed a window, as an exit code.
int whatItSaid(const QJsonObject &fields, const AppProfileRequest &request)
{
    const QString problem = fields.value(QLatin1String(Attach::sheetProblemField)).toString();
    if (!fields.value(QLatin1String(Attach::sheetAppliedField)).toBool()) {
        printProgramError(QStringLiteral("the toolkit did not take the sheet in %1: %2")
                              .arg(request.program, problem));
        return ProfileInputError;
    }
    if (fields.value(QLatin1String(Attach::windowsField)).toInt() <= 0) {
        if (!problem.isEmpty())
            printProgramError(
                QStringLiteral("%1 could not be profiled: %2").arg(request.program, problem));
        else
            printProgramError(QStringLiteral("%1 showed no window within %2 s; give it longer with "
                                             "--settle")
                                  .arg(request.program)
                                  .arg(request.settleMs / 1000.0));
        return ProfileNotAttached;
    }
    return ProfileSuccess;
}

// What the plugin said it did, as an exit code; reads the measurement when there is one.
int takeMeasurement(const QJsonObject &fields, const QString &folder, int ruleCount, int unitCount,
                    const AppProfileRequest &request, ProfileMeasurement *measurement)
{
    if (const int said = whatItSaid(fields, request))
        return said;
    const QString path = QDir(folder).filePath(QLatin1String(Attach::profileMeasurementFile));
    const FileReadResult read = readRegularFile(path, maxAuthorSheetBytes);
    QString error = read.error;
    if (read.ok && readMeasurement(read.bytes, ruleCount, unitCount, measurement, &error))
        return ProfileSuccess;
    printProgramError(
        QStringLiteral("the measurement %1 sent cannot be read: %2").arg(request.program, error));
    return ProfileNotAttached;
}

} // namespace

QString applicationTitle(const AppProfileRequest &request)
{
    QString title = (QStringList{QFileInfo(request.program).fileName()} + request.arguments)
                        .join(QLatin1Char(' '));
    if (title.size() > kMostTitleCharacters)
        title = title.left(kMostTitleCharacters - 3) + QStringLiteral("...");
    return title;
}

int measureInApplication(const QString &sheetText, int ruleCount, int unitCount,
                         const AppProfileRequest &request, ProfileMeasurement *measurement)
{
    // The launcher's folder, never the application's: nothing is written beside it.
    QTemporaryDir scratch;
    const QString sheetPath = scratch.filePath(QLatin1String(Attach::profileSheetFile));
    QString writeError = scratch.errorString();
    if (!scratch.isValid() || !writeFileAtomically(sheetPath, sheetText.toUtf8(), &writeError)) {
        printProgramError(
            QStringLiteral("cannot write the sheet into a temporary folder (%1)").arg(writeError));
        return ProfileInputError;
    }
    AttachCommand command;
    command.sheet = sheetPath;
    command.program = request.program;
    command.arguments = request.arguments;
    command.colorScheme = request.colorScheme;
    AttachLauncher launcher(command, attachPluginFolder());
    launcher.setWay(request.way);
    // The way in and why, and nothing else.
    launcher.setHelloNote(QStringLiteral(""));
    launcher.setExtraEnvironment(profileEnvironment(request, scratch.path()));

    AwaitedReply awaited;
    awaited.doneKind = QLatin1String(Attach::profiledKind);
    awaited.progressKinds = QStringList{QLatin1String(Attach::profileRoundKind)};
    awaited.settleMs = request.settleMs;
    awaited.graceMs = kRoundGraceMs;
    awaited.program = request.program;
    awaited.overdue = QStringLiteral("sent no measurement for %1 s");
    awaited.unfinished = QStringLiteral("the profile was done");
    awaited.stopStatus = ProfileNotAttached;
    awaited.printError = printProgramError;
    // Through the Python agent, the attribution runs here once it has settled.
    awaited.readyKind = QLatin1String(Attach::profileReadyKind);
    bool answered = false;
    awaited.whenReady = [&](const QJsonObject &ready) {
        if (whatItSaid(ready, request) == ProfileSuccess)
            *measurement =
                measureThroughAgent(launcher, ready, sheetText, scratch.path(), request, &answered);
    };
    const AttachedReply reply = awaitReply(launcher, awaited);
    if (!reply.done)
        return ProfileNotAttached;
    if (!launcher.attachedThroughAgent())
        return takeMeasurement(reply.fields, scratch.path(), ruleCount, unitCount, request,
                               measurement);
    if (const int said = whatItSaid(reply.fields, request))
        return said;
    if (!answered)
        printProgramError(QStringLiteral("%1 stopped answering prismark-profile's passes (its agent "
                                  "ended or its event loop is blocked)")
                       .arg(request.program));
    return answered ? ProfileSuccess : ProfileNotAttached;
}
