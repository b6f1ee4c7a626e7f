// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/lintconfig.h"
#include "analysis/stylesheetlint.h"
#include "lintconfigtesting.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// A configuration's "resources": the application's .qrc files, read for the paths they
// declare, and the folders searched for them within bounds.
class TestQrcResources : public QObject
{
    Q_OBJECT
private slots:
    void resourcesComeFromTheApplicationsQrc();
    void resourceFoldersAreSearchedWithinBounds();
};

void TestQrcResources::resourcesComeFromTheApplicationsQrc()
{
    QTemporaryDir root;
    write(root.filePath(QStringLiteral("app/rc/arrow_down.png")), "png");
    write(root.filePath(QStringLiteral("app/rc/close.png")), "png");
    write(root.filePath(QStringLiteral("outside.png")), "png");
    QVERIFY(QFile::link(root.filePath(QStringLiteral("outside.png")),
                        root.filePath(QStringLiteral("app/rc/escape.png"))));
    write(root.filePath(QStringLiteral("app/style.qrc")),
          "<RCC>\n"
          "  <qresource prefix=\"/qss_icons\">\n"
          "    <file>rc/arrow_down.png</file>\n"
          "    <file alias=\"x.png\">rc/close.png</file>\n"
          "    <file>rc/gone.png</file>\n"
          "    <file>rc/escape.png</file>\n"
          "  </qresource>\n"
          "</RCC>\n");
    write(root.filePath(QStringLiteral("app/broken.qrc")), "<RCC><qresource>\n<file>");
    write(root.filePath(QStringLiteral(".prismark-lint.json")),
          R"({"resources": ["app/style.qrc", "app/broken.qrc"]})");
    const LintConfigResult result =
        readLintConfig(root.filePath(QStringLiteral(".prismark-lint.json")));
    QVERIFY2(result.ok, qPrintable(result.error));
    QVERIFY2(result.warnings.size() == 3, qPrintable(result.warnings.join('\n')));
    QVERIFY2(
        result.warnings.at(0).endsWith(QStringLiteral("style.qrc:5: \"rc/gone.png\" is missing")),
        qPrintable(result.warnings.at(0)));
    QVERIFY(result.warnings.at(1).contains(
        QStringLiteral("style.qrc:6: \"rc/escape.png\" lies outside")));
    QVERIFY(
        result.warnings.at(2).contains(QStringLiteral("broken.qrc:2: not a resource collection")));

    const QByteArray sheet =
        "QHeaderView::up-arrow { image: url(:/qss_icons/rc/arrow_down.png); }\n"
        "QPushButton { image: url(\":/qss_icons/x.png\"); }\n"
        "QLabel { image: url(:/qss_icons/rc/close.png); }\n"
        "QToolButton { image: url(:/qss_icons/rc/gone.png); }\n";
    const auto configured = lintStyleSheet(sheet, QStringLiteral("app.qss"), result.options);
    QCOMPARE(found(configured), (QStringList{"3:17 missing-resource", "4:22 missing-resource"}));
    // Never listed, and listed with its file gone: each finding names its own reason.
    QVERIFY2(configured.at(0).message.contains(QStringLiteral("in none of the configured")),
             qPrintable(configured.at(0).message));
    QVERIFY2(configured.at(1).message.contains(
                 QStringLiteral("is listed at %1:5, but its file \"rc/gone.png\" is missing")
                     .arg(QDir(root.path()).filePath(QStringLiteral("app/style.qrc")))),
             qPrintable(configured.at(1).message));
    // Without resources configured, one note says how many went unchecked.
    const auto unconfigured = lintStyleSheet(sheet, QStringLiteral("app.qss"));
    QCOMPARE(found(unconfigured), QStringList{"1:32 missing-resource"});
    QCOMPARE(unconfigured.first().severity, LintSeverity::Note);
    QVERIFY(
        unconfigured.first().message.startsWith(QStringLiteral("4 compiled-in resource paths")));
}

void TestQrcResources::resourceFoldersAreSearchedWithinBounds()
{
    QTemporaryDir root;
    const auto collection = [&root](const QString &folder, const QString &prefix) {
        write(root.filePath(folder + QStringLiteral("/x.png")), "png");
        write(root.filePath(folder + QStringLiteral("/c.qrc")),
              QStringLiteral("<RCC><qresource prefix=\"/%1\"><file>x.png</file></qresource></RCC>")
                  .arg(prefix)
                  .toUtf8());
    };
    // Seven folders down is searched, eight is not.
    collection(QStringLiteral("deep/1/2/3/4/5/6/7"), QStringLiteral("near"));
    collection(QStringLiteral("deep/1/2/3/4/5/6/7/8"), QStringLiteral("far"));
    // A folder with more folders below than the search goes through.
    collection(QStringLiteral("wide"), QStringLiteral("top"));
    for (int i = 0; i <= 10000; ++i)
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("wide/f%1").arg(i)));
    write(root.filePath(QStringLiteral(".prismark-lint.json")),
          R"({"resources": ["deep", "wide"]})");
    const LintConfigResult result =
        readLintConfig(root.filePath(QStringLiteral(".prismark-lint.json")));
    QVERIFY2(result.ok, qPrintable(result.error));
    QVERIFY(result.options.resourcePaths.contains(QStringLiteral("/near/x.png")));
    QVERIFY(!result.options.resourcePaths.contains(QStringLiteral("/far/x.png")));
    QVERIFY(result.options.resourcePaths.contains(QStringLiteral("/top/x.png")));
    QCOMPARE(result.warnings.size(), 1);
    QVERIFY2(result.warnings.first().contains(
                 QStringLiteral("\"resources\": \"wide\" holds more than 10000 folders")),
             qPrintable(result.warnings.first()));
}

QTEST_GUILESS_MAIN(TestQrcResources)
#include "tst_qrcresources.moc"
