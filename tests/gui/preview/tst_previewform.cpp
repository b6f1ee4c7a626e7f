// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "preview/previewcontent.h"
#include "ui_previewcontent.h"

#include <QtTest>
#include <QtWidgets>

namespace {

// The form built on a plain widget, without the gallery's own content and wiring.
struct Form
{
    QWidget widget;
    Ui::PreviewContent ui;

    Form() { ui.setupUi(&widget); }

    template <typename T = QObject> T *find(const QString &name)
    {
        if (name == widget.objectName())
            return qobject_cast<T *>(&widget);
        return widget.findChild<T *>(name);
    }

    QList<QObject *> formObjects() const;
};

bool isFormObject(const QObject *object)
{
    // Qt names some private children of its widgets ("qt_spinbox_lineedit", the tab
    // bar's scroll buttons); those are not the form's.
    const QString name = object->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_")) &&
           !qobject_cast<const QTabBar *>(object->parent());
}

QList<QObject *> Form::formObjects() const
{
    QList<QObject *> objects = widget.findChildren<QObject *>();
    objects.erase(std::remove_if(objects.begin(), objects.end(),
                                 [](const QObject *object) { return !isFormObject(object); }),
                  objects.end());
    return objects;
}

QStringList words(const char *text)
{
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QString nameOf(const Ui::PreviewContent &ui, QLayoutItem *item)
{
    if (QWidget *widget = item->widget())
        return widget->objectName();
    if (QLayout *layout = item->layout())
        return layout->objectName();
    const QSpacerItem *spacer = item->spacerItem();
    return spacer == ui.topRowSpacer         ? QStringLiteral("topRowSpacer")
           : spacer == ui.toggleButtonSpacer ? QStringLiteral("toggleButtonSpacer")
           : spacer == ui.iconButtonSpacer   ? QStringLiteral("iconButtonSpacer")
                                             : QStringLiteral("unknownSpacer");
}

// A layout's items as "name" (box, in order), "name@row,column" (grid, in the order
// added; a span other than one cell is appended) or "name@row,label|field" (form).
QStringList contentsOf(const Ui::PreviewContent &ui, QLayout *layout)
{
    QStringList contents;
    if (auto *form = qobject_cast<QFormLayout *>(layout)) {
        const QList<QPair<QFormLayout::ItemRole, QString>> roles{
            {QFormLayout::LabelRole, "label"},
            {QFormLayout::FieldRole, "field"},
            {QFormLayout::SpanningRole, "spanning"}};
        for (int row = 0; row < form->rowCount(); ++row) {
            for (const auto &role : roles) {
                if (QLayoutItem *item = form->itemAt(row, role.first))
                    contents << QStringLiteral("%1@%2,%3")
                                    .arg(nameOf(ui, item))
                                    .arg(row)
                                    .arg(role.second);
            }
        }
        return contents;
    }
    for (int i = 0; i < layout->count(); ++i) {
        QString entry = nameOf(ui, layout->itemAt(i));
        if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
            int row, column, rowSpan, columnSpan;
            grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
            entry += QStringLiteral("@%1,%2").arg(row).arg(column);
            if (rowSpan != 1 || columnSpan != 1)
                entry += QStringLiteral("x%1x%2").arg(rowSpan).arg(columnSpan);
        }
        contents << entry;
    }
    return contents;
}

// Records every text the form hands to translation; translates nothing.
class RecordingTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int n) const override
    {
        // Qt's own widgets translate their texts under their class names.
        if (QLatin1String(context) != QLatin1String("PreviewContent"))
            return QString();
        sources << QString::fromUtf8(sourceText);
        if (disambiguation || n != -1)
            qualified << QString::fromUtf8(sourceText);
        return QString();
    }

    mutable QStringList sources;
    mutable QStringList qualified;
};

} // namespace

class TestPreviewForm : public QObject
{
    Q_OBJECT

private slots:
    void layoutHoldsItsItemsInPlace_data();
    void layoutHoldsItsItemsInPlace();
    void containerHoldsItsEntriesInOrder_data();
    void containerHoldsItsEntriesInOrder();
    void objectStartsWithValue_data();
    void objectStartsWithValue();
    void rangeControlStartsAt_data();
    void rangeControlStartsAt();
    void spacerHasItsHintAndPolicies_data();
    void spacerHasItsHintAndPolicies();
    void checkBoxStates_data();
    void checkBoxStates();
    void radioButtonsFormExclusiveGroups_data();
    void radioButtonsFormExclusiveGroups();
    void formHasObjectsOfEachClass_data();
    void formHasObjectsOfEachClass();
    void formHasEveryObjectOnce();
    void everyTextIsTranslatedInOrder();
    void messageBoxButtonsAndDialogListDifferInOrder();
    void defaultPushButtonIsTheOnlyDefault();
    void formLeavesContentToTheGallery();
    void onlyMainLayoutSetsMargins();
    void existingObjectNameIsKept();
    void galleryStartsWithTheFormsState();
};

