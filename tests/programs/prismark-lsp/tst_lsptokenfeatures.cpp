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

// The language server's token features in this process, on a theme template and its
// token files: hover, navigation, rename, completion and colours of the tokens.
class TestLspTokenFeatures : public QObject
{
    Q_OBJECT

private slots:
    void tokenHoverFollowsAliases_data();
    void tokenHoverFollowsAliases();
    void tokenHoverReadsTheEditorsText();
    void tokenDefinition_data();
    void tokenDefinition();
    void tokenReferences_data();
    void tokenReferences();
    void tokenRename_data();
    void tokenRename();
    void renamingABuiltInTokenKeepsEverySheet();
    void tokenFileCompletion_data();
    void tokenFileCompletion();
    void tokenColours_data();
    void tokenColours();
    void tokenColourPresentationsWriteTheTokenFile_data();
    void tokenColourPresentationsWriteTheTokenFile();
};

namespace {
// A theme of two variants whose base aliases a token each variant gives.
struct TokenTheme
{
    TokenTheme()
    {
        write(
            QStringLiteral("theme.qss.in"),
            "/*\n@tokens tokens/base.tokens.json\n@variant Light tokens/light.tokens.json\n"
            "@variant Dark tokens/dark.tokens.json\n@palette Button = {palette.button}\n*/\n"
            "QPushButton {\n    background: {color.button.bg};\n    color: {color.button.fg};\n}\n"
            "QToolButton { background: {color.button.bg}; }\n");
        write(QStringLiteral("tokens/base.tokens.json"),
              "{\n  \"color\": {\n    \"$type\": \"color\",\n    \"button\": {\n"
              "      \"bg\": {\"$value\": \"{palette.button}\", \"$description\": \"The face of a "
              "push button.\"},\n      \"fg\": {\"$value\": \"#000000\"}\n    }\n  }\n}\n");
        write(QStringLiteral("tokens/light.tokens.json"),
              "{\"palette\": {\"$type\": \"color\", \"button\": {\"$value\": \"#ffffff\"}}}\n");
        write(QStringLiteral("tokens/dark.tokens.json"),
              "{\"palette\": {\"$type\": \"color\", \"button\": {\"$value\": \"#202020\"},\n"
              "  \"accent\": {\"$value\": {\"colorSpace\": \"srgb\", \"components\": [1, 0.5, 0], "
              "\"hex\": \"#ff8000\"}}}}\n");
    }
    void write(const QString &name, const QByteArray &text)
    {
        QDir().mkpath(QFileInfo(path(name)).path());
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QString path(const QString &name) const { return directory.filePath(name); }
    QString text(const QString &name) const { return *readSourceFromDisk(path(name)); }
    TokenWorkspace workspace(const QString &name) const
    {
        return TokenWorkspace::around(path(name), text(name), &readSourceFromDisk);
    }
    // Where the text `at` stands in a file, plus a character so it is inside.
    int offset(const QString &name, const QString &at) const
    {
        return int(text(name).indexOf(at)) + 1;
    }
    // "light.tokens.json:\\"#ffffff\\"": the file and the text a span covers.
    QStringList described(const QVector<FileSpan> &spans) const
    {
        QStringList result;
        for (const FileSpan &span : spans)
            result << QFileInfo(span.file).fileName() + QLatin1Char(':') +
                          readSourceFromDisk(span.file)->mid(span.span.start,
                                                             span.span.end - span.span.start);
        result.sort();
        return result;
    }
    QTemporaryDir directory;
};

QString applied(QString text, QVector<PublishedFix> edits)
{
    std::sort(edits.begin(), edits.end(),
              [](const PublishedFix &a, const PublishedFix &b) { return a.start > b.start; });
    for (const PublishedFix &edit : edits)
        text.replace(edit.start, edit.end - edit.start, edit.newText);
    return text;
}

void applyRename(const TokenRename &rename)
{
    for (const FileEdits &file : rename.files) {
        const QString text = applied(*readSourceFromDisk(file.file), file.edits);
        QFile out(file.file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(text.toUtf8());
    }
}
} // namespace

void TestLspTokenFeatures::tokenHoverFollowsAliases_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("at");
    QTest::addColumn<QStringList>("contains");
    QTest::newRow("an alias shows its chain in every variant")
        << "theme.qss.in"
        << "color.button.bg}"
        << QStringList{"(color)", "The face of a push button.",
                       "Light {color.button.bg} → {palette.button} → #ffffff",
                       "Dark {color.button.bg} → {palette.button} → #202020"};
    QTest::newRow("a literal shows its value alone")
        << "theme.qss.in"
        << "color.button.fg}" << QStringList{"Light #000000"};
    QTest::newRow("a key in a token file, in the templates' variants")
        << "tokens/light.tokens.json"
        << "\"button\"" << QStringList{"{palette.button}", "Light #ffffff", "Dark #202020"};
}

void TestLspTokenFeatures::tokenHoverFollowsAliases()
{
    QFETCH(QString, file);
    QFETCH(QString, at);
    QFETCH(QStringList, contains);
    const TokenTheme theme;
    const auto hover =
        tokenHover(theme.workspace(file), theme.path(file), theme.offset(file, at), true);
    QVERIFY(hover);
    for (const QString &part : qAsConst(contains))
        QVERIFY2(hover->contents.contains(part), qPrintable(hover->contents));
}

void TestLspTokenFeatures::tokenHoverReadsTheEditorsText()
{
    const TokenTheme theme;
    const QString light = theme.path(QStringLiteral("tokens/light.tokens.json"));
    const SourceReader editor = [&](const QString &path) -> std::optional<QString> {
        if (path == QFileInfo(light).absoluteFilePath())
            return QStringLiteral("{\"palette\": {\"button\": {\"$value\": \"#eeeeee\"}}}");
        return readSourceFromDisk(path);
    };
    const QString name = QStringLiteral("theme.qss.in");
    const auto hover =
        tokenHover(TokenWorkspace::around(theme.path(name), theme.text(name), editor),
                   theme.path(name), theme.offset(name, QStringLiteral("color.button.bg}")), false);
    QVERIFY(hover);
    QVERIFY2(hover->contents.contains(QStringLiteral("Light {color.button.bg} → {palette.button} "
                                                     "→ #eeeeee")),
             qPrintable(hover->contents));
}

void TestLspTokenFeatures::tokenDefinition_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("at");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("a reference goes to the value in the base file")
        << "theme.qss.in"
        << "color.button.bg}" << QStringList{"base.tokens.json:\"{palette.button}\""};
    QTest::newRow("an alias goes to the value in every variant's file")
        << "tokens/base.tokens.json"
        << "palette.button}"
        << QStringList{"dark.tokens.json:\"#202020\"", "light.tokens.json:\"#ffffff\""};
    QTest::newRow("a reference in the header, too")
        << "theme.qss.in"
        << "palette.button}"
        << QStringList{"dark.tokens.json:\"#202020\"", "light.tokens.json:\"#ffffff\""};
    QTest::newRow("a key goes to its own value")
        << "tokens/base.tokens.json"
        << "\"fg\"" << QStringList{"base.tokens.json:\"#000000\""};
    QTest::newRow("a selector is no reference") << "theme.qss.in"
                                                << "QToolButton" << QStringList();
}

