// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "theme/schemepalette.h"

#include <QProxyStyle>
#include <QString>

// The largest sheet file of an author's own that a program installs this way; the
// toolkit's parse of anything near it already takes seconds.
constexpr qint64 maxAuthorSheetBytes = 16 * 1024 * 1024;

// A theme made from a style sheet text already read (an author's own file): Fusion
// (or another base style), the text's @palette header as the palette and the text as
// the application's style sheet. The text is read once by the caller, so palette and
// sheet always agree.
class SheetStyle : public QProxyStyle
{
public:
    // baseStyle: the style factory key of the style drawn under the sheet; scheme:
    // the desktop colour scheme whose palette the @palette header goes over.
    explicit SheetStyle(const QString &styleSheet,
                        const QString &baseStyle = QStringLiteral("Fusion"),
                        ColorScheme scheme = ColorScheme::Light);

    using QProxyStyle::polish;
    using QProxyStyle::unpolish;
    void polish(QPalette &palette) override;
    void polish(QApplication *application) override;
    void unpolish(QApplication *) override {}

private:
    const QString styleSheet;
    const ColorScheme scheme;
};
