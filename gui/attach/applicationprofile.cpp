// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/applicationprofile.h"

#include "analysis/sheetmodel.h"
#include "attach/attachprotocol.h"
#include "profiling/profilemeasurement.h"
#include "profiling/profilestage.h"
#include "support/atomicwrite.h"
#include "support/safefileread.h"
#include "widgetstyles/sheetstyle.h"

#include <QDir>

#include <cstdio>

namespace {

QtMessageHandler applicationHandler = nullptr;

// A pass that changes a window's size hints asks the platform to follow, which the
// offscreen platform answers with a warning each time: the profile's doing, not the
// application's, and said once per pass it would bury everything else.
void quietSizeHintNotice(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg &&
        message == QLatin1String("This plugin does not support propagateSizeHints()"))
        return;
    if (applicationHandler)
        applicationHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

bool profileApplicationWindows(const QString &folder, const QList<QWidget *> &windows,
                               const AttributionSettings &settings, QString *error)
{
    const QDir into(folder);
    const QString sheetPath = into.filePath(QLatin1String(Attach::profileSheetFile));
    const FileReadResult read = readRegularFile(sheetPath, maxAuthorSheetBytes, true);
    if (!read.ok) {
        *error = read.error;
        return false;
    }
    const SheetModel model(read.bytes, sheetPath);
    applicationHandler = qInstallMessageHandler(quietSizeHintNotice);
    ProfileMeasurement measurement;
    {
        ProfileStage stage;
        for (QWidget *window : windows)
            stage.addWindow(window);
        stage.settle();
        measurement = measureProfile(stage, model, settings);
    }
    // The application's own handler back, as it was.
    qInstallMessageHandler(applicationHandler);
    return writeFileAtomically(into.filePath(QLatin1String(Attach::profileMeasurementFile)),
                               measurementJson(measurement), error);
}
