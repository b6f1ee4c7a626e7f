// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/qssreference.h"

#include <QHash>
#include <QSet>

#include <algorithm>

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

// Pseudo-states: name, meaning, and the classes it means something on ("" for any
// widget).
const char *const kPseudoStates[][3] = {
    {"active", "the widget is in the active window", ""},
    {"adjoins-item", "the branch of a tree view stands next to an item", "QTreeView"},
    {"alternate", "an item on an alternate row of a view that alternates row colours",
     "QAbstractItemView"},
    {"bottom", "placed at the bottom, like a tab of a tab bar below its pages", "QTabBar"},
    {"checked", "checked or toggled on", "QAbstractButton QGroupBox QAbstractItemView QMenu"},
    {"closable", "can be closed", "QDockWidget QTabBar"},
    {"closed", "a collapsed branch of a tree view", "QTreeView"},
    {"default", "the default button of a dialog, or a menu's default action", "QPushButton QMenu"},
    {"disabled", "the widget is disabled", ""},
    {"editable", "a combo box the user can type into", "QComboBox"},
    {"edit-focus", "has edit focus (keypad navigation)", ""},
    {"enabled", "the widget is enabled", ""},
    {"exclusive", "an item of an exclusive action group in a menu", "QMenu"},
    {"first", "the first of its kind: the first tab, the first header section",
     "QTabBar QHeaderView"},
    {"flat", "flat: a flat push button or group box", "QPushButton QGroupBox"},
    {"floatable", "a dock widget that can be floated", "QDockWidget"},
    {"focus", "the widget has the input focus", ""},
    {"has-children", "a tree branch whose item has children", "QTreeView"},
    {"has-siblings", "a tree branch whose item has siblings below it", "QTreeView"},
    {"horizontal", "horizontal orientation",
     "QAbstractSlider QToolBar QSplitter QSplitterHandle QProgressBar QMainWindow"},
    {"hover", "the mouse is over the widget", ""},
    {"indeterminate", "partly checked: a tri-state check box or item, a busy progress bar",
     "QCheckBox QRadioButton QAbstractItemView QProgressBar"},
    {"last", "the last of its kind: the last tab, the last header section", "QTabBar QHeaderView"},
    {"left", "placed at the left, like a tab of a tab bar left of its pages", "QTabBar"},
    {"maximized", "a maximised subwindow", "QMdiSubWindow"},
    {"middle", "neither first nor last: a tab or header section in between", "QTabBar QHeaderView"},
    {"minimized", "a minimised subwindow", "QMdiSubWindow"},
    {"movable", "a dock widget or tool bar that can be moved", "QDockWidget QToolBar"},
    {"no-frame", "drawn without a frame", "QAbstractSpinBox QComboBox QLineEdit"},
    {"non-exclusive", "an item of a non-exclusive action group in a menu", "QMenu"},
    {"off", "toggled off", "QAbstractButton"},
    {"on", "toggled on", "QAbstractButton"},
    {"only-one", "the only tab or header section", "QTabBar QHeaderView"},
    {"open", "open: an expanded tree branch, a button or combo box showing its menu",
     "QTreeView QComboBox QPushButton QToolButton"},
    {"next-selected", "the tab or section after the selected one", "QTabBar QHeaderView"},
    {"pressed", "being pressed with the mouse", ""},
    {"previous-selected", "the tab or section before the selected one", "QTabBar QHeaderView"},
    {"read-only", "read-only", "QLineEdit QAbstractSpinBox QComboBox QTextEdit QPlainTextEdit"},
    {"right", "placed at the right, like a tab of a tab bar right of its pages", "QTabBar"},
    {"selected", "a selected item, tab or menu entry", "QAbstractItemView QTabBar QMenu QMenuBar"},
    {"top", "placed at the top, like a tab of a tab bar above its pages", "QTabBar"},
    {"unchecked", "unchecked", "QAbstractButton QGroupBox QAbstractItemView"},
    {"vertical", "vertical orientation",
     "QAbstractSlider QToolBar QSplitter QSplitterHandle QProgressBar QMainWindow"},
    {"window", "the widget is a window (a top-level widget)", ""},
};