void TestLspTokenFeatures::tokenDefinition()
{
    QFETCH(QString, file);
    QFETCH(QString, at);
    QFETCH(QStringList, expected);
    const TokenTheme theme;
    QCOMPARE(theme.described(
                 tokenDefinitions(theme.workspace(file), theme.path(file), theme.offset(file, at))),
             expected);
}

void TestLspTokenFeatures::tokenReferences_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("at");
    QTest::addColumn<bool>("declaration");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("a reference finds every use in the template")
        << "theme.qss.in"
        << "color.button.bg}" << false
        << QStringList{"theme.qss.in:color.button.bg", "theme.qss.in:color.button.bg"};
    QTest::newRow("with the declaration its key")
        << "theme.qss.in"
        << "color.button.bg}" << true
        << QStringList{"base.tokens.json:bg", "theme.qss.in:color.button.bg",
                       "theme.qss.in:color.button.bg"};
    QTest::newRow("a variant's key finds the template above and the alias")
        << "tokens/dark.tokens.json"
        << "\"button\"" << true
        << QStringList{"base.tokens.json:palette.button", "dark.tokens.json:button",
                       "light.tokens.json:button", "theme.qss.in:palette.button"};
    QTest::newRow("nothing off a token") << "theme.qss.in"
                                         << "QPushButton" << true << QStringList();
}

