// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/stylesheetlint.h"
#include "pixelcontrast.h"
#include "theme/palettedirectives.h"
#include "theme/semanticvariants.h"
#include "theme/stylesheetloader.h"
#include "theme/themecatalogue.h"

#include <QApplication>
#include <QCheckBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QToolButton>
#include <QtTest>

#include <memory>

// The contrast check's text findings on the built-in sheets, measured on the pixels:
// the widget the finding names is drawn with the sheet offscreen, and its text's
// most distinct pixel is measured against its most common one.
class TestContrastPixels : public QObject
{
    Q_OBJECT
private slots:
    void findingsAgreeWithThePixels_data();
    void findingsAgreeWithThePixels();
};

namespace {
// A ratio read off the pixels differs from the check's by anti-aliasing and the
// rounding of blended colours; beyond this they disagree.
constexpr double kTolerance = 0.25;

std::unique_ptr<QWidget> widgetFor(const QString &element, const QString &variant, bool checked)
{
    const QString text = QStringLiteral("Sample text sample text");
    std::unique_ptr<QWidget> widget;
    if (element == QLatin1String("QPushButton")) {
        auto *button = new QPushButton(text);
        button->setCheckable(checked);
        button->setChecked(checked);
        widget.reset(button);
    } else if (element == QLatin1String("QToolButton")) {
        auto *button = new QToolButton;
        button->setText(text);
        widget.reset(button);
    } else if (element == QLatin1String("QCheckBox")) {
        widget.reset(new QCheckBox(text));
    } else if (element == QLatin1String("QRadioButton")) {
        widget.reset(new QRadioButton(text));
    } else if (element == QLatin1String("QLineEdit")) {
        widget.reset(new QLineEdit(text));
    } else if (element == QLatin1String("QLabel")) {
        widget.reset(new QLabel(text));
    }
    if (widget && !variant.isEmpty())
        widget->setProperty(kVariantProperty, variant);
    return widget;
}

// The text's part of the picture.
double measuredRatio(const QImage &image)
{
    return measuredRatio(image, QRect(image.width() * 2 / 5, image.height() / 4, image.width() / 2,
                                      image.height() / 2));
}
} // namespace

void TestContrastPixels::findingsAgreeWithThePixels_data()
{
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("variant");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<double>("ratio");
    // `text #fg on #bg in "QPushButton[variant="info"]", ...: contrast 2.10 : 1`
    static const QRegularExpression finding(QStringLiteral(
        R"re(^text #\w+ on #\w+ in "(Q[A-Za-z]+)(?:\[variant="(\w+)"\])?(:checked)?"[^:]*: )re"
        R"re(contrast ([0-9.]+) : 1)re"));
    for (int i = 0; i < ThemeCount; ++i) {
        const Theme theme = Theme(i);
        const QString text =
            readStyleSheetFile(QStringLiteral(":/styles/") + styleSheetFileName(theme));
        LintOptions options;
        options.enabledChecks = QStringList{QStringLiteral("contrast")};
        for (const LintDiagnostic &diagnostic :
             lintStyleSheet(text.toUtf8(), styleSheetFileName(theme), options)) {
            const QRegularExpressionMatch match = finding.match(diagnostic.message);
            if (diagnostic.check != QLatin1String("contrast") || !match.hasMatch())
                continue;
            QTest::addRow("%s:%d %s", qPrintable(styleSheetFileName(theme)), diagnostic.line,
                          qPrintable(match.captured(1)))
                << text << match.captured(1) << match.captured(2) << !match.captured(3).isEmpty()
                << match.captured(4).toDouble();
        }
    }
}

void TestContrastPixels::findingsAgreeWithThePixels()
{
    QFETCH(QString, sheet);
    QFETCH(QString, element);
    QFETCH(QString, variant);
    QFETCH(bool, checked);
    QFETCH(double, ratio);
    QPalette palette = QApplication::style()->standardPalette();
    applyPaletteDirectivesFromText(palette, sheet);
    QApplication::setPalette(palette);
    qApp->setStyleSheet(sheet);
    const std::unique_ptr<QWidget> widget = widgetFor(element, variant, checked);
    QVERIFY(widget);
    widget->resize(240, 40);
    const double measured = measuredRatio(widget->grab().toImage());
    qApp->setStyleSheet(QString());
    QVERIFY2(
        qAbs(measured - ratio) <= kTolerance,
        qPrintable(
            QStringLiteral("the check says %1 : 1, the pixels %2 : 1").arg(ratio).arg(measured)));
}

QTEST_MAIN(TestContrastPixels)
#include "tst_contrastpixels.moc"
