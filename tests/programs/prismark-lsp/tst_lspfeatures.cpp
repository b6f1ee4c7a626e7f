// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checkexplanation.h"
#include "analysis/checkregistry.h"
#include "analysis/sheetformatter.h"
#include "analysis/stylesheetlint.h"
#include "markedtext.h"
#include "prismark-lsp/features/codeactions.h"
#include "prismark-lsp/features/colours.h"
#include "prismark-lsp/features/completion.h"
#include "prismark-lsp/features/definition.h"
#include "prismark-lsp/features/diagnostichover.h"
#include "prismark-lsp/features/formatting.h"
#include "prismark-lsp/features/hover.h"
#include "prismark-lsp/features/symbols.h"
#include "prismark-lsp/features/templatefunctions.h"
#include "prismark-lsp/features/tokencolours.h"
#include "prismark-lsp/features/tokenfilecompletion.h"
#include "prismark-lsp/features/tokennavigation.h"
#include "prismark-lsp/features/tokenreferences.h"
#include "prismark-lsp/features/tokenworkspace.h"
#include "prismark-lsp/protocol/messageframer.h"
#include "prismark-lsp/protocol/textdocument.h"
#include "tokens/designtokens.h"
#include "tokens/themebuild.h"
#include "tokens/themetemplate.h"

#include <QTemporaryDir>
#include <QtTest>

// The language server's features in this process, each on a text with the
// position marked by "|": what they answer, before any JSON or process is involved.
class TestLspFeatures : public QObject
{
    Q_OBJECT

private slots:
    void hover_data();
    void hover();
    void hoverPlainText();
    void hoverSays_data();
    void hoverSays();
    void completion_data();
    void completion();
    void completionOffers_data();
    void completionOffers();
    void colourFunctionCompletion_data();
    void colourFunctionCompletion();
    void colourFunctionSnippetsEvaluate();
    void hoverOnAColourFunction_data();
    void hoverOnAColourFunction();
    void colours();
    void colourPresentations_data();
    void colourPresentations();
    void symbols();
    void definition_data();
    void definition();
    void codeActionsAreTheChecksFixes_data();
    void codeActionsAreTheChecksFixes();
    void relatedPlaceNamesItsFile_data();
    void relatedPlaceNamesItsFile();
    void diagnosticHoverAndPage_data();
    void diagnosticHoverAndPage();
    void formattingIsTheFormatters_data();
    void formattingIsTheFormatters();
    void formattingTakesTheProjectsLayout_data();
    void formattingTakesTheProjectsLayout();
    void editsReplaceTheirRange_data();
    void editsReplaceTheirRange();
    void messageSizeLimitAtItsEdge_data();
    void messageSizeLimitAtItsEdge();
};

void TestLspFeatures::hover_data()
{
    QTest::addColumn<QString>("marked");
    QTest::addColumn<QString>("contains"); // "" for no hover
    QTest::addColumn<QString>("word");     // what the span covers

    QTest::newRow("property") << "QPushButton { col|or: red; }"
                              << "color"
                              << "color";
    QTest::newRow("pseudo-state") << "QPushButton:ho|ver { color: red; }"
                                  << "hover"
                                  << "hover";
    QTest::newRow("subcontrol") << "QComboBox::drop-|down { width: 4px; }"
                                << "drop-down"
                                << "drop-down";
    QTest::newRow("widget class") << "QPush|Button { color: red; }"
                                  << "QPushButton"
                                  << "QPushButton";
    QTest::newRow("colour and its counterpart")
        << "QLabel { color: #7|67676; background-color: white }"
        << "4.54 : 1"
        << "#767676";
    QTest::newRow("blank") << "QLabel { color: red; } | " << QString() << QString();
    QTest::newRow("unknown word") << "QLabel { colr|x: red; }" << QString() << QString();
}

void TestLspFeatures::hover()
{
    QFETCH(QString, marked);
    QFETCH(QString, contains);
    QFETCH(QString, word);
    const Marked at(marked);
    const std::optional<HoverInfo> hover = hoverAt(at.text, at.offset, markdownClient());
    if (contains.isEmpty()) {
        QVERIFY(!hover);
        return;
    }
    QVERIFY(hover);
    QVERIFY2(hover->contents.contains(contains), qPrintable(hover->contents));
    QCOMPARE(at.text.mid(hover->span.start, hover->span.end - hover->span.start), word);
    QVERIFY(hover->markdown);
}

