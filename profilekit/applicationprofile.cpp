// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "profilekit/applicationprofile.h"

#include "analysis/sheetmodel.h"
#include "profilekit/profilemeasurement.h"
#include "profilekit/profilestage.h"
#include "support/atomicwrite.h"
#include "support/attachprotocol.h"
#include "support/safefileread.h"
#include "widgetstyles/sheetstyle.h"

#include <QDir>

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
    ProfileStage stage(false);
    for (QWidget *window : windows)
        stage.addWindow(window);
    stage.settle();
    const ProfileMeasurement measurement = measureProfile(stage, model, settings);
    return writeFileAtomically(into.filePath(QLatin1String(Attach::profileMeasurementFile)),
                               measurementJson(measurement), error);
}
