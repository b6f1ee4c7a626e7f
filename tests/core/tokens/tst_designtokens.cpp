// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/colourliterals.h"
#include "tokens/designtokens.h"
#include "tokens/svgrecolour.h"
#include "tokens/themebuild.h"
#include "tokens/themetemplate.h"

#include <QtTest>

// The theme engine in memory: token files as authors and design tools write them,
// templates with references, functions and directives, and what a slip reports.
namespace {

const QString kTokensFile = QStringLiteral("t.tokens.json");
const QString kTemplateFile = QStringLiteral("t.qss.in");

QStringList texts(const SourceErrors &errors)
{
    QStringList lines;
    for (const SourceError &error : errors)
        lines << error.text();
    return lines;
}

DesignTokens tokensFrom(const QStringList &documents, SourceErrors *errors)
{
    DesignTokens tokens;
    for (const QString &document : documents)
        tokens.addDocument(document, kTokensFile, errors);
    tokens.resolve(errors);
    return tokens;
}

// The template rendered for one variant, over one token file.
QString rendered(const QString &templateText, const QString &tokenText, const QString &variant,
                 SourceErrors *errors)
{
    const ThemeTemplate theme = ThemeTemplate::parse(templateText, kTemplateFile, errors);
    const DesignTokens tokens = tokensFrom({tokenText}, errors);
    return theme.render(tokens, variant, {}, errors);
}

const char *const kAccentTokens = R"j({
  "color": {
    "$type": "color",
    "accent": {"$value": "#246bfe"},
    "black": {"$value": "#000000"},
    "white": {"$value": "#ffffff"},
    "grey": {"$value": "#808080"},
    "light": {"$value": "#c0c0c0"}
  },
  "amount": {"$type": "number", "$value": 0.25},
  "radius": {"$type": "dimension", "$value": {"value": 4, "unit": "px"}}
})j";

} // namespace

class TestDesignTokens : public QObject
{
    Q_OBJECT

private slots:
    void tokenForms_data();
    void tokenForms();
    void sheetColourReadsBackInTheToolkit_data();
    void sheetColourReadsBackInTheToolkit();
    void tokenErrors_data();
    void tokenErrors();
    void referencesAndFunctions_data();
    void referencesAndFunctions();
    void variantsOverrideTheBase();
    void conditionalBlocks_data();
    void conditionalBlocks();
    void sourceLinesLeaveTheSheet_data();
    void sourceLinesLeaveTheSheet();
    void templateErrors_data();
    void templateErrors();
    void iconColoursAreReplaced();
    void builtInThemesBuildTheSameBytesTwice();
};

