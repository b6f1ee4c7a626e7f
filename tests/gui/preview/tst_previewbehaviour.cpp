// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "gallerysupport.h"
#include "preview/previewcontent.h"
#include "shell/mainwindow.h"
#include "theme/semanticvariants.h"
#include "theme/stylesheetloader.h"
#include "widgetstyles/themestyles.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>

namespace {

bool showsIcon(const QIcon &icon, const QString &path, const QSize &size)
{
    return !icon.isNull() && icon.pixmap(size).toImage() == QIcon(path).pixmap(size).toImage();
}

// What a modal message box showed before the probe closed it.
struct SeenBox
{
    bool seen = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QWidget *parent = nullptr;
};

// Closes the next modal message box from inside its event loop and records it. The
// timer belongs to the probe, so a box that never opens leaves no stray timer behind.
class ModalBoxProbe : public QObject
{
public:
    ModalBoxProbe()
    {
        QTimer::singleShot(0, this, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen = {true,        box->windowTitle(),     box->text(),
                    box->icon(), box->standardButtons(), box->parentWidget()};
            box->close();
            if (box->isVisible())
                box->reject();
        });
    }
    SeenBox seen;
};

const QString demoText = "This is a demo dialog.";

// Brings every page of the gallery's tab widgets on screen once, as a user looking
// around would.
void visitEveryTab(QWidget *gallery)
{
    for (QTabWidget *tabs : gallery->findChildren<QTabWidget *>()) {
        const int current = tabs->currentIndex();
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            QCoreApplication::processEvents();
        }
        tabs->setCurrentIndex(current);
    }
}

// Hands every event the application delivers to a function, while it lives.
class EventTap : public QObject
{
public:
    explicit EventTap(std::function<void(QObject *, QEvent *)> tap)
        : tap(std::move(tap))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        tap(watched, event);
        return false;
    }

private:
    std::function<void(QObject *, QEvent *)> tap;
};

} // namespace

class tst_PreviewBehaviour : public QObject
{
    Q_OBJECT
private slots:
    void spinBoxAndDialPairsStayInStep_data();
    void spinBoxAndDialPairsStayInStep();
    void progressBarsFollowTheirSliders_data();
    void progressBarsFollowTheirSliders();

    void disableBoxDisablesEveryPage_data();
    void disableBoxDisablesEveryPage();
    void clearingDisableBoxRestoresThePages_data();
    void clearingDisableBoxRestoresThePages();

    void iconCycleWrapsAfterThreeClicks_data();
    void iconCycleWrapsAfterThreeClicks();

    void dialogRoutesOpenTheRightBox_data();
    void dialogRoutesOpenTheRightBox();

    void currentStyleNameFollowsThePrefix_data();
    void currentStyleNameFollowsThePrefix();
    void sampleTablesHoldThreeRows_data();
    void sampleTablesHoldThreeRows();

    void contentsFitInEveryTheme_data();
    void contentsFitInEveryTheme();
    void contentsFitOncePerChange_data();
    void contentsFitOncePerChange();
    void groupBoxWidthsHoldRightToLeft();
};

void tst_PreviewBehaviour::spinBoxAndDialPairsStayInStep_data()
{
    QTest::addColumn<QString>("dialName");
    QTest::addColumn<QString>("spinBoxName");
    QTest::addColumn<bool>("turnDial");
    QTest::addColumn<int>("value");

    QTest::newRow("turning the overview dial moves the overview spin box")
        << "overviewDial"
        << "overviewSpinBox" << true << 70;
    QTest::newRow("typing into the overview spin box moves the overview dial")
        << "overviewDial"
        << "overviewSpinBox" << false << 5;
    QTest::newRow("turning the Sliders dial moves the Inputs spin box") << "dial"
                                                                        << "spinBox" << true << 70;
    QTest::newRow("typing into the Inputs spin box moves the Sliders dial")
        << "dial"
        << "spinBox" << false << 5;
    QTest::newRow("the dial's top value 100 reaches the spin box") << "dial"
                                                                   << "spinBox" << true << 100;
    QTest::newRow("the spin box's top value 100 reaches the dial")
        << "overviewDial"
        << "overviewSpinBox" << false << 100;
}

