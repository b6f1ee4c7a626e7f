// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-shot/baselinecomparison.h"
#include "prismark-shot/contactsheet.h"

#include <QDir>
#include <QVector>

#include <vector>

class ImageWriter;
class ShotProgress;
class ShotRenderer;
struct ShotOptions;
struct ShotSubjects;
struct ShotTheme;
struct TabChoice;

// Renders every theme, base style, direction, scale and tab a run asks for, hands
// each image to the writer (and to the comparison, when there is one) and, with
// --contact-sheet, lays each theme's images out on a sheet of its own.
class RenderPass
{
public:
    // comparison may be null.
    RenderPass(const ShotOptions &options, const ShotSubjects &subjects, ImageWriter &writer,
               BaselineComparison *comparison);

    // Returns once every image is written.
    void renderAll(ShotRenderer &renderer);
    // --merge: each theme's contact sheet made of the thumbnails the parts left
    // under DIR/.shard-thumbnails, as one run makes it of the renders.
    void writeContactSheetsFromFiles();
    // DIR/index.html, linking the contact sheets; false when it cannot be written.
    bool writeContactSheetIndex();
    const QVector<RenderedImage> &images() const { return renderedImages; }

private:
    int imagesPerCell() const;
    QString shardThumbnailPath(const QString &folder, const QString &fileName) const;
    std::vector<ContactSheetSection> emptySections() const;
    // Once every cell's thumbnail is in: the theme's contact sheet, written in turn.
    void submitContactSheet(const ShotTheme &theme,
                            const std::vector<ContactSheetSection> &sections);
    void renderTheme(ShotRenderer &renderer, int themeIndex, ShotProgress &progress,
                     RenderedImage *&image);
    void renderImage(ShotRenderer &renderer, const ShotTheme &theme, const TabChoice &choice,
                     const ShotCombination &combination, ContactSheetCell *cell,
                     RenderedImage *image, ShotProgress &progress);

    const ShotOptions &options;
    const ShotSubjects &subjects;
    ImageWriter &writer;
    BaselineComparison *const comparison;
    const QDir out;
    QVector<RenderedImage> renderedImages;
};
