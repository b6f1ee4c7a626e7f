// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/server/openworkspace.h"

#include <QTemporaryDir>
#include <QtTest>

// The theme sources around an open document: what the editor holds of them is read
// ahead of the disk, by the token features and by the analysis.
class TestOpenWorkspace : public QObject
{
    Q_OBJECT

private slots:
    void editorsTextStandsForTheFile_data();
    void editorsTextStandsForTheFile();
    void analysisContext();
};

namespace {
struct Theme
{
    Theme()
    {
        QVERIFY(QDir(directory.path()).mkdir(QStringLiteral("tokens")));
        write(QStringLiteral("theme.qss.in"),
              "/*\n@tokens tokens/light.tokens.json\n*/\nQWidget { color: {palette.text}; }\n");
        write(QStringLiteral("tokens/light.tokens.json"),
              "{\"palette\": {\"$type\": \"color\", \"text\": {\"$value\": \"#101010\"}}}\n");
    }
    void write(const QString &name, const QByteArray &text)
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QString path(const QString &name) const { return directory.filePath(name); }
    // Opens the file with the editor's text, unsaved.
    OpenDocument &open(const QString &name, const QString &text)
    {
        const QString uri = uriOfLocalPath(path(name));
        documents.insert(uri, std::make_shared<OpenDocument>(
                                  TextDocument(uri, text, 1, PositionEncoding::Utf16)));
        return *documents.value(uri);
    }
    QTemporaryDir directory;
    OpenDocuments documents;
};

const QString kEditedTokens =
    QStringLiteral("{\"palette\": {\"text\": {\"$value\": \"#202020\"}}}\n");
} // namespace

void TestOpenWorkspace::editorsTextStandsForTheFile_data()
{
    QTest::addColumn<bool>("tokensOpen");
    QTest::newRow("the token file open") << true;
    QTest::newRow("only on disk") << false;
}

void TestOpenWorkspace::editorsTextStandsForTheFile()
{
    QFETCH(bool, tokensOpen);
    Theme theme;
    const OpenDocument &sheet = theme.open(QStringLiteral("theme.qss.in"), "QLabel {}\n");
    if (tokensOpen)
        theme.open(QStringLiteral("tokens/light.tokens.json"), kEditedTokens);
    QVERIFY(isTokenDocument(sheet));
    // The template's own text is the editor's: it names no token file now.
    QCOMPARE(tokenWorkspace(theme.documents, sheet).sources().size(), 1);

    const OpenDocument &edited =
        theme.open(QStringLiteral("theme.qss.in"), "/*\n@tokens tokens/light.tokens.json\n*/\n");
    const TokenWorkspace workspace = tokenWorkspace(theme.documents, edited);
    const TokenSource *tokens =
        workspace.source(theme.path(QStringLiteral("tokens/light.tokens.json")));
    QVERIFY(tokens);
    QCOMPARE(tokens->text.contains(QLatin1String("#202020")), tokensOpen);
}

void TestOpenWorkspace::analysisContext()
{
    Theme theme;
    const QString templateText = QStringLiteral("/*\n@tokens tokens/light.tokens.json\n*/\n");
    const OpenDocument &sheet = theme.open(QStringLiteral("theme.qss.in"), templateText);
    OpenDocument &tokens = theme.open(QStringLiteral("tokens/light.tokens.json"), kEditedTokens);
    const QString tokensPath = theme.path(QStringLiteral("tokens/light.tokens.json"));

    // A template is checked with the open token files, as the editor holds them...
    TokenContext context = tokenContext(theme.documents, sheet);
    QVERIFY(context.templates.isEmpty());
    QCOMPARE(context.texts.value(tokensPath), kEditedTokens);
    // ...but none too large to be analysed.
    tokens.tooLarge = true;
    QVERIFY(tokenContext(theme.documents, sheet).texts.isEmpty());

    // A token file, with the templates that name it, and without itself.
    context = tokenContext(theme.documents, tokens);
    QCOMPARE(context.templates, QStringList{theme.path(QStringLiteral("theme.qss.in"))});
    QCOMPARE(context.texts.value(context.templates.value(0)), templateText);
    QVERIFY(!context.texts.contains(tokensPath));
}

QTEST_GUILESS_MAIN(TestOpenWorkspace)
#include "tst_openworkspace.moc"
