// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/protocol/protocol.h"

#include "prismark-lsp/protocol/checkpages.h"
#include "prismark-lsp/protocol/clientcapabilities.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace {
int lspSeverity(LintSeverity severity)
{
    switch (severity) {
    case LintSeverity::Error:
        return 1;
    case LintSeverity::Warning:
        return 2;
    case LintSeverity::Note:
        return 3;
    }
    return 1;
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_') ||
           c == QLatin1Char('.') || c == QLatin1Char('@') || c == QLatin1Char('#');
}

// For a finding whose check gave no extent: the word there, else one character.
int fallbackEnd(const QString &text, int start)
{
    int end = start;
    while (end < text.size() && isNameChar(text.at(end)))
        ++end;
    if (end == start && start < text.size() && text.at(start) != QLatin1Char('\n'))
        ++end;
    return end;
}

// A place in a file the server may not hold (a template's token file): its text is
// not at hand, so its columns are taken as they count, which is exact on the ASCII
// lines token files and templates are written in.
QJsonObject elsewhereLocation(const LintLocation &location)
{
    const auto position = [](int line, int column) {
        return QJsonObject{{QStringLiteral("line"), qMax(0, line - 1)},
                           {QStringLiteral("character"), qMax(0, column - 1)}};
    };
    return QJsonObject{
        {QStringLiteral("uri"), uriOfLocalPath(QFileInfo(location.file).absoluteFilePath())},
        {QStringLiteral("range"),
         QJsonObject{{QStringLiteral("start"), position(location.line, location.column)},
                     {QStringLiteral("end"), position(location.endLine, location.endColumn)}}}};
}

QJsonArray relatedJson(const TextDocument &document, const LintDiagnostic &diagnostic)
{
    QJsonArray related;
    for (const LintLocation &location : diagnostic.related) {
        QJsonObject where;
        if (location.file.isEmpty() ||
            QDir::cleanPath(QFileInfo(location.file).absoluteFilePath()) ==
                QDir::cleanPath(QFileInfo(document.path).absoluteFilePath())) {
            const int start = document.offsetOfLintPosition(location.line, location.column);
            const int end =
                qMax(start, document.offsetOfLintPosition(location.endLine, location.endColumn));
            where = QJsonObject{{QStringLiteral("uri"), document.uri},
                                {QStringLiteral("range"), document.range(start, end)}};
        } else {
            where = elsewhereLocation(location);
        }
        related.append(QJsonObject{
            {QStringLiteral("location"), where},
            {QStringLiteral("message"), location.message},
        });
    }
    return related;
}

int channel(const QJsonObject &colour, const char *name)
{
    return qBound(0, int(std::lround(colour.value(QLatin1String(name)).toDouble() * 255)), 255);
}
} // namespace

ClientCapabilities ClientCapabilities::fromInitialize(const QJsonObject &capabilities)
{
    const QJsonObject textDocument = capabilities.value(QLatin1String("textDocument")).toObject();
    ClientCapabilities client;
    client.snippets = textDocument.value(QLatin1String("completion"))
                          .toObject()
                          .value(QLatin1String("completionItem"))
                          .toObject()
                          .value(QLatin1String("snippetSupport"))
                          .toBool();
    const QJsonArray formats = textDocument.value(QLatin1String("hover"))
                                   .toObject()
                                   .value(QLatin1String("contentFormat"))
                                   .toArray();
    client.markdownHover = formats.contains(QStringLiteral("markdown"));
    client.hierarchicalSymbols = textDocument.value(QLatin1String("documentSymbol"))
                                     .toObject()
                                     .value(QLatin1String("hierarchicalDocumentSymbolSupport"))
                                     .toBool();
    return client;
}

QJsonObject responseMessage(const QJsonValue &id, const QJsonValue &result)
{
    return QJsonObject{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                       {QStringLiteral("id"), id},
                       {QStringLiteral("result"), result}};
}