void TestLspFeatures::hoverPlainText()
{
    const Marked at(QStringLiteral("QPushButton { col|or: red; }"));
    const std::optional<HoverInfo> hover = hoverAt(at.text, at.offset, ClientCapabilities());
    QVERIFY(hover);
    QVERIFY(!hover->markdown);
    QVERIFY(!hover->contents.contains(QLatin1String("**")));
}

void TestLspFeatures::completion_data()
{
    QTest::addColumn<QString>("marked");
    QTest::addColumn<QString>("offered");
    QTest::addColumn<QString>("replaced"); // the text the item replaces

    QTest::newRow("property name") << "QPushButton { col| }"
                                   << "color"
                                   << "col";
    QTest::newRow("widget class") << "QPush|"
                                  << "QPushButton"
                                  << "QPush";
    QTest::newRow("pseudo-state") << "QPushButton:ho|"
                                  << "hover"
                                  << "ho";
    QTest::newRow("subcontrol") << "QComboBox::drop|"
                                << "drop-down"
                                << "drop";
    QTest::newRow("property name after a url() path holding a brace")
        << "QLabel { image: url(icons/{a.png); col| }"
        << "color"
        << "col";
    QTest::newRow("palette role") << "/*\n@palette Win|"
                                  << "Window"
                                  << "Win";
}

void TestLspFeatures::completion()
{
    QFETCH(QString, marked);
    QFETCH(QString, offered);
    QFETCH(QString, replaced);
    const Marked at(marked);
    const QVector<CompletionItem> items = completionItems(at.text, at.offset, markdownClient());
    const int index = int(labels(items).indexOf(offered));
    QVERIFY2(index >= 0, qPrintable(labels(items).join(QLatin1Char(' '))));
    const TextSpan span = items.at(index).replaces;
    QCOMPARE(at.text.mid(span.start, span.end - span.start), replaced);
}

void TestLspFeatures::completionOffers_data()
{
    QTest::addColumn<QString>("marked");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("absent");
    QTest::newRow("a type selector offers widget classes") << "QPush|"
                                                           << "QPushButton"
                                                           << "color";
    QTest::newRow("after :: the class's own subcontrols") << "QScrollBar::|"
                                                          << "handle"
                                                          << "drop-down";
    QTest::newRow("after : pseudo-states and negated ones") << "QCheckBox:|"
                                                            << "!checked"
                                                            << "handle";
    QTest::newRow("after :! pseudo-states") << "QCheckBox:!|"
                                            << "indeterminate"
                                            << "!hover";
    QTest::newRow("after # the sheet's object names and the shell's")
        << "/* @palette Window = #ffffff */\n#side { }\n#|"
        << "appTitleBar,side"
        << "ffffff";
    QTest::newRow("inside [ the gallery's variants")
        << "/* @palette Base = #ffffff */\nQPushButton[|"
        << "variant=\"primary\""
        << "";
    QTest::newRow("inside a quoted variant its six values") << "QPushButton[variant=\"|"
                                                            << "warning"
                                                            << "QLabel";
    QTest::newRow("in a block property names") << "QLabel { bor|"
                                               << "border-radius"
                                               << "QLabel";
    QTest::newRow("border styles") << "QLabel { border-style: |"
                                   << "dot-dash"
                                   << "px";
    QTest::newRow("alignment of a subcontrol") << "QLabel { subcontrol-position: |"
                                               << "center"
                                               << "";
    QTest::newRow("boxes of a subcontrol") << "QLabel { subcontrol-origin: |"
                                           << "padding"
                                           << "";
    QTest::newRow("palette roles inside palette()") << "QLabel { color: palette(|"
                                                    << "highlighted-text"
                                                    << "red";
    QTest::newRow("brushes: named colours and a gradient") << "QLabel { background-color: |"
                                                           << "red,qlineargradient,palette"
                                                           << "solid";
    QTest::newRow("units after a number") << "QLabel { padding: 4|"
                                          << "4px,4em"
                                          << "";
    QTest::newRow("font sizes in pt or px only") << "QLabel { font-size: 9|"
                                                 << "9pt,9px"
                                                 << "9em";
    QTest::newRow("roles after @palette") << "/*\n@palette |"
                                          << "Window,Disabled.Text"
                                          << "";
    QTest::newRow("a colour after @palette Role =")
        << "/*\n@palette Window = #123456\n@palette Base = |"
        << "#123456"
        << "";
    QTest::newRow("nothing in a comment") << "/* QLab| */"
                                          << ""
                                          << "QLabel";
}