void TestDesignTokens::tokenForms_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QString>("sheet");
    const auto row = [](const char *name, const char *json, const char *sheet) {
        QTest::newRow(name) << QString::fromUtf8(json) << QString::fromUtf8(sheet);
    };
    row("2025.10 colour object", R"j({"t": {"$type": "color", "$value": {"colorSpace": "srgb",
        "components": [1, 0.5, 0], "hex": "#ff8000"}}})j",
        "#ff8000");
    row("colour object with alpha", R"j({"t": {"$type": "color", "$value": {"colorSpace": "srgb",
        "components": [0, 0, 1], "alpha": 0.2}}})j",
        "rgba(0, 0, 255, 0.2)");
    row("colour object in another space falls back to hex", R"j({"t": {"$type": "color",
        "$value": {"colorSpace": "display-p3", "components": [1, 0, 0], "hex": "#ff0000"}}})j",
        "#ff0000");
    row("component none reads as zero", R"j({"t": {"$type": "color", "$value": {"colorSpace":
        "srgb", "components": ["none", 1, 0]}}})j",
        "#00ff00");
    row("three-digit hex", R"j({"t": {"$type": "color", "$value": "#fa0"}})j", "#ffaa00");
    row("upper-case six-digit hex is written lower-case",
        R"j({"t": {"$type": "color", "$value": "#AbCdEf"}})j", "#abcdef");
    row("eight-digit hex has alpha last, as in CSS",
        R"j({"t": {"$type": "color", "$value": "#ff000033"}})j", "rgba(255, 0, 0, 0.2)");
    row("eight-digit hex fully opaque is six digits",
        R"j({"t": {"$type": "color", "$value": "#336699ff"}})j", "#336699");
    row("rgb()", R"j({"t": {"$type": "color", "$value": "rgb(255, 128, 0)"}})j", "#ff8000");
    row("rgba() with a fraction", R"j({"t": {"$type": "color", "$value": "rgba(0, 0, 0, 0.4)"}})j",
        "rgba(0, 0, 0, 0.4)");
    row("rgb() with percentages", R"j({"t": {"$type": "color", "$value": "rgb(100%, 0%, 0%)"}})j",
        "#ff0000");
    row("colour keyword kept as written", R"j({"t": {"$type": "color", "$value": "white"}})j",
        "white");
    row("dimension object",
        R"j({"t": {"$type": "dimension", "$value": {"value": 4, "unit": "px"}}})j", "4px");
    row("dimension string", R"j({"t": {"$type": "dimension", "$value": "0.5em"}})j", "0.5em");
    row("negative dimension", R"j({"t": {"$type": "dimension", "$value": "-5px"}})j", "-5px");
    row("number", R"j({"t": {"$type": "number", "$value": 1.5}})j", "1.5");
    row("font weight by name", R"j({"t": {"$type": "fontWeight", "$value": "semi-bold"}})j", "600");
    row("font weight as number", R"j({"t": {"$type": "fontWeight", "$value": 700}})j", "700");
    row("font family list quotes names, not generic families",
        R"j({"t": {"$type": "fontFamily", "$value": ["Segoe UI", "sans-serif"]}})j",
        R"j("Segoe UI", sans-serif)j");
    row("number with an exponent", R"j({"t": {"$type": "number", "$value": 2.5e-1}})j", "0.25");
    row("escapes in a family name",
        R"j({"t": {"$type": "fontFamily", "$value": "Caf\u00e9 \"Sans\""}})j",
        "\"Caf\u00e9 \\\"Sans\\\"\"");
    row("duration string", R"j({"t": {"$type": "duration", "$value": "200ms"}})j", "200ms");
    row("duration object", R"j({"t": {"$type": "duration", "$value": {"value": 1, "unit": "s"}}})j",
        "1s");
    row("type inherited from the group", R"j({"g": {"$type": "dimension", "h": {"t": {"$value":
        "2px"}}}, "t": {"$value": "{g.h.t}"}})j",
        "2px");
    row("untyped colour string shows its type", R"j({"t": {"$value": "#123456"}})j", "#123456");
    row("alias", R"j({"a": {"$type": "color", "$value": "#010203"}, "t": {"$value": "{a}"}})j",
        "#010203");
    row("chain of aliases", R"j({"a": {"$type": "color", "$value": "#0a0b0c"},
        "b": {"$value": "{a}"}, "c": {"$value": "{b}"}, "t": {"$value": "{c}"}})j",
        "#0a0b0c");
}

void TestDesignTokens::tokenForms()
{
    QFETCH(QString, json);
    QFETCH(QString, sheet);
    SourceErrors errors;
    const DesignTokens tokens = tokensFrom({json}, &errors);
    QVERIFY2(errors.isEmpty(), qPrintable(texts(errors).join(QLatin1Char('\n'))));
    const TokenValue *value = tokens.value(QStringLiteral("t"));
    QVERIFY(value);
    QCOMPARE(value->sheetText(), sheet);
}

void TestDesignTokens::sheetColourReadsBackInTheToolkit_data()
{
    QTest::addColumn<QColor>("colour");
    for (int alpha : {0, 1, 51, 64, 85, 127, 128, 170, 254})
        QTest::newRow(qPrintable(QStringLiteral("alpha %1").arg(alpha)))
            << QColor(12, 34, 56, alpha);
    QTest::newRow("opaque") << QColor(12, 34, 56);
}

