// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tools/stylesheetgenerator.h"

#include <QHash>
#include <QRegularExpression>

#include <initializer_list>
#include <vector>

namespace {

// A set of themes as a bit mask over the Theme values, for blocks and declarations
// that only some themes have.
using ThemeSet = unsigned;
constexpr ThemeSet AllThemes = (1u << ThemeCount) - 1;

template <typename... Themes> constexpr ThemeSet onlyIn(Themes... themes)
{
    return ((1u << themes) | ...);
}

template <typename... Themes> constexpr ThemeSet notIn(Themes... themes)
{
    return AllThemes & ~onlyIn(themes...);
}

constexpr bool contains(ThemeSet set, Theme theme)
{
    return (set >> theme) & 1u;
}

// A value may name slots in braces: "1px solid {frameBorder}".
struct Declaration
{
    QString property;
    QString value;
    ThemeSet themes = AllThemes;
};

struct Block
{
    QString selectors; // comma-separated, written on one line when it fits
    std::vector<Declaration> declarations;
    ThemeSet themes = AllThemes;
};

// One row of a value table: a palette role or slot and its value in every theme,
// in Theme order. "-" marks a theme that has no rule using the slot.
struct ValueRow
{
    const char *name;
    const char *values[ThemeCount];
};

const char *const kNoValue = "-";

// Rows wrap after the sixth theme: Light to TokyoNightLight, then AbsentLight to Dark.
// clang-format off

// Written in this order into the header; the Disabled rows come last so that the
// all-groups rows before them cannot overwrite the disabled colours.
const std::vector<ValueRow> kPalette = {
    {"Window",              {"#f6f8fb", "#f5f7fa", "#f5fbfb", "#f3f3f3", "#f8f9fa", "#d6d8df",
                             "#f2f2f2", "#f0f0f2", "#f0faf0", "#f4f6f8", "#0b0f1a", "#1f2329"}},
    {"WindowText",          {"#1d2228", "#303133", "#263f3f", "#1e1e1e", "#5c6166", "#363c4d",
                             "#465360", "#303034", "#2a2d3e", "#1f2933", "#cdd6f4", "#f2f5f8"}},
    {"Base",                {"#ffffff", "#ffffff", "#ffffff", "#ffffff", "#fcfcfc", "#e6e7ed",
                             "#ffffff", "#ffffff", "#ffffff", "#ffffff", "#0f1420", "#23282f"}},
    {"AlternateBase",       {"#eef2f7", "#f5f7fa", "#e8f5f5", "#f5f5f5", "#eaedef", "#dadce3",
                             "#f5f5f5", "#f0f0f2", "#e2f5e3", "#eef1f5", "#131827", "#343a44"}},
    {"Text",                {"#1d2228", "#303133", "#263f3f", "#1e1e1e", "#5c6166", "#363c4d",
                             "#465360", "#000000", "#2a2d3e", "#1f2933", "#cdd6f4", "#f2f5f8"}},
    {"Button",              {"#eef2f7", "#ffffff", "#ffffff", "#fdfdfd", "#fcfcfc", "#e6e7ed",
                             "#ffffff", "#ffffff", "#ffffff", "#ffffff", "#131827", "#343a44"}},
    {"ButtonText",          {"#1d2228", "#303133", "#266f6f", "#1e1e1e", "#5c6166", "#363c4d",
                             "#465360", "#303034", "#2a2d3e", "#1f2933", "#cdd6f4", "#f2f5f8"}},
    {"Highlight",           {"#246bfe", "#409eff", "#339999", "#007acc", "#f29718", "#2959aa",
                             "#228a96", "#303036", "#0d9e00", "#e95678", "#a855f7", "#6aa9ff"}},
    {"HighlightedText",     {"#ffffff", "#ffffff", "#ffffff", "#ffffff", "#ffffff", "#ffffff",
                             "#ffffff", "#ffffff", "#ffffff", "#ffffff", "#ffffff", "#ffffff"}},
    {"Disabled.Text",       {"#919aa6", "#a8abb2", "#9aa8a8", "#8a8886", "#b1b9c3", "#707280",
                             "#a2a797", "#76767c", "#7f927f", "#7b8794", "#6c7086", "#7e8894"}},
    {"Disabled.ButtonText", {"#919aa6", "#a8abb2", "#9aa8a8", "#8a8886", "#b1b9c3", "#707280",
                             "#a2a797", "#76767c", "#7f927f", "#7b8794", "#6c7086", "#7e8894"}},
};

const std::vector<ValueRow> kColourSlots = {
    {"frameBorder",             {"#d8dee8", "#dcdfe6", "#b8dddd", "#cccedb", "#e7eaed", "#c1c2c7",
                                 "#ccd2d9", "#d8d8dc", "#c8e6c9", "#e2e6ea", "#131827", "#48505c"}},
    {"titleBarBackground",      {"#ffffff", "#ffffff", "#ffffff", "#eeeeee", "#f8f9fa", "#d6d8df",
                                 "#ccd2d9", "#f0f0f2", "#e5f4e6", "#f0f3f7", "#07090f", "#2a2f37"}},
    {"titleBarBottomBorder",    {"#d8dee8", "#dcdfe6", "#339999", "#cccedb", "#e7eaed", "#c1c2c7",
                                 "#aeb7c1", "#d8d8dc", "#c8e6c9", "#e2e6ea", "#131827", "#48505c"}},
    {"titleForeground",         {"#1d2228", "#303133", "#266f6f", "#1e1e1e", "#828e9f", "#363c4d",
                                 "#465360", "#303034", "#2a2d3e", "#1f2933", "#c4b5fd", "#f2f5f8"}},
    {"windowButtonHover",       {"#eef2f7", "#ecf5ff", "#d9f0f0", "#dbeafe", "#eaedef", "#e6e7ed",
                                 "#e0e0df", "#d8d8dc", "#c5e8c6", "#dce3ec", "#131827", "#343a44"}},
    {"closeButtonHover",        {"#d94141", "#f56c6c", "#d94141", "#e81123", "#d94141", "#942f2f",
                                 "#c44747", "#e01b24", "#d32f2f", "#e95678", "#ef4444", "#d94141"}},
    {"surface",                 {"#ffffff", "#ffffff", "#ffffff", "#ffffff", "#fcfcfc", "#e6e7ed",
                                 "#ffffff", "#ffffff", "#ffffff", "#ffffff", "#0f1420", "#2a2f37"}},
    {"panelBorder",             {"#d8dee8", "#dcdfe6", "#b8dddd", "#cccedb", "#e7eaed", "#c1c2c7",
                                 "#ccd2d9", "#d8d8dc", "#c8e6c9", "#e2e6ea", "#243047", "#48505c"}},
    {"groupTitle",              {"#66717f", "#606266", "#266f6f", "#3b3a39", "#828e9f", "#707280",
                                 "#465360", "#303034", "#2e7d32", "#52616f", "#c4b5fd", "#aeb8c4"}},
    {"inputBorder",             {"#d8dee8", "#dcdfe6", "#b8dddd", "#cccedb", "#d9dee4", "#c1c2c7",
                                 "#ccd2d9", "#a2a2a5", "#b0d8b1", "#cbd5df", "#243047", "#48505c"}},
    {"selectionBackground",     {"#246bfe", "#409eff", "#ffd700", "#007acc", "#fecc66", "#acb0bf",
                                 "#6ba77f", "#d8d8dc", "#c5e8c6", "#dce3ec", "#a855f7", "#6aa9ff"}},
    {"selectionForeground",     {"white",   "white",   "#263f3f", "white",   "#5c6166", "#363c4d",
                                 "#ffffff", "#000000", "#2a2d3e", "#1f2933", "white",   "white"}},
    {"inputHoverBorder",        {"-",       "#c0c4cc", "#50b5b5", "#007acc", "-",       "-",
                                 "-",       "-",       "#0d9e00", "#e95678", "#a855f7", "-"}},
    {"buttonBorder",            {"#d8dee8", "#dcdfe6", "#50b5b5", "#8a8886", "#d9dee4", "#c1c2c7",
                                 "#ccd2d9", "#a2a2a5", "#b0d8b1", "#cbd5df", "#243047", "#48505c"}},
    {"buttonHoverBackground",   {"-",       "#ecf5ff", "#e3f4f4", "#e5f1fb", "#fff4df", "#dadce3",
                                 "#eef6f4", "#f0f0f2", "#e0f2e1", "#fff0f4", "#1a2235", "-"}},
    {"buttonHoverBorder",       {"#246bfe", "#c6e2ff", "#339999", "#007acc", "#f29718", "#2959aa",
                                 "#228a96", "#303036", "#0d9e00", "#e95678", "#a855f7", "#6aa9ff"}},
    {"buttonHoverForeground",   {"-",       "#409eff", "#266f6f", "-",       "#7e4b01", "-",
                                 "#228a96", "-",       "#0d9e00", "#e95678", "#ffffff", "-"}},
    {"buttonPressedBorder",     {"-",       "#409eff", "#266f6f", "#005a9e", "#f29718", "#2959aa",
                                 "#228a96", "#303036", "#0d9e00", "#d83d63", "#9333ea", "-"}},
    {"buttonDisabledBackground",{"-",       "#ffffff", "#f8fbfb", "#f3f2f1", "#f8f9fa", "#d6d8df",
                                 "#f7f7f7", "#f0f0f2", "#f0faf0", "#f4f6f8", "#0b0f1a", "-"}},
    {"buttonDisabledBorder",    {"-",       "#e4e7ed", "#d1e7e7", "#d2d0ce", "#eaedef", "#c1c2c7",
                                 "#e0e0df", "#d8d8dc", "#d8ead9", "#e2e6ea", "#1a2235", "-"}},
    {"buttonDisabledForeground",{"-",       "#c0c4cc", "#9aa8a8", "#a19f9d", "#b1b9c3", "#707280",
                                 "#a2a797", "#76767c", "#7f927f", "#7b8794", "#6c7086", "-"}},
    {"tabBackground",           {"#eef2f7", "#f5f7fa", "#e8f5f5", "#eeeeee", "#f8f9fa", "#d6d8df",
                                 "#f5f5f5", "#f0f0f2", "#e2f5e3", "#eef1f5", "#07090f", "#343a44"}},
    {"tabForeground",           {"-",       "#606266", "#266f6f", "#3b3a39", "#828e9f", "#363c4d",
                                 "#465360", "#303034", "#2a2d3e", "#52616f", "#cdd6f4", "-"}},
    {"tabSelectedBackground",   {"#ffffff", "#ffffff", "#ffffff", "#ffffff", "#fcfcfc", "#dadce3",
                                 "#ffffff", "#ffffff", "#f0faf0", "#ffffff", "#0b0f1a", "#2a2f37"}},
    {"tabSelectedForeground",   {"#246bfe", "#409eff", "#266f6f", "#007acc", "#f29718", "#2959aa",
                                 "#228a96", "#000000", "#0d9e00", "#e95678", "#c4b5fd", "#6aa9ff"}},
    {"tabSelectedMarker",       {"-",       "-",       "#ffd700", "#007acc", "#f29718", "#2959aa",
                                 "#228a96", "#303036", "#0d9e00", "#e95678", "#a855f7", "-"}},
    {"barBackground",           {"#eef2f7", "#f5f7fa", "#e8f5f5", "#eeeeee", "#eaedef", "#dadce3",
                                 "#f5f5f5", "#f0f0f2", "#e2f5e3", "#eef1f5", "#131827", "#343a44"}},
    {"menuBackground",          {"#ffffff", "#ffffff", "#ffffff", "#ffffff", "#fcfcfc", "#d6d8df",
                                 "#ffffff", "#f0f0f2", "#ffffff", "#ffffff", "#07090f", "#2a2f37"}},
    {"menuBorder",              {"#d8dee8", "#dcdfe6", "#b8dddd", "#cccedb", "#e7eaed", "#c1c2c7",
                                 "#ccd2d9", "#a2a2a5", "#c8e6c9", "#e2e6ea", "#243047", "#48505c"}},
    {"menuSelectedBackground",  {"#246bfe", "#409eff", "#339999", "#007acc", "#f29718", "#2959aa",
                                 "#228a96", "#d8d8dc", "#0d9e00", "#e95678", "#a855f7", "#6aa9ff"}},
    {"menuSelectedForeground",  {"white",   "white",   "white",   "white",   "white",   "white",
                                 "white",   "#000000", "white",   "white",   "white",   "white"}},
    {"progressTrack",           {"#eef2f7", "#ebeef5", "#e8f5f5", "#e6e6e6", "#eaedef", "#d6d8df",
                                 "#f5f5f5", "#f0f0f2", "#e2f5e3", "#eef1f5", "#131827", "#343a44"}},
    {"defaultButtonBackground", {"#ffffff", "#ffffff", "#ffffff", "#fdfdfd", "#fcfcfc", "#e6e7ed",
                                 "#ffffff", "#ffffff", "#ffffff", "#ffffff", "#131827", "#2f3540"}},
    {"defaultBorder",           {"#aeb8c6", "#dcdfe6", "#50b5b5", "#8a8886", "#d9dee4", "#c1c2c7",
                                 "#ccd2d9", "#a2a2a5", "#b0d8b1", "#cbd5df", "#243047", "#647080"}},
    {"primaryBorder",           {"#246bfe", "#409eff", "#266f6f", "#005a9e", "#d47f00", "#1f4a92",
                                 "#1c737d", "#000000", "#0a7f00", "#d83d63", "#9333ea", "#6aa9ff"}},
    {"successFill",             {"#22a06b", "#67c23a", "#2f9d6a", "#107c10", "#86b300", "#33635c",
                                 "#6ba77f", "#017f45", "#1a8a3e", "#24a779", "#22c55e", "#3fc78c"}},
    {"successBorder",           {"#22a06b", "#67c23a", "#247a52", "#0b5a0b", "#6f9400", "#234a45",
                                 "#5a8f6d", "#016b3a", "#136e31", "#1d8b65", "#16a34a", "#3fc78c"}},
    {"infoFill",                {"#0f8db3", "#909399", "#50b5b5", "#5c2d91", "#55b4d4", "#006c86",
                                 "#5298c4", "#2563eb", "#0065a9", "#26bbd9", "#3b82f6", "#48c2e6"}},
    {"infoBorder",              {"#0f8db3", "#909399", "#339999", "#44216b", "#3998b8", "#00536a",
                                 "#3f7fa7", "#1d4fc0", "#004f85", "#1f9eb8", "#2563eb", "#48c2e6"}},
    {"warningFill",             {"#c27a11", "#e6a23c", "#ffd700", "#ffb900", "#e6b450", "#8f5e15",
                                 "#a2a797", "#bf4e00", "#e67e22", "#f09383", "#f59e0b", "#f4b84a"}},
    {"warningBorder",           {"#c27a11", "#e6a23c", "#d8b300", "#c28b00", "#c9962c", "#6e470f",
                                 "#858b78", "#9d4000", "#bd6417", "#df7466", "#d97706", "#f4b84a"}},
    {"warningButtonForeground", {"#ffffff", "#ffffff", "#263f3f", "#1e1e1e", "#5c3a00", "#ffffff",
                                 "#ffffff", "#ffffff", "#ffffff", "#ffffff", "#ffffff", "#ffffff"}},
    {"errorFill",               {"#d94141", "#f56c6c", "#d94141", "#d13438", "#f07178", "#942f2f",
                                 "#c44747", "#e01b24", "#d32f2f", "#e95678", "#ef4444", "#ff6b6b"}},
    {"errorBorder",             {"#d94141", "#f56c6c", "#b93232", "#a4262c", "#d9575e", "#752525",
                                 "#a33838", "#b9161d", "#aa2424", "#d83d63", "#dc2626", "#ff6b6b"}},
    {"variantHoverBorder",      {"#1d2228", "#303133", "#263f3f", "#1e1e1e", "#5c6166", "#363c4d",
                                 "#465360", "#000000", "#2a2d3e", "#1f2933", "#ffffff", "#f2f5f8"}},
    {"primaryText",             {"#1f5fd6", "#409eff", "#266f6f", "#005a9e", "#7e4b01", "#2959aa",
                                 "#228a96", "#303036", "#0d9e00", "#e95678", "#c4b5fd", "#8dc0ff"}},
    {"successText",             {"#1e8a5f", "#67c23a", "#247a52", "#107c10", "#6f9400", "#33635c",
                                 "#5a8f6d", "#017f45", "#1a8a3e", "#24a779", "#86efac", "#66dca5"}},
    {"infoText",                {"#0d7899", "#909399", "#339999", "#5c2d91", "#3998b8", "#006c86",
                                 "#3f7fa7", "#2563eb", "#0065a9", "#26bbd9", "#93c5fd", "#75d5ef"}},
    {"warningText",             {"#a6650b", "#e6a23c", "#9c7f00", "#8a6d00", "#9b6c18", "#8f5e15",
                                 "#858b78", "#bf4e00", "#e67e22", "#df7466", "#fbbf24", "#ffd075"}},
    {"errorText",               {"#b83232", "#f56c6c", "#b93232", "#a4262c", "#d9575e", "#942f2f",
                                 "#a33838", "#e01b24", "#d32f2f", "#e95678", "#fca5a5", "#ff8c8c"}},
    {"defaultAccent",           {"#66717f", "#606266", "#266f6f", "#605e5c", "#828e9f", "#707280",
                                 "#465360", "#76767c", "#2a2d3e", "#52616f", "#6c7086", "#aeb8c4"}},
    {"sliderGroove",            {"#e0e6ef", "#ebeef5", "#e8f5f5", "#e6e6e6", "#eaedef", "#c1c2c7",
                                 "#f5f5f5", "#d8d8dc", "#c5e8c6", "#dce3ec", "#131827", "#343a44"}},
};

const std::vector<ValueRow> kSizeSlots = {
    {"titleBarBottomWidth", {"1px",     "1px",     "2px",     "1px",     "1px",     "1px",
                             "1px",     "1px",     "1px",     "1px",     "1px",     "1px"}},
    {"titleWeight",         {"600",     "600",     "700",     "600",     "600",     "600",
                             "600",     "600",     "700",     "700",     "700",     "600"}},
    {"groupRadius",         {"6px",     "4px",     "4px",     "2px",     "4px",     "4px",
                             "4px",     "2px",     "4px",     "4px",     "4px",     "6px"}},
    {"radius",              {"4px",     "4px",     "4px",     "2px",     "4px",     "4px",
                             "4px",     "2px",     "4px",     "4px",     "4px",     "4px"}},
    {"smallRadius",         {"3px",     "3px",     "3px",     "2px",     "3px",     "3px",
                             "3px",     "2px",     "3px",     "3px",     "3px",     "3px"}},
    {"chunkRadius",         {"3px",     "3px",     "3px",     "1px",     "3px",     "3px",
                             "3px",     "1px",     "3px",     "3px",     "3px",     "3px"}},
    {"buttonPadding",       {"5px 12px","5px 14px","5px 14px","5px 14px","5px 14px","5px 14px",
                             "5px 14px","5px 14px","5px 14px","5px 14px","5px 14px","5px 12px"}},
};

// clang-format on

struct VariantRow
{
    const char *variant;
    std::vector<const char *> values; // one per property of the group
};

// One block per row, in row order; "%1" in the pattern stands for the variant key.
std::vector<Block> variantBlocks(const char *selectorPattern,
                                 const std::vector<const char *> &properties,
                                 const std::vector<VariantRow> &rows)
{
    std::vector<Block> blocks;
    for (const VariantRow &row : rows) {
        Block block{QString::fromLatin1(selectorPattern).arg(QLatin1String(row.variant)), {}};
        for (std::size_t i = 0; i < properties.size(); ++i)
            block.declarations.push_back({properties[i], row.values[i]});
        blocks.push_back(block);
    }
    return blocks;
}

std::vector<Block> joined(std::initializer_list<std::vector<Block>> parts)
{
    std::vector<Block> blocks;
    for (const std::vector<Block> &part : parts)
        blocks.insert(blocks.end(), part.begin(), part.end());
    return blocks;
}

// The rule blocks of every file, in file order. Later blocks win over earlier ones of
// equal specificity, which is how the variant buttons keep their fill on hover.
// clang-format off
const std::vector<Block> &skeleton()
{
    static const std::vector<Block> blocks = joined({
        {
            {"QWidget", {
                {"font-family", R"("Segoe UI", "Microsoft YaHei UI")"},
                {"font-size", "10pt"},
                {"color", "{WindowText}"},
                {"background", "{Window}"}}},
            {"#windowFrame", {
                {"background", "{Window}"},
                {"border", "1px solid {frameBorder}"}}},
            {"#appTitleBar", {
                {"background", "{titleBarBackground}"},
                {"border-top", "1px solid {frameBorder}",
                 notIn(MonochromatorLight, NeonGreenLight, HorizonModernLight, PurpleBlue)},
                {"border-left", "1px solid {frameBorder}",
                 notIn(MonochromatorLight, NeonGreenLight, HorizonModernLight, PurpleBlue)},
                {"border-right", "1px solid {frameBorder}",
                 notIn(MonochromatorLight, NeonGreenLight, HorizonModernLight, PurpleBlue)},
                {"border-bottom", "{titleBarBottomWidth} solid {titleBarBottomBorder}"}}},
            {"#appTitleLabel", {
                {"color", "{titleForeground}"},
                {"font-weight", "{titleWeight}"},
                {"background", "transparent"}}},
            {"#appWindowButton", {
                {"border", "none"},
                {"background", "transparent"},
                {"color", "{titleForeground}"},
                {"min-width", "42px"},
                {"min-height", "32px"},
                {"padding", "0"}}},
            {"#appWindowButton:hover", {
                {"background", "{windowButtonHover}"}}},
            {"#appCloseButton", {
                {"border", "none"},
                {"background", "transparent"},
                {"color", "{titleForeground}"},
                {"min-width", "42px"},
                {"min-height", "32px"},
                {"padding", "0"}}},
            {"#appCloseButton:hover", {
                {"background", "{closeButtonHover}"},
                {"color", "white"}}},
            {"QGroupBox", {
                {"background", "{surface}"},
                {"border", "1px solid {panelBorder}"},
                {"border-radius", "{groupRadius}"},
                {"margin-top", "18px"},
                {"padding-top", "10px"}}},
            {"QGroupBox::title", {
                {"subcontrol-origin", "margin"},
                {"left", "10px"},
                {"padding", "0 4px"},
                {"color", "{groupTitle}"},
                {"font-weight", "600", onlyIn(ArduinoLight, NeonGreenLight)}}},
            {"QLineEdit, QComboBox, QDateTimeEdit, QSpinBox, QTextEdit, QPlainTextEdit, "
             "QTableWidget, QTreeWidget, QListWidget", {
                {"background", "{surface}"},
                {"border", "1px solid {inputBorder}"},
                {"border-radius", "{radius}"},
                {"selection-background-color", "{selectionBackground}"},
                {"selection-color", "{selectionForeground}"}}},
            {"QTableView, QTableWidget", {
                {"background", "#23282f"},
                {"alternate-background-color", "#2f3540"},
                {"gridline-color", "#48505c"},
                {"color", "#f2f5f8"}},
             onlyIn(Dark)},
            {"QTableView::item, QTableWidget::item", {
                {"background", "transparent"},
                {"border", "none"},
                {"padding", "4px 6px"}},
             onlyIn(Dark)},
            {"QTableView::item:selected, QTableWidget::item:selected", {
                {"background", "#6aa9ff"},
                {"color", "#ffffff"}},
             onlyIn(Dark)},
            {"QLineEdit:hover, QComboBox:hover, QDateTimeEdit:hover, QSpinBox:hover, "
             "QTextEdit:hover, QPlainTextEdit:hover", {
                {"border-color", "{inputHoverBorder}"}},
             onlyIn(BlueLight, ArduinoLight, VS17Light, NeonGreenLight, HorizonModernLight,
                    PurpleBlue)},
            {"QLineEdit:focus, QComboBox:focus, QDateTimeEdit:focus, QSpinBox:focus, "
             "QTextEdit:focus, QPlainTextEdit:focus", {
                {"border-color", "{Highlight}"}},
             notIn(Light, Dark)},
            {"QPushButton", {
                {"background", "{Button}"},
                {"border", "1px solid {buttonBorder}"},
                {"border-radius", "{radius}"},
                {"color", "{ButtonText}", notIn(Light, Dark)},
                {"font-weight", "600", onlyIn(ArduinoLight)},
                {"padding", "{buttonPadding}"}}},
            {"QPushButton:hover", {
                {"background", "{buttonHoverBackground}", notIn(Light, Dark)},
                {"border-color", "{buttonHoverBorder}"},
                {"color", "{buttonHoverForeground}",
                 notIn(Light, VS17Light, TokyoNightLight, MonochromatorLight, Dark)}}},
            {"QPushButton:pressed, QPushButton:checked", {
                {"background", "{Highlight}"},
                {"border-color", "{buttonPressedBorder}", notIn(Light, Dark)},
                {"color", "white"}}},
            {"QPushButton:disabled", {
                {"background", "{buttonDisabledBackground}"},
                {"border-color", "{buttonDisabledBorder}"},
                {"color", "{buttonDisabledForeground}"}},
             notIn(Light, Dark)},
            {"QTabWidget::pane", {
                {"border", "1px solid {panelBorder}"},
                {"background", "{surface}"},
                {"border-radius", "{radius}"}}},
            {"QTabBar::tab", {
                {"background", "{tabBackground}"},
                {"border", "1px solid {panelBorder}"},
                {"color", "{tabForeground}", notIn(Light, Dark)},
                {"padding", "6px 14px"}}},
            {"QTabBar::tab:selected", {
                {"background", "{tabSelectedBackground}"},
                {"color", "{tabSelectedForeground}"},
                {"border-top", "2px solid {tabSelectedMarker}", notIn(Light, BlueLight, Dark)}}},
            {"QHeaderView::section, QMenuBar, QToolBar, QStatusBar", {
                {"background", "{barBackground}"},
                {"border", "0"}}},
            {"QMenu", {
                {"background", "{menuBackground}"},
                {"border", "1px solid {menuBorder}"}}},
            {"QMenu::item:selected", {
                {"background", "{menuSelectedBackground}"},
                {"color", "{menuSelectedForeground}"}}},
            {"QProgressBar", {
                {"border", "1px solid {inputBorder}"},
                {"border-radius", "{radius}"},
                {"text-align", "center"},
                {"background", "{progressTrack}"}}},
            {"QProgressBar::chunk", {
                {"background", "{Highlight}"},
                {"border-radius", "{chunkRadius}"}}},
        },
        variantBlocks(R"(QPushButton[variant="%1"], QToolButton[variant="%1"])",
                      {"background",                "border-color",    "color"}, {
            {"default", {"{defaultButtonBackground}", "{defaultBorder}", "{ButtonText}"}},
            {"primary", {"{Highlight}",               "{primaryBorder}", "#ffffff"}},
            {"success", {"{successFill}",             "{successBorder}", "#ffffff"}},
            {"info",    {"{infoFill}",                "{infoBorder}",    "#ffffff"}},
            {"warning", {"{warningFill}",             "{warningBorder}",
                         "{warningButtonForeground}"}},
            {"error",   {"{errorFill}",               "{errorBorder}",   "#ffffff"}},
        }),
        {
            {"QPushButton[variant]:hover, QToolButton[variant]:hover", {
                {"border-color", "{variantHoverBorder}"}}},
        },
        variantBlocks(R"(QCheckBox[variant="%1"], QRadioButton[variant="%1"], )"
                      R"(QLineEdit[variant="%1"], QTextEdit[variant="%1"], )"
                      R"(QPlainTextEdit[variant="%1"])",
                      {"color",         "border-color"}, {
            {"default", {"{ButtonText}",  "{defaultBorder}"}},
            {"primary", {"{primaryText}", "{Highlight}"}},
            {"success", {"{successText}", "{successFill}"}},
            {"info",    {"{infoText}",    "{infoFill}"}},
            {"warning", {"{warningText}", "{warningFill}"}},
            {"error",   {"{errorText}",   "{errorFill}"}},
        }),
        {
            {"QCheckBox[variant]::indicator, QRadioButton[variant]::indicator", {
                {"width", "15px"},
                {"height", "15px"},
                {"border", "1px solid {defaultBorder}"},
                {"background", "{Base}"}}},
            {"QCheckBox[variant]::indicator", {
                {"border-radius", "{smallRadius}"}}},
            {"QRadioButton[variant]::indicator", {
                {"border-radius", "8px"}}},
        },
        variantBlocks(R"(QCheckBox[variant="%1"]::indicator:checked, )"
                      R"(QRadioButton[variant="%1"]::indicator:checked, )"
                      R"(QProgressBar[variant="%1"]::chunk, )"
                      R"(QSlider[variant="%1"]::sub-page:horizontal, )"
                      R"(QSlider[variant="%1"]::handle:horizontal)",
                      {"background",      "border-color"}, {
            {"primary", {"{Highlight}",     "{primaryBorder}"}},
            {"success", {"{successFill}",   "{successBorder}"}},
            {"info",    {"{infoFill}",      "{infoBorder}"}},
            {"warning", {"{warningFill}",   "{warningBorder}"}},
            {"error",   {"{errorFill}",     "{errorBorder}"}},
            {"default", {"{defaultAccent}", "{defaultAccent}"}},
        }),
        {
            {"QSlider[variant]::groove:horizontal", {
                {"height", "6px"},
                {"background", "{sliderGroove}"},
                {"border-radius", "{smallRadius}"}}},
            {"QSlider[variant]::handle:horizontal", {
                {"width", "16px"},
                {"height", "16px"},
                {"margin", "-5px 0"},
                {"border-radius", "8px"}}},
            {"QProgressBar[variant]", {
                {"background", "{progressTrack}"}}},
            {"QScrollBar:vertical", {
                {"background", "{AlternateBase}"},
                {"border", "none"},
                {"width", "12px"},
                {"margin", "0"},
                {"border-radius", "6px"}}},
            {"QScrollBar::handle:vertical", {
                {"background", "{Disabled.Text}"},
                {"min-height", "32px"},
                {"border-radius", "5px"},
                {"margin", "2px"}}},
            {"QScrollBar::handle:vertical:hover", {
                {"background", "{Highlight}"}}},
            {"QScrollBar::handle:vertical:pressed", {
                {"background", "{Highlight}"}}},
            {"QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical", {
                {"height", "0"},
                {"border", "none"},
                {"background", "transparent"}}},
            {"QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical", {
                {"background", "transparent"}}},
            {"QScrollBar:horizontal", {
                {"background", "{AlternateBase}"},
                {"border", "none"},
                {"height", "12px"},
                {"margin", "0"},
                {"border-radius", "6px"}}},
            {"QScrollBar::handle:horizontal", {
                {"background", "{Disabled.Text}"},
                {"min-width", "32px"},
                {"border-radius", "5px"},
                {"margin", "2px"}}},
            {"QScrollBar::handle:horizontal:hover", {
                {"background", "{Highlight}"}}},
            {"QScrollBar::handle:horizontal:pressed", {
                {"background", "{Highlight}"}}},
            {"QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal", {
                {"width", "0"},
                {"border", "none"},
                {"background", "transparent"}}},
            {"QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal", {
                {"background", "transparent"}}},
            {"QScrollBar::corner, QAbstractScrollArea::corner", {
                {"background", "{Base}"}}},
        },
    });
    return blocks;
}
// clang-format on

const ValueRow *findRow(const QString &name)
{
    for (const std::vector<ValueRow> *table : {&kPalette, &kColourSlots, &kSizeSlots}) {
        for (const ValueRow &row : *table) {
            if (name == QLatin1String(row.name))
                return &row;
        }
    }
    return nullptr;
}

bool hasValue(const ValueRow *row, Theme theme)
{
    return row && qstrcmp(row->values[theme], kNoValue) != 0;
}

const QRegularExpression &slotPattern()
{
    static const QRegularExpression pattern(QStringLiteral("\\{([A-Za-z.]+)\\}"));
    return pattern;
}

// Slots that the tables cannot fill stay in braces, for styleSheetTableProblems() to name.
QString filledValue(const QString &value, Theme theme)
{
    QString result;
    qsizetype copied = 0;
    QRegularExpressionMatchIterator matches = slotPattern().globalMatch(value);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        result += value.mid(copied, match.capturedStart() - copied);
        const ValueRow *row = findRow(match.captured(1));
        result += hasValue(row, theme) ? QString::fromLatin1(row->values[theme]) : match.captured();
        copied = match.capturedEnd();
    }
    result += value.mid(copied);
    return result;
}