void TestLspFeatures::completionOffers()
{
    QFETCH(QString, marked);
    QFETCH(QString, expected);
    QFETCH(QString, absent);
    const Marked at(marked);
    const QVector<CompletionItem> items = completionItems(at.text, at.offset, ClientCapabilities());
    const QStringList found = labels(items);
    for (const QString &label : expected.split(QLatin1Char(','), Qt::SkipEmptyParts))
        QVERIFY2(found.contains(label), qPrintable(label));
    if (!absent.isEmpty())
        QVERIFY2(!found.contains(absent), qPrintable(absent));
    for (const CompletionItem &item : items) {
        QVERIFY(item.kind > 0);
        QVERIFY(!item.detail.isEmpty());
        QVERIFY(!item.documentation.isEmpty());
    }
}

void TestLspFeatures::hoverSays_data()
{
    QTest::addColumn<QString>("marked");
    QTest::addColumn<QString>("expected");
    QTest::newRow("a property: meaning, value type and where") << "QLabel { selection-co|lor: red }"
                                                               << "Brush,selected,QLineEdit";
    QTest::newRow("a pseudo-state") << "QCheckBox:indet|erminate { }"
                                    << "partly checked,QCheckBox";
    QTest::newRow("a subcontrol") << "QSpinBox::up-bu|tton { }"
                                  << "up button,QAbstractSpinBox";
    QTest::newRow("a widget class") << "QTreeWid|get { }"
                                    << "QTreeView,branch";
    QTest::newRow("a colour with its counterpart in the rule")
        << "QLabel { color: #7|67676; background-color: white }"
        << "#767676,4.54 : 1";
    QTest::newRow("a translucent colour") << "QLabel { color: #80|ff0000 }"
                                          << "alpha 128";
    QTest::newRow("a palette colour with its counterpart")
        << "/*\n@palette Window = #ffffff\n@palette WindowText = #00|0000\n*/"
        << "21.00 : 1";
}

void TestLspFeatures::hoverSays()
{
    QFETCH(QString, marked);
    QFETCH(QString, expected);
    const Marked at(marked);
    const std::optional<HoverInfo> hover = hoverAt(at.text, at.offset, markdownClient());
    QVERIFY(hover);
    for (const QString &part : expected.split(QLatin1Char(',')))
        QVERIFY2(hover->contents.contains(part), qPrintable(hover->contents));
}

void TestLspFeatures::colourFunctionCompletion_data()
{
    QTest::addColumn<QString>("marked");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("replaced"); // null: no function is offered
    const QString theme = QStringLiteral("theme.qss.in");
    QTest::newRow("a template's colour value") << "QLabel { color: |" << theme << "";
    QTest::newRow("half a name") << "QLabel { background: al|" << theme << "al";
    QTest::newRow("an argument after a reference")
        << "QLabel { border: 1px solid mix({color.a}, li|" << theme << "li";
    QTest::newRow("an @palette line of the header")
        << "/*\n@palette Window = |\n*/\nQLabel { }" << theme << "";
    QTest::newRow("a plain sheet's value") << "QLabel { color: |"
                                           << "sheet.qss" << QString();
    QTest::newRow("a selector") << "QLab|" << theme << QString();
    QTest::newRow("a length") << "QLabel { padding: |" << theme << QString();
    QTest::newRow("inside url()") << "QLabel { image: url(|" << theme << QString();
    QTest::newRow("inside palette()") << "QLabel { color: palette(|" << theme << QString();
    QTest::newRow("after a number") << "QLabel { color: 1|" << theme << QString();
    QTest::newRow("an @palette line past the header")
        << "/* a */\nQLabel { }\n/* @palette Window = | */" << theme << QString();
}

