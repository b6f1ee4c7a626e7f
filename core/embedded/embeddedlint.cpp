// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "embedded/embeddedlint.h"

#include "analysis/lintfixer.h"
#include "analysis/stylesheetlint.h"
#include "analysis/toolkitparse.h"
#include "embedded/textpositions.h"

#include <algorithm>

// One sheet's text as analysed, with its findings at the places of that text.
struct AnalysedSheet
{
    WidgetSheet analysed;
    QVector<LintDiagnostic> diagnostics;
    bool readsFiles = false;
};

namespace {

const QLatin1String kWrapperOpening("* {");
const QLatin1String kWrapperClosing("}");

// Places in one embedded sheet's analysed text told as places in its file.
class SheetPlaces
{
public:
    SheetPlaces(const EmbeddedSheet &sheet, const WidgetSheet &analysed, const TextPositions &file)
        : sheet(sheet)
        , analysed(analysed)
        , analysedPositions(analysed.text)
        , file(file)
    {}

    // The offset in the sheet of a line and column of the analysed text.
    int sheetOffset(int line, int column) const
    {
        const int offset = analysedPositions.offset(line, column) - analysed.prefixLength;
        return qBound(0, offset, int(sheet.text.size()));
    }

    bool inWrapper(const LintDiagnostic &diagnostic) const
    {
        const auto before = [&](int line, int column) {
            return analysedPositions.offset(line, column) <= analysed.prefixLength;
        };
        return analysed.wrapped && diagnostic.judgedValues.isEmpty() &&
               diagnostic.related.isEmpty() && before(diagnostic.line, diagnostic.column) &&
               (diagnostic.endLine == 0 || before(diagnostic.endLine, diagnostic.endColumn));
    }

    // Whether a finding is said of a stand-in: it, or a place it judges or names,
    // reaches into one. Nothing is said of what a program fills in.
    bool touchesStandIn(const LintDiagnostic &diagnostic) const
    {
        if (sheet.standIns.isEmpty())
            return false;
        const auto touches = [&](int line, int column, int endLine, int endColumn) {
            const int start = sheetOffset(line, column);
            const int end = endLine > 0 ? sheetOffset(endLine, endColumn) : start + 1;
            return sheet.touchesStandIn(start, qMax(start + 1, end));
        };
        if (touches(diagnostic.line, diagnostic.column, diagnostic.endLine, diagnostic.endColumn))
            return true;
        for (const QVector<LintLocation> *locations :
             {&diagnostic.related, &diagnostic.judgedValues}) {
            for (const LintLocation &location : *locations) {
                if (location.file.isEmpty() &&
                    touches(location.line, location.column, location.endLine, location.endColumn))
                    return true;
            }
        }
        return false;
    }

    void move(int *line, int *column) const
    {
        file.lineColumn(sheet.sourceOffset(sheetOffset(*line, *column)), line, column);
    }

