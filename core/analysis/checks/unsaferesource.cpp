// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"

namespace {
// What a kind of non-regular file does to the toolkit.
QString consequence(const QString &kind)
{
    if (kind == QLatin1String("a FIFO"))
        return QStringLiteral("a FIFO, which blocks the toolkit");
    if (kind == QLatin1String("a device"))
        return QStringLiteral("a device, which never ends");
    return kind;
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
                target.offset, target.length,
                QStringLiteral("\"%1\" is %2").arg(target.url, consequence(target.nonRegularKind)));
        } else if (imageTooLarge(target.imageSize.width(), target.imageSize.height())) {
            report.at(target.offset, target.length,
                      QStringLiteral("\"%1\" declares %2 x %3 pixels: the toolkit decodes it "
                                     "whole (limit %4 megapixels)")
                          .arg(target.url)
                          .arg(target.imageSize.width())
                          .arg(target.imageSize.height())
                          .arg(kMaxImagePixels / 1000000));
        }
    }
}
} // namespace

const LintCheck kUnsafeResourceCheck = {
    "unsafe-resource",
    LintSeverity::Error,
    true,
    CheckFlag::RefusesInstall,
    "a `url()` naming a FIFO, device or directory, or an image of more than 64 megapixels",
    "The toolkit opens every image a sheet names and decodes it whole, on the thread that "
    "draws the window: a FIFO blocks it, a device never ends, and an image of more than 64 "
    "megapixels costs gigabytes. prismark-live refuses to install such a sheet. Name a "
    "regular image file of a sensible size.",
    "QLabel { image: url(/dev/zero); }",
    "QLabel { image: none; }",
    checkUnsafeResources,
    "\"base-dir\" is where relative urls resolve",
    nullptr,
};
