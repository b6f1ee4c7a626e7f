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

namespace {

QString variantOf(const QWidget *widget)
{
    return widget->property(kVariantProperty).toString();
}

// One string per grid row, cells joined by "|", so a whole section reads at a glance.
QStringList gridRows(const QGridLayout *grid)
{
    QStringList rows;
    for (int row = 0; row < grid->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < grid->columnCount(); ++column) {
            QLayoutItem *item = grid->itemAtPosition(row, column);
            cells << (item && item->widget() ? describe(item->widget()) : QString("-"));
        }
        rows << cells.join('|');
    }
    return rows;
}

QStringList gridVariants(const QGridLayout *grid)
{
    QStringList keys;
    for (int row = 0; row < grid->rowCount(); ++row) {
        for (int column = 0; column < grid->columnCount(); ++column) {
            QLayoutItem *item = grid->itemAtPosition(row, column);
            if (item && item->widget() && item->widget()->property(kVariantProperty).isValid())
                keys << variantOf(item->widget());
        }
    }
    return keys;
}

QString placement(const QLayout *layout, QWidget *widget)
{
    const int index = layout->indexOf(widget);
    if (index < 0)
        return "not in the layout";
    if (const auto *grid = qobject_cast<const QGridLayout *>(layout)) {
        int row, column, rowSpan, columnSpan;
        grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        return QString("row %1, column %2, %3x%4")
            .arg(row)
            .arg(column)
            .arg(rowSpan)
            .arg(columnSpan);
    }
    return QString("item %1 of %2").arg(index + 1).arg(layout->count());
}

} // namespace

// The gallery's semantic variants: which widgets carry one, where their sections
// place them, and that the style sheets know each.
class tst_PreviewVariants : public QObject
{
    Q_OBJECT
private slots:
    void formButtonsCarryTheirVariant_data();
    void formButtonsCarryTheirVariant();
    void onlyTheListedWidgetsCarryAVariant();
    void variantClassesAreTheOnesTheAnalysisJudges();
    void styleSheetsKnowEveryVariant_data();
    void styleSheetsKnowEveryVariant();
    void semanticSectionsArePlaced_data();
    void semanticSectionsArePlaced();
    void semanticSectionsShowEveryVariant_data();
    void semanticSectionsShowEveryVariant();
    void semanticRadioButtonsAreNotExclusive();
    void semanticSlidersDriveNothing();
};

void tst_PreviewVariants::formButtonsCarryTheirVariant_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("key");

    QTest::newRow("normal button is primary") << "primaryPushButton" << VariantKey::Primary;
    QTest::newRow("primary icon button is primary")
        << "iconActionPushButton" << VariantKey::Primary;
    QTest::newRow("secondary icon button is info") << "iconSecondaryPushButton" << VariantKey::Info;
    QTest::newRow("checked button is success") << "checkablePushButton" << VariantKey::Success;
    QTest::newRow("preview selected is primary")
        << "previewSelectedDialogPushButton" << VariantKey::Primary;
    QTest::newRow("error dialog button is error") << "errorDialogPushButton" << VariantKey::Error;
    QTest::newRow("info dialog button is info") << "infoDialogPushButton" << VariantKey::Info;
    QTest::newRow("warning dialog button is warning")
        << "warningDialogPushButton" << VariantKey::Warning;
    QTest::newRow("about dialog button is default")
        << "aboutDialogPushButton" << VariantKey::Default;
    QTest::newRow("help dialog button is primary") << "helpDialogPushButton" << VariantKey::Primary;
}

void tst_PreviewVariants::formButtonsCarryTheirVariant()
{
    QFETCH(QString, name);
    QFETCH(QString, key);

    PreviewContent gallery;
    auto *button = gallery.findChild<QPushButton *>(name);
    QVERIFY(button);
    QCOMPARE(button->property(kVariantProperty).userType(), int(QMetaType::QString));
    QCOMPARE(variantOf(button), key);
}

void tst_PreviewVariants::variantClassesAreTheOnesTheAnalysisJudges()
{
    // The coverage check names these classes without seeing the gallery: a variant
    // widget of another class would go unjudged, a listed class without one would
    // be reported for nothing.
    PreviewContent gallery;
    QSet<QString> carriers;
    for (QWidget *widget : gallery.findChildren<QWidget *>()) {
        if (widget->property(kVariantProperty).isValid())
            carriers.insert(QString::fromLatin1(widget->metaObject()->className()));
    }
    QSet<QString> listed;
    for (const char *name : kVariantClassNames)
        listed.insert(QString::fromLatin1(name));
    QCOMPARE(carriers, listed);
}