    // The fix as an edit of the file; false when it reaches outside one literal or
    // the literal cannot spell its text.
    bool moveFix(LintFix *fix) const
    {
        const int start = analysedPositions.offset(fix->line, fix->column) - analysed.prefixLength;
        const int end =
            analysedPositions.offset(fix->endLine, fix->endColumn) - analysed.prefixLength;
        if (start < 0 || end > sheet.text.size())
            return false;
        const int index = sheet.pieceOf(start, end);
        if (index < 0 || sheet.touchesStandIn(start, end))
            return false;
        const EmbeddedPiece &piece = sheet.pieces.at(index);
        QString spelt;
        if (!spellInPiece(piece, fix->newText, &spelt))
            return false;
        const auto source = [&](int at) {
            return at < piece.decodedEnd ? sheet.sourceOffsets.at(at) : piece.sourceEnd;
        };
        file.lineColumn(source(start), &fix->line, &fix->column);
        file.lineColumn(source(end), &fix->endLine, &fix->endColumn);
        fix->newText = spelt;
        return true;
    }

private:
    const EmbeddedSheet &sheet;
    const WidgetSheet &analysed;
    TextPositions analysedPositions;
    const TextPositions &file;
};

LintDiagnostic uncheckableNote(const EmbeddedSheet &sheet, const QString &path,
                               const TextPositions &file)
{
    LintDiagnostic note;
    note.file = path;
    note.line = sheet.line;
    note.column = sheet.column;
    file.lineColumn(sheet.endOffset, &note.endLine, &note.endColumn);
    note.severity = LintSeverity::Note;
    note.check = kEmbeddedSheetCheckId;
    note.message = QStringLiteral("style sheet not checked: %1").arg(sheet.reason);
    return note;
}

AnalysedSheet analyseSheet(const QString &text, const QString &path, const LintOptions &options)
{
    AnalysedSheet result;
    result.analysed = widgetSheet(text);
    SheetFindings findings = sheetFindings(result.analysed.text.toUtf8(), path, options);
    result.diagnostics = findings.diagnostics;
    result.readsFiles = findings.readsFiles;
    return result;
}

// The findings of an analysed sheet told where the file writes it now.
QVector<LintDiagnostic> placeFindings(const EmbeddedSheet &sheet, const AnalysedSheet &analysis,
                                      const QString &path, const TextPositions &file)
{
    const WidgetSheet &analysed = analysis.analysed;
    const SheetPlaces places(sheet, analysed, file);
    QVector<LintDiagnostic> diagnostics = analysis.diagnostics;
    // What is said of the wrapper's "*" alone (that it names no type) is said of what the
    // toolkit wrote, not the author; a finding that judges the declarations stays.
    diagnostics.erase(std::remove_if(diagnostics.begin(), diagnostics.end(),
                                     [&](const LintDiagnostic &diagnostic) {
                                         return places.inWrapper(diagnostic) ||
                                                places.touchesStandIn(diagnostic);
                                     }),
                      diagnostics.end());
    for (LintDiagnostic &diagnostic : diagnostics) {
        diagnostic.file = path;
        places.move(&diagnostic.line, &diagnostic.column);
        if (diagnostic.endLine > 0)
            places.move(&diagnostic.endLine, &diagnostic.endColumn);
        for (QVector<LintLocation> *locations : {&diagnostic.related, &diagnostic.judgedValues}) {
            for (LintLocation &location : *locations) {
                if (!location.file.isEmpty())
                    continue;
                places.move(&location.line, &location.column);
                places.move(&location.endLine, &location.endColumn);
            }
        }
        QVector<LintFix> fixes;
        for (LintFix fix : qAsConst(diagnostic.fixes)) {
            if (places.moveFix(&fix))
                fixes.append(fix);
        }
        diagnostic.fixes = fixes;
    }
    return diagnostics;
}

QVector<LintDiagnostic> lintSheet(const EmbeddedSheet &sheet, const QString &path,
                                  const LintOptions &options, const TextPositions &file)
{
    return placeFindings(sheet, analyseSheet(sheet.text, path, options), path, file);
}

// Where a sheet's stand-ins are, which the same text may or may not have.
QString standInsKey(const EmbeddedSheet &sheet)
{
    QString key = QString::number(sheet.standIns.size()) + QLatin1Char(':');
    for (const SheetRange &standIn : sheet.standIns)
        key += QStringLiteral("%1-%2,").arg(standIn.start).arg(standIn.end);
    return key;
}

// What a sheet's analysis depends on besides the options and the file's path: its
// text and its widget, each part's length first so no two keys run together.
QString sheetKey(const EmbeddedSheet &sheet)
{
    return QStringLiteral("%1:%2%3:%4")
               .arg(QString::number(sheet.widgetClass.size()), sheet.widgetClass,
                    QString::number(sheet.objectName.size()), sheet.objectName) +
           standInsKey(sheet) + sheet.text;
}

// One change of a sheet: [start, end) of the old text replaced by text.
struct SheetEdit
{
    int start = 0;
    int end = 0;
    QString text;
};

// The changes that turn before into after: the stretch between their common start and
// end, split where a longest common subsequence of it says, when that is small enough
// to work out.
QVector<SheetEdit> sheetEdits(const QString &before, const QString &after)
{
    int head = 0;
    while (head < before.size() && head < after.size() && before.at(head) == after.at(head))
        ++head;
    int tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before.at(before.size() - 1 - tail) == after.at(after.size() - 1 - tail))
        ++tail;
    const int n = int(before.size()) - head - tail;
    const int m = int(after.size()) - head - tail;
    if (qint64(n + 1) * (m + 1) > 4000000)
        return {{head, head + n, after.mid(head, m)}};
    // lcs[i][j]: the longest common subsequence of before's and after's middles from i and j.
    QVector<int> lcs((n + 1) * (m + 1), 0);
    const auto at = [m](int i, int j) { return i * (m + 1) + j; };
    for (int i = n - 1; i >= 0; --i) {
        for (int j = m - 1; j >= 0; --j) {
            lcs[at(i, j)] = before.at(head + i) == after.at(head + j)
                                ? lcs.at(at(i + 1, j + 1)) + 1
                                : qMax(lcs.at(at(i + 1, j)), lcs.at(at(i, j + 1)));
        }
    }
    QVector<SheetEdit> edits;
    SheetEdit current{-1, -1, QString()};
    int i = 0;
    int j = 0;
    const auto flush = [&]() {
        if (current.start >= 0)
            edits.append(current);
        current = SheetEdit{-1, -1, QString()};
    };
    while (i < n || j < m) {
        if (i < n && j < m && before.at(head + i) == after.at(head + j)) {
            flush();
            ++i;
            ++j;
            continue;
        }
        if (current.start < 0)
            current = SheetEdit{head + i, head + i, QString()};
        if (j < m && (i == n || lcs.at(at(i, j + 1)) >= lcs.at(at(i + 1, j)))) {
            current.text += after.at(head + j);
            ++j;
        } else {
            ++i;
            current.end = head + i;
        }
    }
    flush();
    return edits;
}

