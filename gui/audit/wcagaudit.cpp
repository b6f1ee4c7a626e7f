// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/wcagaudit.h"

#include "analysis/contrastratio.h"
#include "audit/auditedwidgets.h"
#include "audit/auditrules.h"
#include "audit/controlparts.h"
#include "audit/renderedcontrast.h"
#include "audit/showntext.h"
#include "audit/stateimages.h"
#include "theme/shellobjectnames.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QHash>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

constexpr double kTextContrast = 4.5;
constexpr double kLargeTextContrast = 3.0;
constexpr double kNonTextContrast = 3.0;
constexpr double kLargePoints = 18;
constexpr double kLargeBoldPoints = 14;
constexpr qreal kTargetSize = 24;
// Around a part, where what it stands against is looked for; and an input's border
// band, deep enough for a 2-pixel border drawn half a pixel in.
constexpr int kAround = 2;
constexpr int kBorderBand = 2;
const QColor kOutlineColour(0xff, 0x00, 0xff);
const QString kColour = QStringLiteral("color");

// Cut, not rounded: WCAG allows no rounding up, so 4.499:1 must not read as 4.50:1.
QString ratioText(double ratio)
{
    return QString::number(std::floor(ratio * 100) / 100, 'f', 2) + QStringLiteral(":1");
}

// The widget's rectangle in the image of its state.
QRect inImage(const ObservedState &state, QWidget *widget, const QRect &rect)
{
    const QRect window(widget->mapTo(widget->window(), rect.topLeft()), rect.size());
    const QRectF scaled(QPointF(window.topLeft() - state.area.topLeft()) * state.scale,
                        QSizeF(window.size()) * state.scale);
    return scaled.toAlignedRect();
}

QColor dominantColour(const QImage &image, const QRegion &region)
{
    QHash<QRgb, int> counts;
    for (const QRect &rect : region) {
        const QRect inside = rect & image.rect();
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                ++counts[image.pixel(x, y) | 0xff000000u];
    }
    QRgb best = 0;
    int most = -1;
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
        if (it.value() > most || (it.value() == most && it.key() < best)) {
            best = it.key();
            most = it.value();
        }
    return QColor::fromRgb(best);
}

// The tab title's glyphs against the tab's own colour: taking the title out would
// move the tabs after it, so the colour most common under the title stands for
// the background.
double tabTitleContrast(const ObservedState &state, QTabBar *bar)
{
    const int index = bar->currentIndex();
    const QRect tab = bar->tabRect(index);
    const QSize text = bar->fontMetrics().size(Qt::TextShowMnemonic, bar->tabText(index));
    QRect title(QPoint(), text);
    title.moveCenter(tab.center());
    title &= tab;
    const QRect area = inImage(state, bar, title);
    const QImage image = state.image.convertToFormat(QImage::Format_RGB32);
    const QColor background = dominantColour(image, area);
    double strongest = 0;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            strongest =
                std::max(strongest, pixelContrastRatio(image.pixel(x, y), background.rgb()));
    return strongest;
}

// A part of a control 1.4.11 judges, in the widget: band as boundaryContrast takes
// it, and what it stands against (in the image) when not the pixels around it.
struct NonTextPart
{
    QString name;
    QString subcontrol;
    QRect rect;
    int band = 0;
    QRect beside = QRect();
    QString property = QString();
};

bool isInput(QWidget *widget)
{
    const auto *combo = qobject_cast<QComboBox *>(widget);
    return qobject_cast<QLineEdit *>(widget) || qobject_cast<QAbstractSpinBox *>(widget) ||
           qobject_cast<QTextEdit *>(widget) || qobject_cast<QPlainTextEdit *>(widget) ||
           (combo && combo->isEditable());
}

NonTextPart indicatorPart(QAbstractButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const bool radio = qobject_cast<QRadioButton *>(button);
    return {radio ? QStringLiteral("radio indicator") : QStringLiteral("check indicator"),
            QStringLiteral("indicator"),
            button->style()->subElementRect(radio ? QStyle::SE_RadioButtonIndicator
                                                  : QStyle::SE_CheckBoxIndicator,
                                            &option, button)};
}

