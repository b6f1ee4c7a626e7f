// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/pseudostates.h"
#include "analysis/sheetmodel.h"
#include "analysis/stylesheetlint.h"
#include "analysis/treecontrast.h"
#include "pixelcontrast.h"
#include "shell/mainwindow.h"
#include "theme/palettedirectives.h"
#include "theme/stylesheetloader.h"
#include "theme/themecatalogue.h"
#include "widgetstyles/widgetcontrasttree.h"
#include "widgetstyles/widgetstate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

// Contrast judged on real widgets: small trees where it must differ from the
// sheet-only model, each finding measured on the pixels;
// and its findings on the built-in sheets measured on the pixels of the gallery.
class TestTreeContrast : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void treeJudgementDiffersFromTheSheetAlone_data();
    void treeJudgementDiffersFromTheSheetAlone();
    void galleryFindingsAgreeWithThePixels_data();
    void galleryFindingsAgreeWithThePixels();

private:
    // The window prismark-lint --gallery and prismark-live judge.
    std::unique_ptr<MainWindow> window;
};

namespace {
// A ratio read off the pixels differs from the judgement's by anti-aliasing and the
// rounding of blended colours; beyond this they disagree.
constexpr double kTolerance = 0.25;
const double kTextMinimum = LintOptions().textContrast;

const QString kSampleText = QStringLiteral("Sample text sample text");

void installSheet(const QString &sheet)
{
    QPalette palette = QApplication::style()->standardPalette();
    applyPaletteDirectivesFromText(palette, sheet);
    QApplication::setPalette(palette);
    qApp->setStyleSheet(sheet);
}

// The ratios of the sheet-only model's text findings.
QVector<double> sheetOnlyRatios(const QString &sheet)
{
    static const QRegularExpression ratio(QStringLiteral("^text .*: contrast ([0-9.]+) : 1"));
    LintOptions options;
    options.enabledChecks = QStringList{QStringLiteral("contrast")};
    QVector<double> ratios;
    for (const LintDiagnostic &diagnostic : lintStyleSheet(sheet.toUtf8(), QString(), options)) {
        const QRegularExpressionMatch match = ratio.match(diagnostic.message);
        if (diagnostic.check == QLatin1String("contrast") && match.hasMatch())
            ratios.append(match.captured(1).toDouble());
    }
    return ratios;
}

QVector<TreeContrastFinding> treeFindings(const QString &sheet, QWidget *root)
{
    const SheetModel model(sheet.toUtf8(), QString());
    return judgeTreeContrast(model, WidgetContrastTree(root))
        .value_or(QVector<TreeContrastFinding>());
}

// Small trees, each with one widget that shows text.
std::unique_ptr<QWidget> treeFor(const QString &kind)
{
    auto root = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(root.get());
    if (kind == QLatin1String("tool bar")) {
        auto *bar = new QToolBar;
        bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
        bar->addAction(kSampleText);
        layout->addWidget(bar);
    } else if (kind == QLatin1String("label in a frame")) {
        auto *frame = new QFrame;
        auto *inner = new QVBoxLayout(frame);
        inner->addWidget(new QLabel(kSampleText));
        layout->addWidget(frame);
    } else if (kind == QLatin1String("label on a tab page")) {
        root->setObjectName(QStringLiteral("root"));
        auto *tabs = new QTabWidget;
        auto *page = new QWidget;
        auto *inner = new QVBoxLayout(page);
        inner->addWidget(new QLabel(kSampleText));
        tabs->addTab(page, QStringLiteral("Page"));
        layout->addWidget(tabs);
    } else if (kind == QLatin1String("named label")) {
        auto *label = new QLabel(kSampleText);
        label->setObjectName(QStringLiteral("noticeLabel"));
        layout->addWidget(label);
    }
    root->resize(320, 80);
    return root;
}

// Where on the widget the target's text is drawn, in the picture grabbed of it.
QRect textArea(QWidget *widget)
{
    if (qobject_cast<QCheckBox *>(widget) || qobject_cast<QRadioButton *>(widget)) {
        QStyleOptionButton option;
        option.initFrom(widget);
        const bool check = qobject_cast<QCheckBox *>(widget) != nullptr;
        return widget->style()->subElementRect(
            check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option, widget);
    }
    return widget->rect().adjusted(4, 4, -4, -4);
}

// The widget as the window shows it: a widget grabbed alone would be drawn on its
// palette's window colour, not on what its parents paint behind it.
QImage drawn(QWidget *widget)
{
    QWidget *window = widget->window();
    return window->grab(QRect(widget->mapTo(window, QPoint()), widget->size())).toImage();
}

// The target drawn in its state, its text's part measured.
double renderedRatio(const ContrastTarget &target)
{
    auto *widget = const_cast<QWidget *>(qobject_cast<const QWidget *>(target.object));
    auto *button = qobject_cast<QAbstractButton *>(widget);
    const bool hover = target.state & PseudoState::Hover && !widget->underMouse();
    const bool press = button && target.state & PseudoState::Pressed && !button->isDown();
    const bool check = button && target.state & PseudoState::Checked && !button->isChecked();
    // The style sheet style draws :hover only for a widget the pointer entered.
    if (hover)
        QTest::mouseMove(widget, widget->rect().center());
    if (press)
        button->setDown(true);
    const QSignalBlocker quiet(button);
    if (check)
        button->setChecked(true);
    double ratio = 0;
    if (auto *view = qobject_cast<QAbstractItemView *>(widget); view && target.item) {
        const QModelIndex first = view->model()->index(0, 0, view->rootIndex());
        view->selectionModel()->select(first, target.selectedItem
                                                  ? QItemSelectionModel::ClearAndSelect
                                                  : QItemSelectionModel::Clear);
        const QRect item = view->visualRect(first).adjusted(2, 2, -2, -2);
        ratio = measuredRatio(drawn(view->viewport()), item);
        view->selectionModel()->clear();
    } else {
        ratio = measuredRatio(drawn(widget), textArea(widget));
    }
    if (hover)
        QTest::mouseMove(widget->window(), QPoint(-20, -20));
    if (press)
        button->setDown(false);
    if (check)
        button->setChecked(false);
    return ratio;
}

} // namespace

