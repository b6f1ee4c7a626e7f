// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/checkregistry.h"
#include "analysis/stylesheetlint.h"

#include <QCoreApplication>
#include <QDir>
#include <QSet>
#include <QtTest>

// The analysis as the command-line programs run it, in a process without a GUI
// application: each check against sheets it must accept and sheets it must reject,
// and the registry's promises (every check reachable, each independent of the rest).
class TestAnalysis : public QObject
{
    Q_OBJECT
private slots:
    void eachCheck_data();
    void eachCheck();
    void everyRegisteredCheckIsReportedByAFixture();
    void disablingOneCheckChangesNoOther_data();
    void disablingOneCheckChangesNoOther();
};

namespace {
const QDir kFixtures(QStringLiteral(PRISMARK_LINT_FIXTURES_DIR));

QVector<LintDiagnostic> lintAll(const QByteArray &bytes, const QStringList &disabled = {})
{
    LintOptions options;
    options.gallery = true;
    options.disabledChecks = disabled;
    return lintStyleSheet(bytes, QStringLiteral("sheet.qss"), options);
}

QStringList positionsOf(const QVector<LintDiagnostic> &diagnostics, const QString &check)
{
    QStringList positions;
    for (const LintDiagnostic &diagnostic : diagnostics) {
        if (diagnostic.check == check)
            positions.append(QStringLiteral("%1:%2").arg(diagnostic.line).arg(diagnostic.column));
    }
    return positions;
}

QVector<QPair<QString, QByteArray>> fixtureSheets()
{
    QVector<QPair<QString, QByteArray>> sheets;
    for (const QString &name : kFixtures.entryList({QStringLiteral("*.qss")}, QDir::Files)) {
        QFile file(kFixtures.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            sheets.append({name, file.readAll()});
    }
    return sheets;
}
} // namespace

void TestAnalysis::eachCheck_data()
{
    QTest::addColumn<QString>("check");
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QStringList>("expected"); // that check's LINE:COL, in order

    const auto row = [](const char *check, const char *situation, const QByteArray &sheet,
                        const QStringList &expected) {
        QTest::addRow("%s: %s", check, situation)
            << QString::fromLatin1(check) << sheet << expected;
    };
    row("syntax", "a well-formed rule is accepted", "QPushButton { color: red; }", {});
    row("syntax", "a missing semicolon is placed after the value that lacks it",
        "QPushButton { color: red background: blue; }", {"1:25"});
    row("syntax", "an unclosed rule is reported where the text ends", "QPushButton { color: red;",
        {"1:26"});
    row("syntax", "a declaration without a colon is dropped", "QLabel { color red; }", {"1:10"});

    row("encoding", "plain UTF-8 is accepted", "QLabel { color: #000; } /* \xc3\xa9 */", {});
    row("encoding", "an invalid byte is placed on its own line", "QLabel {}\n\xff\n", {"2:1"});
    row("encoding", "a NUL byte ends the sheet", QByteArray("QLabel {}\n\0junk", 15), {"2:1"});
    row("encoding", "a UTF-16 byte-order mark", "\xff\xfeQ\0", {"1:1"});
    row("encoding", "a NUL after an emoji is placed in characters, not UTF-16 units",
        QByteArray("a \xf0\x9f\x8e\xa8\0", 7), {"1:4"});

    row("palette", "a directive in the leading comment is accepted",
        "/*\n@palette Window = #ffffff\n*/\n", {});
    row("palette", "an unknown role", "/*\n@palette Windows = #ffffff\n*/\n", {"2:1"});
    row("palette", "a directive outside the leading comment",
        "/* x */\n@palette Window = #ffffff\n", {"2:1"});
    row("palette", "the keyword in capitals", "/*\n@Palette Window = #ffffff\n*/\n", {"2:1"});

    row("unknown-property", "a known property and a qproperty assignment are accepted",
        "QLabel { color: red; qproperty-indent: 4; }", {});
    row("unknown-property", "a misspelt property", "QLabel { colour: red; }", {"1:10"});

    row("unknown-pseudo-state", "a known and a negated state are accepted",
        "QPushButton:hover:!checked { color: red; }", {});
    row("unknown-pseudo-state", "a misspelt state", "QPushButton:hovered { color: red; }",
        {"1:13"});

    row("unknown-subcontrol", "a known subcontrol is accepted",
        "QComboBox::drop-down { width: 4px; }", {});
    row("unknown-subcontrol", "a misspelt subcontrol", "QComboBox::dropdown { width: 4px; }",
        {"1:12"});

    row("unknown-widget", "class, descendant and class selectors are accepted",
        "QDialog QPushButton, .QLabel { color: red; }", {});
    row("unknown-widget", "a class name in the wrong case", "QPushbutton { color: red; }", {"1:1"});
    row("unknown-widget", "the table's corner button, a private class the toolkit matches",
        "QTableView QTableCornerButton::section { background: red; }", {});

    row("bad-value", "a readable colour is accepted", "QLabel { color: #123456; }", {});
    row("bad-value", "an unreadable colour is dropped", "QLabel { color: #12345x; }", {"1:17"});
    row("bad-value", "a font size without a unit", "QLabel { font-size: 12; }", {"1:21"});

    row("missing-resource", "nothing to find", "QLabel { image: none; }", {});
    row("missing-resource", "a path that names no file",
        "QLabel { image: url(/nonexistent/x.png); }", {"1:17"});
    row("missing-resource", "a URL where the toolkit reads a path",
        "QLabel { image: url(qrc:/icons/a.svg); }", {"1:17"});

    row("unsafe-resource", "a regular file is safe",
        "QLabel { image: url(" PRISMARK_LINT_FIXTURES_DIR "/clean.qss); }", {});
    row("unsafe-resource", "a device never ends", "QLabel { image: url(/dev/zero); }", {"1:17"});

    row("shadowed", "a state rule is not shadowed by the plain one",
        "QLabel { color: red; }\nQLabel:hover { color: blue; }", {});
    // The toolkit names a tooltip "QToolTip" alone, never by its base classes.
    row("shadowed", "a tooltip is not shadowed by a later label rule",
        "QToolTip { color: red; }\nQLabel { color: blue; }", {});
    row("shadowed", "a later rule with the same selector wins",
        "QLabel { color: red; }\nQLabel { color: blue; }", {"1:10"});

    row("contrast", "black on white is accepted", "QLabel { color: #000; background: #fff; }", {});
    row("contrast", "grey on grey", "QLabel { color: #777777; background: #888888; }", {"1:10"});
    // A background's palette(role) comes from the application palette: the sheet's own.
    row("contrast", "a palette() background takes the sheet's palette, not black",
        "/*\n@palette Window = #1f212a\n*/\nQDialog { background-color: palette(window); "
        "color: #dddddd; }",
        {});
    row("contrast", "a palette() background without a header takes the toolkit's default",
        "QDialog { background-color: palette(window); color: #eeeeee; }", {"1:11"});
    // The toolkit measures em with font metrics, which this process does not have.
    row("contrast", "a border in em is left unchecked, never measured",
        "QPushButton {\n    border: 0.1em solid #333;\n    color: #000;\n    background: "
        "#fff;\n}\n",
        {"2:5"});
    row("contrast", "a border radius in ex is left unchecked, never measured",
        "QLineEdit { border: 1px solid #eee; border-radius: 0.5ex; background: #fff; }", {"1:13"});

    // Seven classes with variants and five object names of the shell.
    QStringList everything;
    for (int i = 0; i < 12; ++i)
        everything.append(QStringLiteral("1:1"));
    row("coverage", "a sheet that styles nothing of the gallery", "", everything);
}

void TestAnalysis::eachCheck()
{
    QFETCH(QString, check);
    QFETCH(QByteArray, sheet);
    QFETCH(QStringList, expected);
    QCOMPARE(positionsOf(lintAll(sheet), check), expected);
}

void TestAnalysis::everyRegisteredCheckIsReportedByAFixture()
{
    QSet<QString> reported;
    for (const auto &fixture : fixtureSheets()) {
        for (const LintDiagnostic &diagnostic : lintAll(fixture.second))
            reported.insert(diagnostic.check);
    }
    QSet<QString> ids;
    for (const LintCheck &check : lintChecks()) {
        QVERIFY2(!ids.contains(QLatin1String(check.id)), check.id);
        ids.insert(QLatin1String(check.id));
    }
    QCOMPARE(reported, ids);
}

void TestAnalysis::disablingOneCheckChangesNoOther_data()
{
    QTest::addColumn<QString>("disabled");
    for (const QString &id : lintCheckIds())
        QTest::newRow(qPrintable(id)) << id;
}

void TestAnalysis::disablingOneCheckChangesNoOther()
{
    QFETCH(QString, disabled);
    const auto text = [](const LintDiagnostic &d) {
        return QStringLiteral("%1:%2 %3 %4").arg(d.line).arg(d.column).arg(d.check, d.message);
    };
    for (const auto &fixture : fixtureSheets()) {
        QStringList expected;
        for (const LintDiagnostic &diagnostic : lintAll(fixture.second)) {
            if (diagnostic.check != disabled)
                expected.append(text(diagnostic));
        }
        QStringList found;
        for (const LintDiagnostic &diagnostic : lintAll(fixture.second, {disabled}))
            found.append(text(diagnostic));
        QVERIFY2(found == expected, qPrintable(fixture.first));
    }
}

QTEST_GUILESS_MAIN(TestAnalysis)
#include "tst_analysis.moc"
