// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// On-demand benchmark of prismark-lint walking an application's source tree, as a user
// runs it: `prismark-lint SRC/`. It writes trees shaped like a real application's
// (Designer forms with their classes, headers of Q_OBJECT widget classes deriving from
// one another, sources setting sheets from literals, templates and variables, Python
// modules, a few .qss and a .qrc) and times the whole process on each.
// Usage: prismark-walk-bench [ROUNDS]   (default 5)
//        prismark-walk-bench --write DIR  writes the 10,000-file tree into DIR, to profile

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

struct TreeShape
{
    const char *name;
    int forms;
    int cppFiles; // each a header and its source, counted as two files
    int pythonFiles;
    int sheets;
};

bool writeFile(const QString &path, const QString &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0;
}

QString formText(int index)
{
    QString widgets;
    for (int child = 0; child < 12; ++child) {
        widgets += QStringLiteral("   <widget class=\"%1\" name=\"field%2_%3\"/>\n")
                       .arg(child % 3 ? QStringLiteral("QLineEdit") : QStringLiteral("QPushButton"))
                       .arg(index)
                       .arg(child);
    }
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ui version=\"4.0\">\n"
                          " <class>Dialog%1</class>\n"
                          " <widget class=\"QDialog\" name=\"Dialog%1\">\n"
                          "  <property name=\"styleSheet\"><string>QPushButton#field%1_0 { "
                          "color: #202020; }</string></property>\n"
                          "  <layout class=\"QVBoxLayout\">\n  <item>\n%2  </item>\n  </layout>\n"
                          " </widget>\n</ui>\n")
        .arg(index)
        .arg(widgets);
}

// A chain of application classes: every tenth derives from a toolkit class, the others
// from the class before, so the walk has bases to follow across files.
QString headerText(int index)
{
    const QString base =
        index % 10 ? QStringLiteral("Panel%1").arg(index - 1) : QStringLiteral("QFrame");
    return QStringLiteral("#pragma once\n#include <QFrame>\nnamespace ui {\n"
                          "class Panel%1 : public %2\n{\n    Q_OBJECT\npublic:\n"
                          "    explicit Panel%1(QWidget *parent = nullptr);\n"
                          "    void setAccent(const QColor &colour);\n};\n}\n")
        .arg(index)
        .arg(base);
}

QString sourceText(int index)
{
    return QStringLiteral(
               "#include \"panel%1.h\"\nnamespace ui {\n"
               "Panel%1::Panel%1(QWidget *parent) : Panel%2(parent)\n{\n"
               "    setObjectName(\"panel%1\");\n"
               "    setStyleSheet(\"ui--Panel%1 { border: 1px solid #808080; }\");\n}\n"
               "void Panel%1::setAccent(const QColor &colour)\n{\n"
               "    const QString sheet = \"QLabel { color: #303030; background: %3; }\";\n"
               "    setStyleSheet(QString(\"QLineEdit { border-color: %4; "
               "}\").arg(colour.name()));\n"
               "    setStyleSheet(sheet.arg(colour.name()));\n}\n}\n")
        .arg(index)
        .arg(std::max(index - 1, 0))
        .arg(QStringLiteral("%1"), QStringLiteral("%1"));
}

QString pythonText(int index)
{
    return QStringLiteral(
               "from PyQt5.QtWidgets import QFrame, QPushButton\n\n\n"
               "class Card%1(QFrame):\n"
               "    def __init__(self, accent, parent=None):\n"
               "        super().__init__(parent, objectName=\"card%1\")\n"
               "        self.setStyleSheet(f\"Card%1 {{ border: 1px solid {accent}; }}\")\n"
               "        button = QPushButton(\"Go\", self)\n"
               "        button.setStyleSheet(\"QPushButton { padding: %dpx; }\" % 4)\n")
        .arg(index);
}

