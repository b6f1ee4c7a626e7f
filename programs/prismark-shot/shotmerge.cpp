// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/shotmerge.h"

#include "audit/auditresults.h"
#include "prismark-shot/auditrun.h"
#include "prismark-shot/baselinecomparison.h"
#include "prismark-shot/imagewriter.h"
#include "prismark-shot/renderpass.h"
#include "prismark-shot/shotoptions.h"
#include "prismark-shot/shotshards.h"
#include "prismark-shot/shotsubjects.h"
#include "support/programsupport.h"
#include "support/safefileread.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

#include <unistd.h>

namespace {

// Far beyond any manifest of a real matrix; a bigger file is no part of ours.
constexpr qint64 kMaxManifestBytes = 256 * 1024 * 1024;

struct Part
{
    QString folder;
    ShardManifest manifest;
};

// Every part read, of one matrix, each of its N parts once; else the message.
QString readParts(const QStringList &folders, QVector<Part> *parts)
{
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(QLatin1String(kShardManifestFile));
        const FileReadResult read = readRegularFile(path, kMaxManifestBytes);
        Part part{folder, {}};
        QString error;
        if (!read.ok)
            return QStringLiteral("%1 is no --shard part: cannot read %2: %3")
                .arg(folder, path, read.error);
        if (!readShardManifest(read.bytes, &part.manifest, &error))
            return QStringLiteral("%1 is no --shard part: %2: %3").arg(folder, path, error);
        parts->append(part);
    }
    const ShardManifest &first = parts->constFirst().manifest;
    QVector<QString> byNumber(first.shards);
    for (const Part &part : qAsConst(*parts)) {
        const ShardManifest &manifest = part.manifest;
        if (manifest.arguments != first.arguments || manifest.shards != first.shards ||
            manifest.cellCount != first.cellCount)
            return QStringLiteral("%1 and %2 are parts of different matrices:\n  %3 (%4 parts)\n  "
                                  "%5 (%6 parts)")
                .arg(parts->constFirst().folder, part.folder,
                     first.arguments.join(QLatin1Char(' ')), QString::number(first.shards),
                     manifest.arguments.join(QLatin1Char(' ')), QString::number(manifest.shards));
        QString &holder = byNumber[manifest.shard - 1];
        if (!holder.isEmpty())
            return QStringLiteral("%1 and %2 are both part %3/%4")
                .arg(holder, part.folder)
                .arg(manifest.shard)
                .arg(manifest.shards);
        holder = part.folder;
    }
    for (int number = 1; number <= first.shards; ++number)
        if (byNumber[number - 1].isEmpty())
            return QStringLiteral("part %1/%2 is missing").arg(number).arg(first.shards);
    return QString();
}

// Everything a part wrote but its manifest, its audit's hand-over and its own
// comparison page, which the merge writes afresh for the whole; its thumbnails only
// for the contact sheets, which are made of them.
bool copyPart(const QString &folder, const QDir &out, bool thumbnails, bool *failed)
{
    const QDir root(QFileInfo(folder).absoluteFilePath());
    QDirIterator it(root.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString relative = root.relativeFilePath(from);
        if (relative == QLatin1String(kShardManifestFile) ||
            relative.startsWith(QLatin1String(kShardAuditFolder) + QLatin1Char('/')) ||
            (relative.startsWith(QLatin1String(kShardThumbnailFolder) + QLatin1Char('/')) &&
             !thumbnails) ||
            relative == QLatin1String(kDiffFolder) + QStringLiteral("/index.html"))
            continue;
        const QString to = out.filePath(relative);
        QFile::remove(to);
        // A link where the file system allows one: nothing writes into a finished
        // image (every file is replaced whole), and copying was most of the merge.
        if (!QDir().mkpath(QFileInfo(to).path()) ||
            (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0 &&
             !QFile::copy(from, to))) {
            printProgramError(QStringLiteral("cannot write %1").arg(to));
            *failed = true;
            return false;
        }
    }
    return true;
}

// The audit's findings of every theme, in the order of the themes, from the part
// that audited it.
int mergeAudit(const ShotOptions &options, const QVector<Part> &parts,
               const QVector<ShotTheme> &themes, ImageWriter &writer)
{
    AuditResults all;
    for (int themeIndex = 0; themeIndex < themes.size(); ++themeIndex) {
        const auto holder = std::find_if(parts.cbegin(), parts.cend(), [&](const Part &part) {
            return part.manifest.cells.contains(themeIndex);
        });
        if (holder == parts.cend())
            continue;
        const QString &theme = themes[themeIndex].folder;
        AuditResults results;
        QString error;
        const QString folder =
            QDir(holder->folder)
                .filePath(QLatin1String(kShardAuditFolder) + QLatin1Char('/') + theme);
        if (!readAuditResultsFolder(folder, theme, &results, &error)) {
            printProgramError(QStringLiteral("%1: the audit's results of %2 cannot be read: %3")
                                  .arg(holder->folder, theme, error));
            return ShotUsageError;
        }
        all.addReports(results);
    }
    all.states.version = all.wcag.version = QCoreApplication::applicationVersion();
    return reportAudit(options, all.states, all.wcag, writer);
}

