// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// What a sheet's url()s and a "file:///" reference name on disk: looked at where
// they resolve, never opened beyond an image's header.

#include "analysis/sheetmodel.h"

#include "analysis/toolkitsheet.h"
#include "support/safefileread.h"
#include "support/sheetlexer.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

using namespace QCss;

namespace {
// The toolkit decodes an image whole; only its header is read here, for its size.
QSize declaredImageSize(const QString &path)
{
    QImageReader reader(path);
    return reader.size();
}
} // namespace

int SheetModel::urlLength(int offset) const
{
    // To the url()'s ")" (an escaped "url(" is a name and a "(", so to the first ")"),
    // but no further than its line.
    const int lineEnd = text.indexOf(QLatin1Char('\n'), offset);
    const int end = lineEnd < 0 ? int(text.size()) : lineEnd;
    for (SheetLexer lexer(text, LexMode::Sheet, offset); !lexer.atEnd();) {
        const SheetSpan span = lexer.next();
        if (span.start >= end)
            break;
        if (span.kind == SheetSpanKind::Url || isPunctuation(text, span, QLatin1Char(')')))
            return qMin(span.end(), end) - offset;
    }
    return end - offset;
}

void SheetModel::resolveResources()
{
    for (const SheetRule &rule : qAsConst(rules)) {
        for (const SheetDeclaration &entry : rule.declarations) {
            // The url() tokens of the value, in order, for the positions.
            QVector<int> urlOffsets;
            for (int i = entry.firstSymbol; i < entry.endSymbol; ++i) {
                const Symbol &symbol = toolkit->parser.symbols.at(i);
                if (symbol.token == FUNCTION &&
                    symbol.lexem().compare(QLatin1String("url("), Qt::CaseInsensitive) == 0)
                    urlOffsets.append(symbolOffset(i));
            }
            int occurrence = 0;
            for (const Value &value : entry.toolkit->d->values) {
                if (value.type != Value::Uri)
                    continue;
                ResourceTarget target;
                target.url = value.variant.toString();
                target.offset = urlOffsets.value(occurrence++, entry.valueOffset);
                target.length = urlLength(target.offset);
                const QString &url = target.url;
                if (url.isEmpty() || url == QLatin1String("none") ||
                    url.startsWith(QLatin1String("qrc:")) ||
                    url.startsWith(QLatin1String("file:"))) {
                    resources.append(target);
                    continue;
                }
                target.isResource = url.startsWith(QLatin1Char(':'));
                // A relative path resolves against the working directory of the program
                // that installs the sheet, not against the sheet's folder.
                if (target.isResource) {
                    // The application's resources, not this program's: looked up in its
                    // .qrc files when they are configured, else left unchecked.
                    target.resolved = QDir::cleanPath(url.mid(1).prepend(QLatin1Char('/')));
                    target.unchecked = !options.resourcesConfigured;
                    target.exists = options.resourcePaths.contains(target.resolved);
                    resources.append(target);
                    continue;
                }
                target.resolved = url;
                if (QFileInfo(url).isRelative())
                    target.resolved =
                        QDir(options.urlBase.isEmpty() ? QDir::currentPath() : options.urlBase)
                            .filePath(url);
                target.nonRegularKind = nonRegularFileKind(target.resolved);
                if (target.nonRegularKind.isEmpty()) {
                    const QFileInfo info(target.resolved);
                    target.exists = info.exists();
                    // An empty file has no header to read; some (/proc/kmsg) claim to
                    // be empty and block a reader.
                    if (target.exists && info.size() > 0)
                        target.imageSize = declaredImageSize(target.resolved);
                }
                resources.append(target);
            }
        }
    }
}

bool SheetModel::readsFiles() const
{
    // A ":/" resource is looked up in the configuration's .qrc lists, and an empty,
    // "none" or URL value is never resolved: only a path is looked for on disk.
    return isReference ||
           std::any_of(resources.cbegin(), resources.cend(), [](const ResourceTarget &target) {
               return !target.isResource && !target.resolved.isEmpty();
           });
}

void SheetModel::readReference()
{
    // The toolkit reads an application style sheet that starts with "file:///" from
    // the file the rest of the text names, relative to the working directory.
    reference.name = text.mid(8);
    reference.nonRegularKind = nonRegularFileKind(reference.name);
    if (!reference.nonRegularKind.isEmpty())
        return;
    const FileReadResult file = readRegularFile(reference.name, kMaxSheetBytes);
    reference.readable = file.ok;
    reference.error = file.error;
    if (!file.ok)
        return;
    QCss::Parser referenced(QString::fromUtf8(file.bytes));
    QCss::StyleSheet sheet;
    reference.accepted = referenced.parse(&sheet);
    syntaxAccepted = reference.accepted;
}