// A change of the file's text: [start, end) replaced by text.
struct FileEdit
{
    int start = 0;
    int end = 0;
    QString text;
};

// The sheet's changes as edits of the file; false when a literal cannot spell one.
bool fileEdits(const EmbeddedSheet &sheet, const QVector<SheetEdit> &edits,
               QVector<FileEdit> *result)
{
    for (const SheetEdit &edit : edits) {
        if (sheet.touchesStandIn(edit.start, edit.end))
            return false;
        QString text = edit.text;
        int start = edit.start;
        // A change across literals deletes each one's part and inserts in the first.
        while (true) {
            int index = sheet.pieceOf(start, edit.end);
            int end = edit.end;
            if (index < 0) {
                for (int k = 0; k < sheet.pieces.size() && index < 0; ++k) {
                    if (sheet.pieces.at(k).decodedStart <= start &&
                        start < sheet.pieces.at(k).decodedEnd)
                        index = k;
                }
                if (index < 0)
                    return false;
                end = sheet.pieces.at(index).decodedEnd;
            }
            const EmbeddedPiece &piece = sheet.pieces.at(index);
            QString spelt;
            if (!spellInPiece(piece, text, &spelt))
                return false;
            const auto source = [&](int at) {
                return at < piece.decodedEnd ? sheet.sourceOffsets.at(at) : piece.sourceEnd;
            };
            result->append({source(start), source(end), spelt});
            if (end == edit.end)
                break;
            text.clear();
            start = end;
        }
    }
    return true;
}

