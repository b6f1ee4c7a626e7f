// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes read as a Designer form for the application's
// object names, then a sheet naming them checked against what it declares. Besides
// no crash, hang or sanitizer report: a form either reads, every object named, on a
// line of the input, every class named, or it is refused with a line of the input
// and adds nothing; reading it twice gives the same objects.

#include "analysis/applicationobjects.h"
#include "analysis/lintoptions.h"
#include "analysis/stylesheetlint.h"
#include "fuzzrequire.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Lines as XML counts them: a CR alone ends one too.
int lineCount(const QByteArray &bytes)
{
    int lines = 1;
    for (int i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) == '\n' || (bytes.at(i) == '\r' && bytes.mid(i + 1, 1) != "\n"))
            ++lines;
    }
    return lines;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    const int lines = lineCount(bytes);
    ApplicationObjects objects;
    QString error;
    const bool read = readFormObjects(bytes, QStringLiteral("f.ui"), &objects, &error);
    if (!read) {
        require(objects.objects.isEmpty() && objects.classes.isEmpty() && objects.forms.isEmpty());
        const int line = error.section(QLatin1Char(':'), 0, 0).toInt();
        require(line >= 1 && line <= lines);
        return 0;
    }
    require(objects.forms == QStringList{QStringLiteral("f.ui")});
    for (const ApplicationObject &object : objects.objects)
        require(!object.name.isEmpty() && object.line >= 1 && object.line <= lines);
    for (const ApplicationClass &promoted : objects.classes)
        require(!promoted.name.isEmpty() && promoted.line >= 1 && promoted.line <= lines &&
                objects.applicationClass(promoted.name) == &promoted);
    ApplicationObjects again;
    require(readFormObjects(bytes, QStringLiteral("f.ui"), &again, &error));
    require(again.objects.size() == objects.objects.size() &&
            again.widgetNames() == objects.widgetNames());

    // The names as a sheet's selectors, a few misspelt, judged against the form.
    QString sheet;
    for (const ApplicationObject &object : objects.objects.mid(0, 64))
        sheet += QStringLiteral("%1#%2, #%2x { color: red; }\n")
                     .arg(selectorClassName(object.className), object.name);
    LintOptions options;
    options.applicationObjects = std::make_shared<const ApplicationObjects>(objects);
    const QString text = sheet;
    for (const LintDiagnostic &diagnostic : lintStyleSheet(sheet.toUtf8(), QString(), options))
        require(diagnostic.line >= 1 && diagnostic.line <= int(text.count(QLatin1Char('\n'))) + 1);
    return 0;
}