void TestPreviewForm::layoutHoldsItsItemsInPlace_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("owner");
    QTest::addColumn<QStringList>("contents");
    auto row = [](const char *situation, const char *layout, const char *owner,
                  const char *contents) {
        QTest::newRow(situation) << layout << owner << words(contents);
    };

    row("form stacks menu bar, tool bar, top row, tabs, status line", "mainLayout",
        "PreviewContent", "menuBar toolBar topLayout componentTabWidget statusLabel");
    row("top row pushes the check box right", "topLayout", "mainLayout",
        "summaryLabel topRowSpacer disablePreviewCheckBox");

    row("overview puts group boxes over nested tabs", "overviewOuterLayout", "overviewTab",
        "overviewGridLayout overviewNestedTabWidget");
    row("overview group boxes share row 0", "overviewGridLayout", "overviewOuterLayout",
        "overviewButtonsGroupBox@0,0 overviewInputsGroupBox@0,1 overviewFeedbackGroupBox@0,2");
    row("overview buttons and choices", "overviewButtonsLayout", "overviewButtonsGroupBox",
        "overviewPushButton overviewCheckableButton overviewCheckBox overviewRadioButtonA "
        "overviewRadioButtonB");
    row("overview inputs pair labels with fields", "overviewInputsLayout", "overviewInputsGroupBox",
        "overviewLineEditLabel@0,label overviewLineEdit@0,field "
        "overviewComboBoxLabel@1,label overviewComboBox@1,field "
        "overviewDateTimeLabel@2,label overviewDateTimeEdit@2,field "
        "overviewSpinBoxLabel@3,label overviewSpinDialLayout@3,field");
    row("overview spin box left of its dial", "overviewSpinDialLayout", "overviewInputsLayout",
        "overviewSpinBox overviewDial");
    row("overview feedback", "overviewFeedbackLayout", "overviewFeedbackGroupBox",
        "overviewHorizontalSlider overviewProgressBar overviewLcdNumber overviewInfoLabel");
    row("overview table page", "overviewTableLayout", "overviewTableTab", "overviewTableWidget");
    row("overview tree and list page", "overviewTreeListLayout", "overviewTreeListTab",
        "overviewTreeWidget overviewListWidget");
    row("overview editors page", "overviewEditorsLayout", "overviewEditorsTab",
        "overviewTextEdit overviewPlainTextEdit");

    row("buttons page uses row 0 only", "buttonsLayout", "buttonsTab",
        "pushButtonGroupBox@0,0 toggleButtonGroupBox@0,1 iconButtonGroupBox@0,2");
    row("push button states", "pushButtonLayout", "pushButtonGroupBox",
        "primaryPushButton defaultPushButton disabledPushButton flatPushButton");
    row("checkable states end with a spacer", "toggleButtonLayout", "toggleButtonGroupBox",
        "checkablePushButton uncheckedPushButton toolButton toggleButtonSpacer");
    row("icon tool buttons sit above the disabled icon button", "iconButtonLayout",
        "iconButtonGroupBox",
        "iconCyclePushButton iconActionPushButton iconSecondaryPushButton iconToolButtonLayout "
        "disabledIconPushButton iconButtonSpacer");
    row("icon-only left of icon and text", "iconToolButtonLayout", "iconButtonLayout",
        "iconOnlyToolButton iconTextToolButton");

    row("checks page uses row 0 only", "checksLayout", "checksTab",
        "checkBoxGroupBox@0,0 radioGroupBox@0,1");
    row("check box states", "checkBoxLayout", "checkBoxGroupBox",
        "uncheckedCheckBox checkedCheckBox partialCheckBox disabledCheckBox");
    row("radio button states", "radioLayout", "radioGroupBox",
        "radioButtonA radioButtonB disabledRadioButton");

    row("inputs page uses row 0 only", "inputsLayout", "inputsTab",
        "lineEditGroupBox@0,0 selectorGroupBox@0,1");
    row("text inputs pair labels with line edits", "lineEditLayout", "lineEditGroupBox",
        "lineEditLabel@0,label lineEdit@0,field passwordEditLabel@1,label "
        "passwordLineEdit@1,field disabledEditLabel@2,label disabledLineEdit@2,field");
    row("selectors pair labels with selectors", "selectorLayout", "selectorGroupBox",
        "comboBoxLabel@0,label comboBox@0,field dateTimeLabel@1,label dateTimeEdit@1,field "
        "spinBoxLabel@2,label spinBox@2,field");

    row("sliders page uses row 0 only", "slidersLayout", "slidersTab",
        "rangeGroupBox@0,0 dialGroupBox@0,1");
    row("range controls right of their labels", "rangeLayout", "rangeGroupBox",
        "sliderLabel@0,0 horizontalSlider@0,1 scrollBarLabel@1,0 horizontalScrollBar@1,1 "
        "progressLabel@2,0 progressBar@2,1");
    row("dial above its LCD", "dialLayout", "dialGroupBox", "dial lcdNumber");

    row("views page holds only the splitter", "viewsLayout", "viewsTab", "viewsSplitter");
    row("dialog list left of message box buttons", "dialogsLayout", "dialogsTab",
        "dialogListGroupBox messageBoxGroupBox");
    row("dialog list above its preview button", "dialogListLayout", "dialogListGroupBox",
        "dialogListWidget previewSelectedDialogPushButton");
    row("message box buttons created Info first, placed Error first", "messageBoxLayout",
        "messageBoxGroupBox",
        "infoDialogPushButton@1,0 errorDialogPushButton@0,0 warningDialogPushButton@2,0 "
        "helpDialogPushButton@3,0 aboutDialogPushButton@4,0");
    row("rich text left of plain text", "editorsLayout", "editorsTab", "textEdit plainTextEdit");
}

