// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lint/gallerycontrast.h"

#include "shell/mainwindow.h"
#include "widgetstyles/widgetcontrasttree.h"

namespace {
class GalleryTree : public WidgetContrastTree
{
public:
    explicit GalleryTree(std::unique_ptr<MainWindow> window)
        : WidgetContrastTree(window.get())
        , window(std::move(window))
    {}

private:
    std::unique_ptr<MainWindow> window;
};
} // namespace

std::shared_ptr<const ContrastTree> galleryContrastTree()
{
    // The whole window, as prismark-live shows it: the title bar's texts are judged
    // too. No sheet is installed: the rules judged are the sheet's under analysis,
    // drawn over the style an author's sheet is drawn over.
    auto window = std::make_unique<MainWindow>();
    window->applyStyleSheet(QString(), QString());
    return std::make_shared<GalleryTree>(std::move(window));
}
