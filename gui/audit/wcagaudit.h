// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "audit/stateobserver.h"
#include "audit/wcagcriteria.h"

#include <QFont>
#include <QHash>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QVector>

#include <functional>

class AuditRules;

// The contrast that at least an outline's worth of a part's pixels reach against
// the colour most common in the 2 pixels around it (or in beside, when given: a
// progress chunk stands against the rest of its groove). band > 0 looks only at the
// part's outer band that many pixels deep (an input's border, not its text); 0
// looks at all of it (a handle, a chunk). 1 when the part is empty.
double boundaryContrast(const QImage &image, const QRect &part, int band,
                        const QRect &beside = QRect());
// The pixels of a perimeter thickness deep inside a rectangle of that size.
qint64 perimeterArea(QSize size, int thickness);
// WCAG's large text: 18 points, or 14 points bold.
bool isLargeText(const QFont &font);
// A target under 24 × 24 passes when a 24-pixel circle on its centre meets no other
// target and no other undersized target's circle.
bool targetSpaced(const QRectF &target, const QVector<QRectF> &others,
                  const QVector<QRectF> &undersizedOthers);

// The WCAG measures of each state the state audit holds, from its renders; the
// second method (the sheet's colours as the toolkit put them in the widget's
// palette) stands beside the pixels in the text figures.
class WcagAudit : public StateObserver
{
public:
    // Findings are stamped with these until the next call; rules may be null.
    void setTab(const QString &theme, const QString &tab, const AuditRules *rules);
    void beginTab(QWidget *page, const QVector<QWidget *> &widgets) override;
    void observe(const ObservedState &state) override;
    // 2.5.8 for the window's own title-bar buttons, outside every tab; render gives
    // an area of the window (in window coordinates) at the audit's scale.
    void auditTitleBar(QWidget *window, const std::function<QImage(const QRect &)> &render,
                       qreal scale);
    QVector<WcagFinding> takeFindings();
    // The texts the quiet drive left out since the last call.
    QVector<AuditGap> takeGaps();

private:
    void textContrast(const ObservedState &state);
    void nonTextContrast(const ObservedState &state);
    void focusAppearance(const ObservedState &state);
    void targetSize(const ObservedState &state);
    // Whether a shortfall outside the normal state only repeats the normal state's.
    bool repeatsNormal(const ObservedState &state, const QString &part, const QString &subcontrol,
                       const QString &property) const;
    RulePlace placeOf(const ObservedState &state, const QString &subcontrol,
                      const QString &property) const;
    void add(const ObservedState &state, WcagCriterionIndex criterion, WcagSeverity severity,
             const QString &part, const QString &figures, const QString &subcontrol = QString(),
             const QRect &outlined = QRect(), const QString &property = QString());

    QString theme;
    QString tab;
    const AuditRules *rules = nullptr;
    // The tab begun last, or the title bar: its widgets' names start there.
    QPointer<QWidget> page;
    // Every target of the tab, in window coordinates, by widget.
    QVector<QPair<QWidget *, QRectF>> targets;
    QWidget *normalOf = nullptr;
    QImage normal;
    // normalOf's non-text parts that fell short in the normal state, by part, with
    // the rule that paints each there.
    QHash<QString, RulePlace> normalShortfalls;
    QVector<WcagFinding> findings;
    QVector<AuditGap> gaps;
};