void TestDesignTokens::sheetColourReadsBackInTheToolkit()
{
    QFETCH(QColor, colour);
    QCOMPARE(readColourLiteral(sheetColourText(colour)).rgba(), colour.rgba());
}

void TestDesignTokens::tokenErrors_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QString>("error");
    const auto row = [](const char *name, const char *json, const char *error) {
        QTest::newRow(name) << QString::fromUtf8(json) << QString::fromUtf8(error);
    };
    row("invalid JSON at its position", "{\n  \"a\": {\"$value\": }\n}",
        "t.tokens.json:2:19: error: expected a value, found '}'");
    row("key given twice", "{\"a\": {\"$value\": 1}, \"a\": {\"$value\": 2}}",
        "t.tokens.json:1:22: error: \"a\" is given twice in this object");
    row("alias cycle with its chain",
        "{\"a\": {\"$value\": \"{b}\"},\n \"b\": {\"$value\": \"{c}\"},\n \"c\": {\"$value\": "
        "\"{a}\"}}",
        "t.tokens.json:3:18: error: alias cycle: a -> b -> c -> a");
    row("alias to a group", "{\"g\": {\"x\": {\"$value\": 1}},\n \"t\": {\"$value\": \"{g}\"}}",
        "t.tokens.json:2:18: error: {g} is a group, not a token; an alias names one token");
    row("unknown alias names the closest token",
        "{\"color\": {\"accent\": {\"$value\": \"#fff\"}},\n \"t\": {\"$value\": "
        "\"{color.acent}\"}}",
        "t.tokens.json:2:18: error: unknown token {color.acent}; did you mean {color.accent}?");
    row("dimension where a colour is typed", "{\"t\": {\"$type\": \"color\", \"$value\": \"4px\"}}",
        "t.tokens.json:1:36: error: \"4px\" is not a colour");
    row("colour where a dimension is typed",
        "{\"t\": {\"$type\": \"dimension\", \"$value\": \"#ffffff\"}}",
        "t.tokens.json:1:40: error: a dimension is {\"value\": 4, \"unit\": \"px\"} or \"4px\" "
        "(px, pt, em, ex or rem)");
    row("alias of another type",
        "{\"a\": {\"$type\": \"number\", \"$value\": 2},\n \"t\": {\"$type\": "
        "\"color\", \"$value\": \"{a}\"}}",
        "t.tokens.json:2:36: error: {a} is a number, but this token's type is color");
    row("srgb component out of range",
        "{\"t\": {\"$type\": \"color\", \"$value\": {\"colorSpace\": \"srgb\", \"components\": [2, "
        "0, 0]}}}",
        "t.tokens.json:1:36: error: srgb components are numbers from 0 to 1");
    row("name with a dot", "{\"a.b\": {\"$value\": 1}}",
        "t.tokens.json:1:2: error: \"a.b\": a token or group name cannot hold '.', '{' or '}'");
    row("not an object", "[1, 2]", "t.tokens.json:1:1: error: a token file holds one JSON object");
    row("unterminated string", "{\"a\": \"x", "t.tokens.json:1:9: error: unterminated string");
}

void TestDesignTokens::tokenErrors()
{
    QFETCH(QString, json);
    QFETCH(QString, error);
    SourceErrors errors;
    tokensFrom({json}, &errors);
    QCOMPARE(texts(errors), QStringList{error});
}