// Text as a template's literal must spell it so that it reads no placeholder: "%" and
// braces doubled where the template doubles them; false when it cannot (a "%1" text
// in a template for .arg()).
bool templateSpelling(TemplateSyntax syntax, const QString &text, QString *spelt)
{
    *spelt = text;
    if (syntax == TemplateSyntax::Percent) {
        spelt->replace(QLatin1Char('%'), QLatin1String("%%"));
    } else if (syntax == TemplateSyntax::Braces) {
        spelt->replace(QLatin1Char('{'), QLatin1String("{{"));
        spelt->replace(QLatin1Char('}'), QLatin1String("}}"));
    } else if (syntax == TemplateSyntax::QtArg) {
        for (int i = 0; i + 1 < text.size(); ++i) {
            if (text.at(i) == QLatin1Char('%') &&
                (text.at(i + 1).isDigit() || text.at(i + 1) == QLatin1Char('L')))
                return false;
        }
    }
    return true;
}

// The stand-ins, at offset in a text, where edits of that text that leave them
// alone move them.
QVector<SheetRange> movedStandIns(const QVector<SheetRange> &standIns, int offset,
                                  const QVector<SheetEdit> &edits)
{
    QVector<SheetRange> moved;
    for (const SheetRange &standIn : standIns) {
        int shift = offset;
        for (const SheetEdit &edit : edits) {
            if (edit.end <= standIn.start + offset)
                shift += int(edit.text.size()) - (edit.end - edit.start);
        }
        moved.append({standIn.start + shift, standIn.end + shift});
    }
    return moved;
}

// The text with its stand-ins taken out: what the author wrote around the placeholders.
QString withoutStandIns(QString text, const QVector<SheetRange> &standIns)
{
    for (int k = int(standIns.size()) - 1; k >= 0; --k)
        text.remove(standIns.at(k).start, standIns.at(k).end - standIns.at(k).start);
    return text;
}

// Whether a finding or any fix of it reaches into the ranges, at places of text.
bool reachesInto(const EmbeddedSheet &ranges, const TextPositions &positions,
                 const LintDiagnostic &diagnostic)
{
    const auto touches = [&](int line, int column, int endLine, int endColumn) {
        const int start = positions.offset(line, column);
        const int end = endLine > 0 ? positions.offset(endLine, endColumn) : start + 1;
        return ranges.touchesStandIn(start, qMax(start + 1, end));
    };
    if (touches(diagnostic.line, diagnostic.column, diagnostic.endLine, diagnostic.endColumn))
        return true;
    for (const QVector<LintLocation> *locations : {&diagnostic.related, &diagnostic.judgedValues}) {
        for (const LintLocation &location : *locations) {
            if (location.file.isEmpty() &&
                touches(location.line, location.column, location.endLine, location.endColumn))
                return true;
        }
    }
    for (const LintFix &fix : diagnostic.fixes) {
        const int start = positions.offset(fix.line, fix.column);
        if (ranges.touchesStandIn(start, positions.offset(fix.endLine, fix.endColumn)))
            return true;
    }
    return false;
}

// The analysis each fix round runs on a template's sheet: nothing is said of its
// stand-ins, found in the round's text where the edits made so far moved them.
SheetLinter standInLinter(const EmbeddedSheet &sheet, const WidgetSheet &analysed)
{
    if (sheet.standIns.isEmpty())
        return lintStyleSheet;
    return [sheet, analysed](const QByteArray &bytes, const QString &path,
                             const LintOptions &options) {
        const QString candidate = QString::fromUtf8(bytes);
        EmbeddedSheet moved;
        moved.standIns = movedStandIns(sheet.standIns, analysed.prefixLength,
                                       sheetEdits(analysed.text, candidate));
        QVector<LintDiagnostic> diagnostics = lintStyleSheet(bytes, path, options);
        const TextPositions positions(candidate);
        diagnostics.erase(std::remove_if(diagnostics.begin(), diagnostics.end(),
                                         [&](const LintDiagnostic &diagnostic) {
                                             return reachesInto(moved, positions, diagnostic);
                                         }),
                          diagnostics.end());
        return diagnostics;
    };
}

} // namespace