void TestTreeContrast::initTestCase()
{
    window = std::make_unique<MainWindow>();
    window->resize(1040, 720);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestTreeContrast::cleanup()
{
    qApp->setStyleSheet(QString());
}

void TestTreeContrast::treeJudgementDiffersFromTheSheetAlone_data()
{
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QVector<double>>("sheetOnly");
    QTest::addColumn<QVector<double>>("onTheTree");
    // A tool bar's buttons raise only under the pointer: until then their text is on
    // the tool bar, not on a button's panel.
    QTest::newRow("a descendant rule's text on the tool bar's fill")
        << QStringLiteral("QToolBar { background-color: #2b2b2b; }\n"
                          "QToolBar QToolButton { color: #555555; }\n")
        << QStringLiteral("tool bar") << QVector<double>{} << QVector<double>{1.89};
    // ".QFrame" styles a QFrame itself, not the label (a QFrame too) inside it.
    QTest::newRow("a class selector's colour on a frame that shows no text")
        << QStringLiteral("QFrame { background-color: #ffffff; color: #000000; }\n"
                          ".QFrame { color: #aaaaaa; }\n")
        << QStringLiteral("label in a frame") << QVector<double>{2.32} << QVector<double>{};
    // The label's own class rule fills it; the sheet alone does not know its class.
    QTest::newRow("an object name's colour on the fill its class rule gives")
        << QStringLiteral("QLabel { background-color: #ffffff; }\n"
                          "#noticeLabel { color: #aaaaaa; }\n")
        << QStringLiteral("named label") << QVector<double>{2.02} << QVector<double>{2.32};
    // The base style fills a tab widget's pane, so what the window paints behind it
    // does not show through to the page's label; the window itself shows no text.
    QTest::newRow("a label on a tab page is on the pane, not on the window's fill")
        << QStringLiteral("#root { background-color: #333333; }\n"
                          "QLabel { color: #ffffff; }\n")
        << QStringLiteral("label on a tab page") << QVector<double>{1.66, 1.14}
        << QVector<double>{1.14};
}

void TestTreeContrast::treeJudgementDiffersFromTheSheetAlone()
{
    QFETCH(QString, sheet);
    QFETCH(QString, tree);
    QFETCH(QVector<double>, sheetOnly);
    QFETCH(QVector<double>, onTheTree);
    const std::unique_ptr<QWidget> root = treeFor(tree);
    installSheet(sheet);
    root->show();
    QVERIFY(QTest::qWaitForWindowExposed(root.get()));
    const QVector<double> alone = sheetOnlyRatios(sheet);
    QCOMPARE(alone.size(), sheetOnly.size());
    for (int i = 0; i < alone.size(); ++i)
        QCOMPARE(alone.at(i), sheetOnly.at(i));
    QVector<double> judged;
    for (const TreeContrastFinding &finding : treeFindings(sheet, root.get())) {
        const double rendered = renderedRatio(finding.target);
        QVERIFY2(qAbs(rendered - finding.ratio) <= kTolerance,
                 qPrintable(QStringLiteral("judged %1 : 1, the pixels %2 : 1")
                                .arg(finding.ratio)
                                .arg(rendered)));
        if (!judged.contains(std::floor(finding.ratio * 100) / 100))
            judged.append(std::floor(finding.ratio * 100) / 100);
    }
    QCOMPARE(judged, onTheTree);
    // Where nothing is found, what is drawn stands out enough.
    const QVector<ContrastTarget> targets = WidgetContrastTree(root.get()).contrastTargets();
    QVERIFY(!targets.isEmpty());
    if (onTheTree.isEmpty())
        QVERIFY(renderedRatio(targets.constFirst()) >= kTextMinimum - kTolerance);
}

void TestTreeContrast::galleryFindingsAgreeWithThePixels_data()
{
    QTest::addColumn<int>("theme");
    QTest::addColumn<quintptr>("object");
    QTest::addColumn<quint64>("state");
    QTest::addColumn<bool>("item");
    QTest::addColumn<bool>("selectedItem");
    QTest::addColumn<double>("ratio");
    for (int i = 0; i < ThemeCount; ++i) {
        const QString text =
            readStyleSheetFile(QStringLiteral(":/styles/") + styleSheetFileName(Theme(i)));
        window->applyStyleSheet(text, styleSheetFileName(Theme(i)));
        // One row per finding the check reports: the first widget it was found on.
        QSet<QString> reported;
        for (const TreeContrastFinding &found : treeFindings(text, window.get())) {
            const QString key = QStringLiteral("%1 %2 %3")
                                    .arg(found.offset)
                                    .arg(found.text.name(), found.background.name());
            if (reported.contains(key))
                continue;
            reported.insert(key);
            const ContrastTarget &target = found.target;
            QTest::addRow("%s:%d %s %s%s %s", qPrintable(styleSheetFileName(Theme(i))),
                          found.offset, target.object->metaObject()->className(),
                          qPrintable(target.object->objectName()),
                          target.selectedItem ? " selected item"
                          : target.item       ? " item"
                                              : "",
                          qPrintable(pseudoStateNames(target.state).join(QLatin1Char(':'))))
                << i << quintptr(target.object) << target.state << target.item
                << target.selectedItem << found.ratio;
        }
    }
    window->applyStyleSheet(QString(), QString());
}

void TestTreeContrast::galleryFindingsAgreeWithThePixels()
{
    QFETCH(int, theme);
    QFETCH(quintptr, object);
    QFETCH(quint64, state);
    QFETCH(bool, item);
    QFETCH(bool, selectedItem);
    QFETCH(double, ratio);
    window->applyStyleSheet(
        readStyleSheetFile(QStringLiteral(":/styles/") + styleSheetFileName(Theme(theme))),
        styleSheetFileName(Theme(theme)));
    auto *widget = reinterpret_cast<QWidget *>(object);
    for (int tab = 0; tab < window->galleryTabTitles().size(); ++tab) {
        if (window->galleryTabPage(tab)->isAncestorOf(widget))
            window->showGalleryTab(tab);
    }
    QCoreApplication::processEvents();
    ContrastTarget target;
    target.object = widget;
    target.state = state;
    target.item = item;
    target.selectedItem = selectedItem;
    const double rendered = renderedRatio(target);
    QVERIFY2(
        qAbs(rendered - ratio) <= kTolerance,
        qPrintable(QStringLiteral("judged %1 : 1, the pixels %2 : 1").arg(ratio).arg(rendered)));
}

QTEST_MAIN(TestTreeContrast)
#include "tst_treecontrast.moc"
