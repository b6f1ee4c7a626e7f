// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checks/checks.h"
#include "analysis/lintconfig.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {
bool isUrlScheme(const QString &url)
{
    return url.startsWith(QLatin1String("qrc:")) || url.startsWith(QLatin1String("file:"));
}

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
            const auto listed = model.options.missingResourceFiles.constFind(target.resolved);
            if (!target.exists && listed != model.options.missingResourceFiles.constEnd()) {
                report.at(target.offset,
                          QStringLiteral("\"%1\" is listed at %2, but its file \"%3\" is "
                                         "missing: the toolkit has no such resource")
                              .arg(url, listed->first, listed->second));
            } else if (!target.exists) {
                report.at(target.offset,
                          QStringLiteral("\"%1\" is in none of the configured resource "
                                         "collections (.qrc)")
                              .arg(url));
            }
            continue;
        }
        if (isUrlScheme(url)) {
            report.at(target.offset, target.length,
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
        report.at(target.offset, target.length,
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
} // namespace

const LintCheck kMissingResourceCheck = {
    "missing-resource",
    LintSeverity::Warning,
    true,
    0,
    "a `url()` that is no file (relative paths resolve against the working directory, as "
    "the toolkit resolves them, or `base-dir`), or a `:/` path in none of the configured "
    "`.qrc` files (without any, one note counts them)",
    "An image the toolkit cannot find is left out without a word: the button has no arrow, "
    "the check box no tick. Relative paths resolve against the working directory of the "
    "application, not the sheet's directory (or against the configuration's `base-dir`), "
    "and `:/` paths against the compiled-in resources, which the configuration's "
    "`resources` lists; `file:` and `qrc:` URLs are not read at all.",
    "QLabel { image: url(no-such-picture.png); }",
    "QLabel { image: none; }",
    checkMissingResources,
    "\"resources\" lists the application's .qrc files, against which `:/` urls are checked; "
    "\"base-dir\" is where relative urls resolve",
    nullptr,
};