void tst_PreviewBehaviour::spinBoxAndDialPairsStayInStep()
{
    QFETCH(QString, dialName);
    QFETCH(QString, spinBoxName);
    QFETCH(bool, turnDial);
    QFETCH(int, value);

    PreviewContent gallery;
    auto *dial = gallery.findChild<QDial *>(dialName);
    auto *spinBox = gallery.findChild<QSpinBox *>(spinBoxName);
    QVERIFY(dial && spinBox);
    QCOMPARE(dial->value(), 42);
    QCOMPARE(spinBox->value(), 42);

    QSignalSpy dialSpy(dial, &QDial::valueChanged);
    QSignalSpy spinBoxSpy(spinBox, qOverload<int>(&QSpinBox::valueChanged));
    if (turnDial) {
        dial->setValue(value);
    } else {
        spinBox->selectAll();
        QTest::keyClicks(spinBox, QString::number(value));
    }

    QCOMPARE(dial->value(), value);
    QCOMPARE(spinBox->value(), value);
    // Typing "100" passes 1 and 10 on the way; each step crosses once each way.
    const int steps = turnDial ? 1 : QString::number(value).size();
    QCOMPARE(dialSpy.count(), steps);
    QCOMPARE(spinBoxSpy.count(), steps);
}

void tst_PreviewBehaviour::progressBarsFollowTheirSliders_data()
{
    QTest::addColumn<QString>("sliderName");
    QTest::addColumn<QString>("barName");
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("expected");

    QTest::newRow("overview slider at its end leaves the bar at 99, not 100")
        << "overviewHorizontalSlider"
        << "overviewProgressBar" << int(QAbstractSlider::SliderToMaximum) << 99;
    QTest::newRow("Sliders slider at its end leaves the bar at 99, not 100")
        << "horizontalSlider"
        << "progressBar" << int(QAbstractSlider::SliderToMaximum) << 99;
    QTest::newRow("overview slider at its start empties the bar")
        << "overviewHorizontalSlider"
        << "overviewProgressBar" << int(QAbstractSlider::SliderToMinimum) << 0;
    QTest::newRow("Sliders slider one page down")
        << "horizontalSlider"
        << "progressBar" << int(QAbstractSlider::SliderPageStepSub) << 26;
}

void tst_PreviewBehaviour::progressBarsFollowTheirSliders()
{
    QFETCH(QString, sliderName);
    QFETCH(QString, barName);
    QFETCH(int, action);
    QFETCH(int, expected);

    PreviewContent gallery;
    auto *slider = gallery.findChild<QSlider *>(sliderName);
    auto *bar = gallery.findChild<QProgressBar *>(barName);
    QVERIFY(slider && bar);
    QCOMPARE(bar->value(), 36);

    slider->triggerAction(QAbstractSlider::SliderAction(action));
    QCOMPARE(slider->value(), expected);
    QCOMPARE(bar->value(), expected);
}

void tst_PreviewBehaviour::disableBoxDisablesEveryPage_data()
{
    QTest::addColumn<int>("page");
    const char *const pages[] = {"Overview", "Buttons", "Checks",  "Inputs",
                                 "Sliders",  "Views",   "Dialogs", "Editors"};
    for (int page = 0; page < 8; ++page)
        QTest::addRow("%s page", pages[page]) << page;
}

void tst_PreviewBehaviour::disableBoxDisablesEveryPage()
{
    QFETCH(int, page);

    PreviewContent gallery;
    auto *disableBox = child<QCheckBox>(&gallery, "disablePreviewCheckBox");
    auto *tabs = child<QTabWidget>(&gallery, "componentTabWidget");
    QVERIFY(disableBox && tabs);
    QWidget *pageWidget = tabs->widget(page);
    QVERIFY(pageWidget);

    disableBox->click();
    QVERIFY(disableBox->isChecked());
    QVERIFY(!pageWidget->isEnabled());
    const auto widgets = pageWidget->findChildren<QWidget *>();
    for (const QWidget *widget : widgets)
        QVERIFY2(!widget->isEnabled(), qPrintable(describe(widget)));

    // The controls around the tab widget stay usable, or the box could not be cleared.
    for (const char *name :
         {"disablePreviewCheckBox", "menuBar", "toolBar", "summaryLabel", "statusLabel"})
        QVERIFY2(child<QWidget>(&gallery, name)->isEnabled(), name);
}