void TestDesignTokens::referencesAndFunctions_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("sheet");
    const auto row = [](const char *name, const char *value, const char *sheet) {
        QTest::newRow(name) << QString::fromUtf8(value) << QString::fromUtf8(sheet);
    };
    row("reference", "{color.accent}", "#246bfe");
    row("alpha() replaces the alpha", "alpha({color.accent}, 0.2)", "rgba(36, 107, 254, 0.2)");
    row("alpha() of a number token", "alpha({color.black}, {amount})", "rgba(0, 0, 0, 0.251)");
    row("mix() halfway", "mix({color.black}, {color.white}, 0.5)", "#808080");
    row("mix() at the ends", "mix({color.black}, {color.accent}, 1)", "#246bfe");
    row("mix() at 0 is the first colour", "mix({color.accent}, {color.black}, 0)", "#246bfe");
    row("alpha() of 0 is clear", "alpha({color.accent}, 0)", "rgba(36, 107, 254, 0)");
    row("lighter() by 150 percent", "lighter({color.grey}, 150)", "#c0c0c0");
    row("darker() by 200 percent", "darker({color.light}, 200)", "#606060");
    row("functions nest", "alpha(mix({color.black}, #ffffff, 0.5), 0.5)",
        "rgba(128, 128, 128, 0.502)");
    row("literal colour keyword in a function", "mix(black, white, 0.25)", "#404040");
    row("several references in one value", "{radius} {radius}", "4px 4px");
}

void TestDesignTokens::referencesAndFunctions()
{
    QFETCH(QString, value);
    QFETCH(QString, sheet);
    SourceErrors errors;
    const QString out =
        rendered(QStringLiteral("QWidget {\n    background: %1;\n}\n").arg(value),
                 QString::fromUtf8(kAccentTokens), QStringLiteral("default"), &errors);
    QVERIFY2(errors.isEmpty(), qPrintable(texts(errors).join(QLatin1Char('\n'))));
    QCOMPARE(out, QStringLiteral("QWidget {\n    background: %1;\n}\n").arg(sheet));
}

void TestDesignTokens::variantsOverrideTheBase()
{
    const QString base =
        QStringLiteral(R"j({"palette": {"$type": "color", "blue": {"$value": "#0000ff"},
        "red": {"$value": "#ff0000"}}, "accent": {"$value": "{palette.blue}"}})j");
    const QString dark = QStringLiteral(R"j({"palette": {"blue": {"$value": "#000080"}}})j");
    const QString warm = QStringLiteral(R"j({"palette": {"red": {"$value": "#800000"}}})j");
    const QString text =
        QStringLiteral("/*\n@palette Highlight = {accent}\n*/\nQWidget { color: {accent}; "
                       "background: {palette.red}; }\n");
    SourceErrors errors;
    const ThemeTemplate theme = ThemeTemplate::parse(text, kTemplateFile, &errors);
    // The alias follows the overridden token; a variant never sees another's override.
    QCOMPARE(theme.render(tokensFrom({base, dark}, &errors), QStringLiteral("Dark"), {}, &errors),
             QStringLiteral("/*\n@palette Highlight = #000080\n*/\nQWidget { color: #000080; "
                            "background: #ff0000; }\n"));
    QCOMPARE(theme.render(tokensFrom({base, warm}, &errors), QStringLiteral("Warm"), {}, &errors),
             QStringLiteral("/*\n@palette Highlight = #0000ff\n*/\nQWidget { color: #0000ff; "
                            "background: #800000; }\n"));
    // Within one variant the later file wins.
    QCOMPARE(
        theme.render(tokensFrom({base, dark, base}, &errors), QStringLiteral("Dark"), {}, &errors),
        QStringLiteral("/*\n@palette Highlight = #0000ff\n*/\nQWidget { color: #0000ff; "
                       "background: #ff0000; }\n"));
    QVERIFY2(errors.isEmpty(), qPrintable(texts(errors).join(QLatin1Char('\n'))));
}

void TestDesignTokens::conditionalBlocks_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("sheet");
    QTest::newRow("block and declaration kept in the named variant")
        << "Dark"
        << "A {\n    color: red;\n}\n\nB {\n    color: blue;\n    border: none;\n}\n\nC {\n}\n";
    QTest::newRow("block left out with its blank line")
        << "Light"
        << "A {\n    color: red;\n}\n\nC {\n}\n\nD {\n}\n";
    QTest::newRow("except leaves out the named variant") << "Solar"
                                                         << "A {\n    color: red;\n}\n\nC {\n}\n";
}