// The images in the order one run lists them, and the comparison's outcome.
int mergeImages(const ShotOptions &options, const QVector<Part> &parts,
                const ShotSubjects &subjects, ImageWriter &writer)
{
    QVector<RenderedImage> images, extras;
    for (const Part &part : parts) {
        images += part.manifest.images;
        extras += part.manifest.extras;
    }
    const auto inRunOrder = [](const RenderedImage &a, const RenderedImage &b) {
        return std::make_pair(a.cell, a.place) < std::make_pair(b.cell, b.place);
    };
    std::sort(images.begin(), images.end(), inRunOrder);
    std::sort(extras.begin(), extras.end(), inRunOrder);
    RenderPass pass(options, subjects, writer, nullptr);
    if (options.contactSheet) {
        pass.writeContactSheetsFromFiles();
        // One run leaves no thumbnails behind.
        QDir(QDir(options.outPath).filePath(QLatin1String(kShardThumbnailFolder)))
            .removeRecursively();
    }
    if (writer.printWriteErrors())
        return ShotInputOutputError;
    if (options.contactSheet && !pass.writeContactSheetIndex())
        return ShotInputOutputError;
    if (options.comparePath.isEmpty())
        return ShotSuccess;
    BaselineComparison comparison(options, subjects, writer);
    int code = comparison.report(images, extras);
    if (code != ShotInputOutputError && options.updateBaseline) {
        const int updated = comparison.updateBaseline(images);
        code = updated == ShotSuccess ? ShotSuccess : updated;
    }
    return code;
}

} // namespace

int runMerge(const ShotOptions &mergeOptions)
{
    QVector<Part> parts;
    const QString refused = readParts(mergeOptions.mergeParts, &parts);
    if (!refused.isEmpty()) {
        printProgramError(QStringLiteral("--merge: ") + refused);
        return ShotUsageError;
    }
    const QString outPath = QFileInfo(mergeOptions.mergeOut).absoluteFilePath();
    for (const Part &part : qAsConst(parts))
        if (QFileInfo(part.folder).absoluteFilePath() == outPath) {
            printProgramError(
                QStringLiteral("--merge: OUT is one of the parts, %1; merge into a folder of "
                               "its own")
                    .arg(part.folder));
            return ShotUsageError;
        }
    const ShardManifest &whole = parts.constFirst().manifest;
    const ParsedShotOptions parsed =
        parseShotOptions(QStringList{QCoreApplication::applicationName()} + whole.arguments);
    if (!parsed.runs()) {
        printProgramError(QStringLiteral("--merge: the parts' command line is refused: ") +
                          parsed.error);
        return ShotUsageError;
    }
    ShotOptions options = parsed.options;
    if (!mergeOptions.mergeHtmlPath.isEmpty() && !options.wcag) {
        printProgramError(QStringLiteral("--html writes --audit=wcag's pages; the parts are of "
                                         "no such audit"));
        return ShotUsageError;
    }
    options.htmlPath = mergeOptions.mergeHtmlPath;
    options.outPath = mergeOptions.mergeOut;
    options.quiet = mergeOptions.quiet;
    options.listFiles = false;
    ShotSubjects subjects;
    subjects.themes = whole.themes;
    subjects.tabs = whole.tabs;
    for (const TabChoice &tab : qAsConst(subjects.tabs))
        subjects.tabFiles << tab.file;
    const QDir out(options.outPath);
    bool failed = !QDir().mkpath(options.outPath);
    // The folders one run makes, written to or not.
    for (const ShotTheme &theme : qAsConst(subjects.themes)) {
        failed = failed || !out.mkpath(theme.folder);
        if (!options.comparePath.isEmpty())
            failed =
                failed || !out.mkpath(QLatin1String(kDiffFolder) + QLatin1Char('/') + theme.folder);
    }
    for (const Part &part : qAsConst(parts))
        if (!failed)
            copyPart(part.folder, out, options.contactSheet, &failed);
    if (failed) {
        printProgramError(
            QStringLiteral("cannot write to the output folder %1").arg(options.outPath));
        return ShotInputOutputError;
    }
    ImageWriter writer;
    int code = options.audit ? mergeAudit(options, parts, subjects.themes, writer)
                             : mergeImages(options, parts, subjects, writer);
    // As one run: a form that could not be shown, or a file a part could not write,
    // is an input or output error whatever else was found.
    for (const Part &part : qAsConst(parts))
        if (part.manifest.formFailed || part.manifest.exitCode == ShotInputOutputError)
            code = ShotInputOutputError;
    return code;
}
