// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QSet>
#include <QString>

class ImageWriter;
class ShotRenderer;
struct ShotOptions;
struct ShotSubjects;

// --audit: every widget of each theme's tabs rendered in its states, the strips
// written to DIR/<theme>/states/<tab>/, the findings printed in the format asked
// for. Returns the exit code.
int runStateAudit(ShotRenderer &renderer, const ShotOptions &options, const ShotSubjects &subjects,
                  ImageWriter &writer);

// A widget's strip file name in its tab's folder: the object name made safe for a
// file, and unique among the names taken.
QString stripFileName(const QString &object, QSet<QString> *taken);