void TestLspFeatures::colourFunctionCompletion()
{
    QFETCH(QString, marked);
    QFETCH(QString, path);
    QFETCH(QString, replaced);
    const Marked at(marked);
    const QVector<CompletionItem> items = colourFunctionCompletions(at.text, at.offset, path, true);
    if (replaced.isNull()) {
        QVERIFY2(items.isEmpty(), qPrintable(labels(items).join(QLatin1Char(' '))));
        return;
    }
    QCOMPARE(labels(items), QStringList({"alpha", "mix", "lighter", "darker"}));
    for (const CompletionItem &item : items) {
        QCOMPARE(at.text.mid(item.replaces.start, item.replaces.end - item.replaces.start),
                 replaced);
        QVERIFY(item.snippet);
        QVERIFY(!item.documentation.isEmpty());
    }
    const CompletionItem &mix = items.at(1);
    QCOMPARE(mix.detail, QStringLiteral("mix(colour, colour, amount from 0 to 1)"));
    QCOMPARE(mix.newText, QStringLiteral("mix(${1:colour}, ${2:colour}, ${3:0.5})"));
    const QVector<CompletionItem> plain =
        colourFunctionCompletions(at.text, at.offset, path, false);
    QCOMPARE(plain.at(1).newText, QStringLiteral("mix("));
    QVERIFY(!plain.at(1).snippet);
}

// A snippet's placeholders filled in as offered (a colour for "colour") is a call the
// template reader takes and evaluates without an error.
void TestLspFeatures::colourFunctionSnippetsEvaluate()
{
    const Marked at(QStringLiteral("QLabel { color: |"));
    static const QRegularExpression placeholder(QStringLiteral("\\$\\{[0-9]+:([^}]*)\\}"));
    const QVector<CompletionItem> items =
        colourFunctionCompletions(at.text, at.offset, QStringLiteral("t.qss.in"), true);
    QVERIFY(!items.isEmpty());
    for (const CompletionItem &item : items) {
        QString call = item.newText;
        call.replace(placeholder, QStringLiteral("\\1"))
            .replace(QLatin1String("colour"), QLatin1String("#336699"));
        const QString text = QStringLiteral("QLabel { color: %1; }").arg(call);
        SourceErrors errors;
        const ThemeTemplate theme = ThemeTemplate::parse(text, QStringLiteral("t.qss.in"), &errors);
        const QString sheet = theme.render(DesignTokens(), QStringLiteral("default"), {}, &errors);
        QVERIFY2(errors.isEmpty(), qPrintable(errors.isEmpty() ? call : errors.first().text()));
        QVERIFY2(!sheet.contains(item.label), qPrintable(sheet));
    }
}

void TestLspFeatures::hoverOnAColourFunction_data()
{
    QTest::addColumn<QString>("marked");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected"); // "" for no hover
    const QString theme = QStringLiteral("theme.qss.in");
    QTest::newRow("mix in a value") << "QLabel { color: mi|x({a}, {b}, 0.5); }" << theme
                                    << "mix(colour, colour, amount from 0 to 1),blended";
    QTest::newRow("darker in an argument") << "QLabel { color: alpha(dar|ker({a}, 150), 0.5); }"
                                           << theme << "darker(colour, factor in percent),darker()";
    QTest::newRow("in an @palette line") << "/*\n@palette Base = alp|ha({a}, 0.5)\n*/" << theme
                                         << "alpha(colour, amount from 0 to 1)";
    QTest::newRow("in a plain sheet") << "QLabel { color: mi|x(#fff, #000, 0.5); }"
                                      << "sheet.qss"
                                      << "";
    QTest::newRow("a name without a call") << "QLabel { color: mi|x; }" << theme << "";
    QTest::newRow("a selector named like one") << "mi|x(a) { }" << theme << "";
}

void TestLspFeatures::hoverOnAColourFunction()
{
    QFETCH(QString, marked);
    QFETCH(QString, path);
    QFETCH(QString, expected);
    const Marked at(marked);
    const std::optional<HoverInfo> hover = colourFunctionHover(at.text, at.offset, path, true);
    if (expected.isEmpty()) {
        QVERIFY(!hover);
        return;
    }
    QVERIFY(hover);
    for (const QString &part : expected.split(QLatin1Char(',')))
        QVERIFY2(hover->contents.contains(part), qPrintable(hover->contents));
    const QString name = at.text.mid(hover->span.start, hover->span.end - hover->span.start);
    QVERIFY2(expected.startsWith(name + QLatin1Char('(')), qPrintable(name));
}

