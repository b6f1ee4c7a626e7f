// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/lintconfig.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {
// From "url(" to its ")", or to the end of the line when it is not closed there.
int urlLength(const SheetModel &model, int offset)
{
    const int close = model.text.indexOf(QLatin1Char(')'), offset);
    const int lineEnd = model.text.indexOf(QLatin1Char('\n'), offset);
    if (close >= 0 && (lineEnd < 0 || close < lineEnd))
        return close + 1 - offset;
    return (lineEnd < 0 ? int(model.text.size()) : lineEnd) - offset;
}

// The toolkit decodes an image whole; beyond this many pixels that costs gigabytes.
constexpr qint64 kMaxImagePixels = 64 * 1000 * 1000;

// What a kind of non-regular file does to the toolkit.
QString consequence(const QString &kind)
{
    if (kind == QLatin1String("a FIFO"))
        return QStringLiteral("a FIFO, which blocks the toolkit");
    if (kind == QLatin1String("a device"))
        return QStringLiteral("a device, which never ends");
    return kind;
}

bool isUrlScheme(const QString &url)
{
    return url.startsWith(QLatin1String("qrc:")) || url.startsWith(QLatin1String("file:"));
}

bool tooLarge(const ResourceTarget &target)
{
    return target.imageSize.isValid() &&
           qint64(target.imageSize.width()) * target.imageSize.height() > kMaxImagePixels;
}
} // namespace

void checkMissingResources(const SheetModel &model, CheckReporter &report)
{
    if (model.isReference) {
        const SheetReference &reference = model.reference;
        if (reference.nonRegularKind.isEmpty() && !reference.readable) {
            report.atLine(1, 1,
                          QStringLiteral("the toolkit reads the style sheet from \"%1\", which "
                                         "cannot be read (%2): no rule applies")
                              .arg(reference.name, reference.error));
        }
        return;
    }
    int unchecked = 0;
    int firstUnchecked = 0;
    for (const ResourceTarget &target : model.resources) {
        const QString &url = target.url;
        if (url.isEmpty() || url == QLatin1String("none"))
            continue;
        if (target.unchecked) {
            if (unchecked++ == 0)
                firstUnchecked = target.offset;
            continue;
        }
        if (target.isResource) {
            if (!target.exists) {
                report.at(target.offset,
                          QStringLiteral("\"%1\" is in none of the configured resource "
                                         "collections (.qrc)")
                              .arg(url));
            }
            continue;
        }
        if (isUrlScheme(url)) {
            report.at(target.offset, urlLength(model, target.offset),
                      QStringLiteral("\"%1\": the toolkit reads plain paths here, not URLs; "
                                     "write \"%2\"")
                          .arg(url, url.startsWith(QLatin1String("qrc:"))
                                        ? url.mid(3)
                                        : QUrl(url).toLocalFile()));
            continue;
        }
        if (!target.nonRegularKind.isEmpty() || target.exists)
            continue;
        QString hint;
        const QFileInfo sheet(model.path);
        if (QFileInfo(url).isRelative() && model.options.urlBase.isEmpty() &&
            model.path != QLatin1String("-") &&
            QFileInfo::exists(sheet.absoluteDir().filePath(url)))
            hint = QStringLiteral(" (it is beside the sheet, but the toolkit resolves relative "
                                  "paths against the working directory)");
        report.at(target.offset, urlLength(model, target.offset),
                  QStringLiteral("\"%1\" resolves to no file and no compiled-in resource%2")
                      .arg(url, hint));
    }
    if (unchecked > 0) {
        report.at(firstUnchecked, LintSeverity::Note,
                  QStringLiteral("%1 compiled-in resource %2 (\":/...\") %3 not checked: list "
                                 "the application's .qrc files under \"resources\" in %4")
                      .arg(unchecked)
                      .arg(unchecked == 1 ? QStringLiteral("path") : QStringLiteral("paths"),
                           unchecked == 1 ? QStringLiteral("was") : QStringLiteral("were"),
                           kLintConfigFileName));
    }
}

void checkUnsafeResources(const SheetModel &model, CheckReporter &report)
{
    if (model.isReference) {
        if (!model.reference.nonRegularKind.isEmpty()) {
            report.atLine(
                1, 1,
                QStringLiteral("the toolkit reads the style sheet from \"%1\", which "
                               "is %2")
                    .arg(model.reference.name, consequence(model.reference.nonRegularKind)));
        }
        return;
    }
    for (const ResourceTarget &target : model.resources) {
        if (!target.nonRegularKind.isEmpty()) {
            report.at(
                target.offset, urlLength(model, target.offset),
                QStringLiteral("\"%1\" is %2").arg(target.url, consequence(target.nonRegularKind)));
        } else if (tooLarge(target)) {
            report.at(target.offset, urlLength(model, target.offset),
                      QStringLiteral("\"%1\" declares %2 x %3 pixels: the toolkit decodes it "
                                     "whole (limit %4 megapixels)")
                          .arg(target.url)
                          .arg(target.imageSize.width())
                          .arg(target.imageSize.height())
                          .arg(kMaxImagePixels / 1000000));
        }
    }
}
