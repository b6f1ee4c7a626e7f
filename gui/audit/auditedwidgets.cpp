// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/auditedwidgets.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace {

// Seen but never operated: their text or chunk is still read.
bool isShown(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return !label->text().isEmpty();
    return qobject_cast<const QProgressBar *>(widget) || qobject_cast<const QMenuBar *>(widget);
}

// A text in a name is cut here, so a paragraph of a label does not become one.
constexpr int kMostNameText = 40;

// "QPushButton[2]": the class, and the place among the parent's child widgets of
// that class, counted from 1 in creation order, hidden ones too, so that showing
// or hiding a sibling renames nothing.
QString classStep(const QWidget *widget)
{
    const char *className = widget->metaObject()->className();
    int place = 1;
    if (const QObject *parent = widget->parent()) {
        for (const QObject *sibling : parent->children()) {
            if (sibling == widget)
                break;
            place += sibling->isWidgetType() &&
                     qstrcmp(sibling->metaObject()->className(), className) == 0;
        }
    }
    return QStringLiteral("%1[%2]").arg(QLatin1String(className)).arg(place);
}

// A button's or group box's text as shown: "&Save" is "Save", "&&" one "&".
QString withoutMnemonic(QString text)
{
    for (int at = text.indexOf(QLatin1Char('&')); at >= 0 && at < text.size();
         at = text.indexOf(QLatin1Char('&'), at + 1))
        text.remove(at, 1);
    return text;
}

// The words that tell a user which widget this is: a button's text, a label's, a
// group box's title, a line edit's placeholder (what is typed in it changes).
QString nameText(const QWidget *widget)
{
    QString text;
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        text = withoutMnemonic(button->text());
    else if (const auto *box = qobject_cast<const QGroupBox *>(widget))
        text = withoutMnemonic(box->title());
    else if (const auto *edit = qobject_cast<const QLineEdit *>(widget))
        text = edit->placeholderText();
    else if (const auto *label = qobject_cast<const QLabel *>(widget))
        text = Qt::mightBeRichText(label->text())
                   ? QTextDocumentFragment::fromHtml(label->text()).toPlainText()
                   : label->text();
    text = text.simplified();
    if (text.size() > kMostNameText)
        text = text.left(kMostNameText - 3).trimmed() + QStringLiteral("...");
    return text;
}

} // namespace

bool isInteractive(const QWidget *widget)
{
    return qobject_cast<const QAbstractButton *>(widget) ||
           qobject_cast<const QAbstractSlider *>(widget) ||
           qobject_cast<const QComboBox *>(widget) || qobject_cast<const QLineEdit *>(widget) ||
           qobject_cast<const QAbstractSpinBox *>(widget) || (widget->focusPolicy() & Qt::TabFocus);
}

QVector<QWidget *> auditedWidgets(QWidget *page, bool shownToo)
{
    QVector<QWidget *> widgets;
    for (QWidget *widget : page->findChildren<QWidget *>()) {
        if (!widget->isVisible() || !widget->isEnabled() ||
            widget->objectName().startsWith(QLatin1String("qt_")) ||
            !(isInteractive(widget) || (shownToo && isShown(widget))))
            continue;
        bool part = false;
        for (QWidget *parent = widget->parentWidget(); parent && parent != page;
             parent = parent->parentWidget())
            part = part || isInteractive(parent);
        if (!part)
            widgets << widget;
    }
    return widgets;
}

QString auditedWidgetName(const QWidget *widget, const QWidget *page)
{
    if (!widget->objectName().isEmpty())
        return widget->objectName();
    QStringList steps;
    for (const QWidget *step = widget; step && step != page && !step->isWindow();
         step = step->parentWidget())
        steps.prepend(step->objectName().isEmpty() ? classStep(step) : step->objectName());
    if (steps.isEmpty())
        steps << classStep(widget);
    const QString text = nameText(widget);
    return steps.join(QLatin1Char('/')) +
           (text.isEmpty() ? QString() : QStringLiteral(" \"%1\"").arg(text));
}