void TestDesignTokens::conditionalBlocks()
{
    QFETCH(QString, variant);
    QFETCH(QString, sheet);
    const QString text = QStringLiteral(
        "/*\n@variant Light\n@variant Dark\n@variant Solar\n*/\n"
        "A {\n    color: red;\n}\n\n"
        "/* @only Dark */\nB {\n    color: blue;\n    /* @except Light */\n    border: none;\n}\n\n"
        "C {\n}\n\n"
        "/* @except Dark, Solar */\nD {\n}\n");
    SourceErrors errors;
    QCOMPARE(rendered(text, QStringLiteral("{}"), variant, &errors), sheet);
    QVERIFY2(errors.isEmpty(), qPrintable(texts(errors).join(QLatin1Char('\n'))));
}

void TestDesignTokens::sourceLinesLeaveTheSheet_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sheet");
    QTest::newRow("a header of sources only goes, with its blank line")
        << "/*\n@tokens a.json b.json\n@icons icons\n*/\n\nA {\n}\n"
        << "A {\n}\n";
    QTest::newRow("palette and other lines stay")
        << "/*\n@tokens a.json\nMy theme\n@palette Window = {color.accent}\n*/\nA {\n}\n"
        << "/*\nMy theme\n@palette Window = #246bfe\n*/\nA {\n}\n";
    QTest::newRow("one-line header") << "/* @tokens a.json */\nA {\n}\n"
                                     << "A {\n}\n";
    QTest::newRow("translucent palette colour as the palette reader takes it")
        << "/*\n@palette Base = alpha({color.accent}, 0.2)\n*/\n"
        << "/*\n@palette Base = #33246bfe\n*/\n";
    QTest::newRow("url() whose quoted path holds a parenthesis")
        << "A { image: url(\"a)b.svg\"); }\n"
        << "A { image: url(\"a)b.svg\"); }\n";
    QTest::newRow("CR LF line ends kept")
        << "/*\r\n@tokens a.json\r\n@palette Text = {color.black}\r\n*/\r\nA { color: "
           "{color.white}; }\r\n"
        << "/*\r\n@palette Text = #000000\r\n*/\r\nA { color: #ffffff; }\r\n";
}

void TestDesignTokens::sourceLinesLeaveTheSheet()
{
    QFETCH(QString, text);
    QFETCH(QString, sheet);
    SourceErrors errors;
    QCOMPARE(rendered(text, QString::fromUtf8(kAccentTokens), QStringLiteral("default"), &errors),
             sheet);
    QVERIFY2(errors.isEmpty(), qPrintable(texts(errors).join(QLatin1Char('\n'))));
}