// A list too long to stand beside its brace in 100 columns gets one selector per line.
QString selectorLines(const QString &selectors)
{
    if (selectors.size() + 2 <= 100)
        return selectors;
    return selectors.split(QStringLiteral(", ")).join(QStringLiteral(",\n"));
}

} // namespace

QString generatedStyleSheet(Theme theme)
{
    theme = themeInfo(theme).theme;
    QString text = QStringLiteral("/*\n");
    for (const ValueRow &row : kPalette)
        text += QStringLiteral("@palette %1 = %2\n")
                    .arg(QLatin1String(row.name), QLatin1String(row.values[theme]));
    text += QStringLiteral("*/\n");
    for (const Block &block : skeleton()) {
        if (!contains(block.themes, theme))
            continue;
        text += QLatin1Char('\n') + selectorLines(block.selectors) + QStringLiteral(" {\n");
        for (const Declaration &declaration : block.declarations) {
            if (contains(declaration.themes, theme))
                text += QStringLiteral("    %1: %2;\n")
                            .arg(declaration.property, filledValue(declaration.value, theme));
        }
        text += QStringLiteral("}\n");
    }
    return text;
}

QStringList styleSheetTableProblems()
{
    QStringList problems;

    QHash<QString, ThemeSet> usedBy;
    for (const Block &block : skeleton()) {
        for (const Declaration &declaration : block.declarations) {
            const ThemeSet themes = block.themes & declaration.themes;
            QRegularExpressionMatchIterator matches = slotPattern().globalMatch(declaration.value);
            while (matches.hasNext()) {
                const QString slot = matches.next().captured(1);
                usedBy[slot] |= themes;
                const ValueRow *row = findRow(slot);
                for (int value = 0; value < ThemeCount; ++value) {
                    const Theme theme = static_cast<Theme>(value);
                    if (contains(themes, theme) && !hasValue(row, theme))
                        problems << QStringLiteral("%1: %2 uses {%3}, which has no value here")
                                        .arg(styleSheetFileName(theme), block.selectors, slot);
                }
            }
        }
    }

    // A value that no rule writes is a slip too: it suggests a presence rule gone astray.
    for (const std::vector<ValueRow> *table : {&kColourSlots, &kSizeSlots}) {
        for (const ValueRow &row : *table) {
            for (int value = 0; value < ThemeCount; ++value) {
                const Theme theme = static_cast<Theme>(value);
                if (hasValue(&row, theme) && !contains(usedBy.value(row.name), theme))
                    problems << QStringLiteral("%1: {%2} has a value that no rule uses")
                                    .arg(styleSheetFileName(theme), QLatin1String(row.name));
            }
        }
    }

    static const QRegularExpression headerColour(QStringLiteral("^#[0-9a-f]{6}$"));
    static const QRegularExpression slotColour(QStringLiteral("^(#[0-9a-f]{6}|white|-)$"));
    const auto checkColours = [&](const std::vector<ValueRow> &table,
                                  const QRegularExpression &pattern) {
        for (const ValueRow &row : table) {
            for (int value = 0; value < ThemeCount; ++value) {
                if (!pattern.match(QLatin1String(row.values[value])).hasMatch())
                    problems << QStringLiteral("%1: {%2} is no colour: %3")
                                    .arg(styleSheetFileName(static_cast<Theme>(value)),
                                         QLatin1String(row.name), QLatin1String(row.values[value]));
            }
        }
    };
    checkColours(kPalette, headerColour);
    checkColours(kColourSlots, slotColour);

    return problems;
}