void TestLspFeatures::colours()
{
    const QString text = QStringLiteral("QLabel { color: #ff0000; background: rgb(0, 0, 255); }");
    const QVector<ColourInformation> found = documentColours(text);
    QCOMPARE(found.size(), 2);
    QCOMPARE(text.mid(found.at(0).span.start, found.at(0).span.end - found.at(0).span.start),
             QStringLiteral("#ff0000"));
    QCOMPARE(found.at(0).colour, QColor(255, 0, 0));
    QCOMPARE(found.at(1).colour, QColor(0, 0, 255));
}

void TestLspFeatures::colourPresentations_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("opaque") << QColor(255, 0, 0) << QStringList{"#ff0000", "rgb(255, 0, 0)"};
    // No eight digits, which the toolkit and other tools read in other orders.
    QTest::newRow("translucent") << QColor(255, 0, 0, 128) << QStringList{"rgba(255, 0, 0, 128)"};
    // rgba() would read an alpha of 1 as opaque.
    QTest::newRow("alpha 1 of 255")
        << QColor(255, 0, 0, 1) << QStringList{"rgba(255, 0, 0, 0.004)"};
}

void TestLspFeatures::colourPresentations()
{
    QFETCH(QColor, colour);
    QFETCH(QStringList, expected);
    QCOMPARE(::colourPresentations(colour), expected);
}

void TestLspFeatures::symbols()
{
    const QString text = QStringLiteral("/*\n@palette Window = #ffffff\n*/\n"
                                        "QPushButton, QLabel { color: red; }\n");
    const QVector<SymbolInfo> found = documentSymbols(text);
    QCOMPARE(found.size(), 2);
    QCOMPARE(found.at(0).name, QStringLiteral("QPushButton, QLabel"));
    QCOMPARE(found.at(0).kind, LspKind::SymbolClass);
    QCOMPARE(found.at(1).name, QStringLiteral("@palette Window"));
    QCOMPARE(found.at(1).detail, QStringLiteral("#ffffff"));
    const TextSpan rule = found.at(0).range;
    QVERIFY(text.mid(rule.start, rule.end - rule.start).endsWith(QLatin1Char('}')));
}

void TestLspFeatures::definition_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("found");
    QTest::newRow("a file") << "FILE" << true;
    QTest::newRow("a missing file") << "/nonexistent/x.png" << false;
    QTest::newRow("a compiled-in resource") << ":/icons/a.svg" << false;
    // A name is all that is looked at: a device is never opened.
    QTest::newRow("a device") << "/dev/zero" << false;
}

void TestLspFeatures::definition()
{
    QFETCH(QString, url);
    QFETCH(bool, found);
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString file = directory.filePath(QStringLiteral("arrow.png"));
    QFile touch(file);
    QVERIFY(touch.open(QIODevice::WriteOnly));
    touch.close();
    if (url == QLatin1String("FILE"))
        url = file;
    const Marked at(QStringLiteral("QLabel { image: url(\"|%1\"); }").arg(url));
    const std::optional<QString> target = definitionAt(at.text, at.offset);
    QCOMPARE(bool(target), found);
    if (found)
        QCOMPARE(*target, file);
}

void TestLspFeatures::codeActionsAreTheChecksFixes_data()
{
    QTest::addColumn<QString>("marked"); // the range asked about starts and ends at "|"
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("fixed");

    QTest::newRow("a missing semicolon") << "QLabel { color: red| background: blue; }"
                                         << "Insert ';' (safe fix)"
                                         << "QLabel { color: red; background: blue; }";
    QTest::newRow("a misspelt property") << "QLabel { col|our: red; }"
                                         << "Change to 'color' (unsafe fix: a guess)"
                                         << "QLabel { color: red; }";
    QTest::newRow("a declaration set again") << "QLabel { co|lor: red; color: blue; }"
                                             << "Remove 'color: red;' (safe fix)"
                                             << "QLabel { color: blue; }";
    QTest::newRow("a Disabled. line before its role")
        << "/*\n@palette Disabled.Text = #7f7f7f\n@palette Te|xt = #000000\n*/\n"
        << "Move the Disabled.Text line after the Text line (safe fix)"
        << "/*\n@palette Text = #000000\n@palette Disabled.Text = #7f7f7f\n*/\n";
    QTest::newRow("nothing close") << "QLabel { zzzzzz|zz: red; }" << QString() << QString();
}

