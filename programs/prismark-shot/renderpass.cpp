// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/renderpass.h"

#include "prismark-shot/imagewriter.h"
#include "prismark-shot/shotconsole.h"
#include "prismark-shot/shotoptions.h"
#include "prismark-shot/shotrenderer.h"
#include "prismark-shot/shotshards.h"
#include "prismark-shot/shotsubjects.h"

RenderPass::RenderPass(const ShotOptions &options, const ShotSubjects &subjects,
                       ImageWriter &writer, BaselineComparison *comparison)
    : options(options)
    , subjects(subjects)
    , writer(writer)
    , comparison(comparison)
    , out(options.outPath)
{}

int RenderPass::imagesPerCell() const
{
    return int(subjects.tabs.size()) * (options.disabledToo ? 2 : 1);
}

void RenderPass::renderAll(ShotRenderer &renderer)
{
    int cells = 0;
    for (int cell = 0; cell < matrixCellCount(options, int(subjects.themes.size())); ++cell)
        cells += subjects.holds(cell) ? 1 : 0;
    renderedImages.resize(cells * imagesPerCell());
    RenderedImage *image = renderedImages.data();
    ShotProgress progress(options.quiet, int(renderedImages.size()));
    for (int themeIndex = 0; themeIndex < subjects.themes.size(); ++themeIndex)
        renderTheme(renderer, themeIndex, progress, image);
    writer.waitForDone();
    progress.finish();
}

// Sections per base style, direction and scale, their cells in tab order, each tab
// before its disabled render; the writers fill in the thumbnails.
std::vector<ContactSheetSection> RenderPass::emptySections() const
{
    const int cellsPerSection = imagesPerCell();
    std::vector<ContactSheetSection> sections;
    for (const QString &baseStyle : options.baseStyles)
        for (Qt::LayoutDirection direction : options.directions)
            for (qreal scale : options.scales)
                sections.push_back({combinationTitle({baseStyle, direction, false, scale}),
                                    QVector<ContactSheetCell>(cellsPerSection)});
    return sections;
}

// Renders one image now; a writer saves it, compares it and makes its thumbnail
// into cell, when there is one.
void RenderPass::renderImage(ShotRenderer &renderer, const ShotTheme &theme,
                             const TabChoice &choice, const ShotCombination &combination,
                             ContactSheetCell *cell, RenderedImage *image, ShotProgress &progress)
{
    const QString fileName = shotFileName(choice.file, combination);
    progress.step(theme.name + QLatin1Char('/') + fileName.chopped(int(qstrlen(".png"))));
    const QImage pixels = renderer.render(choice.tab, combination.disabled, combination.scale);
    image->folder = theme.folder;
    image->tab = choice.file;
    image->combination = combination;
    image->fileName = fileName;
    if (cell)
        cell->label =
            choice.label + (combination.disabled ? QStringLiteral(" (disabled)") : QString());
    const QString path = out.filePath(theme.folder + QLatin1Char('/') + fileName);
    // A part of a sharded run leaves its thumbnails to the merge: reading them is
    // far cheaper than reading the renders back.
    const QString thumbnailPath = options.contactSheet && options.shards > 0
                                      ? shardThumbnailPath(theme.folder, fileName)
                                      : QString();
    writer.submit([this, path, pixels, image, cell, thumbnailPath] {
        writer.writeImage(path, pixels);
        if (comparison)
            comparison->compare(image, pixels);
        if (!cell && thumbnailPath.isEmpty())
            return;
        const QImage thumbnail =
            pixels.scaledToWidth(kContactSheetThumbnailWidth, Qt::SmoothTransformation);
        if (cell)
            cell->image = thumbnail;
        else
            writer.writeImage(thumbnailPath, thumbnail);
    });
}

QString RenderPass::shardThumbnailPath(const QString &folder, const QString &fileName) const
{
    return out.filePath(QLatin1String(kShardThumbnailFolder) + QLatin1Char('/') + folder +
                        QLatin1Char('/') + fileName);
}