QVector<NonTextPart> sliderParts(QSlider *slider)
{
    const QStyleOptionSlider option = sliderOption(slider);
    const auto rect = [&](QStyle::SubControl sub) {
        return slider->style()->subControlRect(QStyle::CC_Slider, &option, sub, slider);
    };
    return {
        {QStringLiteral("slider groove"), QStringLiteral("groove"), rect(QStyle::SC_SliderGroove)},
        {QStringLiteral("slider handle"), QStringLiteral("handle"), rect(QStyle::SC_SliderHandle)}};
}

NonTextPart scrollBarHandle(QScrollBar *bar)
{
    const QStyleOptionSlider option = sliderOption(bar);
    return {QStringLiteral("scroll bar handle"), QStringLiteral("handle"),
            bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider,
                                         bar)};
}

// The chunk stands against the rest of its groove; none when the bar is empty or full.
QVector<NonTextPart> progressChunkPart(const ObservedState &state, QProgressBar *bar)
{
    QRect groove;
    const QRect chunk = progressChunk(bar, &groove);
    if (!chunk.isValid())
        return {};
    QRect rest = groove;
    if (bar->orientation() == Qt::Horizontal)
        rest = bar->layoutDirection() == Qt::RightToLeft
                   ? QRect(groove.topLeft(), QPoint(chunk.left() - 1, groove.bottom()))
                   : QRect(QPoint(chunk.right() + 1, groove.top()), groove.bottomRight());
    else
        rest = QRect(groove.topLeft(), QPoint(groove.right(), chunk.top() - 1));
    return {{QStringLiteral("progress chunk"), QStringLiteral("chunk"), chunk, 0,
             inImage(state, bar, rest)}};
}

// The parts a user needs to see the control by.
QVector<NonTextPart> nonTextParts(const ObservedState &state)
{
    QWidget *widget = state.widget;
    QVector<NonTextPart> parts;
    if (isInput(widget))
        parts.append({QStringLiteral("input border"), QString(), widget->rect(),
                      qMax(1, qRound(kBorderBand * state.scale)), QRect(),
                      QStringLiteral("border-color")});
    if (qobject_cast<QCheckBox *>(widget) || qobject_cast<QRadioButton *>(widget))
        parts.append(indicatorPart(static_cast<QAbstractButton *>(widget)));
    if (auto *slider = qobject_cast<QSlider *>(widget))
        parts += sliderParts(slider);
    if (auto *bar = qobject_cast<QScrollBar *>(widget))
        parts.append(scrollBarHandle(bar));
    if (auto *bar = qobject_cast<QProgressBar *>(widget))
        parts += progressChunkPart(state, bar);
    return parts;
}

} // namespace

double boundaryContrast(const QImage &source, const QRect &part, int band, const QRect &beside)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const QRect inside = part & image.rect();
    if (inside.isEmpty())
        return 1;
    const QRegion around =
        beside.isValid()
            ? QRegion(beside)
            : QRegion(part.adjusted(-kAround, -kAround, kAround, kAround)) - QRegion(part);
    const QColor next = dominantColour(image, around);
    QRegion judged(inside);
    if (band > 0)
        judged -= QRegion(inside.adjusted(band, band, -band, -band));
    QVector<double> ratios;
    for (const QRect &rect : judged)
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                ratios.append(pixelContrastRatio(image.pixel(x, y), next.rgb()));
    const qint64 wanted = std::min<qint64>(outlinePixels(part.size()), ratios.size());
    if (wanted <= 0)
        return 1;
    std::nth_element(ratios.begin(), ratios.begin() + (wanted - 1), ratios.end(),
                     std::greater<double>());
    return ratios.at(int(wanted - 1));
}

qint64 perimeterArea(QSize size, int thickness)
{
    const qint64 whole = qint64(size.width()) * size.height();
    const qint64 inner = qint64(std::max(0, size.width() - 2 * thickness)) *
                         std::max(0, size.height() - 2 * thickness);
    return whole - inner;
}

bool isLargeText(const QFont &font)
{
    const QFontInfo info(font);
    const double points = info.pointSizeF();
    return points >= kLargePoints || (points >= kLargeBoldPoints && info.weight() >= QFont::Bold);
}