void tst_PreviewVariants::onlyTheListedWidgetsCarryAVariant()
{
    PreviewContent gallery;

    QSet<QWidget *> expected;
    for (const char *name :
         {"primaryPushButton", "iconActionPushButton", "iconSecondaryPushButton",
          "checkablePushButton", "previewSelectedDialogPushButton", "errorDialogPushButton",
          "infoDialogPushButton", "warningDialogPushButton", "aboutDialogPushButton",
          "helpDialogPushButton"})
        expected << child<QWidget>(&gallery, name);
    for (const QString &title : sectionTitles()) {
        QGroupBox *box = section(&gallery, title);
        QVERIFY2(box, qPrintable(title));
        const auto widgets = box->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
        for (QWidget *widget : widgets) {
            if (!qobject_cast<QLabel *>(widget))
                expected << widget;
        }
    }
    QCOMPARE(expected.size(), 10 + 6 + 12 + 6 + 12 + 4);

    QStringList keys;
    for (const SemanticVariant &variant : kSemanticVariants)
        keys << variant.key;
    QCOMPARE(keys, QStringList({"default", "primary", "success", "info", "warning", "error"}));

    int carriers = 0;
    const auto widgets = gallery.findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        const QVariant value = widget->property(kVariantProperty);
        if (!value.isValid())
            continue;
        ++carriers;
        const QString what = describe(widget) + " in " + widget->parentWidget()->objectName();
        QVERIFY2(expected.contains(widget), qPrintable(what));
        QVERIFY2(keys.contains(value.toString()), qPrintable(what + ": " + value.toString()));
        QVERIFY2(!qobject_cast<QLabel *>(widget) && !qobject_cast<QToolButton *>(widget) &&
                     !qobject_cast<QPlainTextEdit *>(widget),
                 qPrintable(what));
    }
    QCOMPARE(carriers, expected.size());
}

void tst_PreviewVariants::styleSheetsKnowEveryVariant_data()
{
    QTest::addColumn<QString>("path");
    const auto files = QDir(":/styles").entryList({"*.qss"}, QDir::Files, QDir::Name);
    for (const QString &file : files)
        QTest::addRow("%s", qPrintable(file)) << ":/styles/" + file;
}

void tst_PreviewVariants::styleSheetsKnowEveryVariant()
{
    QFETCH(QString, path);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString sheet = QString::fromUtf8(file.readAll());
    if (sheet.trimmed().isEmpty())
        QSKIP("placeholder sheet without rules");
    for (const SemanticVariant &variant : kSemanticVariants) {
        const QString selector =
            QString("QPushButton[%1=\"%2\"]").arg(kVariantProperty, variant.key);
        QVERIFY2(sheet.contains(selector), qPrintable(selector));
    }
}

void tst_PreviewVariants::semanticSectionsArePlaced_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("pageName");
    QTest::addColumn<QString>("layoutName");
    QTest::addColumn<QString>("where");

    QTest::newRow("variants under the three button boxes") << "Semantic Variants"
                                                           << "buttonsTab"
                                                           << "buttonsLayout"
                                                           << "row 1, column 0, 1x3";
    QTest::newRow("checks under the two check boxes") << "Semantic Checks"
                                                      << "checksTab"
                                                      << "checksLayout"
                                                      << "row 1, column 0, 1x2";
    QTest::newRow("inputs under the two input boxes") << "Semantic Inputs"
                                                      << "inputsTab"
                                                      << "inputsLayout"
                                                      << "row 1, column 0, 1x2";
    QTest::newRow("ranges under the two range boxes") << "Semantic Ranges"
                                                      << "slidersTab"
                                                      << "slidersLayout"
                                                      << "row 1, column 0, 1x2";
    QTest::newRow("editors beside the two form editors") << "Semantic Editors"
                                                         << "editorsTab"
                                                         << "editorsLayout"
                                                         << "item 3 of 3";
}