QJsonObject errorMessage(const QJsonValue &id, int code, const QString &message)
{
    return QJsonObject{
        {QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
        {QStringLiteral("id"), id},
        {QStringLiteral("error"),
         QJsonObject{{QStringLiteral("code"), code}, {QStringLiteral("message"), message}}}};
}

QJsonObject notificationMessage(const QString &method, const QJsonObject &params)
{
    return QJsonObject{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                       {QStringLiteral("method"), method},
                       {QStringLiteral("params"), params}};
}

PublishedDiagnostic publishedDiagnostic(const TextDocument &document,
                                        const LintDiagnostic &diagnostic)
{
    PublishedDiagnostic result;
    result.lint = diagnostic;
    const QString &text = document.text();
    result.start = document.offsetOfLintPosition(diagnostic.line, diagnostic.column);
    result.end = diagnostic.endLine > 0
                     ? document.offsetOfLintPosition(diagnostic.endLine, diagnostic.endColumn)
                     : result.start;
    if (result.end <= result.start)
        result.end = fallbackEnd(text, result.start);
    if (result.end == result.start && result.start > 0) // at the end of a line or the text
        --result.start;
    for (const LintFix &fix : diagnostic.fixes) {
        const int start = document.offsetOfLintPosition(fix.line, fix.column);
        result.fixes.append({start,
                             qMax(start, document.offsetOfLintPosition(fix.endLine, fix.endColumn)),
                             fix.newText, fix.safe, fix.title});
    }
    result.json = QJsonObject{
        {QStringLiteral("range"), document.range(result.start, result.end)},
        {QStringLiteral("severity"), lspSeverity(diagnostic.severity)},
        {QStringLiteral("code"), diagnostic.check},
        {QStringLiteral("source"), QStringLiteral("prismark-lint")},
        {QStringLiteral("message"), diagnostic.message},
    };
    const QString page = checkPageUrl(diagnostic.check);
    if (!page.isEmpty())
        result.json.insert(QStringLiteral("codeDescription"),
                           QJsonObject{{QStringLiteral("href"), page}});
    const QJsonArray related = relatedJson(document, diagnostic);
    if (!related.isEmpty())
        result.json.insert(QStringLiteral("relatedInformation"), related);
    return result;
}

QJsonValue toJson(const TextDocument &document, const std::optional<HoverInfo> &hover)
{
    if (!hover)
        return QJsonValue::Null;
    return QJsonObject{
        {QStringLiteral("contents"),
         QJsonObject{{QStringLiteral("kind"),
                      hover->markdown ? QStringLiteral("markdown") : QStringLiteral("plaintext")},
                     {QStringLiteral("value"), hover->contents}}},
        {QStringLiteral("range"), document.range(hover->span.start, hover->span.end)},
    };
}

QJsonArray toJson(const TextDocument &document, const QVector<CompletionItem> &items)
{
    QJsonArray result;
    for (const CompletionItem &item : items) {
        QJsonObject json{
            {QStringLiteral("label"), item.label},
            {QStringLiteral("kind"), item.kind},
            {QStringLiteral("detail"), item.detail},
            {QStringLiteral("documentation"), item.documentation},
            {QStringLiteral("textEdit"),
             QJsonObject{
                 {QStringLiteral("range"), document.range(item.replaces.start, item.replaces.end)},
                 {QStringLiteral("newText"), item.newText}}},
        };
        if (item.snippet)
            json.insert(QStringLiteral("insertTextFormat"), 2);
        result.append(json);
    }
    return result;
}

QJsonArray toJson(const TextDocument &document, const QVector<ColourInformation> &colours)
{
    QJsonArray result;
    for (const ColourInformation &information : colours) {
        const QColor rgb = information.colour.toRgb();
        result.append(QJsonObject{
            {QStringLiteral("range"), document.range(information.span.start, information.span.end)},
            {QStringLiteral("color"), QJsonObject{{QStringLiteral("red"), rgb.redF()},
                                                  {QStringLiteral("green"), rgb.greenF()},
                                                  {QStringLiteral("blue"), rgb.blueF()},
                                                  {QStringLiteral("alpha"), rgb.alphaF()}}},
        });
    }
    return result;
}

QJsonArray toJson(const TextDocument &document, const QVector<SymbolInfo> &symbols,
                  bool hierarchical)
{
    QJsonArray result;
    for (const SymbolInfo &symbol : symbols) {
        QJsonObject json{{QStringLiteral("name"), symbol.name},
                         {QStringLiteral("kind"), symbol.kind}};
        const QJsonObject range = document.range(symbol.range.start, symbol.range.end);
        if (hierarchical) {
            json.insert(QStringLiteral("detail"), symbol.detail);
            json.insert(QStringLiteral("range"), range);
            json.insert(QStringLiteral("selectionRange"),
                        document.range(symbol.selection.start, symbol.selection.end));
        } else {
            json.insert(QStringLiteral("location"),
                        QJsonObject{{QStringLiteral("uri"), document.uri},
                                    {QStringLiteral("range"), range}});
        }
        result.append(json);
    }
    return result;
}

QJsonArray toJson(const TextDocument &document, const QVector<CodeAction> &actions)
{
    QJsonArray result;
    for (const CodeAction &action : actions) {
        const QJsonObject edit{
            {QStringLiteral("range"), document.range(action.edit.start, action.edit.end)},
            {QStringLiteral("newText"), action.edit.newText}};
        result.append(QJsonObject{
            {QStringLiteral("title"), action.title},
            {QStringLiteral("kind"), QStringLiteral("quickfix")},
            // An editor applies a preferred fix on its own; a guess is offered only.
            {QStringLiteral("isPreferred"), action.edit.safe},
            {QStringLiteral("diagnostics"), QJsonArray{action.diagnostic}},
            {QStringLiteral("edit"), QJsonObject{{QStringLiteral("changes"),
                                                  QJsonObject{{document.uri, QJsonArray{edit}}}}}},
        });
    }
    return result;
}

QJsonValue locationJson(const std::optional<QString> &path)
{
    if (!path)
        return QJsonValue::Null;
    const QJsonObject start{{QStringLiteral("line"), 0}, {QStringLiteral("character"), 0}};
    return QJsonObject{
        {QStringLiteral("uri"), uriOfLocalPath(*path)},
        {QStringLiteral("range"),
         QJsonObject{{QStringLiteral("start"), start}, {QStringLiteral("end"), start}}},
    };
}

QJsonArray presentationsJson(const QStringList &labels)
{
    QJsonArray result;
    for (const QString &label : labels)
        result.append(QJsonObject{{QStringLiteral("label"), label}});
    return result;
}

QJsonArray toJson(const TextDocument &document, const QVector<ColourPresentation> &presentations)
{
    QJsonArray result;
    for (const ColourPresentation &presentation : presentations)
        result.append(QJsonObject{
            {QStringLiteral("label"), presentation.label},
            {QStringLiteral("textEdit"),
             QJsonObject{{QStringLiteral("range"),
                          document.range(presentation.edit.start, presentation.edit.end)},
                         {QStringLiteral("newText"), presentation.edit.newText}}}});
    return result;
}

QColor colourFromJson(const QJsonObject &colour)
{
    return QColor(channel(colour, "red"), channel(colour, "green"), channel(colour, "blue"),
                  channel(colour, "alpha"));
}