void TestLspTokenFeatures::tokenReferences()
{
    QFETCH(QString, file);
    QFETCH(QString, at);
    QFETCH(bool, declaration);
    QFETCH(QStringList, expected);
    const TokenTheme theme;
    QCOMPARE(theme.described(::tokenReferences(theme.workspace(file), theme.path(file),
                                               theme.offset(file, at), declaration)),
             expected);
}

void TestLspTokenFeatures::tokenRename_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("at");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QString>("placeholder");
    QTest::addColumn<QStringList>("expected"); // "file:text" after the rename, or the refusal
    QTest::newRow("the last segment from a use")
        << "theme.qss.in"
        << "color.button.bg}"
        << "face"
        << "color.button.bg"
        << QStringList{"theme.qss.in:{color.button.face};", "base.tokens.json:\"face\": {"};
    QTest::newRow("the whole path with its last segment changed")
        << "theme.qss.in"
        << "color.button.bg}"
        << "color.button.face"
        << "color.button.bg"
        << QStringList{"theme.qss.in:background: {color.button.face}; }",
                       "base.tokens.json:\"face\": {"};
    QTest::newRow("a group renames every path under it")
        << "tokens/base.tokens.json"
        << "\"button\""
        << "btn"
        << "button"
        << QStringList{"theme.qss.in:{color.btn.bg}", "theme.qss.in:{color.btn.fg}",
                       "base.tokens.json:\"btn\": {"};
    QTest::newRow("a token in every variant's file and its alias")
        << "tokens/light.tokens.json"
        << "\"button\""
        << "buttonFace"
        << "button"
        << QStringList{"light.tokens.json:\"buttonFace\"", "dark.tokens.json:\"buttonFace\"",
                       "base.tokens.json:\"{palette.buttonFace}\"",
                       "theme.qss.in:= {palette.buttonFace}"};
    QTest::newRow("another segment is refused")
        << "theme.qss.in"
        << "color.button.bg}"
        << "colour.button.face"
        << "color.button.bg" << QStringList{"error:only the last part of a token path is renamed"};
    QTest::newRow("an existing token is refused")
        << "theme.qss.in"
        << "color.button.bg}"
        << "fg"
        << "color.button.bg" << QStringList{"error:already exists"};
    QTest::newRow("a name with a space is refused")
        << "theme.qss.in"
        << "color.button.bg}"
        << "b g"
        << "color.button.bg" << QStringList{"error:not a token name"};
    QTest::newRow("a selector is refused") << "theme.qss.in"
                                           << "QToolButton"
                                           << "x"
                                           << "" << QStringList{"error:no token path here"};
}

void TestLspTokenFeatures::tokenRename()
{
    QFETCH(QString, file);
    QFETCH(QString, at);
    QFETCH(QString, newName);
    QFETCH(QString, placeholder);
    QFETCH(QStringList, expected);
    const TokenTheme theme;
    const TokenWorkspace workspace = theme.workspace(file);
    const int offset = theme.offset(file, at);
    const auto prepared = prepareTokenRename(workspace, theme.path(file), offset);
    QCOMPARE(prepared ? prepared->placeholder : QString(), placeholder);
    const TokenRename rename = renameToken(workspace, theme.path(file), offset, newName);
    if (expected.first().startsWith(QLatin1String("error:"))) {
        QVERIFY2(rename.error.contains(expected.first().mid(6)), qPrintable(rename.error));
        QVERIFY(rename.files.isEmpty());
        return;
    }
    QVERIFY2(rename.error.isEmpty(), qPrintable(rename.error));
    applyRename(rename);
    for (const QString &change : qAsConst(expected)) {
        const QString name = change.section(QLatin1Char(':'), 0, 0);
        const QString text = change.section(QLatin1Char(':'), 1);
        const QString path =
            QFileInfo(theme.path(name)).fileName() == name && name.endsWith(QLatin1String(".json"))
                ? theme.path(QStringLiteral("tokens/") + name)
                : theme.path(name);
        QVERIFY2(readSourceFromDisk(path)->contains(text),
                 qPrintable(change + QLatin1Char('\n') + *readSourceFromDisk(path)));
    }
    // Renamed everywhere, the theme builds as before.
    const ThemeBuild build = buildTheme(theme.path(QStringLiteral("theme.qss.in")));
    QVERIFY2(build.ok(), build.errors.isEmpty() ? "" : qPrintable(build.errors.first().text()));
    QCOMPARE(build.sheets.size(), 2);
    QVERIFY(build.sheets.at(1).text.contains("background: #202020"));
}

