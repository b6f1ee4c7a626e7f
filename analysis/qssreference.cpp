// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/qssreference.h"

#include <QHash>
#include <QSet>

namespace {
// Read by name from otherwise unknown declarations.
const char *const kStyleHints[] = {
    "activate-on-singleclick",
    "alignment",
    "arrow-keys-navigate-into-children",
    "backward-icon",
    "button-layout",
    "cd-icon",
    "combobox-list-mousetracking",
    "combobox-popup",
    "computer-icon",
    "desktop-icon",
    "dialog-apply-icon",
    "dialog-cancel-icon",
    "dialog-close-icon",
    "dialog-discard-icon",
    "dialog-help-icon",
    "dialog-no-icon",
    "dialog-ok-icon",
    "dialog-open-icon",
    "dialog-reset-icon",
    "dialog-save-icon",
    "dialog-yes-icon",
    "dialogbuttonbox-buttons-have-icons",
    "directory-closed-icon",
    "directory-icon",
    "directory-link-icon",
    "directory-open-icon",
    "dither-disable-text",
    "dockwidget-close-icon",
    "downarrow-icon",
    "dvd-icon",
    "etch-disabled-text",
    "file-icon",
    "file-link-icon",
    "filedialog-backward-icon",
    "filedialog-contentsview-icon",
    "filedialog-detailedview-icon",
    "filedialog-end-icon",
    "filedialog-infoview-icon",
    "filedialog-listview-icon",
    "filedialog-new-directory-icon",
    "filedialog-parent-directory-icon",
    "filedialog-start-icon",
    "floppy-icon",
    "forward-icon",
    "gridline-color",
    "harddisk-icon",
    "home-icon",
    "icon-size",
    "leftarrow-icon",
    "lineedit-password-character",
    "lineedit-password-mask-delay",
    "mdi-fill-space-on-maximize",
    "menu-scrollable",
    "menubar-altkey-navigation",
    "menubar-separator",
    "messagebox-critical-icon",
    "messagebox-information-icon",
    "messagebox-question-icon",
    "messagebox-text-interaction-flags",
    "messagebox-warning-icon",
    "mouse-tracking",
    "network-icon",
    "opacity",
    "paint-alternating-row-colors-for-empty-area",
    "rightarrow-icon",
    "scrollbar-contextmenu",
    "scrollbar-leftclick-absolute-position",
    "scrollbar-middleclick-absolute-position",
    "scrollbar-roll-between-buttons",
    "scrollbar-scroll-when-pointer-leaves-control",
    "scrollview-frame-around-contents",
    "show-decoration-selected",
    "spinbox-click-autorepeat-rate",
    "spincontrol-disable-on-bounds",
    "tabbar-elide-mode",
    "tabbar-prefer-no-arrows",
    "titlebar-close-icon",
    "titlebar-contexthelp-icon",
    "titlebar-maximize-icon",
    "titlebar-menu-icon",
    "titlebar-minimize-icon",
    "titlebar-normal-icon",
    "titlebar-shade-icon",
    "titlebar-show-tooltips-on-buttons",
    "titlebar-unshade-icon",
    "toolbutton-popup-delay",
    "trash-icon",
    "uparrow-icon",
    "widget-animation-duration",
};

const char *const kPseudoStates[] = {
    "active",
    "adjoins-item",
    "alternate",
    "bottom",
    "checked",
    "closable",
    "closed",
    "default",
    "disabled",
    "editable",
    "edit-focus",
    "enabled",
    "exclusive",
    "first",
    "flat",
    "floatable",
    "focus",
    "has-children",
    "has-siblings",
    "horizontal",
    "hover",
    "indeterminate",
    "last",
    "left",
    "maximized",
    "middle",
    "minimized",
    "movable",
    "no-frame",
    "non-exclusive",
    "off",
    "on",
    "only-one",
    "open",
    "next-selected",
    "pressed",
    "previous-selected",
    "read-only",
    "right",
    "selected",
    "top",
    "unchecked",
    "vertical",
    "window",
};

const char *const kSubcontrols[] = {
    "add-line",    "add-page",       "branch",      "chunk",        "close-button", "corner",
    "down-arrow",  "down-button",    "drop-down",   "float-button", "groove",       "indicator",
    "handle",      "icon",           "item",        "left-arrow",   "left-corner",  "menu-arrow",
    "menu-button", "menu-indicator", "right-arrow", "pane",         "right-corner", "scroller",
    "section",     "separator",      "sub-line",    "sub-page",     "tab",          "tab-bar",
    "tear",        "tearoff",        "text",        "title",        "up-arrow",     "up-button",
};

// Class and the class it derives from ("" for QWidget itself).
const char *const kWidgets[][2] = {
    {"QWidget", ""},
    {"QAbstractButton", "QWidget"},
    {"QPushButton", "QAbstractButton"},
    {"QCommandLinkButton", "QPushButton"},
    {"QToolButton", "QAbstractButton"},
    {"QCheckBox", "QAbstractButton"},
    {"QRadioButton", "QAbstractButton"},
    {"QFrame", "QWidget"},
    {"QAbstractScrollArea", "QFrame"},
    {"QAbstractItemView", "QAbstractScrollArea"},
    {"QListView", "QAbstractItemView"},
    {"QListWidget", "QListView"},
    {"QUndoView", "QListView"},
    {"QTreeView", "QAbstractItemView"},
    {"QTreeWidget", "QTreeView"},
    {"QTableView", "QAbstractItemView"},
    {"QTableWidget", "QTableView"},
    {"QColumnView", "QAbstractItemView"},
    {"QHeaderView", "QAbstractItemView"},
    {"QTextEdit", "QAbstractScrollArea"},
    {"QTextBrowser", "QTextEdit"},
    {"QPlainTextEdit", "QAbstractScrollArea"},
    {"QScrollArea", "QAbstractScrollArea"},
    {"QGraphicsView", "QAbstractScrollArea"},
    {"QMdiArea", "QAbstractScrollArea"},
    {"QLabel", "QFrame"},
    // The toolkit matches a tooltip by this name alone, never by its bases
    // (QStyleSheetStyle names a QTipLabel "QToolTip"), so it derives from nothing here.
    {"QToolTip", ""},
    {"QLCDNumber", "QFrame"},
    {"QSplitter", "QFrame"},
    {"QStackedWidget", "QFrame"},
    {"QToolBox", "QFrame"},
    {"QAbstractSlider", "QWidget"},
    {"QSlider", "QAbstractSlider"},
    {"QScrollBar", "QAbstractSlider"},
    {"QDial", "QAbstractSlider"},
    {"QAbstractSpinBox", "QWidget"},
    {"QSpinBox", "QAbstractSpinBox"},
    {"QDoubleSpinBox", "QAbstractSpinBox"},
    {"QDateTimeEdit", "QAbstractSpinBox"},
    {"QDateEdit", "QDateTimeEdit"},
    {"QTimeEdit", "QDateTimeEdit"},
    {"QComboBox", "QWidget"},
    {"QFontComboBox", "QComboBox"},
    {"QLineEdit", "QWidget"},
    {"QKeySequenceEdit", "QWidget"},
    {"QDialog", "QWidget"},
    {"QMessageBox", "QDialog"},
    {"QFileDialog", "QDialog"},
    {"QColorDialog", "QDialog"},
    {"QFontDialog", "QDialog"},
    {"QInputDialog", "QDialog"},
    {"QProgressDialog", "QDialog"},
    {"QErrorMessage", "QDialog"},
    {"QWizard", "QDialog"},
    {"QWizardPage", "QWidget"},
    {"QDialogButtonBox", "QWidget"},
    {"QDockWidget", "QWidget"},
    {"QGroupBox", "QWidget"},
    {"QMainWindow", "QWidget"},
    {"QMdiSubWindow", "QWidget"},
    {"QMenu", "QWidget"},
    {"QMenuBar", "QWidget"},
    {"QProgressBar", "QWidget"},
    {"QSizeGrip", "QWidget"},
    {"QSplitterHandle", "QWidget"},
    {"QStatusBar", "QWidget"},
    {"QTabBar", "QWidget"},
    {"QTabWidget", "QWidget"},
    {"QToolBar", "QWidget"},
    {"QCalendarWidget", "QWidget"},
    {"QRubberBand", "QWidget"},
    {"QFocusFrame", "QWidget"},
    {"QSplashScreen", "QWidget"},
    {"QOpenGLWidget", "QWidget"},
    // Private classes the toolkit's own widgets are built of, which sheets select on
    // by name (the Qt Style Sheets Reference and Examples use QTableCornerButton).
    {"QTableCornerButton", "QAbstractButton"},     // qtableview.cpp
    {"QComboBoxPrivateContainer", "QFrame"},       // qcombobox_p.h: the popup's frame
    {"QCalendarView", "QTableView"},               // qcalendarwidget.cpp: the day grid
    {"QDockWidgetTitleButton", "QAbstractButton"}, // qdockwidget_p.h
    {"QToolBarExtension", "QToolButton"},          // qtoolbarextension_p.h: the "»" button
    {"QToolBarSeparator", "QWidget"},              // qtoolbarseparator_p.h
    {"QMessageBoxDetailsText", "QWidget"},         // qmessagebox.cpp
    // This program's own classes, which a sheet may select on as well.
    {"MainWindow", "QMainWindow"},
    {"TitleBar", "QWidget"},
    {"PreviewContent", "QWidget"},
    {"StyleSwitcherWindow", "QWidget"},
};

const char *const kColourProperties[] = {
    "color",
    "background-color",
    "alternate-background-color",
    "border-color",
    "border-top-color",
    "border-right-color",
    "border-bottom-color",
    "border-left-color",
    "gridline-color",
    "selection-color",
    "selection-background-color",
    "outline-color",
    "placeholder-text-color",
};

const char *const kLengthProperties[] = {
    "width",
    "height",
    "min-width",
    "min-height",
    "max-width",
    "max-height",
    "margin",
    "margin-top",
    "margin-right",
    "margin-bottom",
    "margin-left",
    "padding",
    "padding-top",
    "padding-right",
    "padding-bottom",
    "padding-left",
    "spacing",
    "border-width",
    "border-top-width",
    "border-right-width",
    "border-bottom-width",
    "border-left-width",
    "border-radius",
    "border-top-left-radius",
    "border-top-right-radius",
    "border-bottom-left-radius",
    "border-bottom-right-radius",
    "left",
    "top",
    "right",
    "bottom",
    "outline-offset",
    "outline-radius",
    "icon-size",
};

const char *const kBorderShorthands[] = {
    "border", "border-top", "border-right", "border-bottom", "border-left", "outline",
};

const char *const kBorderStyleProperties[] = {
    "border-style",        "border-top-style",  "border-right-style",
    "border-bottom-style", "border-left-style", "outline-style",
};

const char *const kBorderStyles[] = {
    "none",   "dashed", "dot-dash", "dot-dot-dash", "dotted", "double",
    "groove", "inset",  "outset",   "ridge",        "solid",  "native",
};

const char *const kLengthUnits[] = {"px", "pt", "em", "ex"};

// Properties only some toolkit versions read, with the version (major * 100 +
// minor) that first reads them.
const struct
{
    const char *name;
    int since;
} kVersionedProperties[] = {
    // Qt 6.5: the placeholder text colour of line and text edits (Qt Style Sheets
    // Reference, "placeholder-text-color"; Qt 6's style sheet examples use it). Its
    // QCss::QtPlaceHolderTextColor is absent from Qt 6.4.2's qcssparser_p.h.
    {"placeholder-text-color", 605},
    // Qt 6.6: QPalette::Accent, and the accent-color property (QCss::QtAccent) that
    // sets it.
    {"accent-color", 606},
};

int builtVersion()
{
    return int(QT_VERSION >> 16) * 100 + int((QT_VERSION >> 8) & 0xff);
}

template <size_t N> QSet<QString> toSet(const char *const (&names)[N])
{
    QSet<QString> result;
    for (const char *name : names)
        result.insert(QLatin1String(name));
    return result;
}

const QHash<QString, QString> &widgetBases()
{
    static const QHash<QString, QString> bases = [] {
        QHash<QString, QString> result;
        for (const auto &row : kWidgets)
            result.insert(QLatin1String(row[0]), QLatin1String(row[1]));
        return result;
    }();
    return bases;
}
} // namespace