void TestLspFeatures::codeActionsAreTheChecksFixes()
{
    QFETCH(QString, marked);
    QFETCH(QString, title);
    QFETCH(QString, fixed);
    const Marked at(marked);
    const TextDocument document(QStringLiteral("file:///sheet.qss"), at.text, 1,
                                PositionEncoding::Utf16);
    QVector<PublishedDiagnostic> published;
    for (const LintDiagnostic &diagnostic : lintStyleSheet(at.text.toUtf8(), QString()))
        published.append(publishedDiagnostic(document, diagnostic));
    const QVector<CodeAction> actions = quickFixes(at.text, published, at.offset, at.offset);
    if (title.isEmpty()) {
        QVERIFY(actions.isEmpty());
        return;
    }
    QCOMPARE(actions.size(), 1);
    QCOMPARE(actions.at(0).title, title);
    const PublishedFix &edit = actions.at(0).edit;
    QCOMPARE(QString(at.text).replace(edit.start, edit.end - edit.start, edit.newText), fixed);
}

void TestLspFeatures::relatedPlaceNamesItsFile_data()
{
    // A template's finding names the token that gave the colour it was judged against,
    // which may lie in another file than the finding's document.
    QTest::addColumn<QString>("file"); // of the related place; "" for the finding's own
    QTest::addColumn<QString>("uri");
    QTest::addColumn<QString>("range");
    QTest::newRow("in the document") << QString() << "file:///theme/t.qss.in"
                                     << "1:2-1:9";
    QTest::newRow("in the document, named by its path") << "/theme/t.qss.in"
                                                        << "file:///theme/t.qss.in"
                                                        << "1:2-1:9";
    QTest::newRow("in a token file") << "/theme/tokens/dark.tokens.json"
                                     << "file:///theme/tokens/dark.tokens.json"
                                     << "1:2-1:9";
}

void TestLspFeatures::relatedPlaceNamesItsFile()
{
    QFETCH(QString, file);
    QFETCH(QString, uri);
    QFETCH(QString, range);
    const TextDocument document(QStringLiteral("file:///theme/t.qss.in"),
                                QStringLiteral("QLabel {\n  color: #111111;\n}\n"), 1,
                                PositionEncoding::Utf16);
    LintDiagnostic diagnostic{QStringLiteral("/theme/t.qss.in"),
                              2,
                              10,
                              LintSeverity::Warning,
                              QStringLiteral("contrast"),
                              QStringLiteral("text")};
    diagnostic.related = {{2, 3, 2, 10, QStringLiteral("background #202020"), file}};
    const QJsonObject published = publishedDiagnostic(document, diagnostic).json;
    const QJsonValue related = published[QStringLiteral("relatedInformation")][0];
    QCOMPARE(related["location"]["uri"].toString(), uri);
    const QJsonValue span = related["location"]["range"];
    QCOMPARE(QStringLiteral("%1:%2-%3:%4")
                 .arg(span["start"]["line"].toInt())
                 .arg(span["start"]["character"].toInt())
                 .arg(span["end"]["line"].toInt())
                 .arg(span["end"]["character"].toInt()),
             range);
    QCOMPARE(related["message"].toString(), QStringLiteral("background #202020"));
}

void TestLspFeatures::diagnosticHoverAndPage_data()
{
    QTest::addColumn<QString>("marked"); // the hover is asked for at "|"
    QTest::addColumn<QString>("check");  // the check whose summary the hover starts with

    QTest::newRow("on a misspelt property") << "QLabel { co|lr: red; }"
                                            << "unknown-property";
    QTest::newRow("on a misspelt widget") << "QLab|l { color: red; }"
                                          << "unknown-widget";
    QTest::newRow("away from any diagnostic") << "QLabel { color: red; }|\nQLabl {}" << QString();
}