void TestLspTokenFeatures::renamingABuiltInTokenKeepsEverySheet()
{
    QTemporaryDir directory;
    const QString sources = QStringLiteral(PRISMARK_SOURCE_DIR "/resources/theme-sources");
    QVERIFY(QProcess::execute(QStringLiteral("cp"),
                              {QStringLiteral("-r"), sources, directory.path()}) == 0);
    const QString themePath = directory.filePath(QStringLiteral("theme-sources/prismark.qss.in"));
    const ThemeBuild before = buildTheme(themePath);
    QVERIFY(before.ok());
    const QString text = *readSourceFromDisk(themePath);
    const int offset = int(text.indexOf(QLatin1String("{palette.window}"))) + 2;
    const TokenWorkspace workspace = TokenWorkspace::around(themePath, text, &readSourceFromDisk);

    const auto hover = tokenHover(workspace, themePath, offset, false);
    QVERIFY(hover);
    // A line for each variant: "Light #f6f8fb".
    QCOMPARE(hover->contents.count(QRegularExpression(QStringLiteral("^\\w+ #[0-9a-f]{6}$"),
                                                      QRegularExpression::MultilineOption)),
             before.sheets.size());
    QCOMPARE(tokenDefinitions(workspace, themePath, offset).size(), before.sheets.size());

    const TokenRename rename =
        renameToken(workspace, themePath, offset, QStringLiteral("windowBackground"));
    QVERIFY2(rename.error.isEmpty(), qPrintable(rename.error));
    applyRename(rename);
    const ThemeBuild after = buildTheme(themePath);
    QVERIFY(after.ok());
    QCOMPARE(after.sheets.size(), before.sheets.size());
    for (int i = 0; i < after.sheets.size(); ++i)
        QCOMPARE(after.sheets.at(i).text, before.sheets.at(i).text);
    QVERIFY(!readSourceFromDisk(themePath)->contains(QLatin1String("{palette.window}")));
}

void TestLspTokenFeatures::tokenFileCompletion_data()
{
    QTest::addColumn<QString>("marked");
    QTest::addColumn<QString>("offered"); // "" for nothing
    QTest::addColumn<QString>("replaced");
    QTest::addColumn<QString>("newText");
    QTest::newRow("a type in the string of $type")
        << "{\"a\": {\"$type\": \"dim|\", \"b\": {\"$value\": \"4px\"}}}"
        << "dimension"
        << "dim"
        << "dimension";
    QTest::newRow("a type in a half written file") << "{\"a\": {\"$type\": \"|"
                                                   << "color"
                                                   << ""
                                                   << "color";
    QTest::newRow("an alias path after {, closed for it") << "{\"x\": {\"$value\": \"{palette.bu|"
                                                          << "palette.button"
                                                          << "palette.bu"
                                                          << "palette.button}";
    QTest::newRow("an alias path before an existing }") << "{\"x\": {\"$value\": \"{color.|}\"}}"
                                                        << "color.button.fg"
                                                        << "color."
                                                        << "color.button.fg";
    QTest::newRow("no group is an alias") << "{\"x\": {\"$value\": \"{|"
                                          << "color.button"
                                          << ""
                                          << "";
    QTest::newRow("nothing before the {") << "{\"x\": {\"$value\": \"|{pal"
                                          << "palette.button"
                                          << ""
                                          << "";
    QTest::newRow("nothing in a plain value") << "{\"x\": {\"$value\": \"#12|"
                                              << "palette.button"
                                              << ""
                                              << "";
    QTest::newRow("nothing in a key") << "{\"$ty|"
                                      << "color"
                                      << ""
                                      << "";
}