void tst_PreviewBehaviour::clearingDisableBoxRestoresThePages_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("the form's disabled push button stays disabled")
        << "disabledPushButton" << false;
    QTest::newRow("the form's disabled icon button stays disabled")
        << "disabledIconPushButton" << false;
    QTest::newRow("the form's disabled check box stays disabled") << "disabledCheckBox" << false;
    QTest::newRow("the form's disabled radio button stays disabled")
        << "disabledRadioButton" << false;
    QTest::newRow("the form's disabled line edit stays disabled") << "disabledLineEdit" << false;
    for (const QString &title : sectionTitles())
        QTest::addRow("%s comes back", qPrintable(title)) << title << true;
    QTest::newRow("an ordinary push button comes back") << "flatPushButton" << true;
}

void tst_PreviewBehaviour::clearingDisableBoxRestoresThePages()
{
    QFETCH(QString, name);
    QFETCH(bool, enabled);

    PreviewContent gallery;
    auto *disableBox = child<QCheckBox>(&gallery, "disablePreviewCheckBox");
    QWidget *widget = gallery.findChild<QWidget *>(name);
    if (!widget)
        widget = section(&gallery, name);
    QVERIFY(disableBox && widget);

    disableBox->click();
    QVERIFY(!widget->isEnabled());
    disableBox->click();
    QVERIFY(!disableBox->isChecked());
    QCOMPARE(widget->isEnabled(), enabled);
    if (enabled) {
        const auto children = widget->findChildren<QWidget *>();
        for (const QWidget *inner : children)
            QVERIFY2(inner->isEnabled(), qPrintable(describe(inner)));
    }
}

void tst_PreviewBehaviour::iconCycleWrapsAfterThreeClicks_data()
{
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cycleIcon");
    QTest::addColumn<QString>("mainIcon");
    QTest::addColumn<QString>("secondaryIcon");

    const QString custom = ":/icons/icons/custom/%1.svg";
    QTest::newRow("at start the first set shows")
        << 0 << "Switch icon set 1" << custom.arg("refresh") << custom.arg("add")
        << custom.arg("search");
    QTest::newRow("one click shows the second set") << 1 << "Switch icon set 2" << custom.arg("add")
                                                    << custom.arg("edit") << custom.arg("refresh");
    QTest::newRow("two clicks show the third set") << 2 << "Switch icon set 3" << custom.arg("edit")
                                                   << custom.arg("save") << custom.arg("delete");
    QTest::newRow("three clicks wrap to the first set")
        << 3 << "Switch icon set 1" << custom.arg("refresh") << custom.arg("add")
        << custom.arg("search");
    QTest::newRow("four clicks go on to the second set")
        << 4 << "Switch icon set 2" << custom.arg("add") << custom.arg("edit")
        << custom.arg("refresh");
}

void tst_PreviewBehaviour::iconCycleWrapsAfterThreeClicks()
{
    QFETCH(int, clicks);
    QFETCH(QString, text);
    QFETCH(QString, cycleIcon);
    QFETCH(QString, mainIcon);
    QFETCH(QString, secondaryIcon);

    PreviewContent gallery;
    auto *cycle = child<QPushButton>(&gallery, "iconCyclePushButton");
    QVERIFY(cycle);
    for (int click = 0; click < clicks; ++click)
        cycle->click();
    QCOMPARE(cycle->text(), text);

    const struct
    {
        const char *name;
        QString icon;
        QSize size;
    } expected[] = {
        {"iconCyclePushButton", cycleIcon, {18, 18}},
        {"iconActionPushButton", mainIcon, {18, 18}},
        {"iconSecondaryPushButton", secondaryIcon, {18, 18}},
        {"iconOnlyToolButton", mainIcon, {24, 24}},
        {"iconTextToolButton", secondaryIcon, {18, 18}},
        {"disabledIconPushButton", mainIcon, {18, 18}},
    };
    for (const auto &entry : expected) {
        auto *button = child<QAbstractButton>(&gallery, entry.name);
        QVERIFY2(button, entry.name);
        QVERIFY2(showsIcon(button->icon(), entry.icon, entry.size),
                 qPrintable(QString("%1 should show %2").arg(entry.name, entry.icon)));
        QCOMPARE(button->iconSize(), entry.size);
    }
    QCOMPARE(child<QToolButton>(&gallery, "iconOnlyToolButton")->toolTip(),
             QString("Icon-only QToolButton"));
}

