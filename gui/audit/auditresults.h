// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "audit/stateimages.h"
#include "audit/wcagcriteria.h"

#include <QByteArray>
#include <QImage>
#include <QPair>
#include <QString>
#include <QVector>

#include <functional>

// What an audit run inside an author's application hands prismark-shot: both
// reports and the strips, as one JSON document with the images in files beside it.
struct AuditResults
{
    AuditReport states;
    // Its gaps begin with the state report's, as SteppedAudit gives them.
    WcagReport wcag;
    // Each window's strips, by the window's name.
    QVector<QPair<QString, QVector<StateStrip>>> strips;

    // Adds another run's findings, gaps, themes and what it could not audit to both
    // reports (not its strips, which are written as they come).
    void addReports(const AuditResults &other);
};

// The document's file in the folder the application writes to.
constexpr char kAuditResultsFile[] = "audit.json";

// The document; each image is given a file name by store, which writes it and
// returns the name (empty when it could not be written: the image is left out).
QByteArray auditResultsJson(const AuditResults &results,
                            const std::function<QString(const QImage &)> &store);
// Reads a document as written above, from another process, with the project's
// JSON reader (a key given twice is refused): what is not a finding, a gap or a
// strip it knows is passed over, never half read; images come
// from load, given a name that is a plain file name of the folder, never a path.
// Every finding is filed under theme. Returns false (and the reason) when the text
// is no such document.
bool readAuditResults(const QByteArray &json, const QString &theme,
                      const std::function<QImage(const QString &)> &load, AuditResults *results,
                      QString *error);

// The same through a folder: the document and its images written into it, or read
// from it.
bool writeAuditResults(const AuditResults &results, const QString &folder, QString *error);
bool readAuditResultsFolder(const QString &folder, const QString &theme, AuditResults *results,
                            QString *error);