void TestLspTokenFeatures::tokenFileCompletion()
{
    QFETCH(QString, marked);
    QFETCH(QString, offered);
    QFETCH(QString, replaced);
    QFETCH(QString, newText);
    const TokenTheme theme;
    const QString file = QStringLiteral("tokens/light.tokens.json");
    const Marked at(marked);
    const QVector<CompletionItem> items =
        tokenFileCompletions(theme.workspace(file), at.text, at.offset);
    const int index = int(labels(items).indexOf(offered));
    if (newText.isEmpty()) {
        QCOMPARE(index, -1);
        return;
    }
    QVERIFY2(index >= 0, qPrintable(labels(items).join(QLatin1Char(' '))));
    const CompletionItem &item = items.at(index);
    QCOMPARE(at.text.mid(item.replaces.start, item.replaces.end - item.replaces.start), replaced);
    QCOMPARE(item.newText, newText);
}

void TestLspTokenFeatures::tokenColours_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("expected"); // "text under the swatch=colour"
    QTest::newRow("a template's references in the first variant's colours")
        << "theme.qss.in"
        << QStringList{"{palette.button}=#ffffff", "{color.button.bg}=#ffffff",
                       "{color.button.fg}=#000000", "{color.button.bg}=#ffffff"};
    QTest::newRow("a token file's own values, not its aliases")
        << "tokens/base.tokens.json" << QStringList{"#000000=#000000"};
    QTest::newRow("an object value as a whole")
        << "tokens/dark.tokens.json"
        << QStringList{"#202020=#202020", "{\"colorSpace\": \"srgb\", \"components\": [1, 0.5, 0], "
                                          "\"hex\": \"#ff8000\"}=#ff8000"};
}

void TestLspTokenFeatures::tokenColours()
{
    QFETCH(QString, file);
    QFETCH(QStringList, expected);
    const TokenTheme theme;
    const QString text = theme.text(file);
    QStringList found;
    for (const ColourInformation &colour : ::tokenColours(theme.workspace(file), theme.path(file)))
        found << text.mid(colour.span.start, colour.span.end - colour.span.start) +
                     QLatin1Char('=') + colour.colour.name();
    QCOMPARE(found, expected);
}

void TestLspTokenFeatures::tokenColourPresentationsWriteTheTokenFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("token");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("an opaque string value")
        << "tokens/base.tokens.json"
        << "color.button.fg" << QColor(0x33, 0x66, 0x99) << QStringList{"#336699"};
    QTest::newRow("a translucent string value, alpha last")
        << "tokens/base.tokens.json"
        << "color.button.fg" << QColor(0x33, 0x66, 0x99, 0x80)
        << QStringList{"#33669980", "rgba(51, 102, 153, 0.502)"};
    QTest::newRow("an object value stays an object")
        << "tokens/dark.tokens.json"
        << "palette.accent" << QColor(0x12, 0x34, 0x56, 0x40)
        << QStringList{"{\"colorSpace\": \"srgb\", \"components\": [0.0706, 0.2039, 0.3373], "
                       "\"alpha\": 0.251, \"hex\": \"#123456\"}"};
    QTest::newRow("a template's reference is no place to write it")
        << "theme.qss.in"
        << "color.button.fg" << QColor(0x33, 0x66, 0x99) << QStringList();
}

void TestLspTokenFeatures::tokenColourPresentationsWriteTheTokenFile()
{
    QFETCH(QString, file);
    QFETCH(QString, token);
    QFETCH(QColor, colour);
    QFETCH(QStringList, labels);
    const TokenTheme theme;
    const TokenWorkspace workspace = theme.workspace(file);
    const QVector<ColourInformation> swatches = ::tokenColours(workspace, theme.path(file));
    QVERIFY(!swatches.isEmpty());
    const TextSpan span = file.endsWith(QLatin1String(".qss.in"))
                              ? swatches.at(2).span // {color.button.fg}
                              : swatches.last().span;
    const QVector<ColourPresentation> presentations =
        tokenColourPresentations(workspace, theme.path(file), span, colour);
    QStringList found;
    for (const ColourPresentation &presentation : presentations) {
        found << presentation.label;
        // Written back, every form reads as the colour picked.
        DesignTokens tokens;
        tokens.addDocument(applied(theme.text(file), {presentation.edit}), file, nullptr);
        tokens.resolve(nullptr);
        QVERIFY(tokens.value(token));
        QCOMPARE(tokens.value(token)->colour, colour);
    }
    QCOMPARE(found, labels);
}

QTEST_GUILESS_MAIN(TestLspTokenFeatures)
#include "tst_lsptokenfeatures.moc"
