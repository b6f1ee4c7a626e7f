// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/auditedwidgets.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

// Which widgets the audits look at, and the names their findings give them: most
// applications name none of their widgets, and each must still be audited, under a
// name that tells it from its siblings and stays the same from run to run.
class TestAuditedWidgets : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void namedByNameOrPlace_data();
    void namedByNameOrPlace();
    void unnamedWidgetsAreAudited();

private:
    std::unique_ptr<QWidget> window;
    QHash<QString, QWidget *> made;
};

// A window with no name, as most are: a named group box, an unnamed one, two
// unnamed buttons and two unnamed edits (a hidden one between them).
void TestAuditedWidgets::init()
{
    window = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(window.get());
    auto *named = new QGroupBox(QStringLiteral("Account"));
    named->setObjectName(QStringLiteral("accountBox"));
    auto *unnamed = new QGroupBox(QStringLiteral("&Details && more"));
    layout->addWidget(named);
    layout->addWidget(unnamed);
    auto *inNamed = new QVBoxLayout(named);
    auto *inUnnamed = new QVBoxLayout(unnamed);
    made = {
        {"save", new QPushButton(QStringLiteral("&Save"))},
        {"cancel", new QPushButton(QStringLiteral("Cancel"))},
        {"okButton", new QPushButton(QStringLiteral("OK"))},
        {"first edit", new QLineEdit},
        {"hidden edit", new QLineEdit},
        {"last edit", new QLineEdit},
        {"label", new QLabel(QStringLiteral("<b>Name</b>   of the\naccount"))},
    };
    made["okButton"]->setObjectName(QStringLiteral("okButton"));
    qobject_cast<QLineEdit *>(made["last edit"])->setPlaceholderText(QStringLiteral("e-mail"));
    for (const char *key : {"save", "cancel", "okButton"})
        inNamed->addWidget(made[QLatin1String(key)]);
    for (const char *key : {"first edit", "hidden edit", "last edit", "label"})
        inUnnamed->addWidget(made[QLatin1String(key)]);
    made["hidden edit"]->hide();
    made["unnamed box"] = unnamed;
    window->show();
}

void TestAuditedWidgets::namedByNameOrPlace_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("name");
    QTest::newRow("a named widget by its name alone") << "okButton"
                                                      << "okButton";
    QTest::newRow("a button by its place and its text, as shown")
        << "save"
        << "accountBox/QPushButton[1] \"Save\"";
    QTest::newRow("its sibling of the same class") << "cancel"
                                                   << "accountBox/QPushButton[2] \"Cancel\"";
    QTest::newRow("an unnamed container by its place and its title")
        << "unnamed box"
        << "QGroupBox[2] \"Details & more\"";
    QTest::newRow("a hidden sibling still counted") << "last edit"
                                                    << "QGroupBox[2]/QLineEdit[3] \"e-mail\"";
    QTest::newRow("an edit without a placeholder, by its place alone")
        << "first edit"
        << "QGroupBox[2]/QLineEdit[1]";
    QTest::newRow("a label's rich text, as plain words")
        << "label"
        << "QGroupBox[2]/QLabel[1] \"Name of the account\"";
}

void TestAuditedWidgets::namedByNameOrPlace()
{
    QFETCH(QString, widget);
    QFETCH(QString, name);
    QCOMPARE(auditedWidgetName(made.value(widget), window.get()), name);
}

// The state audit's choice: the unnamed controls too, the hidden one and the
// container not.
void TestAuditedWidgets::unnamedWidgetsAreAudited()
{
    QStringList names;
    for (QWidget *widget : auditedWidgets(window.get(), false))
        names << auditedWidgetName(widget, window.get());
    QCOMPARE(names,
             (QStringList{QStringLiteral("accountBox/QPushButton[1] \"Save\""),
                          QStringLiteral("accountBox/QPushButton[2] \"Cancel\""),
                          QStringLiteral("okButton"), QStringLiteral("QGroupBox[2]/QLineEdit[1]"),
                          QStringLiteral("QGroupBox[2]/QLineEdit[3] \"e-mail\"")}));
}

QTEST_MAIN(TestAuditedWidgets)
#include "tst_auditedwidgets.moc"
