// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// prismark-profile end to end, as its users run it: how much of the time each sheet
// adds its attributions account for (the goal: 90% or more), on the built-in themes
// and on planted sheets, and how long a full profile of one built-in theme takes on
// the gallery (the goal: under 30 s); and the first of them on the tests' running
// application of 2,000 labels, attached, from its start to its end (one second to
// settle). Arguments name built-in sheets (light.qss ...) to profile instead of all
// twelve.
//
// --verdicts N [OPTION ...]: instead, N times over, the answers a reader acts on, for
// two planted sheets and a control sheet of nine cheap rules, each on the gallery and
// on a form of 2,000 widgets (the OPTIONs, --deterministic say, passed on): right when
// the planted rule alone is ranked first (any other ranked group costing less than a
// tenth of it) and when nothing on the control sheet is. scripts/profile-load.sh runs
// it under the machine's loads.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
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

// 2,000 widgets in forty frames: labels, and in each frame one control of the kinds a
// settings form holds, taking turns. The control sheet's rules match those few, the
// planted ones the labels. (With six controls in every frame, a colour on the 40
// sliders, combo boxes or spin boxes was about 7% of the apply each, counted in
// instructions under callgrind, and on the 40 buttons 5.5%. Rules that cost that are
// not cheap, and a profile is right to rank them; on the gallery the same rules are
// 1.2% or less.)
QByteArray mixedForm()
{
    QByteArray ui = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\">\n"
                    "<class>Mixed</class>\n<widget class=\"QWidget\" name=\"Mixed\">\n"
                    "<layout class=\"QGridLayout\" name=\"grid\">\n";
    const char *const kinds[] = {"QLineEdit", "QPushButton", "QCheckBox",
                                 "QSlider",   "QComboBox",   "QSpinBox"};
    for (int frame = 0; frame < 40; ++frame) {
        ui += QStringLiteral("<item row=\"%1\" column=\"%2\"><widget class=\"QFrame\" "
                             "name=\"frame%3\"><layout class=\"QVBoxLayout\" name=\"column%3\">\n")
                  .arg(frame / 8)
                  .arg(frame % 8)
                  .arg(frame)
                  .toUtf8();
        for (int item = 0; item < 50; ++item) {
            const QString kind =
                item < 49 ? QStringLiteral("QLabel") : QLatin1String(kinds[frame % 6]);
            ui += QStringLiteral("<item><widget class=\"%1\" name=\"w%2_%3\">"
                                 "<property name=\"flag\" stdset=\"0\"><string>on</string>"
                                 "</property></widget></item>\n")
                      .arg(kind)
                      .arg(frame)
                      .arg(item)
                      .toUtf8();
        }
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

// This build's prismark-profile, or another build's named by PRISMARK_PROFILE (to
// compare before and after a change).
QString profileBinary()
{
    const QString other = qEnvironmentVariable("PRISMARK_PROFILE");
    return other.isEmpty() ? QStringLiteral(PRISMARK_PROFILE_BINARY) : other;
}

QJsonObject profileJson(const QStringList &arguments, QString *error)
{
    QProcess process;
    process.start(profileBinary(),
                  QStringList{QStringLiteral("--format"), QStringLiteral("json")} + arguments);
    if (!process.waitForFinished(1800000) || process.exitCode() != 0) {
        *error = QString::fromUtf8(process.readAllStandardError());
        return QJsonObject();
    }
    return QJsonDocument::fromJson(process.readAllStandardOutput()).object();
}

// Empty when the report gives the answer a reader should act on: plantedLine (0 for
// none) alone ranked first, nothing else ranked within a tenth of it.
QString wrongAnswer(const QJsonObject &report, int plantedLine)
{
    const QJsonArray groups = report.value(QLatin1String("groups")).toArray();
    const auto ranked = [](const QJsonObject &group) {
        return !group.value(QLatin1String("withinNoise")).toBool();
    };
    const auto share = [](const QJsonObject &group) {
        return group.value(QLatin1String("share")).toDouble();
    };
    const auto named = [&share](const QJsonObject &group) {
        return QStringLiteral("%1 ranked %2 at %3%")
            .arg(group.value(QLatin1String("key")).toString())
            .arg(group.value(QLatin1String("rank")).toInt())
            .arg(qRound(share(group) * 100));
    };
    if (groups.isEmpty())
        return QStringLiteral("no groups");
    const QJsonObject first = groups.first().toObject();
    int from = 0;
    if (plantedLine > 0) {
        if (first.value(QLatin1String("lines")).toArray().first().toInt() != plantedLine ||
            !ranked(first))
            return ranked(first) ? named(first) : QStringLiteral("the planted rule not ranked");
        if (first.value(QLatin1String("rank")).toInt() != 1 ||
            first.value(QLatin1String("tied")).toBool())
            return QStringLiteral("the planted rule shares the first rank");
        from = 1;
    }
    for (int i = from; i < groups.size(); ++i) {
        const QJsonObject group = groups.at(i).toObject();
        if (ranked(group) && (plantedLine == 0 || share(group) * 10 >= share(first)))
            return named(group);
    }
    return QString();
}

int verdicts(int runs, const QStringList &options)
{
    QTemporaryDir dir;
    const QString form = dir.filePath(QStringLiteral("mixed.ui"));
    write(form, mixedForm());
    struct Case
    {
        QString name;
        QByteArray sheet;
        int plantedLine;
    };
    const QByteArray cheap = "QPushButton { color: #202020; }\n"
                             "QComboBox { color: #202020; }\n"
                             "#noSuchWidget { color: red; }\n";
    const QVector<Case> cases{
        {QStringLiteral("descendant.qss"), cheap + "QWidget QWidget QWidget { font-size: 11pt; }\n",
         4},
        {QStringLiteral("painted.qss"),
         cheap + "QLabel, QAbstractButton { border: 2px solid #8a8f98; border-radius: 6px; "
                 "background: qlineargradient(x1: 0, y1: 0, x2: 0, y2: 1, stop: 0 #ffffff, "
                 "stop: 1 #cccccc); padding: 3px; }\n",
         4},
        {QStringLiteral("cheap.qss"),
         "QLineEdit { color: #101010; }\nQSlider { color: #202020; }\n"
         "QCheckBox { color: #303030; }\nQSpinBox { color: #404040; }\n"
         "QComboBox { color: #505050; }\nQPushButton { color: #606060; }\n"
         "#noSuchWidget { color: red; }\nQFrame#noSuchFrame { color: red; }\n"
         "QLabel#noSuchLabel { color: #101010; }\n",
         0}};
    const QVector<QPair<QString, QStringList>> targets{
        {QStringLiteral("gallery"), {}},
        {QStringLiteral("form"), {QStringLiteral("--no-gallery"), QStringLiteral("--form"), form}}};
    QMap<QString, int> right;
    for (int run = 1; run <= runs; ++run) {
        for (const Case &sheet : cases) {
            const QString path = dir.filePath(sheet.name);
            write(path, sheet.sheet);
            for (const auto &target : targets) {
                const QString name = sheet.name + QLatin1String(" on the ") + target.first;
                QElapsedTimer clock;
                clock.start();
                QString wrong;
                const QJsonObject report =
                    profileJson(options + target.second + QStringList{path}, &wrong);
                if (!report.isEmpty())
                    wrong = wrongAnswer(report, sheet.plantedLine);
                right[name] += wrong.isEmpty() ? 1 : 0;
                std::printf("run %d  %-30s %-6s %5.1f s  %d rounds%s%s\n", run, qPrintable(name),
                            wrong.isEmpty() ? "right" : "WRONG", double(clock.elapsed()) / 1000,
                            report.value(QLatin1String("rounds")).toInt(),
                            wrong.isEmpty() ? "" : ": ", qPrintable(wrong));
                std::fflush(stdout);
            }
        }
    }
    int all = 0;
    for (auto it = right.cbegin(); it != right.cend(); ++it) {
        std::printf("%-30s right in %d of %d\n", qPrintable(it.key()), it.value(), runs);
        all += it.value();
    }
    std::printf("all: right in %d of %d\n", all, runs * int(right.size()));
    return all == runs * right.size() ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.value(1) == QLatin1String("--verdicts"))
        return verdicts(qMax(1, arguments.value(2).toInt()), arguments.mid(3));
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
