// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "theme/palettedirectives.h"

#include <QtTest>

namespace {

const QColor kUntouched(1, 2, 3);

struct Expected
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    QColor color;
};

const QPalette::ColorGroup kGroups[] = {QPalette::Active, QPalette::Inactive, QPalette::Disabled};

QPalette untouchedPalette()
{
    QPalette palette;
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        if (role == QPalette::NoRole)
            continue;
        palette.setColor(QPalette::All, QPalette::ColorRole(role), kUntouched);
    }
    return palette;
}

} // namespace

Q_DECLARE_METATYPE(QVector<Expected>)

class TestPaletteDirectives : public QObject
{
    Q_OBJECT
private slots:
    void directives_data();
    void directives();
    void roleNames_data();
    void roleNames();
};

void TestPaletteDirectives::directives_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVector<Expected>>("expected");

    const QColor window(0xf6, 0xf8, 0xfb);
    const QColor red(255, 0, 0);
    const auto everyGroup = [](QPalette::ColorRole role, const QColor &color) {
        QVector<Expected> result;
        for (QPalette::ColorGroup group : kGroups)
            result.append({group, role, color});
        return result;
    };

    QTest::newRow("six digits set Window in all three groups")
        << "@palette Window = #f6f8fb" << everyGroup(QPalette::Window, window);
    QTest::newRow("Disabled. prefix sets only the disabled group")
        << "@palette Disabled.Text = #919aa6"
        << QVector<Expected>{{QPalette::Disabled, QPalette::Text, QColor(0x91, 0x9a, 0xa6)}};
    QTest::newRow("a later plain directive overwrites an earlier Disabled. one")
        << "@palette Disabled.Text = #919aa6\n@palette Text = #102030"
        << everyGroup(QPalette::Text, QColor(0x10, 0x20, 0x30));
    QTest::newRow("Disabled. after the plain directive refines it")
        << "@palette ButtonText = #102030\n@palette Disabled.ButtonText = #919aa6"
        << QVector<Expected>{{QPalette::Active, QPalette::ButtonText, QColor(0x10, 0x20, 0x30)},
                             {QPalette::Inactive, QPalette::ButtonText, QColor(0x10, 0x20, 0x30)},
                             {QPalette::Disabled, QPalette::ButtonText, QColor(0x91, 0x9a, 0xa6)}};
    QTest::newRow("a later directive for the same role wins")
        << "@palette Base = #000001\n@palette Base = #ff0000" << everyGroup(QPalette::Base, red);
    QTest::newRow("no blanks around the equals sign")
        << "@palette Highlight=#ff0000" << everyGroup(QPalette::Highlight, red);
    QTest::newRow("tabs and several blanks count as whitespace")
        << "@palette\t  Highlight \t=\t#ff0000" << everyGroup(QPalette::Highlight, red);
    QTest::newRow("no blank between keyword and role is no directive")
        << "@paletteWindow = #ff0000" << QVector<Expected>{};
    QTest::newRow("role name in lower case is unknown")
        << "@palette window = #ff0000" << QVector<Expected>{};
    QTest::newRow("keyword with a capital P is no directive")
        << "@Palette Window = #ff0000" << QVector<Expected>{};
    QTest::newRow("Shadow is not one of the nine roles")
        << "@palette Shadow = #ff0000" << QVector<Expected>{};
    QTest::newRow("Inactive. is no group prefix")
        << "@palette Inactive.Text = #ff0000" << QVector<Expected>{};
    QTest::newRow("Active. is no group prefix")
        << "@palette Active.Text = #ff0000" << QVector<Expected>{};
    QTest::newRow("Disabled. followed by an unknown name")
        << "@palette Disabled.Shadow = #ff0000" << QVector<Expected>{};
    QTest::newRow("Disabled. followed by nothing")
        << "@palette Disabled. = #ff0000" << QVector<Expected>{};
    QTest::newRow("prefix written twice")
        << "@palette Disabled.Disabled.Text = #ff0000" << QVector<Expected>{};
    QTest::newRow("role name with a digit") << "@palette Base2 = #ff0000" << QVector<Expected>{};
    QTest::newRow("role name with an underscore")
        << "@palette Alternate_Base = #ff0000" << QVector<Expected>{};
    QTest::newRow("eight digits read as alpha, red, green, blue")
        << "@palette Window = #80ff0000" << everyGroup(QPalette::Window, QColor(255, 0, 0, 0x80));
    QTest::newRow("upper-case hexadecimal digits")
        << "@palette Window = #F6F8FB" << everyGroup(QPalette::Window, window);
    QTest::newRow("seven digits: the first six are the colour")
        << "@palette Window = #ff00001" << everyGroup(QPalette::Window, red);
    QTest::newRow("five digits make no directive")
        << "@palette Window = #ff000" << QVector<Expected>{};
    QTest::newRow("a colour name makes no directive")
        << "@palette Window = red" << QVector<Expected>{};
    QTest::newRow("a colour without # makes no directive")
        << "@palette Window = ff0000" << QVector<Expected>{};
    QTest::newRow("only the first of two directives on a line counts")
        << "@palette Window = #ff0000 @palette Base = #00ff00" << everyGroup(QPalette::Window, red);
    QTest::newRow("a malformed first occurrence does not hide a valid one")
        << "@palette Window = oops @palette Base = #ff0000" << everyGroup(QPalette::Base, red);
    QTest::newRow("text before the keyword, as in a comment")
        << " * @palette Window = #ff0000; trailing words" << everyGroup(QPalette::Window, red);
    QTest::newRow("a directive outside the leading comment counts")
        << "QWidget { color: red; }\n/* @palette Base = #ff0000 */"
        << everyGroup(QPalette::Base, red);
    QTest::newRow("a carriage return left in the line is harmless")
        << "@palette Window = #ff0000\r\n"
        << everyGroup(QPalette::Window, red);
    QTest::newRow("a directive split across two lines is none")
        << "@palette Window =\n#ff0000" << QVector<Expected>{};
    QTest::newRow("empty text changes nothing") << QString() << QVector<Expected>{};
    QTest::newRow("binary garbage changes nothing")
        << QString::fromLatin1("\x01\xff@pal\x00ette\n#ff0000\n", 20) << QVector<Expected>{};
}

