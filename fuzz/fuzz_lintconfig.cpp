// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

// libFuzzer target: arbitrary bytes as a project's .prismark-lint.json, and as the
// base.json beside it that it may extend (itself included), asked for the
// configuration in force for sheets inside and outside its overrides' reach; each
// line of the input is also tried as a glob. No input may crash or hang it, an
// error about the file must name one of its lines, and every value in force must
// say where it came from.

#include "analysis/lintconfig.h"
#include "support/glob.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {
// "resources" walks the directories it names for .qrc files, eight levels deep, and
// "forms" those its globs start in: from "/" that is the whole disk, which is slow
// rather than wrong.
bool namesResources(const QJsonValue &value)
{
    if (value.isArray()) {
        const QJsonArray array = value.toArray();
        return std::any_of(array.begin(), array.end(), namesResources);
    }
    if (!value.isObject())
        return false;
    const QJsonObject object = value.toObject();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        if (it.key() == QLatin1String("resources") || it.key() == QLatin1String("forms") ||
            namesResources(it.value()))
            return true;
    }
    return false;
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(bytes);
}

void checkResult(const LintConfigResult &config, const QString &path, int lines)
{
    if (!config.ok) {
        static const QRegularExpression located(QStringLiteral("^(.*?):(\\d+): "));
        const QRegularExpressionMatch match = located.match(config.error);
        if (config.error.isEmpty() || !config.settings.isEmpty())
            std::abort();
        if (match.hasMatch() && match.captured(1) == path &&
            (match.captured(2).toInt() < 1 || match.captured(2).toInt() > lines))
            std::abort();
        return;
    }
    for (const LintConfigSetting &setting : config.settings) {
        if (setting.origin.isEmpty())
            std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<int>(size));
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    if (namesResources(document.object()))
        return 0;
    static QTemporaryDir root;
    const QDir project(root.path());
    const QString config = project.filePath(QStringLiteral(".prismark-lint.json"));
    write(config, bytes);
    write(project.filePath(QStringLiteral("base.json")), bytes);
    const int lines = int(bytes.count('\n')) + 1;
    for (const QString &sheet : {QStringLiteral("themes/dark/app.qss"), QStringLiteral("app.qss"),
                                 QStringLiteral("../elsewhere.qss")})
        checkResult(lintConfigForSheet(project.filePath(sheet)), config, lines);
    checkResult(lintConfigForSheet(QStringLiteral("-"), config), config, lines);

    for (const QString &glob : QString::fromUtf8(bytes).split(QLatin1Char('\n'))) {
        const PathGlob compiled(glob);
        const bool valid = compiled.isValid();
        const bool matches = compiled.matches(QStringLiteral("themes/dark/app.qss"));
        if (matches && !valid)
            std::abort();
        // A .gitignore line is never refused: whatever it says is matched.
        PathGlob(glob, GlobSyntax::GitIgnore).matches(QStringLiteral("themes/dark/app.qss"));
    }
    return 0;
}
