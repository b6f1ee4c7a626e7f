// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-profile/appprofile.h"

#include "attach/attachedreply.h"
#include "attach/attachlauncher.h"
#include "attach/attachprotocol.h"
#include "prismark-profile/profilecommand.h"
#include "profiling/profilemeasurement.h"
#include "support/atomicwrite.h"
#include "support/programsupport.h"
#include "support/safefileread.h"
#include "widgetstyles/sheetstyle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

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

// What the plugin said it did, as an exit code; reads the measurement when there is one.
int takeMeasurement(const QJsonObject &fields, const QString &folder, int ruleCount, int unitCount,
                    const AppProfileRequest &request, ProfileMeasurement *measurement)
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
    launcher.setHelloNote(QString());
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
    const AttachedReply reply = awaitReply(launcher, awaited);
    if (!reply.done)
        return ProfileNotAttached;
    return takeMeasurement(reply.fields, scratch.path(), ruleCount, unitCount, request,
                           measurement);
}