void tst_PreviewBehaviour::dialogRoutesOpenTheRightBox_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");

    // row: the list row made current first (-1 clears it, 5 adds a sixth entry);
    // icon -1: the about box picks its own.
    const int keep = -2;
    const int ok = QMessageBox::Ok;
    const QString fallback = "Please select a dialog type.";

    QTest::newRow("Error button opens the critical box")
        << "errorDialogPushButton" << keep << "Error" << demoText << int(QMessageBox::Critical)
        << ok;
    QTest::newRow("Info button opens a box titled Information")
        << "infoDialogPushButton" << keep << "Information" << demoText
        << int(QMessageBox::Information) << ok;
    QTest::newRow("Warning button opens the warning box")
        << "warningDialogPushButton" << keep << "Warning" << demoText << int(QMessageBox::Warning)
        << ok;
    QTest::newRow("About button opens About Prismark")
        << "aboutDialogPushButton" << keep << "About Prismark" << demoText << -1 << ok;
    QTest::newRow("Help button opens the question box")
        << "helpDialogPushButton" << keep << "Help" << demoText << int(QMessageBox::Question) << ok;
    QTest::newRow("Error button ignores the Help row of the list")
        << "errorDialogPushButton" << 4 << "Error" << demoText << int(QMessageBox::Critical) << ok;

    QTest::newRow("Preview Selected right after start opens Error")
        << "previewSelectedDialogPushButton" << keep << "Error" << demoText
        << int(QMessageBox::Critical) << ok;
    QTest::newRow("Preview Selected on the Info row opens Information")
        << "previewSelectedDialogPushButton" << 1 << "Information" << demoText
        << int(QMessageBox::Information) << ok;
    QTest::newRow("Preview Selected on the Warning row opens Warning")
        << "previewSelectedDialogPushButton" << 2 << "Warning" << demoText
        << int(QMessageBox::Warning) << ok;
    QTest::newRow("Preview Selected on the About row opens About Prismark")
        << "previewSelectedDialogPushButton" << 3 << "About Prismark" << demoText << -1 << ok;
    QTest::newRow("Preview Selected on the Help row opens Help")
        << "previewSelectedDialogPushButton" << 4 << "Help" << demoText
        << int(QMessageBox::Question) << ok;
    QTest::newRow("Preview Selected with no current row falls back")
        << "previewSelectedDialogPushButton" << -1 << "Dialog Preview" << fallback
        << int(QMessageBox::Information) << ok;
    QTest::newRow("Preview Selected on a row past the five types falls back")
        << "previewSelectedDialogPushButton" << 5 << "Dialog Preview" << fallback
        << int(QMessageBox::Information) << ok;

    QTest::newRow("double-click on the Help row opens Help")
        << "double-click" << 4 << "Help" << demoText << int(QMessageBox::Question) << ok;
    QTest::newRow("double-click on the About row opens About Prismark")
        << "double-click" << 3 << "About Prismark" << demoText << -1 << ok;
}

void tst_PreviewBehaviour::dialogRoutesOpenTheRightBox()
{
    QFETCH(QString, route);
    QFETCH(int, row);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(int, icon);
    QFETCH(int, buttons);

    PreviewContent gallery;
    auto *tabs = child<QTabWidget>(&gallery, "componentTabWidget");
    auto *list = child<QListWidget>(&gallery, "dialogListWidget");
    QVERIFY(tabs && list);
    QCOMPARE(list->currentRow(), 0);
    tabs->setCurrentWidget(child<QWidget>(&gallery, "dialogsTab"));
    gallery.show();
    QVERIFY(QTest::qWaitForWindowExposed(&gallery));

    if (row == 5)
        list->addItem("Extra");
    if (row != -2 && route != "double-click") {
        list->setCurrentRow(row);
        QCOMPARE(list->currentRow(), row);
    }

    ModalBoxProbe probe;
    if (route == "double-click") {
        const QRect rect = list->visualItemRect(list->item(row));
        // The sequence a real double-click delivers: a click, then the double-click event.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    } else {
        auto *button = gallery.findChild<QPushButton *>(route);
        QVERIFY(button);
        button->click();
    }

    QVERIFY2(probe.seen.seen, "no modal message box opened");
    QCOMPARE(probe.seen.title, title);
    QCOMPARE(probe.seen.text, text);
    if (icon >= 0)
        QCOMPARE(int(probe.seen.icon), icon);
    QCOMPARE(int(probe.seen.buttons), buttons);
    QCOMPARE(probe.seen.parent, static_cast<QWidget *>(&gallery));
    QVERIFY(!QApplication::activeModalWidget());
}

