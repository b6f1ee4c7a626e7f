// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/renderpass.h"

#include "prismark-shot/imagewriter.h"
#include "prismark-shot/shotconsole.h"
#include "prismark-shot/shotoptions.h"
#include "prismark-shot/shotrenderer.h"
#include "prismark-shot/shotsubjects.h"

RenderPass::RenderPass(const ShotOptions &options, const ShotSubjects &subjects,
                       ImageWriter &writer, BaselineComparison *comparison)
    : options(options)
    , subjects(subjects)
    , writer(writer)
    , comparison(comparison)
    , out(options.outPath)
{}

void RenderPass::renderAll(ShotRenderer &renderer)
{
    const int perTheme =
        int(subjects.tabs.size() * options.baseStyles.size() * options.directions.size() *
            options.scales.size() * (options.disabledToo ? 2 : 1));
    renderedImages.resize(subjects.themes.size() * perTheme);
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
    const int cellsPerSection = int(subjects.tabs.size()) * (options.disabledToo ? 2 : 1);
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
    writer.submit([this, path, pixels, image, cell] {
        writer.writeImage(path, pixels);
        if (comparison)
            comparison->compare(image, pixels);
        if (cell)
            cell->image =
                pixels.scaledToWidth(kContactSheetThumbnailWidth, Qt::SmoothTransformation);
    });
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
    for (const QString &baseStyle : options.baseStyles) {
        for (Qt::LayoutDirection direction : options.directions) {
            renderer.applyTheme(theme, subjects.sheetTexts[themeIndex], baseStyle, direction);
            for (int scaleIndex = 0; scaleIndex < options.scales.size(); ++scaleIndex, ++section) {
                // Pixmaps made at another scale would be reused, scaled, where a run
                // of this scale alone draws them afresh.
                if (scaleIndex > 0)
                    renderer.clearCaches();
                ContactSheetCell *cell = section->cells.data();
                for (const TabChoice &choice : subjects.tabs) {
                    for (bool disabled : {false, true}) {
                        if (disabled && !options.disabledToo)
                            continue;
                        renderImage(renderer, theme, choice,
                                    {baseStyle, direction, disabled, options.scales[scaleIndex]},
                                    options.contactSheet ? cell++ : nullptr, image++, progress);
                    }
                }
            }
        }
    }
    if (!options.contactSheet)
        return;
    // The thumbnails must all be there before the sheet is made of them.
    writer.waitForDone();
    const QVector<ContactSheetSection> done(sections.begin(), sections.end());
    const QString path = out.filePath(theme.folder + QStringLiteral(".png"));
    const QString title = theme.displayName;
    writer.submit(
        [this, path, title, done] { writer.writeImage(path, makeContactSheet(title, done)); });
}

bool RenderPass::writeContactSheetIndex()
{
    QVector<ContactSheetEntry> entries;
    for (const ShotTheme &theme : subjects.themes)
        entries << ContactSheetEntry{theme.displayName, theme.folder + QStringLiteral(".png")};
    return writer.writePage(out.filePath(QStringLiteral("index.html")),
                            contactSheetIndexHtml(entries));
}
