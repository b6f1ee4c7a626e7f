// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/baselinecomparison.h"

#include "prismark-shot/diffreport.h"
#include "prismark-shot/imagewriter.h"
#include "prismark-shot/shotconsole.h"
#include "prismark-shot/shotnames.h"
#include "prismark-shot/shotoptions.h"
#include "prismark-shot/shotshards.h"
#include "prismark-shot/shotsubjects.h"
#include "support/programsupport.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include <algorithm>

namespace {

QString imagePath(const QDir &root, const RenderedImage &image)
{
    return root.filePath(image.folder + QLatin1Char('/') + image.fileName);
}

} // namespace

BaselineComparison::BaselineComparison(const ShotOptions &options, const ShotSubjects &subjects,
                                       ImageWriter &writer)
    : options(options)
    , subjects(subjects)
    , writer(writer)
    , baseline(options.comparePath)
    , out(options.outPath)
{}

void BaselineComparison::compare(RenderedImage *image, const QImage &pixels)
{
    const QImage before(imagePath(baseline, *image));
    if (before.isNull()) {
        image->baselineMissing = true;
        return;
    }
    image->diff = compareImages(pixels, before);
    const QString diffFile = out.filePath(
        QStringLiteral("%1/%2/%3").arg(QLatin1String(kDiffFolder), image->folder, image->fileName));
    if (image->diff.highlight.isNull()) {
        // A diff left by an earlier run would point at a difference that is gone.
        QFile::remove(diffFile);
        return;
    }
    writer.writeImage(diffFile, image->diff.highlight);
    image->diff.highlight = QImage();
}

// Like with like: a baseline image belongs to this run's set when its base style,
// direction and scale are among those asked for. Disabled renders always belong, so
// a run without --disabled notices a baseline that has them.
bool BaselineComparison::inSelectedSet(const ShotCombination &combination) const
{
    return options.baseStyles.contains(combination.baseStyle) &&
           options.directions.contains(combination.direction) &&
           std::any_of(options.scales.cbegin(), options.scales.cend(),
                       [&](qreal scale) { return qFuzzyCompare(scale, combination.scale); });
}

// Images of the selected set in the baseline's folders that this run did not write.
QVector<RenderedImage>
BaselineComparison::baselineExtras(const QVector<RenderedImage> &images) const
{
    QSet<QString> written;
    for (const RenderedImage &image : images)
        written.insert(image.folder + QLatin1Char('/') + image.fileName);
    QVector<RenderedImage> extras;
    for (int themeIndex = 0; themeIndex < subjects.themes.size(); ++themeIndex) {
        const ShotTheme &theme = subjects.themes[themeIndex];
        const QDir folder(baseline.filePath(theme.folder));
        const QStringList files =
            folder.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
        for (int place = 0; place < files.size(); ++place) {
            const QString &file = files[place];
            RenderedImage extra;
            if (!parseShotFileName(file, subjects.tabFiles, &extra.tab, &extra.combination) ||
                !inSelectedSet(extra.combination) ||
                !subjects.holds(matrixCellIndex(options, themeIndex, extra.combination)) ||
                written.contains(theme.folder + QLatin1Char('/') + file))
                continue;
            extra.folder = theme.folder;
            extra.fileName = file;
            extra.cell = themeIndex;
            extra.place = place;
            extras << extra;
        }
    }
    return extras;
}

QString BaselineComparison::relativeToDiffFolder(const RenderedImage &image) const
{
    const QDir diffFolder(out.filePath(QLatin1String(kDiffFolder)));
    return diffFolder.relativeFilePath(QFileInfo(imagePath(baseline, image)).absoluteFilePath());
}

int BaselineComparison::report(const QVector<RenderedImage> &images,
                               const QVector<RenderedImage> &extras)
{
    int failures = 0;
    QVector<DiffReportRow> rows;
    printShotLine(QStringLiteral("%1 %2 %3  %4")
                      .arg(QStringLiteral("theme"), -24)
                      .arg(QStringLiteral("image"), -24)
                      .arg(QStringLiteral("differing"), 20)
                      .arg(QStringLiteral("result")));
    const auto row = [&](const RenderedImage &image, const QString &share, bool failed,
                         bool rendered) {
        failures += failed ? 1 : 0;
        printShotLine(QStringLiteral("%1 %2 %3  %4")
                          .arg(image.folder, -24)
                          .arg(image.fileName, -24)
                          .arg(share, 20)
                          .arg(failed ? QStringLiteral("FAIL") : QStringLiteral("ok")));
        DiffReportRow line;
        line.theme = image.folder;
        line.tab = image.tab;
        line.combination = combinationTitle(image.combination);
        line.image = image.fileName;
        line.share = share;
        line.failed = failed;
        const bool missing = image.baselineMissing || !rendered;
        line.changed = missing || image.diff.sizeDiffers || image.diff.differingPixels > 0;
        line.percent = missing ? 100 : image.diff.differingPercent;
        if (!image.baselineMissing)
            line.baseline = relativeToDiffFolder(image);
        if (rendered)
            line.render = QStringLiteral("../%1/%2").arg(image.folder, image.fileName);
        if (rendered && image.diff.differingPixels > 0)
            line.difference = image.folder + QLatin1Char('/') + image.fileName;
        rows << line;
    };
    for (const RenderedImage &image : images) {
        if (image.baselineMissing)
            row(image, QStringLiteral("missing in baseline"), true, true);
        else if (image.diff.sizeDiffers)
            row(image, QStringLiteral("size differs"), true, true);
        else
            row(image, QStringLiteral("%1 %").arg(image.diff.differingPercent, 0, 'f', 3),
                image.diff.differingPercent > options.threshold, true);
    }
    for (const RenderedImage &extra : extras)
        row(extra, QStringLiteral("not rendered"), true, false);
    const QString summary = QStringLiteral("%1 of %2 images over the threshold of %3 % or missing")
                                .arg(failures)
                                .arg(images.size())
                                .arg(options.threshold);
    printShotLine(summary);
    const QString page = out.filePath(QLatin1String(kDiffFolder) + QStringLiteral("/index.html"));
    if (!writer.writePage(page, diffReportHtml(rows, summary)))
        return ShotInputOutputError;
    return failures ? ShotDifferences : ShotSuccess;
}

int BaselineComparison::updateBaseline(const QVector<RenderedImage> &images)
{
    int copied = 0;
    for (const RenderedImage &image : images) {
        const QString to = imagePath(baseline, image);
        QFile source(imagePath(out, image));
        QSaveFile target(to);
        if (!QDir().mkpath(QFileInfo(to).path()) || !source.open(QIODevice::ReadOnly) ||
            !target.open(QIODevice::WriteOnly) || target.write(source.readAll()) < 0 ||
            !target.commit()) {
            printProgramError(QStringLiteral("cannot update %1: %2").arg(to, target.errorString()));
            return ShotInputOutputError;
        }
        ++copied;
    }
    printShotLine(
        QStringLiteral("%1 baseline images updated in %2").arg(copied).arg(options.comparePath));
    return ShotSuccess;
}
