// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lsp/features/hover.h"

#include "analysis/colourliterals.h"
#include "analysis/contrastratio.h"
#include "analysis/qssreference.h"
#include "prismark-lsp/features/sheetcontext.h"
#include "theme/palettedirectives.h"

#include <cmath>

using Place = CursorContext::Place;

namespace {
QString colourText(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return rgb.alpha() == 255 ? rgb.name()
                              : QStringLiteral("%1 at alpha %2 (%3)")
                                    .arg(rgb.name())
                                    .arg(rgb.alpha())
                                    .arg(rgb.name(QColor::HexArgb));
}

QString ratioText(double ratio)
{
    return QString::number(std::floor(ratio * 100) / 100, 'f', 2) + QStringLiteral(" : 1");
}

// Text and its background, both ways.
QString counterpartProperty(const QString &property)
{
    static const QPair<const char *, const char *> pairs[] = {
        {"color", "background-color"},
        {"color", "background"},
        {"selection-color", "selection-background-color"},
    };
    for (const auto &pair : pairs) {
        if (property == QLatin1String(pair.first))
            return QLatin1String(pair.second);
        if (property == QLatin1String(pair.second))
            return QLatin1String(pair.first);
    }
    return QString();
}

QString counterpartRole(const QString &role)
{
    static const QPair<const char *, const char *> pairs[] = {
        {"WindowText", "Window"},
        {"Text", "Base"},
        {"ButtonText", "Button"},
        {"HighlightedText", "Highlight"},
    };
    QString name = role;
    const bool disabled = name.startsWith(kDisabledRolePrefix);
    if (disabled)
        name.remove(0, kDisabledRolePrefix.size());
    for (const auto &pair : pairs) {
        QString other;
        if (name == QLatin1String(pair.first))
            other = QLatin1String(pair.second);
        else if (name == QLatin1String(pair.second))
            other = QLatin1String(pair.first);
        if (!other.isEmpty())
            return disabled ? kDisabledRolePrefix + other : other;
    }
    return QString();
}

// The first colour a declaration of property in the rule's block sets.
QColor colourInBlock(const QString &text, int blockOpen, const QString &property)
{
    int close = text.indexOf(QLatin1Char('}'), blockOpen);
    if (close < 0)
        close = text.size();
    const QString block = QStringLiteral("*") + text.mid(blockOpen, close - blockOpen + 1);
    for (const ColourLiteral &literal : findColourLiterals(block)) {
        const CursorContext where = contextAt(block, literal.offset);
        if (where.place == Place::PropertyValue && where.property == property)
            return literal.colour;
    }
    return QColor();
}

QColor paletteColour(const QString &text, const QString &role)
{
    QColor found;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const PaletteDirectiveMatch match = matchPaletteDirective(line);
        if (match.matched && match.name == role)
            found = match.color;
    }
    return found;
}

QString contrastLine(const QColor &colour, const QColor &other, const QString &otherName)
{
    if (!other.isValid())
        return QString();
    const QColor base = compositeOver(other, Qt::white);
    const double ratio = contrastRatio(compositeOver(colour, base), base);
    return QStringLiteral("Contrast with %1 (%2): %3")
        .arg(otherName, colourText(other), ratioText(ratio));
}

QString colourHover(const QString &text, const ColourLiteral &literal)
{
    QStringList lines{QStringLiteral("Colour %1").arg(colourText(literal.colour))};
    if (literal.inPaletteDirective) {
        const int lineStart = text.lastIndexOf(QLatin1Char('\n'), literal.offset) + 1;
        const int lineEnd = text.indexOf(QLatin1Char('\n'), literal.offset);
        const PaletteDirectiveMatch match = matchPaletteDirective(
            QStringView(text).mid(lineStart, (lineEnd < 0 ? text.size() : lineEnd) - lineStart));
        const QString other = counterpartRole(match.name);
        if (!other.isEmpty())
            lines.append(contrastLine(literal.colour, paletteColour(text, other), other));
    } else {
        const CursorContext where = contextAt(text, literal.offset);
        const QString other = counterpartProperty(where.property);
        if (!other.isEmpty() && where.blockOpen >= 0)
            lines.append(
                contrastLine(literal.colour, colourInBlock(text, where.blockOpen, other), other));
    }
    lines.removeAll(QString());
    return lines.join(QStringLiteral("\n\n"));
}

QString appliesText(const QStringList &classes)
{
    return classes.isEmpty() ? QStringLiteral("any widget") : classes.join(QStringLiteral(", "));
}

QString nameHover(const CursorContext &context, const QString &word)
{
    switch (context.place) {
    case Place::TypeName: {
        if (!QssReference::widgetClasses().contains(word))
            return QString();
        const QStringList ancestry = QssReference::widgetAncestry(word);
        QString text = QStringLiteral("**%1** (%2)")
                           .arg(word, QssReference::isProgramWidget(word)
                                          ? QStringLiteral("this program's class")
                                          : QStringLiteral("widget class"));
        if (ancestry.size() > 1)
            text += QStringLiteral("\n\nDerives from %1; rules for its bases apply to it too.")
                        .arg(ancestry.mid(1).join(QStringLiteral(" \u2192 ")));
        const QStringList subcontrols = QssReference::subcontrolsOf(word);
        if (!subcontrols.isEmpty())
            text +=
                QStringLiteral("\n\nSubcontrols: %1").arg(subcontrols.join(QStringLiteral(", ")));
        return text;
    }
    case Place::PseudoState: {
        const QssReference::NameInfo *info = QssReference::pseudoState(word.toLower());
        if (!info)
            return QString();
        return QStringLiteral("**:%1** (pseudo-state)\n\n%2.\n\nApplies to: %3")
            .arg(info->name, info->meaning, appliesText(info->appliesTo));
    }
    case Place::Subcontrol: {
        const QssReference::NameInfo *info = QssReference::subcontrol(word.toLower());
        if (!info)
            return QString();
        return QStringLiteral("**::%1** (subcontrol)\n\n%2.\n\nApplies to: %3")
            .arg(info->name, info->meaning, appliesText(info->appliesTo));
    }
    case Place::PropertyName: {
        const QssReference::PropertyInfo *info = QssReference::property(word.toLower());
        if (!info)
            return QString();
        QString text = QStringLiteral("**%1**: %2\n\n%3.\n\nApplies to: %4")
                           .arg(info->name, info->valueType, info->meaning, info->appliesTo);
        if (!info->keywords.isEmpty())
            text += QStringLiteral("\n\nValues: %1").arg(info->keywords.join(QStringLiteral(", ")));
        return text;
    }
    default:
        return QString();
    }
}
} // namespace

std::optional<HoverInfo> hoverAt(const QString &text, int offset, const ClientCapabilities &client)
{
    HoverInfo hover;
    for (const ColourLiteral &literal : findColourLiterals(text)) {
        if (offset >= literal.offset && offset < literal.offset + literal.length) {
            hover.contents = colourHover(text, literal);
            hover.span = {literal.offset, literal.offset + literal.length};
            break;
        }
    }
    if (hover.contents.isEmpty()) {
        int start = 0;
        const QString word = wordAround(text, offset, &start);
        if (word.isEmpty())
            return std::nullopt;
        hover.span = {start, start + int(word.size())};
        hover.contents = nameHover(contextAt(text, hover.span.end), word);
    }
    if (hover.contents.isEmpty())
        return std::nullopt;
    hover.markdown = client.markdownHover;
    if (!hover.markdown)
        hover.contents.remove(QStringLiteral("**"));
    return hover;
}
