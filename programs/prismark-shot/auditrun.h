// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

class ImageWriter;
struct AuditReport;
struct WcagReport;
class ShotRenderer;
struct ShotOptions;
struct ShotSubjects;

// --audit: every widget of each theme's tabs rendered in its states, the strips
// written to DIR/<theme>/states/<tab>/, the findings printed in the format asked
// for. Returns the exit code.
int runStateAudit(ShotRenderer &renderer, const ShotOptions &options, const ShotSubjects &subjects,
                  ImageWriter &writer);

// --audit of SHEET -- PROGRAM: the application run once, its windows audited inside
// it with their widgets driven quietly, reported as for the gallery under
// DIR/<theme>/app/. Returns the exit code.
int runAppAudit(const ShotOptions &options);

// The --html pages, the files written and the findings printed in the format asked
// for, of a run or of merged parts; the exit code.
int reportAudit(const ShotOptions &options, const AuditReport &report, const WcagReport &wcagReport,
                ImageWriter &writer);