void tst_PreviewVariants::semanticSectionsArePlaced()
{
    QFETCH(QString, title);
    QFETCH(QString, pageName);
    QFETCH(QString, layoutName);
    QFETCH(QString, where);

    PreviewContent gallery;
    QGroupBox *box = section(&gallery, title);
    auto *page = gallery.findChild<QWidget *>(pageName);
    auto *layout = gallery.findChild<QLayout *>(layoutName);
    QVERIFY(box && page && layout);
    QCOMPARE(box->parentWidget(), page);
    QCOMPARE(placement(layout, box), where);
    QVERIFY(qobject_cast<QGridLayout *>(box->layout()));
}

void tst_PreviewVariants::semanticSectionsShowEveryVariant_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("keys");

    using namespace VariantKey;
    QTest::newRow("buttons in two rows of three")
        << "Semantic Variants" << QStringList{"Default|Primary|Success", "Info|Warning|Error"}
        << QStringList{Default, Primary, Success, Info, Warning, Error};
    QTest::newRow("check box then radio button, alternately checked")
        << "Semantic Checks"
        << QStringList{"Default*|Default|Primary|Primary*|Success*|Success",
                       "Info|Info*|Warning*|Warning|Error|Error*"}
        << QStringList{Default, Default, Primary, Primary, Success, Success,
                       Info,    Info,    Warning, Warning, Error,   Error};
    QTest::newRow("labelled line edits, two variants a row")
        << "Semantic Inputs"
        << QStringList{"Default|Default input|Primary|Primary input",
                       "Success|Success input|Info|Info input",
                       "Warning|Warning input|Error|Error input"}
        << QStringList{Default, Primary, Success, Info, Warning, Error};
    QTest::newRow("label, slider and bar at the same sample value")
        << "Semantic Ranges" << QStringList{"Default|18|18", "Primary|34|34", "Success|50|50",
                                            "Info|66|66",    "Warning|82|82", "Error|96|96"}
        << QStringList{Default, Default, Primary, Primary, Success, Success,
                       Info,    Info,    Warning, Warning, Error,   Error};
    QTest::newRow("four fixed-height editors without info and error")
        << "Semantic Editors"
        << QStringList{"Default editor (58px)|Primary editor (58px)",
                       "Success editor (58px)|Warning editor (58px)"}
        << QStringList{Default, Primary, Success, Warning};
}

void tst_PreviewVariants::semanticSectionsShowEveryVariant()
{
    QFETCH(QString, title);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, keys);

    PreviewContent gallery;
    QGroupBox *box = section(&gallery, title);
    QVERIFY(box);
    auto *grid = qobject_cast<QGridLayout *>(box->layout());
    QVERIFY(grid);
    QCOMPARE(gridRows(grid), rows);
    QCOMPARE(gridVariants(grid), keys);
}

void tst_PreviewVariants::semanticRadioButtonsAreNotExclusive()
{
    PreviewContent gallery;
    QGroupBox *box = section(&gallery, "Semantic Checks");
    auto *formRadio = child<QRadioButton>(&gallery, "radioButtonA");
    QVERIFY(box && formRadio);
    const auto radios = box->findChildren<QRadioButton *>();
    QCOMPARE(radios.size(), 6);

    const auto checkedStates = [&radios] {
        QList<bool> states;
        for (const QRadioButton *radio : radios)
            states << radio->isChecked();
        return states;
    };
    for (const QRadioButton *radio : radios)
        QVERIFY2(!radio->autoExclusive(), qPrintable(radio->text()));
    QCOMPARE(checkedStates(), QList<bool>({false, true, false, true, false, true}));

    radios.at(0)->click();
    QCOMPARE(checkedStates(), QList<bool>({true, true, false, true, false, true}));
    radios.at(3)->click();
    QCOMPARE(checkedStates(), QList<bool>({true, true, false, false, false, true}));
    QVERIFY(formRadio->isChecked());
}

void tst_PreviewVariants::semanticSlidersDriveNothing()
{
    PreviewContent gallery;
    QGroupBox *box = section(&gallery, "Semantic Ranges");
    QVERIFY(box);
    const auto sliders = box->findChildren<QSlider *>();
    const auto bars = box->findChildren<QProgressBar *>();
    QCOMPARE(sliders.size(), 6);

    sliders.first()->triggerAction(QAbstractSlider::SliderToMaximum);
    QCOMPARE(sliders.first()->value(), 99);
    QCOMPARE(bars.first()->value(), 18);
}

QTEST_MAIN(tst_PreviewVariants)
#include "tst_previewvariants.moc"
