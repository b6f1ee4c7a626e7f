// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/applicationobjects.h"
#include "analysis/stylesheetlint.h"
#include "markedtext.h"
#include "prismark-lsp/features/codeactions.h"
#include "prismark-lsp/features/completion.h"
#include "prismark-lsp/protocol/textdocument.h"

#include <QtTest>

// The language server's features that know the application's Designer forms:
// completion of their object names after "#", and the quick fix of a misspelt one.
class TestLspForms : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void objectNamesOffered_data();
    void objectNamesOffered();
    void misspeltNameMendedByItsQuickFix_data();
    void misspeltNameMendedByItsQuickFix();

private:
    std::shared_ptr<ApplicationObjects> application;
};

namespace {
const QByteArray kForm = R"(<ui version="4.0">
 <widget class="QMainWindow" name="mainWindow">
  <widget class="QWidget" name="central">
   <layout class="QHBoxLayout" name="buttonRow">
    <item>
     <widget class="SaveButton" name="saveButton"/>
    </item>
   </layout>
  </widget>
 </widget>
 <customwidgets>
  <customwidget><class>SaveButton</class><extends>QPushButton</extends></customwidget>
 </customwidgets>
</ui>
)";
} // namespace

void TestLspForms::initTestCase()
{
    application = std::make_shared<ApplicationObjects>();
    QString error;
    QVERIFY2(readFormObjects(kForm, QStringLiteral("ui/main.ui"), application.get(), &error),
             qPrintable(error));
}

void TestLspForms::objectNamesOffered_data()
{
    QTest::addColumn<QString>("marked");
    QTest::addColumn<bool>("formsKnown");
    QTest::addColumn<QString>("offered"); // label=detail, or a label alone
    QTest::addColumn<QString>("absent");

    QTest::newRow("after # the forms' widgets with their class and form")
        << "#sa|" << true << "saveButton=SaveButton in main.ui:6"
        << "buttonRow";
    QTest::newRow("in a compound after its class")
        << "QPushButton#|" << true << "mainWindow=QMainWindow in main.ui:2"
        << "";
    QTest::newRow("the sheet's own names beside them, each once")
        << "#extra { }\n#saveButton { }\n#|" << true << "extra=object name,central"
        << "";
    QTest::newRow("without the forms only the sheet's") << "#extra { }\n#|" << false << "extra"
                                                        << "saveButton";
}

void TestLspForms::objectNamesOffered()
{
    QFETCH(QString, marked);
    QFETCH(bool, formsKnown);
    QFETCH(QString, offered);
    QFETCH(QString, absent);
    const Marked at(marked);
    const QVector<CompletionItem> items = completionItems(at.text, at.offset, markdownClient(),
                                                          formsKnown ? application.get() : nullptr);
    const QStringList found = labels(items);
    for (const QString &entry : offered.split(QLatin1Char(','))) {
        const QString label = entry.section(QLatin1Char('='), 0, 0);
        QCOMPARE(found.count(label), 1);
        if (entry.contains(QLatin1Char('=')))
            QCOMPARE(items.at(int(found.indexOf(label))).detail,
                     entry.section(QLatin1Char('='), 1));
    }
    if (!absent.isEmpty())
        QVERIFY2(!found.contains(absent), qPrintable(found.join(QLatin1Char(' '))));
    for (const CompletionItem &item : items) {
        QCOMPARE(item.replaces.end, at.offset);
        QVERIFY(!item.documentation.isEmpty());
    }
}

void TestLspForms::misspeltNameMendedByItsQuickFix_data()
{
    QTest::addColumn<QString>("marked");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("fixed");
    QTest::newRow("one letter left out") << "QPushButton#save|Buton { color: black; }"
                                         << "Change to 'saveButton' (unsafe fix: a guess)"
                                         << "QPushButton#saveButton { color: black; }";
    QTest::newRow("the letter case") << "#Cen|tral QLabel { color: black; }"
                                     << "Change to 'central' (unsafe fix: a guess)"
                                     << "#central QLabel { color: black; }";
    QTest::newRow("nothing close") << "#zzz|zzz { color: black; }" << QString() << QString();
}

void TestLspForms::misspeltNameMendedByItsQuickFix()
{
    QFETCH(QString, marked);
    QFETCH(QString, title);
    QFETCH(QString, fixed);
    const Marked at(marked);
    LintOptions options;
    options.applicationObjects = application;
    const TextDocument document(QStringLiteral("file:///sheet.qss"), at.text, 1,
                                PositionEncoding::Utf16);
    QVector<PublishedDiagnostic> published;
    for (const LintDiagnostic &diagnostic : lintStyleSheet(at.text.toUtf8(), QString(), options))
        published.append(publishedDiagnostic(document, diagnostic));
    QVERIFY(std::any_of(published.cbegin(), published.cend(), [](const PublishedDiagnostic &d) {
        return d.lint.check == QLatin1String("unknown-object-name");
    }));
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

QTEST_GUILESS_MAIN(TestLspForms)
#include "tst_lspforms.moc"