void TestDesignTokens::templateErrors_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");
    const auto row = [](const char *name, const char *text, const char *error) {
        QTest::newRow(name) << QString::fromUtf8(text) << QString::fromUtf8(error);
    };
    row("unknown reference names the closest token", "A {\n    color: {color.acent};\n}\n",
        "t.qss.in:2:12: error: unknown token {color.acent}; did you mean {color.accent}?");
    row("dimension in a colour property", "A {\n    color: {radius};\n}\n",
        "t.qss.in:2:12: error: a dimension does not fit \"color\"");
    row("colour where a length goes", "A { min-width: {color.accent}; }\n",
        "t.qss.in:1:16: error: a color does not fit \"min-width\"");
    row("reference to a group", "A { color: {color}; }\n",
        "t.qss.in:1:12: error: {color} is a group, not a token");
    row("unclosed reference", "A {\n    color: {color.accent;\n}\n",
        "t.qss.in:2:12: error: a reference reads {group.token}");
    row("reference that is no {group.token} leaves its brace to close the block",
        "A { color: {a b}\nB { color: red; }\n",
        "t.qss.in:1:12: error: a reference reads {group.token}");
    row("function with too few arguments", "A { color: alpha({color.accent}); }\n",
        "t.qss.in:1:12: error: alpha() takes 2 arguments: alpha(colour, amount from 0 to 1)");
    row("function amount out of range", "A { color: mix({color.black}, {color.white}, 2); }\n",
        "t.qss.in:1:12: error: mix() takes an amount from 0 to 1");
    row("number where a function takes a colour", "A { color: alpha({amount}, 0.5); }\n",
        "t.qss.in:1:18: error: alpha() takes a colour here, not a number: alpha(colour, amount "
        "from 0 to 1)");
    row("palette role takes a colour", "/*\n@palette Window = {radius}\n*/\n",
        "t.qss.in:2:19: error: a palette role takes a colour, not a dimension");
    row("unknown palette role", "/*\n@palette Windows = #ffffff\n*/\n",
        "t.qss.in:2:10: error: unknown palette role \"Windows\"; one of Window, WindowText, Base, "
        "AlternateBase, Text, Button, ButtonText, Highlight, HighlightedText");
    row("directive names an unknown variant", "/*\n@variant Light\n*/\n/* @only Drak */\nA {\n}\n",
        "t.qss.in:4:1: error: unknown variant \"Drak\" in @only; the variants are Light");
    row("directive before nothing", "A {\n    color: red;\n    /* @only default */\n}\n",
        "t.qss.in:3:5: error: a directive must stand right before a declaration");
    row("block never closed", "A {\n    color: red;\n",
        "t.qss.in:1:1: error: rule block is not closed");
    row("variant without a name", "/*\n@variant\n*/\n",
        "t.qss.in:2:1: error: @variant is followed by a name (letters, digits, '-', '_') and its "
        "token files");
}

void TestDesignTokens::templateErrors()
{
    QFETCH(QString, text);
    QFETCH(QString, error);
    SourceErrors errors;
    rendered(text, QString::fromUtf8(kAccentTokens), QStringLiteral("default"), &errors);
    QCOMPARE(texts(errors), QStringList{error});
}

void TestDesignTokens::iconColoursAreReplaced()
{
    SourceErrors errors;
    const DesignTokens tokens = tokensFrom({QString::fromUtf8(kAccentTokens)}, &errors);
    const QByteArray svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\">\n<style>.a{fill:#000}</style>\n"
        "<rect fill=\"{color.accent}\" stroke=\"{color.white}\"/>\n</svg>\n";
    QCOMPARE(recolourSvg(svg, QStringLiteral("i.svg"), tokens, &errors),
             QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\">\n<style>.a{fill:#000}</style>\n"
                        "<rect fill=\"#246bfe\" stroke=\"#ffffff\"/>\n</svg>\n"));
    QVERIFY(errors.isEmpty());
    recolourSvg("<svg>\n  <rect fill=\"{radius}\"/></svg>", QStringLiteral("i.svg"), tokens,
                &errors);
    QCOMPARE(texts(errors), QStringList{QStringLiteral(
                                "i.svg:2:15: error: an icon takes colours, and {radius} is a "
                                "dimension")});
}

void TestDesignTokens::builtInThemesBuildTheSameBytesTwice()
{
    ThemeBuildOptions options;
    options.sheetName = QStringLiteral("{camel}.qss");
    const ThemeBuild first = buildTheme(QStringLiteral(PRISMARK_THEME_TEMPLATE), options);
    const ThemeBuild second = buildTheme(QStringLiteral(PRISMARK_THEME_TEMPLATE), options);
    QVERIFY(first.ok());
    QCOMPARE(first.sheets.size(), second.sheets.size());
    for (int i = 0; i < first.sheets.size(); ++i)
        QCOMPARE(first.sheets[i].text, second.sheets[i].text);
    QCOMPARE(first.qrc, second.qrc);
}

QTEST_GUILESS_MAIN(TestDesignTokens)
#include "tst_designtokens.moc"