void TestPreviewForm::layoutHoldsItsItemsInPlace()
{
    QFETCH(QString, layout);
    QFETCH(QString, owner);
    QFETCH(QStringList, contents);

    Form form;
    auto *found = form.find<QLayout>(layout);
    QVERIFY2(found, qPrintable(layout));
    QCOMPARE(found->parent()->objectName(), owner);
    if (auto *ownerWidget = qobject_cast<QWidget *>(found->parent()))
        QCOMPARE(ownerWidget->layout(), found);
    QCOMPARE(contentsOf(form.ui, found), contents);
}

void TestPreviewForm::containerHoldsItsEntriesInOrder_data()
{
    QTest::addColumn<QString>("container");
    QTest::addColumn<QStringList>("entries");
    auto row = [](const char *situation, const char *container, const char *entries) {
        QTest::newRow(situation) << container << words(entries);
    };

    row("component tabs read Overview to Editors", "componentTabWidget",
        "overviewTab:Overview buttonsTab:Buttons checksTab:Checks inputsTab:Inputs "
        "slidersTab:Sliders viewsTab:Views dialogsTab:Dialogs editorsTab:Editors");
    row("nested tabs read Table, Tree and List, Editors", "overviewNestedTabWidget",
        "overviewTableTab:Table overviewTreeListTab:Tree_and_List overviewEditorsTab:Editors");
    row("splitter shows table, tree, list", "viewsSplitter", "tableWidget treeWidget listWidget");
    row("menu bar shows File, then View", "menuBar", "fileMenu viewMenu");
    row("File menu separates Quit", "fileMenu", "newAction openAction separator quitAction");
    row("View menu shows Toggle, then Refresh", "viewMenu", "toggleAction refreshAction");
    row("tool bar has neither separator nor Quit", "toolBar",
        "newAction openAction refreshAction toggleAction");
}

void TestPreviewForm::containerHoldsItsEntriesInOrder()
{
    QFETCH(QString, container);
    QFETCH(QStringList, entries);

    Form form;
    QObject *found = form.find(container);
    QVERIFY2(found, qPrintable(container));
    QStringList actual;
    if (auto *tabs = qobject_cast<QTabWidget *>(found)) {
        for (int i = 0; i < tabs->count(); ++i) {
            const QString text = tabs->tabText(i).replace(QLatin1Char(' '), QLatin1Char('_'));
            actual << tabs->widget(i)->objectName() + QLatin1Char(':') + text;
        }
    } else if (auto *splitter = qobject_cast<QSplitter *>(found)) {
        for (int i = 0; i < splitter->count(); ++i)
            actual << splitter->widget(i)->objectName();
    } else {
        const auto actions = qobject_cast<QWidget *>(found)->actions();
        for (const QAction *action : actions) {
            actual << (action->isSeparator() ? QStringLiteral("separator")
                       : action->menu()      ? action->menu()->objectName()
                                             : action->objectName());
        }
    }
    QCOMPARE(actual, entries);
}

