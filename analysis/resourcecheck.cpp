// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/lintcontext.h"

#include "theme/safefileread.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QUrl>

using namespace QCss;

namespace {
// The toolkit decodes an image whole; beyond this many pixels that costs gigabytes.
constexpr qint64 kMaxImagePixels = 64 * 1000 * 1000;

// What stands at path when it is not a regular file, with what that does to the
// toolkit, or "" when it is one or nothing is there.
QString nonRegularKind(const QString &path)
{
    const QString kind = nonRegularFileKind(path);
    if (kind == QLatin1String("a FIFO"))
        return QStringLiteral("a FIFO, which blocks the toolkit");
    if (kind == QLatin1String("a device"))
        return QStringLiteral("a device, which never ends");
    return kind;
}

int urlTokenOffset(const LintContext &context, const LintDeclaration &entry, int occurrence)
{
    const auto &symbols = context.parser.symbols;
    int seen = 0;
    for (int i = entry.firstSymbol; i < entry.endSymbol; ++i) {
        if (symbols.at(i).token == FUNCTION &&
            symbols.at(i).lexem().compare(QLatin1String("url("), Qt::CaseInsensitive) == 0 &&
            seen++ == occurrence)
            return context.symbolOffset(i);
    }
    return entry.valueOffset;
}

void checkUrl(LintContext &context, const QString &url, int offset)
{
    const QString missing = QStringLiteral("missing-resource");
    const QString unsafe = QStringLiteral("unsafe-resource");
    if (url.isEmpty() || url == QLatin1String("none"))
        return;
    if (url.startsWith(QLatin1String("qrc:")) || url.startsWith(QLatin1String("file:"))) {
        context.report(offset, LintSeverity::Warning, missing,
                       QStringLiteral("\"%1\": the toolkit reads plain paths here, not URLs; "
                                      "write \"%2\"")
                           .arg(url, url.startsWith(QLatin1String("qrc:"))
                                         ? url.mid(3)
                                         : QUrl(url).toLocalFile()));
        return;
    }
    const bool isResource = url.startsWith(QLatin1Char(':'));
    // A relative path resolves against the working directory of the program that
    // installs the sheet, not against the sheet's folder.
    QString resolved = url;
    if (!isResource && QFileInfo(url).isRelative())
        resolved =
            QDir(context.urlBase.isEmpty() ? QDir::currentPath() : context.urlBase).filePath(url);
    if (!isResource) {
        const QString kind = nonRegularKind(resolved);
        if (!kind.isEmpty()) {
            context.report(offset, LintSeverity::Error, unsafe,
                           QStringLiteral("\"%1\" is %2").arg(url, kind));
            return;
        }
    }
    if (!QFileInfo::exists(resolved)) {
        QString hint;
        const QFileInfo sheet(context.path);
        if (!isResource && QFileInfo(url).isRelative() && context.urlBase.isEmpty() &&
            context.path != QLatin1String("-") &&
            QFileInfo::exists(sheet.absoluteDir().filePath(url)))
            hint = QStringLiteral(" (it is beside the sheet, but the toolkit resolves relative "
                                  "paths against the working directory)");
        context.report(offset, LintSeverity::Warning, missing,
                       QStringLiteral("\"%1\" resolves to no file and no compiled-in "
                                      "resource%2")
                           .arg(url, hint));
        return;
    }
    QImageReader reader(resolved);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxImagePixels) {
        context.report(offset, LintSeverity::Error, unsafe,
                       QStringLiteral("\"%1\" declares %2 x %3 pixels: the toolkit decodes it "
                                      "whole (limit %4 megapixels)")
                           .arg(url)
                           .arg(size.width())
                           .arg(size.height())
                           .arg(kMaxImagePixels / 1000000));
    }
}
} // namespace

void checkResources(LintContext &context)
{
    for (const LintRule &rule : qAsConst(context.rules)) {
        for (const LintDeclaration &entry : rule.declarations) {
            int occurrence = 0;
            for (const Value &value : entry.declaration.d->values) {
                if (value.type != Value::Uri)
                    continue;
                checkUrl(context, value.variant.toString(),
                         urlTokenOffset(context, entry, occurrence++));
            }
        }
    }
}

void checkSheetReference(LintContext &context)
{
    // The toolkit reads an application style sheet that starts with "file:///" from
    // the file the rest of the text names, relative to the working directory.
    const QString name = context.text.mid(8);
    const QString kind = nonRegularKind(name);
    if (!kind.isEmpty()) {
        context.reportAt(1, 1, LintSeverity::Error, QStringLiteral("unsafe-resource"),
                         QStringLiteral("the toolkit reads the style sheet from \"%1\", which "
                                        "is %2")
                             .arg(name, kind));
        return;
    }
    const FileReadResult file = readRegularFile(name, kMaxSheetBytes);
    if (!file.ok) {
        context.reportAt(1, 1, LintSeverity::Warning, QStringLiteral("missing-resource"),
                         QStringLiteral("the toolkit reads the style sheet from \"%1\", which "
                                        "cannot be read (%2): no rule applies")
                             .arg(name, file.error));
        return;
    }
    QCss::Parser parser(QString::fromUtf8(file.bytes));
    QCss::StyleSheet sheet;
    context.syntaxAccepted = parser.parse(&sheet);
    if (!context.syntaxAccepted) {
        context.reportAt(1, 1, LintSeverity::Error, QStringLiteral("syntax"),
                         QStringLiteral("the toolkit reads the style sheet from \"%1\" and "
                                        "rejects it: check that file")
                             .arg(name));
    }
}
