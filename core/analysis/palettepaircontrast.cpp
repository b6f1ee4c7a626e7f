// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/palettepaircontrast.h"

#include "analysis/checkreporter.h"
#include "analysis/contrastcascade.h"
#include "analysis/contrastratio.h"

void checkPalettePairs(const SheetModel &context, CheckReporter &report)
{
    const double textMinimum = context.options.textContrast;
    // Disabled text is exempt in WCAG; it is held to the outline's ratio to stay legible.
    const double disabledMinimum = context.options.outlineContrast;
    struct Pair
    {
        QPalette::ColorRole foreground;
        QPalette::ColorGroup group;
        QPalette::ColorRole background;
        const char *backgroundName;
        double minimum;
    };
    const Pair pairs[] = {
        {QPalette::WindowText, QPalette::All, QPalette::Window, "Window", textMinimum},
        {QPalette::Text, QPalette::All, QPalette::Base, "Base", textMinimum},
        {QPalette::ButtonText, QPalette::All, QPalette::Button, "Button", textMinimum},
        {QPalette::HighlightedText, QPalette::All, QPalette::Highlight, "Highlight", textMinimum},
        {QPalette::Text, QPalette::Disabled, QPalette::Base, "Base", disabledMinimum},
        {QPalette::ButtonText, QPalette::Disabled, QPalette::Button, "Button", disabledMinimum},
    };
    for (const Pair &pair : pairs) {
        const PaletteLine *foreground = nullptr;
        for (const PaletteLine &directive : context.paletteLines) {
            if (directive.matched && directive.known && directive.role == pair.foreground &&
                directive.group == pair.group)
                foreground = &directive;
        }
        const QColor background = context.paletteColor(pair.background, pair.group);
        if (!foreground || !background.isValid())
            continue;
        const QColor white(Qt::white);
        const QColor base = compositeOver(
            background, context.paletteColor(QPalette::Window).isValid()
                            ? compositeOver(context.paletteColor(QPalette::Window), white)
                            : white);
        const QColor text = compositeOver(foreground->color, base);
        const double ratio = contrastRatio(text, base);
        if (ratio < pair.minimum) {
            const QString foregroundWhat =
                QStringLiteral("%1 %2").arg(foreground->name, colourText(foreground->color));
            const QString backgroundWhat = QStringLiteral("%1 %2").arg(
                QLatin1String(pair.backgroundName), colourText(background));
            report.atLine(foreground->line, foreground->matchColumn, foreground->matchLength,
                          QStringLiteral("%1 on %2: contrast %3, below %4")
                              .arg(foregroundWhat, backgroundWhat, ratioText(ratio),
                                   ratioText(pair.minimum)));
            reportJudged(report,
                         judgedValues(placeOf(*foreground), foregroundWhat,
                                      paletteLinePlace(context, pair.background, pair.group),
                                      backgroundWhat));
        }
    }
}