void TestPreviewForm::objectStartsWithValue_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("expected");
    auto row = [](const char *situation, const char *object, const char *property,
                  const QVariant &expected) {
        QTest::newRow(situation) << object << QByteArray(property) << expected;
    };
    const int horizontal = Qt::Horizontal;

    row("form is resized, not fixed", "PreviewContent", "size", QSize(980, 640));
    row("form has its window title", "PreviewContent", "windowTitle", "PreviewContent");
    row("toggle action is checkable", "toggleAction", "checkable", true);
    row("toggle action starts checked", "toggleAction", "checked", true);
    row("quit action is plain", "quitAction", "checkable", false);
    row("menu bar stays in the form", "menuBar", "nativeMenuBar", false);
    row("component tabs start on Overview", "componentTabWidget", "currentIndex", 0);
    row("nested tabs start on Table", "overviewNestedTabWidget", "currentIndex", 0);
    row("status line has a styled panel", "statusLabel", "frameShape", int(QFrame::StyledPanel));
    row("status line names Light", "statusLabel", "text", "Current style: Light");

    row("overview checkable button starts pressed", "overviewCheckableButton", "checked", true);
    row("overview push button does not toggle", "overviewPushButton", "checkable", false);
    row("feedback group box is checkable", "overviewFeedbackGroupBox", "checkable", true);
    row("feedback group box starts checked", "overviewFeedbackGroupBox", "checked", true);
    row("overview date time has a calendar", "overviewDateTimeEdit", "calendarPopup", true);
    row("overview slider is horizontal", "overviewHorizontalSlider", "orientation", horizontal);

    row("disabled push button", "disabledPushButton", "enabled", false);
    row("flat push button", "flatPushButton", "flat", true);
    row("normal push button is not flat", "primaryPushButton", "flat", false);
    row("checked push button is checked", "checkablePushButton", "checked", true);
    row("unchecked push button is checkable", "uncheckedPushButton", "checkable", true);
    row("unchecked push button is unchecked", "uncheckedPushButton", "checked", false);
    row("icon-only tool button keeps the default style", "iconOnlyToolButton", "toolButtonStyle",
        int(Qt::ToolButtonIconOnly));
    row("icon and text tool button puts text beside", "iconTextToolButton", "toolButtonStyle",
        int(Qt::ToolButtonTextBesideIcon));
    row("disabled icon button", "disabledIconPushButton", "enabled", false);

    row("password line edit hides its text", "passwordLineEdit", "echoMode",
        int(QLineEdit::Password));
    row("password line edit holds its sample", "passwordLineEdit", "text", "tulips");
    row("disabled line edit", "disabledLineEdit", "enabled", false);
    row("date time has a calendar", "dateTimeEdit", "calendarPopup", true);
    row("slider is horizontal", "horizontalSlider", "orientation", horizontal);
    row("scroll bar is horizontal", "horizontalScrollBar", "orientation", horizontal);

    row("splitter lays views side by side", "viewsSplitter", "orientation", horizontal);
    row("views table has 3 rows", "tableWidget", "rowCount", 3);
    row("views table has 3 columns", "tableWidget", "columnCount", 3);
    row("overview table has 3 rows", "overviewTableWidget", "rowCount", 3);
    row("overview table has 3 columns", "overviewTableWidget", "columnCount", 3);
    row("dialog list is 180 wide at least, any height", "dialogListWidget", "minimumSize",
        QSize(180, 0));
    row("dialog list keeps its row order", "dialogListWidget", "sortingEnabled", false);
    row("message box grid sets no size constraint", "messageBoxLayout", "sizeConstraint",
        int(QLayout::SetNoConstraint));
}

void TestPreviewForm::objectStartsWithValue()
{
    QFETCH(QString, object);
    QFETCH(QByteArray, property);
    QFETCH(QVariant, expected);

    Form form;
    QObject *found = form.find(object);
    QVERIFY2(found, qPrintable(object));
    QVariant actual = found->property(property.constData());
    QVERIFY2(actual.isValid(), property.constData());
    if (actual.userType() != expected.userType()) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
        QVERIFY(actual.convert(expected.metaType()));
#else
        QVERIFY(actual.convert(expected.userType()));
#endif
    }
    QCOMPARE(actual, expected);
}

