// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "theme/palettedirectives.h"
#include "theme/stylesheetloader.h"
#include "theme/themecatalogue.h"
#include "tokens/themebuild.h"

#include <QApplication>
#include <QProxyStyle>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QtTest>

Q_DECLARE_METATYPE(Theme)

namespace {

struct Rule
{
    QString selectors; // joined onto one line, as in the skeleton
    QMap<QString, QString> declarations;
};

// Reads the files' own layout strictly; the first departure from it is the error.
QVector<Rule> parsedRules(const QString &text, QString *error)
{
    static const QRegularExpression directive(
        QStringLiteral("^@palette (Window|WindowText|Base|AlternateBase|Text|Button|ButtonText|"
                       "Highlight|HighlightedText|Disabled\\.Text|Disabled\\.ButtonText) = "
                       "#[0-9a-f]{6}$"));
    static const QRegularExpression declaration(QStringLiteral("^    ([a-z-]+): ([^;]+);$"));
    const QStringList lines = text.split(QLatin1Char('\n'));
    const auto fail = [&](int index, const char *what) {
        *error = QStringLiteral("line %1: %2: \"%3\"").arg(index + 1).arg(what, lines.value(index));
        return QVector<Rule>();
    };
    if (lines.size() < 14 || lines[0] != QLatin1String("/*") || lines[12] != QLatin1String("*/") ||
        !lines[13].isEmpty())
        return fail(0, "header is not /*, eleven directives, */ and an empty line");
    for (int i = 1; i <= 11; ++i) {
        if (!directive.match(lines[i]).hasMatch())
            return fail(i, "not a palette directive");
    }
    if (!lines.last().isEmpty())
        return fail(lines.size() - 1, "file must end with a line end");
    const int end = lines.size() - 1;
    QVector<Rule> rules;
    int i = 14;
    while (i < end) {
        Rule rule;
        while (i < end && lines[i].endsWith(QLatin1Char(',')))
            rule.selectors += lines[i++] + QLatin1Char(' ');
        if (i == end || !lines[i].endsWith(QLatin1String(" {")) || lines[i].startsWith(' '))
            return fail(i, "expected a selector line ending in \" {\"");
        rule.selectors += lines[i++].chopped(2);
        for (; i < end && lines[i] != QLatin1String("}"); ++i) {
            const QRegularExpressionMatch match = declaration.match(lines[i]);
            if (!match.hasMatch())
                return fail(i, "not a declaration");
            rule.declarations.insert(match.captured(1), match.captured(2));
        }
        if (i == end)
            return fail(i, "block is not closed");
        rules << rule;
        if (++i < end && !lines[i++].isEmpty())
            return fail(i - 1, "blocks must be separated by one empty line");
    }
    return rules;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The built-in themes built from their sources, as the stylesheets target builds them.
const ThemeBuild &builtInThemes()
{
    static const ThemeBuild build = [] {
        ThemeBuildOptions options;
        options.sheetName = QStringLiteral("{camel}.qss");
        return buildTheme(QStringLiteral(PRISMARK_THEME_TEMPLATE), options);
    }();
    return build;
}

QString committedPath(Theme theme)
{
    return QStringLiteral(PRISMARK_COMMITTED_STYLES_DIR "/") + styleSheetFileName(theme);
}

QString compiledInText(Theme theme)
{
    return readStyleSheetFile(QStringLiteral(":/styles/") + styleSheetFileName(theme));
}

QVector<Rule> rulesOf(Theme theme)
{
    QString error;
    const QVector<Rule> rules = parsedRules(compiledInText(theme), &error);
    if (!error.isEmpty())
        qWarning("%s", qPrintable(error));
    return rules;
}

const Rule *find(const QVector<Rule> &rules, const QString &selectors)
{
    for (const Rule &rule : rules) {
        if (rule.selectors == selectors)
            return &rule;
    }
    return nullptr;
}

QString firstDifference(const QString &actual, const QString &expected)
{
    const QStringList a = actual.split(QLatin1Char('\n'));
    const QStringList e = expected.split(QLatin1Char('\n'));
    for (int i = 0; i < qMax(a.size(), e.size()); ++i) {
        if (a.value(i) != e.value(i))
            return QStringLiteral("line %1 is \"%2\", expected \"%3\"")
                .arg(i + 1)
                .arg(a.value(i), e.value(i));
    }
    return QString();
}

void addThemeRows()
{
    QTest::addColumn<Theme>("theme");
    for (int value = 0; value < ThemeCount; ++value)
        QTest::newRow(themeInfo(Theme(value)).displayName) << Theme(value);
}

QList<int> allBut(const QList<int> &excluded)
{
    QList<int> themes;
    for (int value = 0; value < ThemeCount; ++value) {
        if (!excluded.contains(value))
            themes << value;
    }
    return themes;
}

// Paints as QPushButton does, but may claim the mouse: the offscreen platform has no
// pointer, and the style option only reports hover for a real one.
class HoverablePushButton : public QPushButton
{
public:
    using QPushButton::QPushButton;
    bool hovered = false;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        if (hovered)
            option.state |= QStyle::State_MouseOver;
        painter.drawControl(QStyle::CE_PushButton, option);
    }
};

QStringList g_warnings;

void collectWarnings(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        g_warnings << message;
}

} // namespace

class TestStyleSheetFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setStyle(new QProxyStyle(QStyleFactory::create("Fusion")));
    }

    void sourcesBuildOneSheetPerTheme()
    {
        const ThemeBuild &build = builtInThemes();
        QStringList messages;
        for (const SourceError &error : build.errors)
            messages << error.text();
        QVERIFY2(build.ok(), qPrintable(messages.join(QLatin1Char('\n')) + build.usageError));
        QStringList built;
        for (const BuiltSheet &sheet : build.sheets)
            built << sheet.fileName;
        QStringList catalogue;
        for (int value = 0; value < ThemeCount; ++value)
            catalogue << styleSheetFileName(Theme(value));
        QCOMPARE(built, catalogue);
    }

    void committedFileIsBuiltSheet_data() { addThemeRows(); }
    void committedFileIsBuiltSheet()
    {
        QFETCH(Theme, theme);
        const QString committed = QString::fromUtf8(fileBytes(committedPath(theme)));
        QString generated;
        for (const BuiltSheet &sheet : builtInThemes().sheets) {
            if (sheet.fileName == styleSheetFileName(theme))
                generated = QString::fromUtf8(sheet.text);
        }
        QVERIFY2(committed == generated,
                 qPrintable(QStringLiteral("%1: %2; regenerate with the stylesheets target")
                                .arg(committedPath(theme), firstDifference(committed, generated))));
    }

    void compiledInCopyIsCommittedFile_data() { addThemeRows(); }
    void compiledInCopyIsCommittedFile()
    {
        QFETCH(Theme, theme);
        const QByteArray committed = fileBytes(committedPath(theme));
        QVERIFY(!committed.isEmpty());
        QCOMPARE(fileBytes(QStringLiteral(":/styles/") + styleSheetFileName(theme)), committed);
    }

    void fileKeepsItsLayout_data() { addThemeRows(); }
    void fileKeepsItsLayout()
    {
        QFETCH(Theme, theme);
        const QByteArray bytes = fileBytes(committedPath(theme));
        for (const char byte : bytes)
            QVERIFY2(byte == '\n' || (byte >= ' ' && byte <= '~'), "only printable ASCII and LF");
        QVERIFY2(!bytes.contains(" \n"), "no trailing blanks");
        QVERIFY2(bytes.lastIndexOf("/*") == 0, "no comment but the header");
        QString error;
        parsedRules(QString::fromLatin1(bytes), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void headerGivesPaletteColumn_data()
    {
        QTest::addColumn<Theme>("theme");
        QTest::addColumn<QStringList>("colours"); // Window to Highlight, as in the header
        QTest::addColumn<QString>("disabled");
        const auto row = [](Theme theme, const char *colours, const char *disabled) {
            QTest::newRow(themeInfo(theme).displayName)
                << theme << QString::fromLatin1(colours).split(QLatin1Char(' ')) << disabled;
        };
        row(Light, "#f6f8fb #1d2228 #ffffff #eef2f7 #1d2228 #eef2f7 #1d2228 #246bfe", "#919aa6");
        row(BlueLight, "#f5f7fa #303133 #ffffff #f5f7fa #303133 #ffffff #303133 #409eff",
            "#a8abb2");
        row(ArduinoLight, "#f5fbfb #263f3f #ffffff #e8f5f5 #263f3f #ffffff #266f6f #339999",
            "#9aa8a8");
        row(VS17Light, "#f3f3f3 #1e1e1e #ffffff #f5f5f5 #1e1e1e #fdfdfd #1e1e1e #007acc",
            "#8a8886");
        row(AyuLightBordered, "#f8f9fa #5c6166 #fcfcfc #eaedef #5c6166 #fcfcfc #5c6166 #f29718",
            "#b1b9c3");
        row(TokyoNightLight, "#d6d8df #363c4d #e6e7ed #dadce3 #363c4d #e6e7ed #363c4d #2959aa",
            "#707280");
        row(AbsentLight, "#f2f2f2 #465360 #ffffff #f5f5f5 #465360 #ffffff #465360 #228a96",
            "#a2a797");
        row(MonochromatorLight, "#f0f0f2 #303034 #ffffff #f0f0f2 #000000 #ffffff #303034 #303036",
            "#76767c");
        row(NeonGreenLight, "#f0faf0 #2a2d3e #ffffff #e2f5e3 #2a2d3e #ffffff #2a2d3e #0d9e00",
            "#7f927f");
        row(HorizonModernLight, "#f4f6f8 #1f2933 #ffffff #eef1f5 #1f2933 #ffffff #1f2933 #e95678",
            "#7b8794");
        row(PurpleBlue, "#0b0f1a #cdd6f4 #0f1420 #131827 #cdd6f4 #131827 #cdd6f4 #a855f7",
            "#6c7086");
        row(Dark, "#1f2329 #f2f5f8 #23282f #343a44 #f2f5f8 #343a44 #f2f5f8 #6aa9ff", "#7e8894");
    }
    void headerGivesPaletteColumn()
    {
        QFETCH(Theme, theme);
        QFETCH(QStringList, colours);
        QFETCH(QString, disabled);
        const QPalette::ColorRole roles[] = {
            QPalette::Window,        QPalette::WindowText, QPalette::Base,
            QPalette::AlternateBase, QPalette::Text,       QPalette::Button,
            QPalette::ButtonText,    QPalette::Highlight,  QPalette::HighlightedText};
        colours << QStringLiteral("#ffffff"); // HighlightedText is white in every theme
        QPalette palette(Qt::magenta);
        applyPaletteDirectivesFromText(palette, compiledInText(theme));
        for (int i = 0; i < 9; ++i) {
            for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
                const bool refined =
                    group == QPalette::Disabled &&
                    (roles[i] == QPalette::Text || roles[i] == QPalette::ButtonText);
                QCOMPARE(palette.color(group, roles[i]).name(), refined ? disabled : colours[i]);
            }
        }
    }

    void blockCount_data()
    {
        QTest::addColumn<Theme>("theme");
        QTest::addColumn<int>("count");
        // Light lacks the input hover, focus and disabled button rules, themes 4 to 7 the
        // input hover rule; Dark lacks the same three as Light but has its table blocks.
        for (int value = 0; value < ThemeCount; ++value) {
            const Theme theme = Theme(value);
            int count = 63;
            if (theme == Light)
                count = 60;
            else if (theme >= AyuLightBordered && theme <= MonochromatorLight)
                count = 62;
            QTest::newRow(themeInfo(theme).displayName) << theme << count;
        }
    }
    void blockCount()
    {
        QFETCH(Theme, theme);
        QFETCH(int, count);
        QCOMPARE(rulesOf(theme).size(), count);
    }

    void onlySomeThemesHave_data()
    {
        QTest::addColumn<QString>("selectors");
        QTest::addColumn<QString>("property"); // empty: the whole block
        QTest::addColumn<QList<int>>("themes");
        const QString focus =
            QStringLiteral("QLineEdit:focus, QComboBox:focus, QDateTimeEdit:focus, QSpinBox:focus, "
                           "QTextEdit:focus, QPlainTextEdit:focus");
        const QString hover = QString(focus).replace(QLatin1String(":focus"), ":hover");
        const auto row = [](const char *name, const QString &selectors, const char *property,
                            const QList<int> &themes) {
            QTest::newRow(name) << selectors << QString::fromLatin1(property) << themes;
        };
        row("bold push buttons only in Arduino", "QPushButton", "font-weight", {2});
        row("bold group titles only in Arduino and Neon Green", "QGroupBox::title", "font-weight",
            {2, 8});
        row("table views styled only in Dark", "QTableView, QTableWidget", "", {11});
        row("selected table cells styled only in Dark",
            "QTableView::item:selected, QTableWidget::item:selected", "", {11});
        row("hovered inputs recoloured in six themes", hover, "", {1, 2, 3, 8, 9, 10});
        row("no focus rule in Light and Dark", focus, "", allBut({0, 11}));
        row("no disabled push button rule in Light and Dark", "QPushButton:disabled", "",
            allBut({0, 11}));
        row("push button text colour not in Light and Dark", "QPushButton", "color",
            allBut({0, 11}));
        row("hovered push button text kept in five themes", "QPushButton:hover", "color",
            allBut({0, 3, 5, 7, 11}));
        row("flat title bars have no side borders", "#appTitleBar", "border-left",
            allBut({7, 8, 9, 10}));
        row("selected tab marker not in Light, Blue Light and Dark", "QTabBar::tab:selected",
            "border-top", allBut({0, 1, 11}));
    }
    void onlySomeThemesHave()
    {
        QFETCH(QString, selectors);
        QFETCH(QString, property);
        QFETCH(QList<int>, themes);
        for (int value = 0; value < ThemeCount; ++value) {
            const QVector<Rule> parsed = rulesOf(Theme(value));
            const Rule *rule = find(parsed, selectors);
            const bool present =
                rule && (property.isEmpty() || rule->declarations.contains(property));
            QVERIFY2(
                present == themes.contains(value),
                qPrintable(styleSheetFileName(Theme(value)) + (present ? " has it" : " lacks it")));
        }
    }

    void declarationValue_data()
    {
        QTest::addColumn<Theme>("theme");
        QTest::addColumn<QString>("selectors");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("value");
        const auto row = [](const char *name, Theme theme, const char *selectors,
                            const char *property, const char *value) {
            QTest::newRow(name) << theme << QString::fromLatin1(selectors)
                                << QString::fromLatin1(property) << QString::fromLatin1(value);
        };
        row("Monochromator selected menu item is pale grey", MonochromatorLight,
            "QMenu::item:selected", "background", "#d8d8dc");
        row("Monochromator selected menu item has black text", MonochromatorLight,
            "QMenu::item:selected", "color", "#000000");
        row("Light selected menu item has white text", Light, "QMenu::item:selected", "color",
            "white");
        row("Arduino title bar ends in a 2px teal rule", ArduinoLight, "#appTitleBar",
            "border-bottom", "2px solid #339999");
        row("Light title bar ends in a 1px rule", Light, "#appTitleBar", "border-bottom",
            "1px solid #d8dee8");
        row("Arduino marks the selected tab in gold", ArduinoLight, "QTabBar::tab:selected",
            "border-top", "2px solid #ffd700");
        row("Dark table grid lines", Dark, "QTableView, QTableWidget", "gridline-color", "#48505c");
        row("Dark table alternate rows", Dark, "QTableView, QTableWidget",
            "alternate-background-color", "#2f3540");
        row("Dark table cell padding", Dark, "QTableView::item, QTableWidget::item", "padding",
            "4px 6px");
        row("Light push buttons are narrower", Light, "QPushButton", "padding", "5px 12px");
        row("VS17 progress chunk is nearly square", VS17Light, "QProgressBar::chunk",
            "border-radius", "1px");
        row("Ayu warning button text is dark brown", AyuLightBordered,
            R"(QPushButton[variant="warning"], QToolButton[variant="warning"])", "color",
            "#5c3a00");
        row("Purple Blue hovered push button text is white", PurpleBlue, "QPushButton:hover",
            "color", "#ffffff");
        row("Tokyo scroll bar handle takes the disabled text colour", TokyoNightLight,
            "QScrollBar::handle:horizontal", "background", "#707280");
    }
    void declarationValue()
    {
        QFETCH(Theme, theme);
        QFETCH(QString, selectors);
        QFETCH(QString, property);
        QFETCH(QString, value);
        const QVector<Rule> parsed = rulesOf(theme);
        const Rule *rule = find(parsed, selectors);
        QVERIFY(rule);
        QCOMPARE(rule->declarations.value(property), value);
    }

    void variantButtonsFollowPlainButtonRules_data() { addThemeRows(); }
    void variantButtonsFollowPlainButtonRules()
    {
        QFETCH(Theme, theme);
        const QVector<Rule> parsed = rulesOf(theme);
        const auto position = [&](const QString &selectors) {
            const Rule *rule = find(parsed, selectors);
            return rule ? int(rule - parsed.data()) : -1;
        };
        const int plainHover = position(QStringLiteral("QPushButton:hover"));
        const int variantHover =
            position(QStringLiteral("QPushButton[variant]:hover, QToolButton[variant]:hover"));
        QVERIFY(plainHover >= 0);
        for (const char *variant : {"default", "primary", "success", "info", "warning", "error"}) {
            const int block =
                position(QStringLiteral(R"(QPushButton[variant="%1"], QToolButton[variant="%1"])")
                             .arg(QLatin1String(variant)));
            QVERIFY2(plainHover < block && block < variantHover, variant);
        }
    }

    void toolkitParsesFile_data() { addThemeRows(); }
    void toolkitParsesFile()
    {
        QFETCH(Theme, theme);
        g_warnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
        qApp->setStyleSheet(compiledInText(theme));
        QPushButton button(QStringLiteral("OK"));
        button.ensurePolished(); // the engine parses the sheet on first use
        qInstallMessageHandler(previous);
        qApp->setStyleSheet(QString());
        QVERIFY2(g_warnings.isEmpty(), qPrintable(g_warnings.join(QLatin1Char('\n'))));
    }

    void buttonShowsThemeColours_data()
    {
        QTest::addColumn<Theme>("theme");
        QTest::addColumn<QString>("variant"); // empty: a plain push button
        QTest::addColumn<bool>("hovered");
        QTest::addColumn<QString>("fill");
        QTest::addColumn<QString>("border");
        const auto row = [](const char *name, Theme theme, const char *variant, bool hovered,
                            const char *fill, const char *border) {
            QTest::newRow(name) << theme << QString::fromLatin1(variant) << hovered
                                << QString::fromLatin1(fill) << QString::fromLatin1(border);
        };
        row("Light primary button in the highlight colour", Light, "primary", false, "#246bfe",
            "#246bfe");
        row("Arduino warning button in gold", ArduinoLight, "warning", false, "#ffd700", "#d8b300");
        row("Dark error button in red", Dark, "error", false, "#ff6b6b", "#ff6b6b");
        row("hovered Blue Light plain button", BlueLight, "", true, "#ecf5ff", "#c6e2ff");
        row("hovered Light success button keeps its fill", Light, "success", true, "#22a06b",
            "#1d2228");
        row("hovered Purple Blue info button keeps its fill", PurpleBlue, "info", true, "#3b82f6",
            "#ffffff");
    }
    void buttonShowsThemeColours()
    {
        QFETCH(Theme, theme);
        QFETCH(QString, variant);
        QFETCH(bool, hovered);
        QFETCH(QString, fill);
        QFETCH(QString, border);
        qApp->setStyleSheet(compiledInText(theme));
        HoverablePushButton button(QStringLiteral("OK"));
        if (!variant.isEmpty())
            button.setProperty("variant", variant);
        button.hovered = hovered;
        button.resize(120, 36);
        const QImage image = button.grab().toImage();
        qApp->setStyleSheet(QString());
        // Mid-width, clear of the rounded corners; row 3 lies in the padding above the text.
        QCOMPARE(image.pixelColor(60, 3).name(), fill);
        QCOMPARE(image.pixelColor(60, 0).name(), border);
    }
};

QTEST_MAIN(TestStyleSheetFiles)
#include "tst_stylesheetfiles.moc"