void TestLspFeatures::diagnosticHoverAndPage()
{
    QFETCH(QString, marked);
    QFETCH(QString, check);
    const Marked at(marked);
    const TextDocument document(QStringLiteral("file:///sheet.qss"), at.text, 1,
                                PositionEncoding::Utf16);
    QVector<PublishedDiagnostic> published;
    for (const LintDiagnostic &diagnostic : lintStyleSheet(at.text.toUtf8(), QString())) {
        published.append(publishedDiagnostic(document, diagnostic));
        // Every diagnostic links the page of its check, which exists.
        const QUrl page(published.last()
                            .json.value(QStringLiteral("codeDescription"))
                            .toObject()
                            .value(QStringLiteral("href"))
                            .toString());
        QVERIFY2(page.isLocalFile() && QFileInfo(page.toLocalFile()).isFile() &&
                     page.fileName() == diagnostic.check + QStringLiteral(".md"),
                 qPrintable(page.toString()));
    }
    const std::optional<HoverInfo> hover = diagnosticHoverAt(published, at.offset, true);
    if (check.isEmpty()) {
        QVERIFY(!hover);
        return;
    }
    QVERIFY(hover);
    QCOMPARE(hover->contents,
             QStringLiteral("**%1**: %2").arg(check, checkExplanationSummary(*lintCheck(check))));
    // Joined with what the reference says of the name, the diagnostic comes first.
    const std::optional<HoverInfo> other = HoverInfo{{0, 1}, QStringLiteral("name"), true};
    QVERIFY(joinHovers(hover, other)->contents.startsWith(hover->contents));
    QVERIFY(joinHovers(hover, other)->contents.endsWith(QLatin1String("\n---\n\nname")));
}

void TestLspFeatures::formattingIsTheFormatters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("indent");
    QTest::newRow("a compact rule") << "/* head */\nQLabel{color:red}\n" << 4;
    QTest::newRow("two spaces, as the editor asks") << "QLabel{color:red}\nQFrame{}\n" << 2;
    QTest::newRow("already formatted") << "QLabel {\n    color: red;\n}\n" << 4;
    QTest::newRow("rejected by the toolkit") << "QLabel { color: red background: blue; }" << 4;
    QTest::newRow("CR LF line endings stay") << "QLabel{color:red}\r\nQFrame{}\r\n" << 4;
    // The edit takes the CR LF whole: a position between the two is the line's end.
    QTest::newRow("a CR LF among LF line endings") << "QLabel {\n    color: red;\r\n}\n" << 4;
}

void TestLspFeatures::formattingIsTheFormatters()
{
    QFETCH(QString, text);
    QFETCH(int, indent);
    SheetFormatOptions options;
    options.indentWidth = indent;
    const SheetFormatResult formatted = formatStyleSheet(text, options);
    const QVector<PublishedFix> edits = formattingEdits(text, options);
    if (!formatted.ok || formatted.text == text) {
        QVERIFY(edits.isEmpty());
        return;
    }
    QCOMPARE(edits.size(), 1);
    // Applied as an editor does, by line and column.
    TextDocument document(QStringLiteral("file:///sheet.qss"), text, 1, PositionEncoding::Utf16);
    int start = 0;
    int end = 0;
    QVERIFY(
        document.rangeOffsets(document.range(edits.at(0).start, edits.at(0).end), &start, &end));
    document.replace(start, end, edits.at(0).newText);
    QCOMPARE(document.text(), formatted.text);
}

void TestLspFeatures::formattingTakesTheProjectsLayout_data()
{
    QTest::addColumn<QByteArray>("configuration");
    QTest::addColumn<int>("indent");
    QTest::addColumn<int>("maxLineLength");
    QTest::newRow("no configuration: the editor's indent") << QByteArray() << 3 << 100;
    QTest::newRow("a configuration without \"format\": the editor's indent")
        << QByteArray("{}") << 3 << 100;
    QTest::newRow("the project's indent wins over the editor's")
        << QByteArray(R"({"format": {"indent": 2, "max-line-length": 60}})") << 2 << 60;
    QTest::newRow("only a line length: the editor's indent")
        << QByteArray(R"({"format": {"max-line-length": 60}})") << 3 << 60;
    QTest::newRow("a broken configuration: the editor's indent")
        << QByteArray(R"({"format": {"indent": -1}})") << 3 << 100;
}