void TestPreviewForm::rangeControlStartsAt_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");

    QTest::newRow("overview spin box reaches 100") << "overviewSpinBox" << 0 << 100 << 42;
    QTest::newRow("overview dial reaches 100") << "overviewDial" << 0 << 100 << 42;
    QTest::newRow("overview slider stops at 99") << "overviewHorizontalSlider" << 0 << 99 << 36;
    QTest::newRow("overview progress with its slider") << "overviewProgressBar" << 0 << 100 << 36;
    QTest::newRow("spin box reaches 100") << "spinBox" << 0 << 100 << 42;
    QTest::newRow("dial reaches 100") << "dial" << 0 << 100 << 42;
    QTest::newRow("slider stops at 99") << "horizontalSlider" << 0 << 99 << 36;
    QTest::newRow("scroll bar stops at 99") << "horizontalScrollBar" << 0 << 99 << 25;
    QTest::newRow("progress bar with its slider") << "progressBar" << 0 << 100 << 36;
}

void TestPreviewForm::rangeControlStartsAt()
{
    QFETCH(QString, control);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);

    Form form;
    QObject *found = form.find(control);
    QVERIFY2(found, qPrintable(control));
    QCOMPARE(found->property("minimum").toInt(), minimum);
    QCOMPARE(found->property("maximum").toInt(), maximum);
    QCOMPARE(found->property("value").toInt(), value);
}

void TestPreviewForm::spacerHasItsHintAndPolicies_data()
{
    QTest::addColumn<QString>("spacer");
    QTest::addColumn<QSize>("sizeHint");
    QTest::addColumn<int>("horizontalPolicy");
    QTest::addColumn<int>("verticalPolicy");

    QTest::newRow("top row spacer takes the free width")
        << "topRowSpacer" << QSize(40, 20) << int(QSizePolicy::Expanding)
        << int(QSizePolicy::Minimum);
    QTest::newRow("checkable states spacer takes the free height")
        << "toggleButtonSpacer" << QSize(20, 40) << int(QSizePolicy::Minimum)
        << int(QSizePolicy::Expanding);
    QTest::newRow("icon buttons spacer takes the free height")
        << "iconButtonSpacer" << QSize(20, 40) << int(QSizePolicy::Minimum)
        << int(QSizePolicy::Expanding);
}

void TestPreviewForm::spacerHasItsHintAndPolicies()
{
    QFETCH(QString, spacer);
    QFETCH(QSize, sizeHint);
    QFETCH(int, horizontalPolicy);
    QFETCH(int, verticalPolicy);

    Form form;
    const QHash<QString, QSpacerItem *> spacers{{"topRowSpacer", form.ui.topRowSpacer},
                                                {"toggleButtonSpacer", form.ui.toggleButtonSpacer},
                                                {"iconButtonSpacer", form.ui.iconButtonSpacer}};
    QSpacerItem *item = spacers.value(spacer);
    QVERIFY(item);
    QCOMPARE(item->sizeHint(), sizeHint);
    QCOMPARE(int(item->sizePolicy().horizontalPolicy()), horizontalPolicy);
    QCOMPARE(int(item->sizePolicy().verticalPolicy()), verticalPolicy);
}

void TestPreviewForm::checkBoxStates_data()
{
    QTest::addColumn<QString>("checkBox");
    QTest::addColumn<bool>("tristate");
    QTest::addColumn<int>("checkState");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("disable preview check box is two-state")
        << "disablePreviewCheckBox" << false << int(Qt::Unchecked) << true;
    QTest::newRow("overview check box is tristate, its state left to the gallery")
        << "overviewCheckBox" << true << int(Qt::Unchecked) << true;
    QTest::newRow("unchecked check box")
        << "uncheckedCheckBox" << false << int(Qt::Unchecked) << true;
    QTest::newRow("checked check box") << "checkedCheckBox" << false << int(Qt::Checked) << true;
    QTest::newRow("partial check box is tristate, its state left to the gallery")
        << "partialCheckBox" << true << int(Qt::Unchecked) << true;
    QTest::newRow("disabled check box keeps its check mark")
        << "disabledCheckBox" << false << int(Qt::Checked) << false;
}

