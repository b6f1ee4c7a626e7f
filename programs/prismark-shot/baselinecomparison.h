// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "audit/imagediff.h"
#include "prismark-shot/shotmatrix.h"

#include <QDir>
#include <QImage>
#include <QString>
#include <QVector>

class ImageWriter;
struct ShotOptions;
struct ShotSubjects;

// The folder under --out that holds the differences and their page.
constexpr char kDiffFolder[] = "diff";

// One image of the run as the comparison sees it: where it was written, and how it
// differs from the baseline's image of the same name.
struct RenderedImage
{
    QString folder;
    QString tab;
    ShotCombination combination;
    QString fileName;
    bool baselineMissing = false;
    ImageDiff diff;
    // Where one run lists it: its matrix cell and its place in the cell, or for a
    // baseline's extra image its theme and its place in the folder's listing.
    int cell = 0;
    int place = 0;
};

// --compare and --update-baseline: each image against the baseline's image of the
// same name, a table on standard output and a page of the differences, and the
// baseline brought up to date with this run's images.
class BaselineComparison
{
public:
    BaselineComparison(const ShotOptions &options, const ShotSubjects &subjects,
                       ImageWriter &writer);

    // On a writer's thread, once the image is written: measures it and writes what
    // differs to DIR/diff.
    void compare(RenderedImage *image, const QImage &pixels);
    // The baseline's images of the selected set (of the cells this part holds) that
    // the run did not render.
    QVector<RenderedImage> baselineExtras(const QVector<RenderedImage> &images) const;
    // The table and DIR/diff/index.html, the extras as not rendered; ShotDifferences
    // when any image fails.
    int report(const QVector<RenderedImage> &images, const QVector<RenderedImage> &extras);
    // The run's own images over the baseline's, and nothing else of the baseline.
    int updateBaseline(const QVector<RenderedImage> &images);

private:
    bool inSelectedSet(const ShotCombination &combination) const;
    QString relativeToDiffFolder(const RenderedImage &image) const;

    const ShotOptions &options;
    const ShotSubjects &subjects;
    ImageWriter &writer;
    const QDir baseline;
    const QDir out;
};
