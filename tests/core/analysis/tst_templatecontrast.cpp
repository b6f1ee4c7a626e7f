// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "analysis/contrastratio.h"
#include "analysis/oklch.h"
#include "analysis/templatecontrast.h"

// A theme template held to a WCAG level in memory: where its failing pairs are told,
// and what the fixer changes (only failing pairs' tokens, by the least lightness, hue
// kept) or cannot.
namespace {

const char *const kTemplate = "/*\n"
                              "@tokens tokens/base.tokens.json\n"
                              "@variant Light\n"
                              "@variant Contrasty high-contrast\n"
                              "HEADER"
                              "@palette Window = {color.window}\n"
                              "@palette WindowText = {color.text}\n"
                              "*/\n"
                              "QWidget { color: {color.text}; background: {color.window}; }\n"
                              "QLabel#hint { color: {color.hint}; }\n"
                              "QLineEdit { background: {color.window}; "
                              "border: 1px solid {color.frame}; }\n"
                              "EXTRA";

// The hint on line 6, the frame on line 7.
const char *const kTokens = "{\n"
                            "  \"color\": {\n"
                            "    \"$type\": \"color\",\n"
                            "    \"window\": {\"$value\": \"WINDOW\"},\n"
                            "    \"text\": {\"$value\": \"TEXT\"},\n"
                            "    \"hint\": {\"$value\": \"HINT\"},\n"
                            "    \"frame\": {\"$value\": \"FRAME\"}\n"
                            "  }\n"
                            "}\n";

struct Theme
{
    QString hint = QStringLiteral("#767676"); // 4.54 : 1 on white: AA, not AAA
    QString frame = QStringLiteral("#949494");
    QString text = QStringLiteral("#1d2228");
    QString window = QStringLiteral("#ffffff");
    QString header;
    QString extra;
};

QString writeTheme(const QTemporaryDir &dir, const Theme &theme)
{
    QDir().mkpath(dir.filePath(QStringLiteral("tokens")));
    QFile tokens(dir.filePath(QStringLiteral("tokens/base.tokens.json")));
    tokens.open(QIODevice::WriteOnly);
    tokens.write(QString::fromLatin1(kTokens)
                     .replace(QLatin1String("WINDOW"), theme.window)
                     .replace(QLatin1String("TEXT"), theme.text)
                     .replace(QLatin1String("HINT"), theme.hint)
                     .replace(QLatin1String("FRAME"), theme.frame)
                     .toUtf8());
    const QString path = dir.filePath(QStringLiteral("theme.qss.in"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QString::fromLatin1(kTemplate)
                   .replace(QLatin1String("HEADER"), theme.header)
                   .replace(QLatin1String("EXTRA"), theme.extra)
                   .toUtf8());
    return path;
}

// "base.tokens.json:6 {color.hint} Light,Contrasty" for each finding.
QStringList places(const QVector<LintDiagnostic> &findings)
{
    static const QRegularExpression via(QStringLiteral("\\(via (\\{[^}]*\\})\\)"));
    QStringList found;
    for (const LintDiagnostic &finding : findings)
        found << QStringLiteral("%1:%2 %3 %4")
                     .arg(QFileInfo(finding.file).fileName())
                     .arg(finding.line)
                     .arg(via.match(finding.message).captured(1),
                          finding.variants.join(QLatin1Char(',')));
    return found;
}

ThemeBuildOptions onlyVariant(const QString &variant)
{
    ThemeBuildOptions options;
    if (!variant.isEmpty())
        options.variants = QStringList{variant};
    return options;
}

const VariantContrastFix *fixOf(const TemplateContrastFix &fix, const QString &variant)
{
    for (const VariantContrastFix &each : fix.variants) {
        if (each.variant == variant)
            return &each;
    }
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(Theme)

class TestTemplateContrast : public QObject
{
    Q_OBJECT

private slots:
    void failingPairsAreToldAtTheirTokens_data();
    void failingPairsAreToldAtTheirTokens();
    void fixMovesOnlyFailingTokensByTheLeastLightness_data();
    void fixMovesOnlyFailingTokensByTheLeastLightness();
    void pairsThatCannotAllPassAreToldAndNothingIsWritten();
    void oklchKeepsColoursAndOrdersLightness_data();
    void oklchKeepsColoursAndOrdersLightness();
};

void TestTemplateContrast::failingPairsAreToldAtTheirTokens_data()
{
    QTest::addColumn<Theme>("theme");
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("a theme passing AA has no finding") << Theme() << "AA"
                                                       << "Light" << QStringList();
    QTest::newRow("the high-contrast variant is held to AAA unasked")
        << Theme() << ""
        << "" << QStringList{"base.tokens.json:6 {color.hint} Contrasty"};
    Theme faint;
    faint.hint = QStringLiteral("#9aa0a6");
    QTest::newRow("faint text is told at its token, once per level")
        << faint << "AA"
        << ""
        << QStringList{"base.tokens.json:6 {color.hint} Light",
                       "base.tokens.json:6 {color.hint} Contrasty"};
    Theme pale;
    pale.frame = QStringLiteral("#d0d4d8");
    QTest::newRow("a pale input border is told at its token")
        << pale << "AA"
        << "Light" << QStringList{"base.tokens.json:7 {color.frame} Light"};
    Theme directive;
    directive.header = QStringLiteral("@contrast AAA\n");
    QTest::newRow("@contrast AAA holds every variant to it")
        << directive << ""
        << "" << QStringList{"base.tokens.json:6 {color.hint} Light,Contrasty"};
}

void TestTemplateContrast::failingPairsAreToldAtTheirTokens()
{
    QFETCH(Theme, theme);
    QFETCH(QString, level);
    QFETCH(QString, variant);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    ContrastLevel asked = ContrastLevel::None;
    QVERIFY(level.isEmpty() || contrastLevelFromName(level, &asked));
    const TemplateLint found =
        checkTemplateContrast(writeTheme(dir, theme), asked, onlyVariant(variant));
    QCOMPARE(places(found.diagnostics), expected);
    for (const LintDiagnostic &finding : found.diagnostics)
        QCOMPARE(finding.severity, LintSeverity::Error);
}

void TestTemplateContrast::fixMovesOnlyFailingTokensByTheLeastLightness_data()
{
    QTest::addColumn<Theme>("theme");
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("changed");

    Theme faint;
    faint.hint = QStringLiteral("#e8825f"); // an orange at 2.7 : 1 on white
    faint.frame = QStringLiteral("#d0d4d8");
    QTest::newRow("faint text and pale border darken; passing tokens stay")
        << faint << "Light" << QStringList{"color.frame", "color.hint"};
    QTest::newRow("the high-contrast variant darkens text that passes AA")
        << Theme() << "Contrasty" << QStringList{"color.hint"};
    Theme button;
    button.frame = QStringLiteral("#ffd700"); // a yellow fill, also the inputs' border
    button.hint = QStringLiteral("#263f3f");
    button.extra =
        QStringLiteral("QPushButton { color: {color.hint}; background: {color.frame}; }\n");
    QTest::newRow("a darkened fill fails its text, which then darkens too")
        << button << "Light" << QStringList{"color.frame", "color.hint"};
    Theme black;
    black.text = QStringLiteral("#000000");
    black.window = QStringLiteral("#595959");
    black.hint = QStringLiteral("#000000");
    black.frame = QStringLiteral("#000000");
    QTest::newRow("black text cannot darken: its background lightens")
        << black << "Light" << QStringList{"color.window"};
}

void TestTemplateContrast::fixMovesOnlyFailingTokensByTheLeastLightness()
{
    QFETCH(Theme, theme);
    QFETCH(QString, variant);
    QFETCH(QStringList, changed);
    QTemporaryDir dir;
    const QString path = writeTheme(dir, theme);
    const TemplateContrastFix fix =
        fixTemplateContrast(path, ContrastLevel::AA, onlyVariant(variant));
    QVERIFY(fix.fixed());
    const VariantContrastFix *result = fixOf(fix, variant);
    QVERIFY(result);
    QStringList tokens;
    for (const ContrastTokenChange &change : result->changes)
        tokens << change.token;
    QCOMPARE(tokens, changed);

    // Merged over the variant's tokens, the file makes every pair pass.
    ThemeBuildOptions fixed = onlyVariant(variant);
    fixed.overrideTokens.insert(variant, QString::fromUtf8(result->tokenFile));
    QCOMPARE(places(checkTemplateContrast(path, ContrastLevel::AA, fixed).diagnostics),
             QStringList());
    for (const ContrastPairChange &pair : result->pairs)
        QVERIFY2(pair.after > pair.before, qPrintable(pair.finding.message));

    for (const ContrastTokenChange &change : result->changes) {
        const Oklch before = oklchFromColour(change.before);
        const Oklch after = oklchFromColour(change.after);
        if (before.chroma > 0.05)
            QVERIFY2(std::abs(before.hue - after.hue) < 2, qPrintable(change.token));
        // A hundredth less of a move and some pair fails again.
        const double back = after.lightness < before.lightness ? 0.01 : -0.01;
        ThemeBuildOptions less = fixed;
        less.overrideTokens.insert(
            variant, QString::fromUtf8(result->tokenFile)
                         .replace(change.after.name(),
                                  withOklchLightness(change.after, after.lightness + back).name()));
        QVERIFY2(!checkTemplateContrast(path, ContrastLevel::AA, less).diagnostics.isEmpty(),
                 qPrintable(change.token));
    }
}

void TestTemplateContrast::pairsThatCannotAllPassAreToldAndNothingIsWritten()
{
    // The hint as text on white and on black: at 7 : 1 no grey serves both.
    Theme theme;
    theme.hint = QStringLiteral("#9aa0a6");
    theme.extra = QStringLiteral("QPushButton { color: {color.hint}; background: #000000; }\n"
                                 "QToolButton { color: {color.hint}; background: #ffffff; }\n");
    QTemporaryDir dir;
    const TemplateContrastFix fix =
        fixTemplateContrast(writeTheme(dir, theme), ContrastLevel::AAA, onlyVariant("Light"));
    QVERIFY(!fix.fixed());
    const VariantContrastFix *result = fixOf(fix, QStringLiteral("Light"));
    QVERIFY(result);
    QVERIFY(!result->unfixable.isEmpty());
    QVERIFY(places(result->unfixable).first().contains(QLatin1String("{color.hint}")));
    const QString message = result->unfixable.first().message;
    QVERIFY2(message.contains(QLatin1String("no lightness of {color.hint}")), qPrintable(message));
    QVERIFY2(message.contains(QLatin1String("it would fail text")), qPrintable(message));
}

void TestTemplateContrast::oklchKeepsColoursAndOrdersLightness_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::newRow("white") << QColor(Qt::white);
    QTest::newRow("black") << QColor(Qt::black);
    QTest::newRow("a saturated blue") << QColor(0x24, 0x6b, 0xff);
    QTest::newRow("a dull green") << QColor(0x5c, 0x80, 0x61);
    QTest::newRow("translucent red keeps its alpha") << QColor(255, 0, 0, 128);
}

void TestTemplateContrast::oklchKeepsColoursAndOrdersLightness()
{
    QFETCH(QColor, colour);
    const Oklch oklch = oklchFromColour(colour);
    QCOMPARE(colourFromOklch(oklch, colour.alpha()), colour);
    // Lighter in OKLCH is lighter to WCAG too, so the fixer's halving finds its edge.
    double previous = -1;
    for (double lightness = 0; lightness <= 1.0001; lightness += 0.1) {
        const QColor moved = withOklchLightness(colour, lightness);
        QCOMPARE(moved.alpha(), colour.alpha());
        const double luminance = relativeLuminance(moved.rgb());
        QVERIFY(luminance >= previous);
        previous = luminance;
    }
}

QTEST_GUILESS_MAIN(TestTemplateContrast)
#include "tst_templatecontrast.moc"
