// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// prismark-profile end to end, as its users run it: how much of the time each sheet
// adds its attributions account for (the goal: 90% or more), on the built-in themes
// and on planted sheets, and how long a full profile of one built-in theme takes on
// the gallery (the goal: under 30 s); and the first of them on the tests' running
// application of 2,000 labels, attached, from its start to its end (one second to
// settle). Arguments name built-in sheets (light.qss ...) to profile instead of all
// twelve.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

struct Sheet
{
    QString name;
    QStringList arguments;
};

// 2,000 labels in forty frames, flagged for the planted attribute rule.
QByteArray largeForm()
{
    QByteArray ui = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\">\n"
                    "<class>Large</class>\n<widget class=\"QWidget\" name=\"Large\">\n"
                    "<layout class=\"QGridLayout\" name=\"grid\">\n";
    for (int frame = 0; frame < 40; ++frame) {
        ui += QStringLiteral("<item row=\"%1\" column=\"%2\"><widget class=\"QFrame\" "
                             "name=\"frame%3\"><layout class=\"QVBoxLayout\" name=\"column%3\">\n")
                  .arg(frame / 8)
                  .arg(frame % 8)
                  .arg(frame)
                  .toUtf8();
        for (int label = 0; label < 50; ++label)
            ui += QStringLiteral("<item><widget class=\"QLabel\" name=\"label%1_%2\">"
                                 "<property name=\"text\"><string>x</string></property>"
                                 "<property name=\"flag\" stdset=\"0\"><string>on</string>"
                                 "</property></widget></item>\n")
                      .arg(frame)
                      .arg(label)
                      .toUtf8();
        ui += "</layout></widget></item>\n";
    }
    return ui + "</layout>\n</widget>\n</ui>\n";
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QVector<Sheet> plantedSheets(const QDir &dir)
{
    const QString form = dir.filePath(QStringLiteral("large.ui"));
    write(form, largeForm());
    const QByteArray cheap = "QPushButton { color: #202020; }\n"
                             "QComboBox { color: #202020; }\n"
                             "#noSuchWidget { color: red; }\n";
    const QVector<QPair<QString, QByteArray>> gallery{
        {"unindexed.qss", cheap + "* [variant] { padding: 1px; }\n"},
        {"hover.qss", cheap + "*:hover { background: #eeeeee; }\n"},
        {"descendant.qss", cheap + "QWidget QWidget QLabel { font-size: 11pt; }\n"}};
    QVector<Sheet> sheets;
    for (const auto &planted : gallery) {
        write(dir.filePath(planted.first), planted.second);
        sheets.append({planted.first, {dir.filePath(planted.first)}});
    }
    const QString painted = dir.filePath(QStringLiteral("painted.qss"));
    write(painted, cheap + "*[flag=\"on\"] { border: 2px solid red; border-radius: 6px; "
                           "background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, "
                           "stop: 0 #ffffff, stop: 1 #cccccc); padding: 3px; }\n");
    sheets.append({QStringLiteral("painted.qss on 2,000 labels"),
                   {painted, QStringLiteral("--no-gallery"), QStringLiteral("--form"), form}});
    return sheets;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    QVector<Sheet> sheets;
    QStringList names = application.arguments().mid(1);
    if (names.isEmpty())
        names = QDir(QStringLiteral(PRISMARK_STYLES_DIR))
                    .entryList({QStringLiteral("*.qss")}, QDir::Files, QDir::Name);
    for (const QString &name : names)
        sheets.append({name, {QStringLiteral(PRISMARK_STYLES_DIR "/") + name}});
    sheets += plantedSheets(QDir(dir.path()));
    sheets.append({names.constFirst() + QStringLiteral(" on the application"),
                   {QStringLiteral("--settle"), QStringLiteral("1"),
                    QStringLiteral(PRISMARK_STYLES_DIR "/") + names.constFirst(),
                    QStringLiteral("--"), QStringLiteral(PROFILED_APP_EXECUTABLE)}});

    std::printf("%-30s %9s %9s %9s %7s %9s\n", "sheet", "added ms", "attrib.", "coverage", "rounds",
                "profile s");
    QVector<double> coverages;
    for (const Sheet &sheet : qAsConst(sheets)) {
        QProcess process;
        QElapsedTimer clock;
        clock.start();
        process.start(QStringLiteral(PRISMARK_PROFILE_BINARY),
                      QStringList{QStringLiteral("--format"), QStringLiteral("json")} +
                          sheet.arguments);
        if (!process.waitForFinished(600000) || process.exitCode() != 0) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(sheet.name),
                         process.readAllStandardError().constData());
            return 1;
        }
        const QJsonObject report =
            QJsonDocument::fromJson(process.readAllStandardOutput()).object();
        const double added = report.value("added").toObject().value("mean").toDouble();
        const double coverage = report.value("coverage").toDouble();
        coverages << coverage;
        std::printf("%-30s %9.2f %9.2f %8.0f%% %7d %9.1f\n", qPrintable(sheet.name), added,
                    coverage * added, coverage * 100, report.value("rounds").toInt(),
                    double(clock.elapsed()) / 1000);
    }
    std::sort(coverages.begin(), coverages.end());
    std::printf("coverage: lowest %.0f%%, median %.0f%% (goal: 90%% or more)\n",
                coverages.first() * 100, coverages.at(coverages.size() / 2) * 100);
    std::printf("a full profile of a built-in theme is its \"profile s\" (goal: under 30 s)\n");
    return 0;
}