bool targetSpaced(const QRectF &target, const QVector<QRectF> &others,
                  const QVector<QRectF> &undersizedOthers)
{
    const QPointF centre = target.center();
    const qreal radius = kTargetSize / 2;
    for (const QRectF &other : others) {
        const qreal dx = std::max({other.left() - centre.x(), 0.0, centre.x() - other.right()});
        const qreal dy = std::max({other.top() - centre.y(), 0.0, centre.y() - other.bottom()});
        if (std::hypot(dx, dy) < radius)
            return false;
    }
    for (const QRectF &other : undersizedOthers) {
        const QPointF between = other.center() - centre;
        if (std::hypot(between.x(), between.y()) < kTargetSize)
            return false;
    }
    return true;
}

void WcagAudit::setTab(const QString &themeName, const QString &tabName,
                       const AuditRules *sheetRules)
{
    theme = themeName;
    tab = tabName;
    rules = sheetRules;
}

void WcagAudit::beginTab(QWidget *tabPage, const QVector<QWidget *> &widgets)
{
    page = tabPage;
    targets.clear();
    for (QWidget *widget : widgets)
        for (const ControlPart &part : targetParts(widget))
            if (part.rect.isValid())
                targets.append(
                    {widget, QRectF(QRect(widget->mapTo(widget->window(), part.rect.topLeft()),
                                          part.rect.size()))});
}

void WcagAudit::observe(const ObservedState &state)
{
    // The state audit shows each widget normal before any other state.
    if (state.state == AuditState::Normal) {
        normalOf = state.widget;
        normal = state.image;
        normalShortfalls.clear();
    }
    textContrast(state);
    nonTextContrast(state);
    switch (state.state) {
    case AuditState::Normal:
        targetSize(state);
        break;
    case AuditState::Focus:
        focusAppearance(state);
        break;
    default:
        break;
    }
}

void WcagAudit::auditTitleBar(QWidget *window, const std::function<QImage(const QRect &)> &render,
                              qreal scale)
{
    QWidget *bar = window->findChild<QWidget *>(ShellObjectNames::titleBar);
    if (!bar || !bar->isVisible())
        return;
    page = bar;
    QVector<QPushButton *> buttons;
    QVector<QRectF> rects;
    for (QPushButton *button : bar->findChildren<QPushButton *>())
        if (button->isVisible()) {
            buttons << button;
            rects << QRectF(QRect(button->mapTo(window, QPoint()), button->size()));
        }
    const auto undersized = [](const QRectF &rect) {
        return rect.width() < kTargetSize || rect.height() < kTargetSize;
    };
    for (int index = 0; index < buttons.size(); ++index) {
        if (!undersized(rects[index]))
            continue;
        QVector<QRectF> others, small;
        for (int other = 0; other < rects.size(); ++other)
            if (other != index) {
                others << rects[other];
                if (undersized(rects[other]))
                    small << rects[other];
            }
        if (targetSpaced(rects[index], others, small))
            continue;
        QPushButton *button = buttons[index];
        const QRect area = rects[index].toAlignedRect().adjusted(-4, -4, 4, 4) & window->rect();
        const ObservedState state{button, AuditState::Normal, render(area), area, scale, {}};
        add(state, TargetSize, WcagSeverity::Failure,
            QStringLiteral("%1 button").arg(button->toolTip().toLower()),
            QStringLiteral("is %1 × %2 px, 24 × 24 needed, and a 24 px circle on it meets "
                           "another target")
                .arg(button->width())
                .arg(button->height()),
            QString(), inImage(state, button, button->rect()));
    }
}

QVector<AuditGap> WcagAudit::takeGaps()
{
    QVector<AuditGap> taken;
    taken.swap(gaps);
    return taken;
}

QVector<WcagFinding> WcagAudit::takeFindings()
{
    QVector<WcagFinding> taken;
    taken.swap(findings);
    return taken;
}

RulePlace WcagAudit::placeOf(const ObservedState &state, const QString &subcontrol,
                             const QString &property) const
{
    RulePlace place;
    if (!rules)
        return place;
    const auto *button = qobject_cast<const QAbstractButton *>(state.widget);
    const bool checkable = button && button->isCheckable();
    if (!subcontrol.isEmpty() || !property.isEmpty())
        place = rules->place(state.widget, checkable, state.state, subcontrol, property);
    if (place.rule.isEmpty())
        place = rules->place(state.widget, checkable, state.state);
    return place;
}