void tst_PreviewBehaviour::currentStyleNameFollowsThePrefix_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty name keeps the trailing space") << ""
                                                         << "Current style: ";
    QTest::newRow("name with a space is kept whole") << "Purple Blue"
                                                     << "Current style: Purple Blue";
    QTest::newRow("padded name keeps its spaces") << " Dark "
                                                  << "Current style:  Dark ";
}

void tst_PreviewBehaviour::currentStyleNameFollowsThePrefix()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);

    PreviewContent gallery;
    auto *statusLabel = child<QLabel>(&gallery, "statusLabel");
    QVERIFY(statusLabel);
    QCOMPARE(statusLabel->text(), QString("Current style: Light"));
    gallery.setCurrentStyleName(name);
    QCOMPARE(statusLabel->text(), expected);
}

void tst_PreviewBehaviour::sampleTablesHoldThreeRows_data()
{
    QTest::addColumn<QString>("tableName");
    QTest::newRow("Views tab table") << "tableWidget";
    QTest::newRow("Overview table") << "overviewTableWidget";
}

void tst_PreviewBehaviour::sampleTablesHoldThreeRows()
{
    QFETCH(QString, tableName);

    PreviewContent gallery;
    auto *table = gallery.findChild<QTableWidget *>(tableName);
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(table->columnCount(), 3);

    QStringList headers;
    for (int column = 0; column < table->columnCount(); ++column)
        headers << table->horizontalHeaderItem(column)->text();
    QCOMPARE(headers, QStringList({"Name", "State", "Value"}));

    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column) {
            const QTableWidgetItem *item = table->item(row, column);
            cells << (item ? item->text() : QString("-"));
        }
        rows << cells.join('|');
    }
    QCOMPARE(rows, QStringList({"Button|Ready|24", "Input|Focused|48", "Slider|Ready|72"}));
}

void tst_PreviewBehaviour::contentsFitInEveryTheme_data()
{
    QTest::addColumn<int>("theme");
    // Light is in force before the first show, as at start-up; the others replace it.
    for (int theme = 0; theme < ThemeCount; ++theme)
        QTest::newRow(themeInfo(Theme(theme)).displayName) << theme;
}

void tst_PreviewBehaviour::contentsFitInEveryTheme()
{
    QFETCH(int, theme);
    QApplication::setStyle(createThemeStyle(Light));
    PreviewContent gallery;
    gallery.resize(1040, 680);
    gallery.show();
    QVERIFY(QTest::qWaitForWindowExposed(&gallery));
    if (theme != Light)
        QApplication::setStyle(createThemeStyle(Theme(theme)));

    auto *tabs = child<QTabWidget>(&gallery, "componentTabWidget");
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        QCoreApplication::processEvents(); // lets the page's layouts settle
        for (QAbstractItemView *view : tabs->currentWidget()->findChildren<QAbstractItemView *>()) {
            auto *table = qobject_cast<QTableView *>(view);
            auto *tree = qobject_cast<QTreeView *>(view);
            if (!table && !tree)
                continue;
            QHeaderView *header = table ? table->horizontalHeader() : tree->header();
            const int fitted = header->count() - (header->stretchLastSection() ? 1 : 0);
            for (int column = 0; column < fitted; ++column) {
                const int needed = qMax(view->sizeHintForColumn(column),
                                        header->isHidden() ? 0 : header->sectionSizeHint(column));
                QVERIFY2(header->sectionSize(column) >= needed,
                         qPrintable(QString("%1 column %2 is %3 wide, its contents need %4")
                                        .arg(view->objectName())
                                        .arg(column)
                                        .arg(header->sectionSize(column))
                                        .arg(needed)));
            }
        }
        for (QGroupBox *box : tabs->currentWidget()->findChildren<QGroupBox *>()) {
            QStyleOptionGroupBox option;
            option.initFrom(box);
            option.text = box->title();
            option.textAlignment = box->alignment();
            option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            const QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                             QStyle::SC_GroupBoxLabel, box);
            QVERIFY2(title.right() < box->width(),
                     qPrintable(QString("\"%1\" ends at %2 in a box %3 wide")
                                    .arg(box->title())
                                    .arg(title.right())
                                    .arg(box->width())));
        }
    }
}

void tst_PreviewBehaviour::contentsFitOncePerChange_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("start-up up to the first frame fits each view and box once") << "start-up";
    QTest::newRow("a theme switch fits each once") << "theme";
    QTest::newRow("an author's sheet installed on the window fits each once") << "sheet";
    QTest::newRow("a style installed past the window fits each once") << "style";
}