// Every base style and direction of one theme starts from a freshly installed
// style, and every further scale from emptied caches, so no image depends on what
// the run rendered before it.
void RenderPass::renderTheme(ShotRenderer &renderer, int themeIndex, ShotProgress &progress,
                             RenderedImage *&image)
{
    const ShotTheme &theme = subjects.themes[themeIndex];
    std::vector<ContactSheetSection> sections = emptySections();
    auto section = sections.begin();
    // A part of a sharded run makes no contact sheet: the merge makes it of all.
    const bool contactSheet = options.contactSheet && options.shards == 0;
    for (const QString &baseStyle : options.baseStyles) {
        for (Qt::LayoutDirection direction : options.directions) {
            bool applied = false;
            for (int scaleIndex = 0; scaleIndex < options.scales.size(); ++scaleIndex, ++section) {
                const ShotCombination combination{baseStyle, direction, false,
                                                  options.scales[scaleIndex]};
                const int matrixCell = matrixCellIndex(options, themeIndex, combination);
                if (!subjects.holds(matrixCell))
                    continue;
                // Pixmaps made at another scale would be reused, scaled, where a run
                // of this scale alone draws them afresh.
                if (applied)
                    renderer.clearCaches();
                else
                    renderer.applyTheme(theme, subjects.sheetTexts[themeIndex], baseStyle,
                                        direction);
                applied = true;
                ContactSheetCell *cell = section->cells.data();
                int place = 0;
                for (const TabChoice &choice : subjects.tabs) {
                    for (bool disabled : {false, true}) {
                        if (disabled && !options.disabledToo)
                            continue;
                        image->cell = matrixCell;
                        image->place = place++;
                        renderImage(renderer, theme, choice,
                                    {baseStyle, direction, disabled, options.scales[scaleIndex]},
                                    contactSheet ? cell++ : nullptr, image++, progress);
                    }
                }
            }
        }
    }
    if (!contactSheet)
        return;
    submitContactSheet(theme, sections);
}

void RenderPass::submitContactSheet(const ShotTheme &theme,
                                    const std::vector<ContactSheetSection> &sections)
{
    // The thumbnails must all be there before the sheet is made of them.
    writer.waitForDone();
    const QVector<ContactSheetSection> done(sections.begin(), sections.end());
    const QString path = out.filePath(theme.folder + QStringLiteral(".png"));
    const QString title = theme.displayName;
    writer.submit(
        [this, path, title, done] { writer.writeImage(path, makeContactSheet(title, done)); });
}

void RenderPass::writeContactSheetsFromFiles()
{
    for (const ShotTheme &theme : subjects.themes) {
        std::vector<ContactSheetSection> sections = emptySections();
        auto section = sections.begin();
        for (const QString &baseStyle : options.baseStyles)
            for (Qt::LayoutDirection direction : options.directions)
                for (qreal scale : options.scales) {
                    ContactSheetCell *cell = (section++)->cells.data();
                    for (const TabChoice &choice : subjects.tabs)
                        for (bool disabled : {false, true}) {
                            if (disabled && !options.disabledToo)
                                continue;
                            cell->label = choice.label +
                                          (disabled ? QStringLiteral(" (disabled)") : QString());
                            const QString path = shardThumbnailPath(
                                theme.folder,
                                shotFileName(choice.file, {baseStyle, direction, disabled, scale}));
                            writer.submit([path, cell] {
                                // As the part made it, pixel for pixel: the PNG keeps them
                                // all. The reader takes "@2x" in the name for a pixel ratio;
                                // the thumbnail has none.
                                cell->image = QImage(path).convertToFormat(QImage::Format_RGB32);
                                cell->image.setDevicePixelRatio(1);
                            });
                            ++cell;
                        }
                }
        submitContactSheet(theme, sections);
    }
    writer.waitForDone();
}

bool RenderPass::writeContactSheetIndex()
{
    QVector<ContactSheetEntry> entries;
    for (const ShotTheme &theme : subjects.themes)
        entries << ContactSheetEntry{theme.displayName, theme.folder + QStringLiteral(".png")};
    return writer.writePage(out.filePath(QStringLiteral("index.html")),
                            contactSheetIndexHtml(entries));
}
