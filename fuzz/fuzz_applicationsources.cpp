// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes read as a C++ and as a Python source for the
// application's widget classes and object names, then resolved into the objects a
// sheet is checked against. Besides no crash, hang or sanitizer report: every class
// and name read is named and stands on a line of the input, and reading the same
// text twice gives the same classes.

#include "embedded/applicationsources.h"
#include "fuzzrequire.h"

#include <cstddef>
#include <cstdint>

namespace {

void readAs(bool python, const QString &text, int lines)
{
    SourceDeclarations sources;
    const QString path = python ? QStringLiteral("f.py") : QStringLiteral("f.h");
    python ? sources.readPython(text, path) : sources.readCpp(text, path);
    for (const SourceClass &declared : sources.classes)
        require(!declared.name.isEmpty() && declared.line >= 1 && declared.line <= lines &&
                declared.python == python);
    for (const ApplicationObject &object : sources.objects)
        require(object.line >= 1 && object.line <= lines);
    // Resolving bases through each other ends, however the classes name each other.
    const ApplicationObjects objects = sources.applicationObjects();
    for (const ApplicationClass &widget : objects.classes)
        require(!widget.name.isEmpty());
    SourceDeclarations again;
    python ? again.readPython(text, path) : again.readCpp(text, path);
    require(again.classes.size() == sources.classes.size() &&
            again.objects.size() == sources.objects.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    // A bound whichever line ends the tokenizers count.
    const int lines = int(text.count(QLatin1Char('\n')) + text.count(QLatin1Char('\r'))) + 1;
    readAs(false, text, lines);
    readAs(true, text, lines);
    return 0;
}
