// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tokens/colourfunctions.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

// Every relative link and image of the README and docs/ leads somewhere: a moved or
// renamed page, picture or heading fails here rather than in a newcomer's browser.
// What the pages say of the template's colour functions is their table's.
class TestDocs : public QObject
{
    Q_OBJECT

private slots:
    void anchorsAreTheHeadingsAsRendered_data();
    void anchorsAreTheHeadingsAsRendered();
    void everyRelativeLinkResolves();
    void buildPageTablesTheColourFunctions();
    void pagesNameEveryColourFunction_data();
    void pagesNameEveryColourFunction();
};

namespace {

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// Fenced blocks, indented blocks and code spans hold commands, not links.
QString withoutCode(const QString &markdown)
{
    QString text = markdown;
    text.remove(QRegularExpression(QStringLiteral("(?ms)^```.*?^```[^\\n]*$")));
    text.remove(QRegularExpression(QStringLiteral("(?m)^(    |\\t).*$")));
    text.remove(QRegularExpression(QStringLiteral("`[^`\\n]*`")));
    return text;
}

// A heading's anchor as the hosting sites render it: lower case, punctuation
// dropped, spaces as hyphens.
QString anchorOf(const QString &heading)
{
    QString anchor;
    for (const QChar c : heading.trimmed().toLower()) {
        if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_'))
            anchor.append(c);
        else if (c == QLatin1Char(' '))
            anchor.append(QLatin1Char('-'));
    }
    return anchor;
}

QSet<QString> anchorsIn(const QString &markdown)
{
    QSet<QString> anchors;
    QString text = markdown;
    text.remove(QRegularExpression(QStringLiteral("(?ms)^```.*?^```[^\\n]*$")));
    const QRegularExpression heading(QStringLiteral("(?m)^#{1,6} +(.+?) *#*$"));
    for (auto match = heading.globalMatch(text); match.hasNext();) {
        QString title = match.next().captured(1);
        title.remove(QLatin1Char('`'));
        anchors.insert(anchorOf(title));
    }
    return anchors;
}

QStringList documents()
{
    const QDir root(QStringLiteral(PRISMARK_SOURCE_DIR));
    QStringList found{root.filePath(QStringLiteral("README.md"))};
    QDirIterator it(root.filePath(QStringLiteral("docs")), {QStringLiteral("*.md")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found.append(it.next());
    found.sort();
    return found;
}

} // namespace

void TestDocs::anchorsAreTheHeadingsAsRendered_data()
{
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("anchor");
    QTest::newRow("words") << "Visual Studio Code"
                           << "visual-studio-code";
    QTest::newRow("parentheses dropped") << "Emacs (eglot)"
                                         << "emacs-eglot";
    QTest::newRow("punctuation dropped, hyphens kept") << "prismark-lint: what is wrong, and where?"
                                                       << "prismark-lint-what-is-wrong-and-where";
    QTest::newRow("dots dropped") << "In a project: .prismark-lint.json"
                                  << "in-a-project-prismark-lintjson";
}

void TestDocs::anchorsAreTheHeadingsAsRendered()
{
    QFETCH(QString, heading);
    QFETCH(QString, anchor);
    QCOMPARE(anchorOf(heading), anchor);
}

void TestDocs::everyRelativeLinkResolves()
{
    const QRegularExpression link(QStringLiteral("!?\\[[^\\]]*\\]\\(\\s*<?([^)\\s>]+)>?[^)]*\\)"));
    QStringList broken;
    int checked = 0;
    for (const QString &document : documents()) {
        const QString markdown = readText(document);
        QVERIFY2(!markdown.isEmpty(), qPrintable(document));
        const QString relativeName =
            QDir(QStringLiteral(PRISMARK_SOURCE_DIR)).relativeFilePath(document);
        for (auto match = link.globalMatch(withoutCode(markdown)); match.hasNext();) {
            const QString target = match.next().captured(1);
            if (target.contains(QLatin1String("://")) ||
                target.startsWith(QLatin1String("mailto:")))
                continue;
            ++checked;
            const int hash = target.indexOf(QLatin1Char('#'));
            const QString path = hash < 0 ? target : target.left(hash);
            const QString fragment = hash < 0 ? QString() : target.mid(hash + 1);
            const QString file =
                path.isEmpty() ? document : QFileInfo(document).dir().filePath(path);
            if (!QFileInfo::exists(file)) {
                broken.append(relativeName + QLatin1String(": ") + target +
                              QLatin1String(" (no file)"));
                continue;
            }
            if (!fragment.isEmpty() && file.endsWith(QLatin1String(".md")) &&
                !anchorsIn(readText(file)).contains(fragment))
                broken.append(relativeName + QLatin1String(": ") + target +
                              QLatin1String(" (no such heading)"));
        }
    }
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QLatin1Char('\n'))));
    QVERIFY(checked > 0);
}

// The table docs/build.md gives, one row a function, as colourFunctions() has them.
QString colourFunctionTable()
{
    QString table = QStringLiteral("| Function | What it computes |\n|---|---|\n");
    for (const ColourFunction &function : colourFunctions())
        table += QStringLiteral("| `%1` | %2 |\n")
                     .arg(function.signature(), QString::fromUtf8(function.description));
    return table;
}

void TestDocs::buildPageTablesTheColourFunctions()
{
    const QString page = readText(QStringLiteral(PRISMARK_SOURCE_DIR "/docs/build.md"));
    const QString header = QStringLiteral("| Function | What it computes |\n");
    const int start = int(page.indexOf(header));
    QVERIFY2(start >= 0, "docs/build.md has no table of the colour functions");
    int end = start;
    while (end < page.size() && page.at(end) == QLatin1Char('|'))
        end = int(page.indexOf(QLatin1Char('\n'), end)) + 1;
    const QString expected = colourFunctionTable();
    QVERIFY2(page.mid(start, end - start) == expected,
             qPrintable(QStringLiteral("docs/build.md's table of colour functions should read\n") +
                        expected));
}

void TestDocs::pagesNameEveryColourFunction_data()
{
    QTest::addColumn<QString>("document");
    // How the page writes a function's name; %1 is the name.
    QTest::addColumn<QString>("written");
    QTest::newRow("prismark-build's man page")
        << QStringLiteral("programs/prismark-build/prismark-build.1") << QStringLiteral("\\fB%1(");
    QTest::newRow("the language server's completion")
        << QStringLiteral("docs/lsp.md") << QStringLiteral("`%1`");
}

void TestDocs::pagesNameEveryColourFunction()
{
    QFETCH(QString, document);
    QFETCH(QString, written);
    const QString page = readText(QStringLiteral(PRISMARK_SOURCE_DIR "/") + document);
    QVERIFY(!page.isEmpty());
    int after = 0;
    for (const ColourFunction &function : colourFunctions()) {
        const QString name = written.arg(QLatin1String(function.name));
        const int at = int(page.indexOf(name, after));
        QVERIFY2(at >= 0, qPrintable(document + QStringLiteral(" does not name ") + name +
                                     QStringLiteral(" after the functions before it")));
        after = at + int(name.size());
    }
}

QTEST_GUILESS_MAIN(TestDocs)
#include "tst_docs.moc"