// A boundary short in the normal state is mostly short in every other state too,
// by the same rule; one finding per state would bury the rest of the report. So
// another state's shortfall is reported when it is news: the normal state's same
// part passed, or a different rule paints the part in this state (one more rule
// to fix). Without the author's sheet no rule tells the states apart, and the
// normal state's finding stands for them all.
bool WcagAudit::repeatsNormal(const ObservedState &state, const QString &part,
                              const QString &subcontrol, const QString &property) const
{
    if (state.state == AuditState::Normal || normalOf != state.widget)
        return false;
    const auto normalPlace = normalShortfalls.constFind(part);
    if (normalPlace == normalShortfalls.constEnd())
        return false;
    const RulePlace here = placeOf(state, subcontrol, property);
    return here.sheetFile == normalPlace->sheetFile && here.rule == normalPlace->rule &&
           here.line == normalPlace->line && here.column == normalPlace->column;
}

void WcagAudit::add(const ObservedState &state, WcagCriterionIndex criterion, WcagSeverity severity,
                    const QString &part, const QString &figures, const QString &subcontrol,
                    const QRect &outlined, const QString &property)
{
    WcagFinding finding;
    finding.theme = theme;
    finding.tab = tab;
    finding.object = auditedWidgetName(state.widget, page);
    finding.state = state.state;
    finding.criterion = criterion;
    finding.severity = severity;
    finding.part = part;
    finding.figures = figures;
    finding.place = placeOf(state, subcontrol, property);
    finding.crop = state.image.convertToFormat(QImage::Format_RGB32);
    if (outlined.isValid()) {
        QPainter painter(&finding.crop);
        painter.setPen(kOutlineColour);
        painter.drawRect(outlined.adjusted(-1, -1, 0, 0));
    }
    findings.append(finding);
}

void WcagAudit::textContrast(const ObservedState &state)
{
    QWidget *widget = state.widget;
    const bool large = isLargeText(widget->font());
    const double needed = large ? kLargeTextContrast : kTextContrast;
    const WcagSeverity severity =
        state.state == AuditState::Disabled ? WcagSeverity::Advice : WcagSeverity::Failure;
    const QString size = QStringLiteral("%1 pt%2 text")
                             .arg(QFontInfo(widget->font()).pointSizeF(), 0, 'f', 1)
                             .arg(large ? QStringLiteral(", large") : QString());
    if (auto *tabs = qobject_cast<QTabWidget *>(widget)) {
        QTabBar *bar = tabs->findChild<QTabBar *>(QString(), Qt::FindDirectChildrenOnly);
        if (!bar || bar->currentIndex() < 0 || bar->tabText(bar->currentIndex()).isEmpty())
            return;
        const double ratio = tabTitleContrast(state, bar);
        if (ratio > 0 && ratio < needed)
            add(state, TextContrast, severity, QStringLiteral("tab title"),
                QStringLiteral("contrasts %1, %2 needed (%3)")
                    .arg(ratioText(ratio), ratioText(needed), size),
                QStringLiteral("tab"), inImage(state, bar, bar->tabRect(bar->currentIndex())),
                kColour);
        return;
    }
    QStringList leftOut;
    const QVector<ShownText> texts = shownTexts(widget, state.state, state.drive, &leftOut);
    for (const QString &part : qAsConst(leftOut))
        gaps.append({theme, tab, auditedWidgetName(widget, page), state.state, part,
                     QStringLiteral("showing it would run the application's own code")});
    for (const ShownText &text : texts) {
        QImage withText = state.image;
        if (text.isolate)
            text.isolate();
        QWidget *window = text.window ? text.window->data() : nullptr;
        if (text.window && !window) {
            text.restore();
            continue;
        }
        const auto render = [&] { return window ? window->grab().toImage() : state.render(); };
        if (text.isolate)
            withText = render();
        text.hide();
        const QImage withoutText = render();
        const QPalette palette = (window ? window : widget)->palette();
        const double ratio = renderedTextContrast(withText, withoutText);
        RulePlace place;
        if (window && rules && ratio > 0 && ratio < needed)
            place = rules->place(window, false, AuditState::Normal, text.subcontrol, kColour);
        text.restore();
        if (ratio <= 0 || ratio >= needed)
            continue;
        QString figures = QStringLiteral("contrasts %1, %2 needed (%3)")
                              .arg(ratioText(ratio), ratioText(needed), size);
        // The second method: the colours the sheet gave the widget's palette, which
        // the toolkit paints flat in the normal and disabled states; a subcontrol's
        // rule (::item) paints past the palette, so it has none.
        if (text.subcontrol.isEmpty() &&
            (state.state == AuditState::Normal || state.state == AuditState::Disabled)) {
            const QPalette::ColorGroup group =
                state.state == AuditState::Disabled ? QPalette::Disabled : QPalette::Active;
            const QColor background = palette.color(group, text.background);
            const QColor foreground =
                compositeOver(palette.color(group, text.foreground), background);
            figures += QStringLiteral("; the sheet's colours %1")
                           .arg(ratioText(contrastRatio(foreground, background)));
        }
        add(state, TextContrast, severity, text.part, figures, text.subcontrol, QRect(), kColour);
        if (window) {
            findings.last().crop = withText.convertToFormat(QImage::Format_RGB32);
            if (!place.rule.isEmpty())
                findings.last().place = place;
        }
    }
}