void TestPreviewForm::checkBoxStates()
{
    QFETCH(QString, checkBox);
    QFETCH(bool, tristate);
    QFETCH(int, checkState);
    QFETCH(bool, enabled);

    Form form;
    auto *box = form.find<QCheckBox>(checkBox);
    QVERIFY2(box, qPrintable(checkBox));
    QCOMPARE(box->isTristate(), tristate);
    QCOMPARE(int(box->checkState()), checkState);
    QCOMPARE(box->isEnabled(), enabled);

    // Clicks walk a tristate box through all three states; a two-state box never shows
    // "partially checked"; a disabled box ignores them.
    QVector<int> seen;
    for (int click = 0; click < 3; ++click) {
        box->click();
        seen << int(box->checkState());
    }
    if (!enabled)
        QCOMPARE(seen, QVector<int>(3, checkState));
    else if (tristate)
        QCOMPARE(seen, (QVector<int>{Qt::PartiallyChecked, Qt::Checked, Qt::Unchecked}));
    else
        QVERIFY(!seen.contains(Qt::PartiallyChecked));
}

void TestPreviewForm::radioButtonsFormExclusiveGroups_data()
{
    QTest::addColumn<QStringList>("group");
    QTest::addColumn<QString>("outsider");

    QTest::newRow("overview pair, independent of the checks page")
        << words("overviewRadioButtonA overviewRadioButtonB") << "radioButtonA";
    QTest::newRow("checks page trio, independent of the overview")
        << words("radioButtonA radioButtonB disabledRadioButton") << "overviewRadioButtonA";
}

void TestPreviewForm::radioButtonsFormExclusiveGroups()
{
    QFETCH(QStringList, group);
    QFETCH(QString, outsider);

    Form form;
    QList<QRadioButton *> buttons;
    for (const QString &name : group) {
        auto *button = form.find<QRadioButton>(name);
        QVERIFY2(button, qPrintable(name));
        QVERIFY(button->autoExclusive());
        buttons << button;
    }
    auto *other = form.find<QRadioButton>(outsider);
    QVERIFY(other);

    // Only the first starts selected; selecting the second deselects it, and nothing else.
    QVERIFY(buttons.first()->isChecked());
    for (const QRadioButton *button : buttons.mid(1))
        QVERIFY(!button->isChecked());
    buttons.at(1)->click();
    QVERIFY(buttons.at(1)->isChecked());
    QVERIFY(!buttons.first()->isChecked());
    QVERIFY(other->isChecked());

    for (QRadioButton *button : buttons) {
        QCOMPARE(button->parent(), buttons.first()->parent());
        if (!button->isEnabled()) {
            button->click();
            QVERIFY(!button->isChecked());
        }
    }
}

void TestPreviewForm::formHasObjectsOfEachClass_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<int>("count");

    const QList<QPair<QString, int>> census{
        {"QAction", 5},     {"QVBoxLayout", 13},   {"QHBoxLayout", 7},   {"QGridLayout", 7},
        {"QFormLayout", 3}, {"QWidget", 11},       {"QGroupBox", 14},    {"QPushButton", 18},
        {"QToolButton", 3}, {"QCheckBox", 6},      {"QRadioButton", 5},  {"QLabel", 16},
        {"QLineEdit", 4},   {"QComboBox", 2},      {"QDateTimeEdit", 2}, {"QSpinBox", 2},
        {"QDial", 2},       {"QSlider", 2},        {"QScrollBar", 1},    {"QProgressBar", 2},
        {"QLCDNumber", 2},  {"QTableWidget", 2},   {"QTreeWidget", 2},   {"QListWidget", 3},
        {"QTextEdit", 2},   {"QPlainTextEdit", 2}, {"QTabWidget", 2},    {"QSplitter", 1},
        {"QMenuBar", 1},    {"QMenu", 2},          {"QToolBar", 1}};
    for (const auto &entry : census)
        QTest::newRow(qPrintable(entry.first)) << entry.first << entry.second;
}

void TestPreviewForm::formHasObjectsOfEachClass()
{
    QFETCH(QString, className);
    QFETCH(int, count);

    Form form;
    QStringList found;
    const auto objects = form.formObjects();
    for (const QObject *object : objects) {
        if (QLatin1String(object->metaObject()->className()) == className)
            found << object->objectName();
    }
    QVERIFY2(found.size() == count, qPrintable(found.join(", ")));
}

