// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/contactsheet.h"

#include <QFont>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int kColumns = 4;
constexpr int kThumbnailWidth = kContactSheetThumbnailWidth;
constexpr int kMargin = 16;
constexpr int kTitleHeight = 40;
constexpr int kLabelHeight = 24;
constexpr int kSectionHeight = 32;

const QColor kBackground(0xf2, 0xf2, 0xf2);
const QColor kInk(0x20, 0x20, 0x20);
const QColor kBorder(0xa0, 0xa0, 0xa0);

QFont sheetFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace

QImage makeContactSheet(const QString &title, const QVector<ContactSheetSection> &sections)
{
    int thumbnailHeight = 0;
    int widest = 1;
    QVector<QVector<QImage>> thumbnails;
    for (const ContactSheetSection &section : sections) {
        thumbnails.append(QVector<QImage>());
        for (const ContactSheetCell &cell : section.cells) {
            thumbnails.last() << cell.image.scaledToWidth(kThumbnailWidth,
                                                          Qt::SmoothTransformation);
            thumbnailHeight = std::max(thumbnailHeight, thumbnails.last().last().height());
        }
        widest = std::max(widest, int(section.cells.size()));
    }
    const bool titled = sections.size() > 1;
    const int columns = std::min(kColumns, widest);
    const int cellHeight = kLabelHeight + thumbnailHeight + kMargin;
    int height = kMargin + kTitleHeight;
    for (const ContactSheetSection &section : sections)
        height += (titled ? kSectionHeight : 0) +
                  (int(section.cells.size()) + kColumns - 1) / kColumns * cellHeight;
    QImage sheet(kMargin + columns * (kThumbnailWidth + kMargin), height, QImage::Format_RGB32);
    sheet.fill(kBackground);

    QPainter painter(&sheet);
    painter.setPen(kInk);
    painter.setFont(sheetFont(20, true));
    painter.drawText(QRect(kMargin, kMargin, sheet.width() - 2 * kMargin, kTitleHeight),
                     Qt::AlignLeft | Qt::AlignTop, title);
    int top = kMargin + kTitleHeight;
    for (int s = 0; s < int(sections.size()); ++s) {
        if (titled) {
            painter.setPen(kInk);
            painter.setFont(sheetFont(16, true));
            painter.drawText(QRect(kMargin, top, sheet.width() - 2 * kMargin, kSectionHeight),
                             Qt::AlignLeft | Qt::AlignVCenter, sections.at(s).title);
            top += kSectionHeight;
        }
        painter.setFont(sheetFont(14, false));
        const QVector<ContactSheetCell> &cells = sections.at(s).cells;
        for (int i = 0; i < int(cells.size()); ++i) {
            const int x = kMargin + (i % kColumns) * (kThumbnailWidth + kMargin);
            const int y = top + (i / kColumns) * cellHeight;
            painter.setPen(kInk);
            painter.drawText(QRect(x, y, kThumbnailWidth, kLabelHeight),
                             Qt::AlignLeft | Qt::AlignVCenter, cells.at(i).label);
            const QImage &thumbnail = thumbnails.at(s).at(i);
            painter.drawImage(x, y + kLabelHeight, thumbnail);
            painter.setPen(kBorder);
            painter.drawRect(
                QRect(x - 1, y + kLabelHeight - 1, thumbnail.width() + 1, thumbnail.height() + 1));
        }
        top += (int(cells.size()) + kColumns - 1) / kColumns * cellHeight;
    }
    return sheet;
}

QString contactSheetIndexHtml(const QVector<ContactSheetEntry> &entries)
{
    QString html = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n"
                                  "<meta charset=\"utf-8\">\n<title>Prismark themes</title>\n"
                                  "<style>body { font-family: sans-serif; background: #f2f2f2; }"
                                  " img { max-width: 100%; border: 1px solid #a0a0a0; }</style>\n"
                                  "</head>\n<body>\n<h1>Prismark themes</h1>\n");
    for (const ContactSheetEntry &entry : entries) {
        const QString title = entry.title.toHtmlEscaped();
        html += QStringLiteral("<section>\n<h2>%1</h2>\n<img src=\"%2\" alt=\"%1\">\n</section>\n")
                    .arg(title, entry.fileName.toHtmlEscaped());
    }
    html += QStringLiteral("</body>\n</html>\n");
    return html;
}