namespace QssReference {

bool isKnownProperty(const QString &name, bool knownToParser, int qtVersion)
{
    const int since = propertyKnownFrom(name);
    if (since > 0)
        return (qtVersion > 0 ? qtVersion : builtVersion()) >= since;
    static const QSet<QString> hints = toSet(kStyleHints);
    return knownToParser || hints.contains(name) ||
           name.startsWith(QLatin1String("qproperty-"), Qt::CaseInsensitive);
}

int propertyKnownFrom(const QString &name)
{
    for (const auto &entry : kVersionedProperties) {
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.since;
    }
    return 0;
}

QString versionText(int version)
{
    if (version <= 0)
        version = builtVersion();
    return QStringLiteral("%1.%2").arg(version / 100).arg(version % 100);
}

bool isKnownPseudoState(const QString &name)
{
    static const QSet<QString> states = toSet(kPseudoStates);
    return states.contains(name.toLower());
}

bool isKnownSubcontrol(const QString &name)
{
    static const QSet<QString> subcontrols = toSet(kSubcontrols);
    return subcontrols.contains(name.toLower());
}

WidgetClasses::WidgetClasses(const QHash<QString, QString> &own)
    : own(own)
{}

QString WidgetClasses::baseOf(const QString &widget) const
{
    const auto it = own.constFind(widget);
    return it != own.cend() ? *it : widgetBases().value(widget);
}

bool WidgetClasses::isKnown(const QString &name) const
{
    return own.contains(name) || isKnownWidget(name);
}

bool WidgetClasses::inherits(const QString &widget, const QString &base) const
{
    QString current = widget;
    for (int depth = 0; depth < 32 && !current.isEmpty(); ++depth) {
        if (current == base)
            return true;
        current = baseOf(current);
    }
    return false;
}

QStringList WidgetClasses::ancestry(const QString &widget) const
{
    QStringList result;
    QString current = widget;
    while (!current.isEmpty() && result.size() < 32) {
        result.append(current);
        current = baseOf(current);
    }
    return result;
}

bool isKnownWidget(const QString &name)
{
    // Namespaced classes are written with "--" for "::".
    return widgetBases().contains(name) || name.contains(QLatin1String("--"));
}

bool inheritsWidget(const QString &widget, const QString &base)
{
    if (widget.isEmpty())
        return false;
    const auto &bases = widgetBases();
    QString current = widget;
    for (int depth = 0; depth < 16 && !current.isEmpty(); ++depth) {
        if (current == base)
            return true;
        current = bases.value(current);
    }
    return false;
}

QStringList widgetAncestry(const QString &widget)
{
    QStringList result;
    const auto &bases = widgetBases();
    QString current = widget;
    while (!current.isEmpty() && result.size() < 16) {
        result.append(current);
        current = bases.value(current);
    }
    return result;
}

ValueKind valueKind(const QString &property)
{
    static const QSet<QString> colours = toSet(kColourProperties);
    static const QSet<QString> lengths = toSet(kLengthProperties);
    static const QSet<QString> borders = toSet(kBorderShorthands);
    static const QSet<QString> borderStyles = toSet(kBorderStyleProperties);
    if (colours.contains(property))
        return ValueKind::Colour;
    if (lengths.contains(property))
        return ValueKind::Length;
    if (borders.contains(property))
        return ValueKind::Border;
    if (borderStyles.contains(property))
        return ValueKind::BorderStyle;
    if (property == QLatin1String("background"))
        return ValueKind::Background;
    if (property == QLatin1String("font-size"))
        return ValueKind::FontSize;
    if (property == QLatin1String("font-weight"))
        return ValueKind::FontWeight;
    return ValueKind::Other;
}

bool isKnownLengthUnit(const QString &unit)
{
    static const QSet<QString> units = toSet(kLengthUnits);
    return units.contains(unit.toLower());
}

bool isKnownBorderStyle(const QString &name)
{
    static const QSet<QString> styles = toSet(kBorderStyles);
    return styles.contains(name.toLower());
}

} // namespace QssReference