void TestPreviewForm::formHasEveryObjectOnce()
{
    Form form;
    QStringList names;
    const auto objects = form.formObjects();
    for (const QObject *object : objects)
        names << object->objectName();
    names.removeDuplicates();
    QCOMPARE(names.size(), objects.size());

    int spacers = 0;
    const auto layouts = form.widget.findChildren<QLayout *>();
    for (const QLayout *layout : layouts) {
        for (int i = 0; i < layout->count(); ++i)
            spacers += layout->itemAt(i)->spacerItem() ? 1 : 0;
    }

    // 5 actions and 140 layouts and widgets, plus 3 spacers: one member for each.
    QCOMPARE(objects.size(), 145);
    QCOMPARE(spacers, 3);
    QCOMPARE(int(sizeof(Ui::PreviewContent) / sizeof(void *)), 148);
}

void TestPreviewForm::everyTextIsTranslatedInOrder()
{
    RecordingTranslator translator;
    QCoreApplication::installTranslator(&translator);
    Form form;
    QCoreApplication::removeTranslator(&translator);

    const QStringList expected{
        "PreviewContent", "New", "Open", "Quit", "Refresh", "Toggle", "File", "View", "Toolbar",
        "Qt widget state preview", "Disable preview widgets",
        // Overview page
        "Buttons and Choices", "Push Button", "Checkable Button", "Tri-state checkbox",
        "Radio option A", "Radio option B", "Inputs", "Line edit", "Prismark", "Combo box",
        "Date time", "Spin / dial", "Feedback", "Label text and palette sample", "Table",
        "Tree and List", "Editors", "Overview",
        // Buttons page
        "QPushButton", "Normal button", "Default button", "Disabled button", "Flat button",
        "Checkable States", "Checked button", "Unchecked button", "Tool button",
        "SVG Icon Switching", "Switch icon set", "Primary icon button", "Secondary icon button",
        "Icon only", "Icon + text", "Disabled icon button", "Buttons",
        // Checks page
        "QCheckBox", "Unchecked checkbox", "Checked checkbox", "Partially checked checkbox",
        "Disabled checked checkbox", "QRadioButton", "Selected radio", "Unselected radio",
        "Disabled radio", "Checks",
        // Inputs page
        "Text Inputs", "Normal", "Prismark", "Password", "tulips", "Disabled", "Disabled input",
        "Selectors", "Combo", "Date time", "Spin", "Inputs",
        // Sliders page
        "Range Controls", "Horizontal slider", "Scroll bar", "Progress", "Dial and LCD", "Sliders",
        // Views page
        "Views",
        // Dialogs page: the list in row order, then the buttons in creation order
        "Dialog Types", "Error", "Info", "Warning", "About", "Help", "Preview Selected",
        "Message Box Effects", "Info", "Error", "Warning", "Help", "About", "Dialogs",
        // Editors page, then the status line
        "Editors", "Current style: Light"};
    QCOMPARE(translator.sources, expected);
    QVERIFY2(translator.qualified.isEmpty(), qPrintable(translator.qualified.join(", ")));

    // The tree headers are placeholders, kept out of translation.
    QCOMPARE(form.ui.treeWidget->headerItem()->text(0), QStringLiteral("1"));
    QCOMPARE(form.ui.overviewTreeWidget->headerItem()->text(0), QStringLiteral("1"));
}

void TestPreviewForm::messageBoxButtonsAndDialogListDifferInOrder()
{
    Form form;
    QStringList buttonColumn;
    for (int row = 0; row < form.ui.messageBoxLayout->rowCount(); ++row) {
        QLayoutItem *item = form.ui.messageBoxLayout->itemAtPosition(row, 0);
        QVERIFY2(item, qPrintable(QString::number(row)));
        auto *button = qobject_cast<QPushButton *>(item->widget());
        QVERIFY(button);
        QCOMPARE(button->objectName(), button->text().toLower() + "DialogPushButton");
        buttonColumn << button->text();
    }
    QStringList list;
    for (int row = 0; row < form.ui.dialogListWidget->count(); ++row)
        list << form.ui.dialogListWidget->item(row)->text();

    QCOMPARE(buttonColumn, words("Error Info Warning Help About"));
    QCOMPARE(list, words("Error Info Warning About Help"));
}

void TestPreviewForm::defaultPushButtonIsTheOnlyDefault()
{
    Form form;
    QStringList defaults;
    const auto buttons = form.widget.findChildren<QPushButton *>();
    for (const QPushButton *button : buttons) {
        if (button->isDefault())
            defaults << button->objectName();
    }
    QCOMPARE(defaults, QStringList{"defaultPushButton"});
}

