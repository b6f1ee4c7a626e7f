// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

// Every relative link and image of the README and docs/ leads somewhere: a moved or
// renamed page, picture or heading fails here rather than in a newcomer's browser.
class TestDocs : public QObject
{
    Q_OBJECT

private slots:
    void anchorsAreTheHeadingsAsRendered_data();
    void anchorsAreTheHeadingsAsRendered();
    void everyRelativeLinkResolves();
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

QTEST_GUILESS_MAIN(TestDocs)
#include "tst_docs.moc"