void TestPaletteDirectives::directives()
{
    QFETCH(QString, text);
    QFETCH(QVector<Expected>, expected);

    QPalette palette = untouchedPalette();
    applyPaletteDirectivesFromText(palette, text);

    for (QPalette::ColorGroup group : kGroups) {
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto role = QPalette::ColorRole(r);
            if (role == QPalette::NoRole)
                continue;
            QColor want = kUntouched;
            for (const Expected &e : expected) {
                if (e.group == group && e.role == role)
                    want = e.color;
            }
            const QBrush brush = palette.brush(group, role);
            QVERIFY2(brush.color().rgba() == want.rgba(),
                     qPrintable(QStringLiteral("group %1 role %2: %3, expected %4")
                                    .arg(group)
                                    .arg(r)
                                    .arg(brush.color().name(QColor::HexArgb),
                                         want.name(QColor::HexArgb))));
            QCOMPARE(brush.style(), Qt::SolidPattern);
        }
    }
}

void TestPaletteDirectives::roleNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("known");
    QTest::addColumn<int>("role");

    QTest::newRow("Window") << "Window" << true << int(QPalette::Window);
    QTest::newRow("WindowText") << "WindowText" << true << int(QPalette::WindowText);
    QTest::newRow("Base") << "Base" << true << int(QPalette::Base);
    QTest::newRow("AlternateBase") << "AlternateBase" << true << int(QPalette::AlternateBase);
    QTest::newRow("Text") << "Text" << true << int(QPalette::Text);
    QTest::newRow("Button") << "Button" << true << int(QPalette::Button);
    QTest::newRow("ButtonText") << "ButtonText" << true << int(QPalette::ButtonText);
    QTest::newRow("Highlight") << "Highlight" << true << int(QPalette::Highlight);
    QTest::newRow("HighlightedText") << "HighlightedText" << true << int(QPalette::HighlightedText);
    QTest::newRow("other letter case") << "highlight" << false << 0;
    QTest::newRow("prefix not removed") << "Disabled.Text" << false << 0;
    QTest::newRow("a role the sheets do not use") << "ToolTipBase" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
}

void TestPaletteDirectives::roleNames()
{
    QFETCH(QString, name);
    QFETCH(bool, known);
    QFETCH(int, role);

    QPalette::ColorRole result = QPalette::Shadow;
    QCOMPARE(paletteRoleFromName(name, result), known);
    QCOMPARE(int(result), known ? role : int(QPalette::Shadow));
}

QTEST_GUILESS_MAIN(TestPaletteDirectives)
#include "tst_palettedirectives.moc"