QString sheetText(int index)
{
    return QStringLiteral("QDialog#Dialog%1 QPushButton { color: #1a1a1a; background: #f0f0f0; }\n"
                          "ui--Panel%1:hover { border-color: #3060c0; }\n"
                          "Card%1 QPushButton:pressed { background: #d0d0d0; }\n")
        .arg(index);
}

// Returns the number of files written, or -1.
int writeTree(const QString &root, const TreeShape &shape)
{
    int files = 0;
    bool ok = true;
    for (int index = 0; index < shape.forms; ++index, ++files)
        ok &= writeFile(
            QStringLiteral("%1/forms/%2/dialog%3.ui").arg(root).arg(index / 50).arg(index),
            formText(index));
    for (int index = 0; index < shape.cppFiles / 2; ++index, files += 2) {
        const QString folder = QStringLiteral("%1/src/%2").arg(root).arg(index / 100);
        ok &= writeFile(QStringLiteral("%1/panel%2.h").arg(folder).arg(index), headerText(index));
        ok &= writeFile(QStringLiteral("%1/panel%2.cpp").arg(folder).arg(index), sourceText(index));
    }
    for (int index = 0; index < shape.pythonFiles; ++index, ++files)
        ok &= writeFile(QStringLiteral("%1/py/%2/card%3.py").arg(root).arg(index / 100).arg(index),
                        pythonText(index));
    QString qrc = QStringLiteral("<RCC><qresource prefix=\"/\">\n");
    for (int index = 0; index < shape.sheets; ++index, ++files) {
        const QString name = QStringLiteral("styles/theme%1.qss").arg(index);
        ok &= writeFile(root + QLatin1Char('/') + name, sheetText(index));
        qrc += QStringLiteral("<file>%1</file>\n").arg(name);
    }
    ok &= writeFile(root + QStringLiteral("/resources.qrc"),
                    qrc + QStringLiteral("</qresource></RCC>\n"));
    return ok ? files + 1 : -1;
}

double childProcessorSeconds()
{
    struct rusage usage;
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const TreeShape shapes[] = {
        {"200 forms, 1,000 C++ files", 200, 1000, 60, 20},
        {"10,000 files", 1000, 7000, 1800, 200},
    };
    if (argc > 2 && QByteArray(argv[1]) == "--write")
        return writeTree(QString::fromLocal8Bit(argv[2]), shapes[1]) < 0 ? 2 : 0;
    const int rounds = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 5;
    std::printf("prismark-lint walking a generated application tree, median of %d rounds\n\n",
                rounds);
    for (const TreeShape &shape : shapes) {
        QTemporaryDir scratch;
        const int files = writeTree(scratch.path(), shape);
        if (files < 0) {
            std::fprintf(stderr, "prismark-walk-bench: cannot write a tree in %s\n",
                         qPrintable(scratch.path()));
            return 2;
        }
        std::vector<double> wall;
        std::vector<double> processor;
        int findings = 0;
        for (int round = 0; round < rounds; ++round) {
            QProcess lint;
            lint.setProcessChannelMode(QProcess::SeparateChannels);
            const double before = childProcessorSeconds();
            QElapsedTimer timer;
            timer.start();
            lint.start(QStringLiteral(PRISMARK_LINT_BINARY),
                       {QStringLiteral("--format"), QStringLiteral("json"), scratch.path()});
            if (!lint.waitForFinished(600000) || lint.exitStatus() != QProcess::NormalExit) {
                std::fprintf(stderr, "prismark-walk-bench: prismark-lint did not finish: %s\n",
                             lint.readAllStandardError().constData());
                return 2;
            }
            wall.push_back(timer.nsecsElapsed() / 1e9);
            processor.push_back(childProcessorSeconds() - before);
            findings = lint.readAllStandardOutput().count("\"check\"");
        }
        std::printf("  %-28s %6d files  %6.2f s wall  %6.2f s processor  (%d findings)\n",
                    shape.name, files, median(wall), median(processor), findings);
    }
    std::printf("\n  goals: 200 forms and 1,000 C++ files under 2 s; 10,000 files under 4 s\n");
    return 0;
}
