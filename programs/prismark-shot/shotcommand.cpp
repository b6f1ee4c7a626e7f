// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/shotcommand.h"

#include "prismark-shot/appshots.h"
#include "prismark-shot/auditrun.h"
#include "prismark-shot/baselinecomparison.h"
#include "prismark-shot/imagewriter.h"
#include "prismark-shot/renderpass.h"
#include "prismark-shot/shotconsole.h"
#include "prismark-shot/shotmerge.h"
#include "prismark-shot/shotrenderer.h"
#include "prismark-shot/shotshards.h"
#include "prismark-shot/shotsubjects.h"
#include "support/programsupport.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <memory>

namespace {

// Every theme's folder under --out, and its folder of differences when comparing.
int prepareFolders(const ShotOptions &options, const ShotSubjects &subjects)
{
    const QDir out(options.outPath);
    QStringList folders;
    for (const ShotTheme &theme : subjects.themes) {
        folders << out.filePath(theme.folder);
        if (!options.comparePath.isEmpty())
            folders << out.filePath(QLatin1String(kDiffFolder) + QLatin1Char('/') + theme.folder);
        if (options.contactSheet && options.shards > 0)
            folders << out.filePath(QLatin1String(kShardThumbnailFolder) + QLatin1Char('/') +
                                    theme.folder);
    }
    for (const QString &folder : qAsConst(folders)) {
        const QFileInfo info(folder);
        if (!QDir().mkpath(folder) || !info.isDir() || !info.isWritable()) {
            printProgramError(QStringLiteral("cannot write to the output folder %1").arg(folder));
            return ShotInputOutputError;
        }
    }
    return ShotSuccess;
}

// The images, their contact sheets and the comparison with a baseline.
int renderImages(ShotRenderer &renderer, const ShotOptions &options, const ShotSubjects &subjects,
                 ImageWriter &writer)
{
    std::unique_ptr<BaselineComparison> comparison;
    if (!options.comparePath.isEmpty())
        comparison = std::make_unique<BaselineComparison>(options, subjects, writer);
    RenderPass pass(options, subjects, writer, comparison.get());
    pass.renderAll(renderer);
    QVector<RenderedImage> extras;
    const auto finish = [&](int code) {
        if (options.shards > 0 &&
            !writeShardManifest(options, subjects, pass.images(), extras, code))
            return int(ShotInputOutputError);
        return code;
    };
    if (writer.printWriteErrors())
        return finish(ShotInputOutputError);
    const bool sharded = options.shards > 0;
    if (options.contactSheet && !sharded && !pass.writeContactSheetIndex())
        return finish(ShotInputOutputError);
    int code = ShotSuccess;
    if (comparison) {
        extras = comparison->baselineExtras(pass.images());
        code = comparison->report(pass.images(), extras);
        // Parts may share a baseline while others still compare with it: the merge
        // brings it up to date, once, with every part's images.
        if (code != ShotInputOutputError && options.updateBaseline && !sharded) {
            const int updated = comparison->updateBaseline(pass.images());
            code = updated == ShotSuccess ? ShotSuccess : updated;
        }
    }
    if (options.listFiles)
        writer.printWrittenFiles();
    return finish(code);
}

// From the options to the files written.
int run(const ShotOptions &options)
{
    ShotSubjects subjects;
    if (const int code = subjects.loadThemes(options))
        return code;
    if (const int code = subjects.checkForms(options.formPaths))
        return code;
    ShotRenderer renderer(options.windowSize);
    const QSize minimum = renderer.minimumSize();
    if (options.windowSize.width() < minimum.width() ||
        options.windowSize.height() < minimum.height()) {
        printProgramError(QStringLiteral("--size: the window is at least %1x%2")
                              .arg(minimum.width())
                              .arg(minimum.height()));
        return ShotUsageError;
    }
    if (const int code = subjects.chooseTabs(options.tabNames, renderer.tabTexts()))
        return code;
    subjects.addForms(renderer);
    if (const int code = prepareFolders(options, subjects))
        return code;
    if (options.shards > 0)
        subjects.heldCells = shardCells(options, subjects, options.shard, options.shards);
    ImageWriter writer;
    int code = options.audit ? runStateAudit(renderer, options, subjects, writer)
                             : renderImages(renderer, options, subjects, writer);
    code = subjects.formFailed && code != ShotInputOutputError ? ShotInputOutputError : code;
    if (options.audit && options.shards > 0 && !writeShardManifest(options, subjects, {}, {}, code))
        return ShotInputOutputError;
    return code;
}

} // namespace

int runShot(const QStringList &arguments)
{
    const ParsedShotOptions parsed = parseShotOptions(arguments);
    if (!parsed.answer.isEmpty()) {
        std::fputs(qUtf8Printable(parsed.answer), stdout);
        return ShotSuccess;
    }
    if (!parsed.runs()) {
        printProgramError(parsed.error);
        return parsed.exitCode;
    }
    if (!parsed.options.mergeOut.isEmpty())
        return runMerge(parsed.options);
    if (parsed.options.program.isEmpty())
        return run(parsed.options);
    return parsed.options.audit ? runAppAudit(parsed.options) : runAppShots(parsed.options);
}