WidgetSheet widgetSheet(const QString &sheet)
{
    if (toolkitParsesSheet(sheet))
        return {sheet, 0, false};
    WidgetSheet wrapped = declarationsSheet(sheet);
    if (!toolkitParsesSheet(wrapped.text))
        return {sheet, 0, false};
    return wrapped;
}

WidgetSheet declarationsSheet(const QString &sheet)
{
    return {kWrapperOpening + sheet + kWrapperClosing, int(kWrapperOpening.size()), true};
}

bool unwrapWidgetSheet(const WidgetSheet &sheet, const QString &text, QString *inner)
{
    if (!sheet.wrapped) {
        *inner = text;
        return true;
    }
    if (!text.startsWith(kWrapperOpening) || !text.endsWith(kWrapperClosing))
        return false;
    *inner = text.mid(kWrapperOpening.size(),
                      text.size() - kWrapperOpening.size() - kWrapperClosing.size());
    return true;
}

bool spellInPiece(const EmbeddedPiece &piece, const QString &plainText, QString *spelt)
{
    spelt->clear();
    QString newText;
    if (!templateSpelling(piece.syntax, plainText, &newText))
        return false;
    switch (piece.spelling) {
    case LiteralSpelling::XmlText:
        for (const QChar c : newText) {
            if (c == QLatin1Char('&'))
                *spelt += QStringLiteral("&amp;");
            else if (c == QLatin1Char('<'))
                *spelt += QStringLiteral("&lt;");
            else if (c == QLatin1Char('>'))
                *spelt += QStringLiteral("&gt;");
            else if (c == QLatin1Char('\r'))
                *spelt += QStringLiteral("&#13;");
            else
                *spelt += c;
        }
        return true;
    case LiteralSpelling::XmlCData:
        *spelt = newText;
        return !newText.contains(QLatin1String("]]>")) && !newText.contains(QLatin1Char('\r'));
    case LiteralSpelling::Raw:
        *spelt = newText;
        if (!piece.singleLine && piece.closing.size() > 1 &&
            piece.closing.startsWith(QLatin1Char(')')))
            return !newText.contains(piece.closing); // C++: R"delim( ... )delim"
        // Python: a raw string holds no quote of its kind and no backslash to mend.
        return !newText.contains(piece.closing.at(0)) && !newText.contains(QLatin1Char('\\')) &&
               !(piece.singleLine && newText.contains(QLatin1Char('\n')));
    case LiteralSpelling::Escaped:
        break;
    }
    const QChar quote = piece.closing.isEmpty() ? QLatin1Char('"') : piece.closing.at(0);
    for (const QChar c : newText) {
        if (c == QLatin1Char('\\') || c == quote)
            *spelt += QLatin1Char('\\') + QString(c);
        else if (c == QLatin1Char('\n'))
            *spelt += piece.closing.size() == 3 ? QStringLiteral("\n") : QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            *spelt += QStringLiteral("\\r");
        else
            *spelt += c;
    }
    return true;
}

QVector<LintDiagnostic> lintEmbeddedSheets(const QString &fileText, EmbeddingLanguage language,
                                           const QString &path, const LintOptions &options)
{
    const TextPositions file(fileText);
    QVector<LintDiagnostic> diagnostics;
    for (const EmbeddedSheet &sheet : readEmbeddedSheets(language, fileText)) {
        if (sheet.checkable)
            diagnostics += lintSheet(sheet, path, options, file);
        else
            diagnostics.append(uncheckableNote(sheet, path, file));
    }
    sortLintDiagnostics(diagnostics);
    return diagnostics;
}

