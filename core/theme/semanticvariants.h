// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>

// The dynamic property that marks a widget with a semantic role; every style sheet
// selects on it with attribute selectors such as QPushButton[variant="primary"].
inline constexpr char kVariantProperty[] = "variant";

// The six values of that property, spelled exactly as the style sheets spell them.
namespace VariantKey {
inline constexpr char Default[] = "default";
inline constexpr char Primary[] = "primary";
inline constexpr char Success[] = "success";
inline constexpr char Info[] = "info";
inline constexpr char Warning[] = "warning";
inline constexpr char Error[] = "error";
} // namespace VariantKey

struct SemanticVariant
{
    const char *key;
    // Untranslated; shown through tr() in the "PreviewContent" context.
    const char *label;
    // Starting value of the variant's slider and progress bar.
    int sampleValue;
};

// Every semantic section shows the variants in this order.
inline constexpr SemanticVariant kSemanticVariants[] = {
    {VariantKey::Default, QT_TRANSLATE_NOOP("PreviewContent", "Default"), 18},
    {VariantKey::Primary, QT_TRANSLATE_NOOP("PreviewContent", "Primary"), 34},
    {VariantKey::Success, QT_TRANSLATE_NOOP("PreviewContent", "Success"), 50},
    {VariantKey::Info, QT_TRANSLATE_NOOP("PreviewContent", "Info"), 66},
    {VariantKey::Warning, QT_TRANSLATE_NOOP("PreviewContent", "Warning"), 82},
    {VariantKey::Error, QT_TRANSLATE_NOOP("PreviewContent", "Error"), 96},
};

// The classes of the gallery's widgets that carry the property; what the sheets'
// coverage is judged against.
inline constexpr const char *kVariantClassNames[] = {
    "QPushButton", "QCheckBox", "QRadioButton", "QLineEdit", "QSlider", "QProgressBar", "QTextEdit",
};

// The editors section fills a two-by-two grid, so it shows four of the six.
inline constexpr SemanticVariant kSemanticEditorVariants[] = {
    {VariantKey::Default, QT_TRANSLATE_NOOP("PreviewContent", "Default"), 0},
    {VariantKey::Primary, QT_TRANSLATE_NOOP("PreviewContent", "Primary"), 0},
    {VariantKey::Success, QT_TRANSLATE_NOOP("PreviewContent", "Success"), 0},
    {VariantKey::Warning, QT_TRANSLATE_NOOP("PreviewContent", "Warning"), 0},
};