// A restyle sends each view and box many style and font changes; fitting on each of
// them multiplied the cost of start-up and of every switch.
void tst_PreviewBehaviour::contentsFitOncePerChange()
{
    QFETCH(QString, change);
    MainWindow window;
    auto *gallery = window.findChild<PreviewContent *>();
    QWidgetList widgets;
    for (QAbstractItemView *view : gallery->findChildren<QAbstractItemView *>()) {
        if (qobject_cast<QTableView *>(view) || qobject_cast<QTreeView *>(view))
            widgets << view;
    }
    for (QGroupBox *box : gallery->findChildren<QGroupBox *>())
        widgets << box;
    QHash<QWidget *, int> before; // start-up counts from construction
    if (change != QLatin1String("start-up")) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        visitEveryTab(gallery);
        for (QWidget *widget : widgets)
            before.insert(widget, gallery->contentFitCount(widget));
    }
    const auto check = [&](QWidget *widget) {
        const int fits = gallery->contentFitCount(widget) - before.value(widget);
        const auto *box = qobject_cast<QGroupBox *>(widget);
        const QString name =
            box && box->objectName().isEmpty() ? box->title() : widget->objectName();
        return fits == 1 ? QString() : QString("%1 was fitted %2 times").arg(name).arg(fits);
    };
    QStringList paintedUnfitted; // a view paints in its viewport
    EventTap paints([&](QObject *watched, QEvent *event) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() != QEvent::Paint || !widget)
            return;
        if (!widgets.contains(widget) && widgets.contains(widget->parentWidget()))
            widget = widget->parentWidget();
        if (widgets.contains(widget) && !check(widget).isEmpty() &&
            !paintedUnfitted.contains(check(widget)))
            paintedUnfitted << check(widget);
    });

    if (change == QLatin1String("start-up")) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    } else if (change == QLatin1String("theme")) {
        window.applyTheme(Dark);
    } else if (change == QLatin1String("sheet")) {
        window.applyStyleSheet(loadThemeStyleSheet(Dark), QStringLiteral("author.qss"));
    } else {
        QApplication::setStyle(createThemeStyle(Dark));
    }
    QCoreApplication::processEvents();
    visitEveryTab(gallery);
    QVERIFY2(paintedUnfitted.isEmpty(), qPrintable("painted: " + paintedUnfitted.join(", ")));

    // Later shows fit nothing, so a column width the user dragged stays.
    QHeaderView *header = child<QTableWidget>(gallery, "tableWidget")->horizontalHeader();
    header->resizeSection(0, header->sectionSize(0) + 37);
    const int dragged = header->sectionSize(0);
    visitEveryTab(gallery);
    QCOMPARE(header->sectionSize(0), dragged);
    for (QWidget *widget : widgets)
        QVERIFY2(check(widget).isEmpty(), qPrintable(check(widget)));
}

QTEST_MAIN(tst_PreviewBehaviour)
// A box is fitted to its title at every restyle; right to left, the title sits at
// the right edge, and measured from the left it made each fit wider than the last.
void tst_PreviewBehaviour::groupBoxWidthsHoldRightToLeft()
{
    QApplication::setStyle(createThemeStyle(Light));
    PreviewContent gallery;
    gallery.resize(1040, 680);
    gallery.show();
    QVERIFY(QTest::qWaitForWindowExposed(&gallery));
    const auto widths = [&] {
        QMap<QString, int> minimum;
        for (QGroupBox *box : gallery.findChildren<QGroupBox *>())
            minimum.insert(box->objectName(), box->minimumWidth());
        return minimum;
    };
    const auto restyle = [] {
        QApplication::setStyle(createThemeStyle(Light));
        QCoreApplication::processEvents();
    };
    const QMap<QString, int> leftToRight = widths();
    QApplication::setLayoutDirection(Qt::RightToLeft);
    restyle();
    const QMap<QString, int> once = widths();
    restyle();
    restyle();
    const QMap<QString, int> thrice = widths();
    QApplication::setLayoutDirection(Qt::LeftToRight);
    restyle();
    QCOMPARE(thrice, once);
    QCOMPARE(once, leftToRight);
    QCOMPARE(widths(), leftToRight);
}

#include "tst_previewbehaviour.moc"