QVector<LintDiagnostic> EmbeddedLintCache::lint(const QString &fileText, EmbeddingLanguage language,
                                                const QString &path, const LintOptions &options)
{
    const QByteArray key = lintOptionsKey(options);
    if (key != optionsKey || path != analysedPath) {
        analyses.clear();
        optionsKey = key;
        analysedPath = path;
        // Held so that no other tree can come to have its address, which the key names.
        contrastTree = options.contrastTree;
    }
    analysedLastRun = 0;
    const TextPositions file(fileText);
    QHash<QString, std::shared_ptr<const AnalysedSheet>> kept;
    QVector<LintDiagnostic> diagnostics;
    for (const EmbeddedSheet &sheet : readEmbeddedSheets(language, fileText)) {
        if (!sheet.checkable) {
            diagnostics.append(uncheckableNote(sheet, path, file));
            continue;
        }
        const QString sheetKey = ::sheetKey(sheet);
        std::shared_ptr<const AnalysedSheet> analysis = kept.value(sheetKey);
        if (!analysis)
            analysis = analyses.value(sheetKey);
        if (!analysis) {
            analysis =
                std::make_shared<const AnalysedSheet>(analyseSheet(sheet.text, path, options));
            ++analysedLastRun;
        }
        // What rests on the disk is judged again every time, so it never goes stale.
        if (!analysis->readsFiles)
            kept.insert(sheetKey, analysis);
        diagnostics += placeFindings(sheet, *analysis, path, file);
    }
    // Only the sheets the file still holds are kept.
    analyses = kept;
    sortLintDiagnostics(diagnostics);
    return diagnostics;
}

EmbeddedFixResult fixEmbeddedSheets(const QByteArray &bytes, EmbeddingLanguage language,
                                    const QString &path, const LintOptions &options,
                                    bool unsafeFixes)
{
    EmbeddedFixResult result;
    QString text = QString::fromUtf8(bytes);
    const QVector<EmbeddedSheet> sheets = readEmbeddedSheets(language, text);
    // Last to first, so the places of the sheets before stay where they were read.
    for (int index = int(sheets.size()) - 1; index >= 0; --index) {
        const EmbeddedSheet &sheet = sheets.at(index);
        if (!sheet.checkable)
            continue;
        const WidgetSheet analysed = widgetSheet(sheet.text);
        const LintFixResult fixedSheet = fixStyleSheet(analysed.text.toUtf8(), path, options,
                                                       unsafeFixes, standInLinter(sheet, analysed));
        QString mended;
        if (!fixedSheet.changed ||
            !unwrapWidgetSheet(analysed, QString::fromUtf8(fixedSheet.bytes), &mended) ||
            mended == sheet.text)
            continue;
        QVector<FileEdit> edits;
        const auto refuse = [&](const QString &why) {
            result.notices.append(
                QStringLiteral("%1:%2: %3").arg(sheet.line).arg(sheet.column).arg(why));
        };
        if (!fileEdits(sheet, sheetEdits(sheet.text, mended), &edits)) {
            refuse(QStringLiteral("fixes left unwritten: the literal cannot spell them"));
            continue;
        }
        QString candidate = text;
        std::sort(edits.begin(), edits.end(),
                  [](const FileEdit &a, const FileEdit &b) { return a.start > b.start; });
        for (const FileEdit &edit : qAsConst(edits))
            candidate.replace(edit.start, edit.end - edit.start, edit.text);
        // The file read again must give the mended sheet, and the same sheets around it.
        const QVector<EmbeddedSheet> reread = readEmbeddedSheets(language, candidate);
        // A stand-in may change with what surrounds it; the author's text may not.
        const QVector<SheetRange> standIns =
            movedStandIns(sheet.standIns, 0, sheetEdits(sheet.text, mended));
        if (reread.size() != sheets.size() || reread.at(index).standIns.size() != standIns.size() ||
            withoutStandIns(reread.at(index).text, reread.at(index).standIns) !=
                withoutStandIns(mended, standIns)) {
            refuse(QStringLiteral("fixes left unwritten: the literal would read differently"));
            continue;
        }
        text = candidate;
        result.fixed += fixedSheet.fixed;
    }
    result.bytes = text.toUtf8();
    result.changed = result.bytes != bytes;
    if (!result.changed)
        result.bytes = bytes;
    result.remaining = lintEmbeddedSheets(text, language, path, options);
    return result;
}