void TestPreviewForm::formLeavesContentToTheGallery()
{
    Form form;
    const auto objects = form.formObjects();
    for (const QObject *object : objects) {
        const QByteArray nameBytes = object->objectName().toUtf8();
        const char *name = nameBytes.constData();
        // Qt's own bookkeeping properties start with "_q_"; the gallery's "variant" would not.
        for (const QByteArray &property : object->dynamicPropertyNames())
            QVERIFY2(property.startsWith("_q_"), (nameBytes + ' ' + property).constData());
        if (auto *widget = qobject_cast<const QWidget *>(object))
            QVERIFY2(widget->toolTip().isEmpty() && widget->styleSheet().isEmpty(), name);
        if (auto *button = qobject_cast<const QAbstractButton *>(object))
            QVERIFY2(button->icon().isNull(), name);
        if (auto *action = qobject_cast<const QAction *>(object))
            QVERIFY2(action->icon().isNull() && action->shortcut().isEmpty(), name);
        if (auto *combo = qobject_cast<const QComboBox *>(object))
            QVERIFY2(combo->count() == 0, name);
        if (auto *list = qobject_cast<const QListWidget *>(object))
            QVERIFY2(list == form.ui.dialogListWidget || list->count() == 0, name);
        if (auto *tree = qobject_cast<const QTreeWidget *>(object))
            QVERIFY2(tree->topLevelItemCount() == 0 && tree->columnCount() == 1, name);
        if (auto *table = qobject_cast<const QTableWidget *>(object)) {
            for (int column = 0; column < table->columnCount(); ++column)
                QVERIFY2(!table->horizontalHeaderItem(column), name);
            for (int row = 0; row < table->rowCount(); ++row) {
                QVERIFY2(!table->verticalHeaderItem(row), name);
                for (int column = 0; column < table->columnCount(); ++column)
                    QVERIFY2(!table->item(row, column), name);
            }
        }
        if (auto *edit = qobject_cast<const QTextEdit *>(object))
            QVERIFY2(edit->document()->isEmpty(), name);
        if (auto *edit = qobject_cast<const QPlainTextEdit *>(object))
            QVERIFY2(edit->document()->isEmpty(), name);
    }
}

void TestPreviewForm::onlyMainLayoutSetsMargins()
{
    Form form;
    QCOMPARE(form.ui.mainLayout->contentsMargins(), QMargins(12, 12, 12, 12));

    // Unset margins resolve to the style's for a widget's own layout, to none when nested.
    const auto layouts = form.widget.findChildren<QLayout *>();
    for (const QLayout *layout : layouts) {
        if (layout == form.ui.mainLayout || !isFormObject(layout))
            continue;
        QMargins expected;
        if (auto *owner = qobject_cast<QWidget *>(layout->parent())) {
            const QStyle *style = owner->style();
            expected = QMargins(style->pixelMetric(QStyle::PM_LayoutLeftMargin, nullptr, owner),
                                style->pixelMetric(QStyle::PM_LayoutTopMargin, nullptr, owner),
                                style->pixelMetric(QStyle::PM_LayoutRightMargin, nullptr, owner),
                                style->pixelMetric(QStyle::PM_LayoutBottomMargin, nullptr, owner));
        }
        QVERIFY2(layout->contentsMargins() == expected, qPrintable(layout->objectName()));
    }
}

void TestPreviewForm::existingObjectNameIsKept()
{
    QWidget widget;
    widget.setObjectName(QStringLiteral("galleryUnderTest"));
    Ui::PreviewContent ui;
    ui.setupUi(&widget);
    QCOMPARE(widget.objectName(), QStringLiteral("galleryUnderTest"));
    QCOMPARE(widget.layout(), ui.mainLayout);
}

void TestPreviewForm::galleryStartsWithTheFormsState()
{
    PreviewContent gallery;
    QCOMPARE(gallery.layout()->objectName(), QStringLiteral("mainLayout"));
    auto *tabs = gallery.findChild<QTabWidget *>(QStringLiteral("componentTabWidget"));
    QVERIFY(tabs);
    QCOMPARE(tabs->currentWidget()->objectName(), QStringLiteral("overviewTab"));
    QCOMPARE(gallery.findChild<QLabel *>(QStringLiteral("statusLabel"))->text(),
             QStringLiteral("Current style: Light"));
}

QTEST_MAIN(TestPreviewForm)

#include "tst_previewform.moc"