// Subcontrols: name, meaning, and the classes that have it (their subclasses too).
const char *const kSubcontrols[][3] = {
    {"add-line", "the button that scrolls a scroll bar one line on", "QScrollBar"},
    {"add-page", "the groove after the handle of a scroll bar or slider", "QScrollBar QSlider"},
    {"branch", "the branch indicator of a tree view", "QTreeView"},
    {"chunk", "one chunk of a progress bar's filled part", "QProgressBar"},
    {"close-button", "the close button of a tab or a dock widget", "QTabBar QDockWidget"},
    {"corner", "the corner where a scroll area's two scroll bars meet", "QAbstractScrollArea"},
    {"down-arrow", "the down arrow of a combo box, spin box, header section or scroll bar",
     "QComboBox QAbstractSpinBox QHeaderView QScrollBar"},
    {"down-button", "the down button of a spin box", "QAbstractSpinBox"},
    {"drop-down", "the drop-down button of a combo box or date-time edit",
     "QComboBox QDateTimeEdit"},
    {"float-button", "the float button of a dock widget", "QDockWidget"},
    {"groove", "the groove of a slider", "QSlider"},
    {"indicator",
     "the check mark of a check box, radio button, checkable group box, item or "
     "menu entry",
     "QCheckBox QRadioButton QGroupBox QAbstractItemView QMenu"},
    {"handle", "the handle of a scroll bar, slider, splitter or tool bar",
     "QScrollBar QSlider QSplitter QSplitterHandle QToolBar"},
    {"icon", "the icon of an item or menu entry", "QAbstractItemView QMenu"},
    {"item", "an item of a view, menu, menu bar or status bar",
     "QAbstractItemView QMenu QMenuBar QStatusBar QComboBox"},
    {"left-arrow", "the left arrow of a scroll bar or tool button", "QScrollBar QToolButton"},
    {"left-corner", "the left corner widget of a tab widget", "QTabWidget"},
    {"menu-arrow", "the arrow of a tool button's menu", "QToolButton"},
    {"menu-button", "the menu button of a tool button", "QToolButton"},
    {"menu-indicator", "the menu indicator of a push button or tool button",
     "QPushButton QToolButton"},
    {"right-arrow", "the right arrow of a scroll bar, submenu entry or tool button",
     "QScrollBar QMenu QToolButton"},
    {"pane", "the frame around a tab widget's pages", "QTabWidget"},
    {"right-corner", "the right corner widget of a tab widget", "QTabWidget"},
    {"scroller", "the scroll buttons of a menu or tab bar", "QMenu QTabBar"},
    {"section", "a section of a header view", "QHeaderView"},
    {"separator", "a separator of a menu, main window or tool bar", "QMenu QMainWindow QToolBar"},
    {"sub-line", "the button that scrolls a scroll bar one line back", "QScrollBar"},
    {"sub-page", "the groove before the handle of a scroll bar or slider", "QScrollBar QSlider"},
    {"tab", "a tab of a tab bar or tool box", "QTabBar QToolBox"},
    {"tab-bar", "the tab bar of a tab widget", "QTabWidget"},
    {"tear", "the tear indicator of a tab bar", "QTabBar"},
    {"tearoff", "the tear-off indicator of a menu", "QMenu"},
    {"text", "the text of an item", "QAbstractItemView"},
    {"title", "the title of a group box or dock widget", "QGroupBox QDockWidget"},
    {"up-arrow", "the up arrow of a spin box, header section or scroll bar",
     "QAbstractSpinBox QHeaderView QScrollBar"},
    {"up-button", "the up button of a spin box", "QAbstractSpinBox"},
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

// Alignment keywords, the boxes a subcontrol or background is placed in, and the
// border styles, shared by the properties below.
#define PRISMARK_ALIGNMENT "top bottom left right center"
#define PRISMARK_ORIGIN "margin border padding content"
#define PRISMARK_BORDER_STYLES                                                                     \
    "none dashed dot-dash dot-dot-dash dotted double groove inset outset ridge solid native"

// Every property the toolkit's parser knows, with what the checks read from it, the
// value type of the reference, a one-line meaning and the keywords it takes.
struct PropertyRow
{
    const char *name;
    QssReference::ValueKind kind;
    const char *valueType;
    const char *meaning;
    const char *keywords;
};

using K = QssReference::ValueKind;
const PropertyRow kProperties[] = {
    {"-qt-background-role", K::Other, "Palette Role",
     "the palette role the widget's background is drawn in", nullptr},
    {"-qt-block-indent", K::Other, "Number", "rich text: the indent of a block", nullptr},
    {"-qt-fg-texture-cachekey", K::Other, "Number", "rich text: internal texture key", nullptr},
    {"-qt-line-height-type", K::Other, "String", "rich text: how line-height is read", nullptr},
    {"-qt-list-indent", K::Other, "Number", "rich text: the indent of a list", nullptr},
    {"-qt-list-number-prefix", K::Other, "String", "rich text: text before a list number", nullptr},
    {"-qt-list-number-suffix", K::Other, "String", "rich text: text after a list number", nullptr},
    {"-qt-paragraph-type", K::Other, "String", "rich text: the kind of a paragraph", nullptr},
    {"-qt-style-features", K::Other, "List",
     "style features drawn by the native style even with a style sheet",
     "background-color background-gradient none"},
    {"-qt-table-type", K::Other, "String", "rich text: the kind of a table", nullptr},
    {"-qt-user-state", K::Other, "Number", "rich text: a block's user state", nullptr},
    {"alternate-background-color", K::Colour, "Brush",
     "the background of alternate rows of an item view", nullptr},
    {"background", K::Background, "Background",
     "shorthand for background-color, -image, -repeat and -position", nullptr},
    {"background-attachment", K::Other, "Attachment",
     "whether a scroll area's background image scrolls with its contents", "scroll fixed"},
    {"background-clip", K::Other, "Origin", "the box the background is painted in",
     PRISMARK_ORIGIN},
    {"background-color", K::Colour, "Brush", "the background colour of the widget", nullptr},
    {"background-image", K::Other, "Url", "an image drawn behind the widget's contents", "none"},
    {"background-origin", K::Other, "Origin",
     "the box background-position and background-image are placed in", PRISMARK_ORIGIN},
    {"background-position", K::Other, "Alignment", "where the background image is placed",
     PRISMARK_ALIGNMENT},
    {"background-repeat", K::Other, "Repeat", "whether and how the background image repeats",
     "repeat-x repeat-y repeat no-repeat"},
    {"border", K::Border, "Border", "shorthand for the border's width, style and colour",
     PRISMARK_BORDER_STYLES},
    {"border-bottom", K::Border, "Border", "shorthand for the bottom border",
     PRISMARK_BORDER_STYLES},
    {"border-bottom-color", K::Colour, "Brush", "the colour of the bottom border", nullptr},
    {"border-bottom-left-radius", K::Length, "Radius", "the radius of the bottom-left corner",
     nullptr},
    {"border-bottom-right-radius", K::Length, "Radius", "the radius of the bottom-right corner",
     nullptr},
    {"border-bottom-style", K::BorderStyle, "Border Style", "the style of the bottom border",
     PRISMARK_BORDER_STYLES},
    {"border-bottom-width", K::Length, "Length", "the width of the bottom border", nullptr},
    {"border-collapse", K::Other, "String", "rich text: whether table borders collapse",
     "collapse separate"},
    {"border-color", K::Colour, "Box Colors", "the colour of all four borders", nullptr},
    {"border-image", K::Other, "Border Image", "an image cut into nine parts to fill the border",
     "none stretch repeat"},
    {"border-left", K::Border, "Border", "shorthand for the left border", PRISMARK_BORDER_STYLES},
    {"border-left-color", K::Colour, "Brush", "the colour of the left border", nullptr},
    {"border-left-style", K::BorderStyle, "Border Style", "the style of the left border",
     PRISMARK_BORDER_STYLES},
    {"border-left-width", K::Length, "Length", "the width of the left border", nullptr},
    {"border-radius", K::Length, "Radius", "the radius of the border's corners", nullptr},
    {"border-right", K::Border, "Border", "shorthand for the right border", PRISMARK_BORDER_STYLES},
    {"border-right-color", K::Colour, "Brush", "the colour of the right border", nullptr},
    {"border-right-style", K::BorderStyle, "Border Style", "the style of the right border",
     PRISMARK_BORDER_STYLES},
    {"border-right-width", K::Length, "Length", "the width of the right border", nullptr},
    {"border-style", K::BorderStyle, "Border Style", "the style of all four borders",
     PRISMARK_BORDER_STYLES},
    {"border-top", K::Border, "Border", "shorthand for the top border", PRISMARK_BORDER_STYLES},
    {"border-top-color", K::Colour, "Brush", "the colour of the top border", nullptr},
    {"border-top-left-radius", K::Length, "Radius", "the radius of the top-left corner", nullptr},
    {"border-top-right-radius", K::Length, "Radius", "the radius of the top-right corner", nullptr},
    {"border-top-style", K::BorderStyle, "Border Style", "the style of the top border",
     PRISMARK_BORDER_STYLES},
    {"border-top-width", K::Length, "Length", "the width of the top border", nullptr},
    {"border-width", K::Length, "Box Lengths", "the width of all four borders", nullptr},
    {"bottom", K::Length, "Length",
     "moves a subcontrol up by this much (relative) or places its bottom edge (absolute)", nullptr},
    {"color", K::Colour, "Brush", "the colour of the widget's text", nullptr},
    {"float", K::Other, "String", "rich text: floats an image or table", "left right none"},
    {"font", K::Other, "Font", "shorthand for the font's style, weight, size and family",
     "normal italic oblique bold"},
    {"font-family", K::Other, "String", "the font family of the text", nullptr},
    {"font-kerning", K::Other, "String", "whether the text is kerned", "normal none auto"},
    {"font-size", K::FontSize, "Font Size", "the size of the text, in pt or px", nullptr},
    {"font-style", K::Other, "Font Style", "the style of the text", "normal italic oblique"},
    {"font-variant", K::Other, "String", "small capitals or normal letters", "normal small-caps"},
    {"font-weight", K::FontWeight, "Font Weight", "the weight of the text",
     "normal bold 100 200 300 400 500 600 700 800 900"},
    {"height", K::Length, "Length", "the height of a subcontrol, or the minimum of some widgets",
     nullptr},
    {"icon", K::Other, "Url+", "the icon of a widget that shows one (push buttons)", nullptr},
    {"image", K::Other, "Url+", "an image drawn in the contents rectangle, scaled down to fit",
     nullptr},
    {"image-position", K::Other, "Alignment", "where the image is placed", PRISMARK_ALIGNMENT},
    {"left", K::Length, "Length",
     "moves a subcontrol right by this much (relative) or places its left edge (absolute)",
     nullptr},
    {"letter-spacing", K::Other, "Length", "extra space between letters", nullptr},
    {"line-height", K::Other, "Length", "rich text: the height of a line", nullptr},
    {"list-style", K::Other, "List Style", "rich text: shorthand for the style of a list",
     "none disc circle square decimal lower-alpha upper-alpha lower-roman upper-roman"},
    {"list-style-type", K::Other, "List Style", "rich text: the marker of a list's items",
     "none disc circle square decimal lower-alpha upper-alpha lower-roman upper-roman"},
    {"margin", K::Length, "Box Lengths", "the space around the border", nullptr},
    {"margin-bottom", K::Length, "Length", "the space below the border", nullptr},
    {"margin-left", K::Length, "Length", "the space left of the border", nullptr},
    {"margin-right", K::Length, "Length", "the space right of the border", nullptr},
    {"margin-top", K::Length, "Length", "the space above the border", nullptr},
    {"max-height", K::Length, "Length", "the largest height of the widget or subcontrol", nullptr},
    {"max-width", K::Length, "Length", "the largest width of the widget or subcontrol", nullptr},
    {"min-height", K::Length, "Length", "the smallest height of the widget or subcontrol", nullptr},
    {"min-width", K::Length, "Length", "the smallest width of the widget or subcontrol", nullptr},
    {"outline", K::Border, "Border", "shorthand for the focus outline", PRISMARK_BORDER_STYLES},
    {"outline-bottom-left-radius", K::Other, "Radius",
     "the radius of the outline's bottom-left corner", nullptr},
    {"outline-bottom-right-radius", K::Other, "Radius",
     "the radius of the outline's bottom-right corner", nullptr},
    {"outline-color", K::Colour, "Brush", "the colour of the focus outline", nullptr},
    {"outline-offset", K::Length, "Length", "the outline's distance from the border", nullptr},
    {"outline-radius", K::Length, "Radius", "the radius of the outline's corners", nullptr},
    {"outline-style", K::BorderStyle, "Border Style", "the style of the focus outline",
     PRISMARK_BORDER_STYLES},
    {"outline-top-left-radius", K::Other, "Radius", "the radius of the outline's top-left corner",
     nullptr},
    {"outline-top-right-radius", K::Other, "Radius", "the radius of the outline's top-right corner",
     nullptr},
    {"outline-width", K::Other, "Length", "the width of the focus outline", nullptr},
    {"padding", K::Length, "Box Lengths", "the space between the border and the contents", nullptr},
    {"padding-bottom", K::Length, "Length", "the space below the contents", nullptr},
    {"padding-left", K::Length, "Length", "the space left of the contents", nullptr},
    {"padding-right", K::Length, "Length", "the space right of the contents", nullptr},
    {"padding-top", K::Length, "Length", "the space above the contents", nullptr},
    {"page-break-after", K::Other, "String", "rich text: a page break after the block",
     "auto always"},
    {"page-break-before", K::Other, "String", "rich text: a page break before the block",
     "auto always"},
    {"position", K::Other, "Relative | Absolute",
     "whether left, right, top and bottom move a subcontrol or place it", "relative absolute"},
    {"right", K::Length, "Length",
     "moves a subcontrol left by this much (relative) or places its right edge (absolute)",
     nullptr},
    {"selection-background-color", K::Colour, "Brush", "the background of selected text or items",
     nullptr},
    {"selection-color", K::Colour, "Brush", "the colour of selected text or items", nullptr},
    {"spacing", K::Length, "Length",
     "the space inside a widget: between a check box's "
     "indicator and its text, between menu bar items",
     nullptr},
    {"subcontrol-origin", K::Other, "Origin",
     "the box of the parent widget a subcontrol is placed in", PRISMARK_ORIGIN},
    {"subcontrol-position", K::Other, "Alignment",
     "where a subcontrol sits in its subcontrol-origin box", PRISMARK_ALIGNMENT},
    {"text-align", K::Other, "Alignment", "the alignment of the text", PRISMARK_ALIGNMENT},
    {"text-decoration", K::Other, "String", "lines drawn with the text",
     "none underline overline line-through"},
    {"text-indent", K::Other, "Length", "rich text: the indent of a block's first line", nullptr},
    {"text-transform", K::Other, "String", "upper or lower case letters",
     "none uppercase lowercase"},
    {"text-underline-style", K::Other, "String", "rich text: the style of an underline",
     "none solid dashed dotted dot-dash dot-dot-dash wave"},
    {"top", K::Length, "Length",
     "moves a subcontrol down by this much (relative) or places its top edge (absolute)", nullptr},
    {"vertical-align", K::Other, "String", "rich text: the vertical alignment of text",
     "baseline sub super middle top bottom"},
    {"white-space", K::Other, "String", "rich text: how blanks and line breaks are kept",
     "normal pre nowrap pre-wrap pre-line"},
    {"width", K::Length, "Length", "the width of a subcontrol, or the minimum of some widgets",
     nullptr},
    {"word-spacing", K::Other, "Length", "extra space between words", nullptr},
};

// Style hints the reference gives a type and meaning of their own; the others are
// icons (named "-icon") or switches of the style.
const PropertyRow kDocumentedHints[] = {
    {"gridline-color", K::Colour, "Color", "the colour of a table view's grid", nullptr},
    {"icon-size", K::Length, "Length", "the size of the icons a widget shows", nullptr},
    {"opacity", K::Other, "Number", "the opacity of tool tips, 0 (clear) to 255 (opaque)", nullptr},
    {"lineedit-password-character", K::Other, "Number",
     "the Unicode code point a password line edit shows for each character", nullptr},
    {"lineedit-password-mask-delay", K::Other, "Number",
     "milliseconds a typed password character stays visible", nullptr},
    {"button-layout", K::Other, "Number", "the order of a dialog button box's buttons", nullptr},
    {"combobox-popup", K::Other, "Boolean", "whether a combo box shows a pop-up list",
     "true false"},
    {"show-decoration-selected", K::Other, "Boolean",
     "whether the selection of a view covers the whole row", "true false"},
    {"titlebar-show-tooltips-on-buttons", K::Other, "Boolean",
     "whether title bar buttons have tool tips", "true false"},
    {"widget-animation-duration", K::Other, "Number", "milliseconds a widget animation lasts",
     nullptr},
    {"messagebox-text-interaction-flags", K::Other, "Number",
     "how the user may interact with a message box's text", nullptr},
    {"paint-alternating-row-colors-for-empty-area", K::Other, "Boolean",
     "whether an item view alternates row colours below its last row", "true false"},
};

// Where a property is read, for those not read on any widget.
const char *const kPropertyScopes[][2] = {
    {"alternate-background-color", "QAbstractItemView"},
    {"background-attachment", "QAbstractScrollArea"},
    {"bottom", "subcontrols"},
    {"button-layout", "QDialogButtonBox"},
    {"combobox-popup", "QComboBox"},
    {"gridline-color", "QTableView"},
    {"height", "subcontrols, and the minimum height of a widget"},
    {"icon", "QPushButton"},
    {"icon-size", "QAbstractButton, QTabBar, QToolBar, QAbstractItemView"},
    {"left", "subcontrols"},
    {"lineedit-password-character", "QLineEdit"},
    {"lineedit-password-mask-delay", "QLineEdit"},
    {"messagebox-text-interaction-flags", "QMessageBox"},
    {"opacity", "QToolTip"},
    {"paint-alternating-row-colors-for-empty-area", "QAbstractItemView"},
    {"position", "subcontrols"},
    {"right", "subcontrols"},
    {"selection-background-color",
     "QLineEdit, QAbstractSpinBox, QComboBox, QTextEdit, QPlainTextEdit, QAbstractItemView"},
    {"selection-color",
     "QLineEdit, QAbstractSpinBox, QComboBox, QTextEdit, QPlainTextEdit, QAbstractItemView"},
    {"show-decoration-selected", "QAbstractItemView"},
    {"spacing", "QCheckBox, QRadioButton, QMenuBar, QLineEdit, QGroupBox, QToolBar"},
    {"subcontrol-origin", "subcontrols"},
    {"subcontrol-position", "subcontrols"},
    {"titlebar-show-tooltips-on-buttons", "QMdiSubWindow, QDockWidget"},
    {"top", "subcontrols"},
    {"width", "subcontrols, and the minimum width of a widget"},
};

// The roles palette(role) reads, spelled as the parser spells them.
const char *const kPaletteValueRoles[] = {
    "alternate-base", "base",        "bright-text",      "button", "button-text",
    "dark",           "highlight",   "highlighted-text", "light",  "link",
    "link-visited",   "mid",         "midlight",         "shadow", "text",
    "window",         "window-text",
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

QStringList words(const char *text)
{
    return text ? QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts)
                : QStringList();
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

QString scopeOf(const QString &name, const QString &meaning)
{
    for (const auto &row : kPropertyScopes) {
        if (name == QLatin1String(row[0]))
            return QLatin1String(row[1]);
    }
    if (meaning.startsWith(QLatin1String("rich text")))
        return QStringLiteral("rich text (QLabel, QTextEdit, QTextBrowser), not widgets");
    if (name.endsWith(QLatin1String("-icon")))
        return QStringLiteral("the style's standard icons");
    return QStringLiteral("any widget");
}

QssReference::PropertyInfo propertyInfo(const PropertyRow &row)
{
    const QString name = QLatin1String(row.name);
    const QString meaning = QLatin1String(row.meaning);
    return {name,
            row.kind,
            QLatin1String(row.valueType),
            meaning,
            words(row.keywords),
            scopeOf(name, meaning)};
}

// A style hint without a row of its own: an icon, or a switch of the style.
QssReference::PropertyInfo hintInfo(const QString &name)
{
    QssReference::PropertyInfo info;
    info.name = name;
    info.kind = QssReference::ValueKind::Other;
    if (name.endsWith(QLatin1String("-icon"))) {
        info.valueType = QStringLiteral("Url");
        info.meaning = QStringLiteral("the icon the style uses for the standard pixmap \"%1\"")
                           .arg(name.chopped(5));
    } else {
        info.valueType = QStringLiteral("Number");
        info.meaning = QStringLiteral("a style hint the toolkit's style reads by name "
                                      "(0 or 1 for a switch)");
    }
    info.appliesTo = scopeOf(name, info.meaning);
    return info;
}

const QVector<QssReference::PropertyInfo> &propertyTable()
{
    static const QVector<QssReference::PropertyInfo> table = [] {
        QVector<QssReference::PropertyInfo> result;
        for (const PropertyRow &row : kProperties)
            result.append(propertyInfo(row));
        for (const PropertyRow &row : kDocumentedHints)
            result.append(propertyInfo(row));
        for (const char *hint : kStyleHints) {
            const QString name = QLatin1String(hint);
            const bool documented = std::any_of(
                result.cbegin(), result.cend(),
                [&name](const QssReference::PropertyInfo &p) { return p.name == name; });
            if (!documented)
                result.append(hintInfo(name));
        }
        std::sort(result.begin(), result.end(),
                  [](const QssReference::PropertyInfo &a, const QssReference::PropertyInfo &b) {
                      return a.name < b.name;
                  });
        return result;
    }();
    return table;
}

template <size_t N> QVector<QssReference::NameInfo> nameTable(const char *const (&rows)[N][3])
{
    QVector<QssReference::NameInfo> result;
    for (const auto &row : rows)
        result.append({QLatin1String(row[0]), QLatin1String(row[1]), words(row[2])});
    return result;
}

// Where each name first stands in table: the checks look names up for every selector.
template <typename T> QHash<QString, int> nameIndex(const QVector<T> &table)
{
    QHash<QString, int> index;
    for (int i = 0; i < table.size(); ++i) {
        if (!index.contains(table.at(i).name))
            index.insert(table.at(i).name, i);
    }
    return index;
}

template <typename T>
const T *findByName(const QVector<T> &table, const QHash<QString, int> &index, const QString &name)
{
    const auto it = index.constFind(name);
    return it == index.cend() ? nullptr : &table.at(*it);
}

// The names whose appliesTo names widget or one of its bases.
QStringList namesFor(const QVector<QssReference::NameInfo> &table, const QString &widget)
{
    const QStringList ancestry = QssReference::widgetAncestry(widget);
    QStringList result;
    for (const QssReference::NameInfo &entry : table) {
        const bool applies =
            std::any_of(entry.appliesTo.cbegin(), entry.appliesTo.cend(),
                        [&ancestry](const QString &name) { return ancestry.contains(name); });
        if (applies)
            result.append(entry.name);
    }
    return result;
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
    return pseudoState(name.toLower()) != nullptr;
}

bool isKnownSubcontrol(const QString &name)
{
    return subcontrol(name.toLower()) != nullptr;
}

namespace {
QString baseIn(const QHash<QString, QString> &own, const QString &widget)
{
    const auto it = own.constFind(widget);
    return it != own.cend() ? *it : widgetBases().value(widget);
}

// widget, then its bases; a cycle among own classes ends after 32 steps.
QStringList walkAncestry(const QHash<QString, QString> &own, const QString &widget)
{
    QStringList result;
    QString current = widget;
    while (!current.isEmpty() && result.size() < 32) {
        result.append(current);
        current = baseIn(own, current);
    }
    return result;
}
} // namespace

WidgetClasses::WidgetClasses(const QHash<QString, QString> &own)
    : own(own)
{
    // Without own classes every instance shares one table of the toolkit's.
    static const QHash<QString, QStringList> toolkitAncestries = [] {
        QHash<QString, QStringList> result;
        for (auto it = widgetBases().cbegin(); it != widgetBases().cend(); ++it)
            result.insert(it.key(), walkAncestry({}, it.key()));
        return result;
    }();
    ancestries = toolkitAncestries;
    if (own.isEmpty())
        return;
    for (auto it = own.cbegin(); it != own.cend(); ++it)
        ancestries.insert(it.key(), QStringList());
    for (auto it = ancestries.begin(); it != ancestries.end(); ++it)
        *it = walkAncestry(own, it.key());
}

bool WidgetClasses::isKnown(const QString &name) const
{
    // Every widget is a QObject, and a type selector matches by inheritance.
    return own.contains(name) || isKnownWidget(name) || name == QLatin1String("QObject");
}

bool WidgetClasses::inherits(const QString &widget, const QString &base) const
{
    if (widget.isEmpty())
        return false;
    if (widget == base || base == QLatin1String("QObject"))
        return true;
    const auto known = ancestries.constFind(widget);
    return known != ancestries.cend() && known->contains(base);
}

QStringList WidgetClasses::ancestry(const QString &widget) const
{
    if (widget.isEmpty())
        return QStringList();
    const auto known = ancestries.constFind(widget);
    return known != ancestries.cend() ? *known : QStringList(widget);
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

QStringList widgetClasses()
{
    QStringList result;
    for (const auto &row : kWidgets)
        result.append(QLatin1String(row[0]));
    return result;
}

bool isProgramWidget(const QString &name)
{
    return widgetBases().contains(name) && !name.startsWith(QLatin1Char('Q'));
}

ValueKind valueKind(const QString &property)
{
    const PropertyInfo *info = QssReference::property(property);
    return info ? info->kind : ValueKind::Other;
}

const QVector<PropertyInfo> &properties()
{
    return propertyTable();
}

const PropertyInfo *property(const QString &name)
{
    static const QHash<QString, int> index = [] {
        QHash<QString, int> result;
        for (int i = 0; i < propertyTable().size(); ++i)
            result.insert(propertyTable().at(i).name, i);
        return result;
    }();
    const auto it = index.constFind(name);
    return it == index.cend() ? nullptr : &propertyTable().at(*it);
}

const QVector<NameInfo> &pseudoStates()
{
    static const QVector<NameInfo> table = nameTable(kPseudoStates);
    return table;
}

const NameInfo *pseudoState(const QString &name)
{
    static const QHash<QString, int> index = nameIndex(pseudoStates());
    return findByName(pseudoStates(), index, name);
}

QStringList pseudoStatesOf(const QString &widget)
{
    QStringList result = namesFor(pseudoStates(), widget);
    for (const NameInfo &state : pseudoStates()) {
        if (state.appliesTo.isEmpty())
            result.append(state.name);
    }
    return result;
}

const QVector<NameInfo> &subcontrols()
{
    static const QVector<NameInfo> table = nameTable(kSubcontrols);
    return table;
}

const NameInfo *subcontrol(const QString &name)
{
    static const QHash<QString, int> index = nameIndex(subcontrols());
    return findByName(subcontrols(), index, name);
}

QStringList subcontrolsOf(const QString &widget)
{
    if (widget.isEmpty() || !widgetBases().contains(widget)) {
        QStringList all;
        for (const NameInfo &entry : subcontrols())
            all.append(entry.name);
        return all;
    }
    return namesFor(subcontrols(), widget);
}

QStringList paletteValueRoles()
{
    QStringList result;
    for (const char *role : kPaletteValueRoles)
        result.append(QLatin1String(role));
    return result;
}

QStringList lengthUnits()
{
    QStringList result;
    for (const char *unit : kLengthUnits)
        result.append(QLatin1String(unit));
    return result;
}

QStringList borderStyles()
{
    return words(PRISMARK_BORDER_STYLES);
}

bool isKnownLengthUnit(const QString &unit)
{
    static const QSet<QString> units = toSet(kLengthUnits);
    return units.contains(unit.toLower());
}

bool isKnownBorderStyle(const QString &name)
{
    static const QStringList styles = borderStyles();
    return styles.contains(name.toLower());
}

} // namespace QssReference