void TestLspFeatures::formattingTakesTheProjectsLayout()
{
    QFETCH(QByteArray, configuration);
    QFETCH(int, indent);
    QFETCH(int, maxLineLength);
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    if (!configuration.isNull()) {
        QFile file(directory.filePath(QStringLiteral(".prismark-lint.json")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(configuration);
    }
    const SheetFormatOptions options =
        formattingOptions(directory.filePath(QStringLiteral("sheets/a.qss")), 3);
    QCOMPARE(options.indentWidth, indent);
    QCOMPARE(options.maxLineLength, maxLineLength);
}

void TestLspFeatures::editsReplaceTheirRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVector<QVector<int>>>("ranges"); // line, character, line, character
    QTest::addColumn<QStringList>("replacements");
    QTest::addColumn<QString>("result");
    const QString two = QStringLiteral("QLabel { color: red }\nQFrame { }\n");
    QTest::newRow("a word replaced by a longer one")
        << two << QVector<QVector<int>>{{0, 16, 0, 19}} << QStringList{"black"}
        << "QLabel { color: black }\nQFrame { }\n";
    QTest::newRow("across a line end, by text with one")
        << two << QVector<QVector<int>>{{0, 9, 1, 8}} << QStringList{"margin: 0 }\nQWidget {"}
        << "QLabel { margin: 0 }\nQWidget { }\n";
    QTest::newRow("a deletion, then an edit on the line it moved up")
        << two << QVector<QVector<int>>{{0, 21, 1, 0}, {0, 21, 0, 27}}
        << QStringList{QString(), "QLine"} << "QLabel { color: red }QLine { }\n";
    QTest::newRow("the last line's end, and past it, clamp to the text's end")
        << two << QVector<QVector<int>>{{1, 10, 9, 0}} << QStringList{"\n/* end */"}
        << "QLabel { color: red }\nQFrame { }\n/* end */";
    QTest::newRow("after CR LF and a surrogate pair, in UTF-16 units")
        << QString::fromUtf8("/*😀*/\r\nQLabel { }")
        << QVector<QVector<int>>{{0, 2, 0, 4}, {1, 9, 1, 9}} << QStringList{"x", "color: red; "}
        << "/*x*/\r\nQLabel { color: red; }";
}

void TestLspFeatures::editsReplaceTheirRange()
{
    QFETCH(QString, text);
    QFETCH(QVector<QVector<int>>, ranges);
    QFETCH(QStringList, replacements);
    QFETCH(QString, result);
    TextDocument document(QStringLiteral("file:///sheet.qss"), text, 1, PositionEncoding::Utf16);
    for (int i = 0; i < ranges.size(); ++i) {
        const QVector<int> &r = ranges.at(i);
        const QJsonObject range{{"start", QJsonObject{{"line", r[0]}, {"character", r[1]}}},
                                {"end", QJsonObject{{"line", r[2]}, {"character", r[3]}}}};
        int start = -1, end = -1;
        QVERIFY(document.rangeOffsets(range, &start, &end));
        document.replace(start, end, replacements.at(i));
    }
    QCOMPARE(document.text(), result);
}

void TestLspFeatures::messageSizeLimitAtItsEdge_data()
{
    QTest::addColumn<qint64>("length");
    QTest::addColumn<bool>("refused");
    QTest::newRow("exactly the limit is awaited") << MessageFramer::kMaxContentLength << false;
    QTest::newRow("one byte over is refused") << MessageFramer::kMaxContentLength + 1 << true;
}

// The header alone decides: a body of the limit is awaited, one byte more is refused
// before any of it arrives, and what arrives of it is dropped, never held.
void TestLspFeatures::messageSizeLimitAtItsEdge()
{
    QFETCH(qint64, length);
    QFETCH(bool, refused);
    MessageFramer framer;
    framer.append("Content-Length: " + QByteArray::number(length) + "\r\n\r\n{}");
    MessageFramer::Frame frame;
    QCOMPARE(framer.next(&frame), refused);
    QCOMPARE(frame.error.contains(QStringLiteral("over the limit")), refused);
    framer.append(QByteArray(4096, ' '));
    QVERIFY(!framer.next(&frame));
    QCOMPARE(framer.pending(), refused ? 0 : 4098);
}

QTEST_GUILESS_MAIN(TestLspFeatures)
#include "tst_lspfeatures.moc"