void WcagAudit::nonTextContrast(const ObservedState &state)
{
    QWidget *widget = state.widget;
    // Inactive components are exempt, as for their text.
    const WcagSeverity severity =
        state.state == AuditState::Disabled ? WcagSeverity::Advice : WcagSeverity::Failure;
    for (const NonTextPart &part : nonTextParts(state)) {
        if (!part.rect.isValid())
            continue;
        const QRect inside = inImage(state, widget, part.rect);
        const double ratio = boundaryContrast(state.image, inside, part.band, part.beside);
        if (ratio >= kNonTextContrast ||
            repeatsNormal(state, part.name, part.subcontrol, part.property))
            continue;
        add(state, NonTextContrast, severity, part.name,
            QStringLiteral("contrasts %1 with what is next to it, %2 needed")
                .arg(ratioText(ratio), ratioText(kNonTextContrast)),
            part.subcontrol, inside, part.property);
        if (state.state == AuditState::Normal)
            normalShortfalls.insert(part.name, findings.last().place);
    }
}

void WcagAudit::focusAppearance(const ObservedState &state)
{
    if (normalOf != state.widget)
        return;
    const QSize size = state.widget->size() * state.scale;
    const StateDifference difference = measureStateDifference(normal, state.image, size);
    const QString changed = QStringLiteral("%1 pixels change by 3:1 or more (strongest %2)")
                                .arg(difference.strong)
                                .arg(ratioText(difference.strongest));
    if (!difference.visible())
        add(state, FocusVisible, WcagSeverity::Failure, QStringLiteral("focus indicator"),
            changed + QStringLiteral(", a 1-pixel outline has %1").arg(difference.outline));
    const qint64 perimeter = perimeterArea(size, qMax(1, qRound(2 * state.scale)));
    if (difference.strong < perimeter)
        add(state, FocusAppearance, WcagSeverity::Failure, QStringLiteral("focus indicator"),
            changed + QStringLiteral(", a 2-pixel perimeter has %1").arg(perimeter));
}

void WcagAudit::targetSize(const ObservedState &state)
{
    QWidget *widget = state.widget;
    const auto undersized = [](const QRectF &rect) {
        return rect.width() < kTargetSize || rect.height() < kTargetSize;
    };
    for (const ControlPart &part : targetParts(widget)) {
        if (!part.judged || !part.rect.isValid())
            continue;
        const QRectF target(
            QRect(widget->mapTo(widget->window(), part.rect.topLeft()), part.rect.size()));
        if (!undersized(target))
            continue;
        QVector<QRectF> others, small;
        for (const auto &other : qAsConst(targets)) {
            // The part itself, or a container of it such as a tab widget's page.
            if (other.second == target || other.second.contains(target))
                continue;
            others.append(other.second);
            if (undersized(other.second))
                small.append(other.second);
        }
        if (targetSpaced(target, others, small))
            continue;
        add(state, TargetSize, WcagSeverity::Failure, part.name,
            QStringLiteral("is %1 × %2 px, 24 × 24 needed, and a 24 px circle on it meets "
                           "another target")
                .arg(part.rect.width())
                .arg(part.rect.height()),
            part.subcontrol, inImage(state, widget, part.rect));
    }
}
