// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/lintconfigloader.h"

#include "analysis/lintconfigkeys.h"
#include "support/glob.h"
#include "support/safefileread.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>

namespace {
constexpr qint64 kMaxConfigBytes = 1024 * 1024;
// More files than a project writes by hand: a chain of "extends" that branches out
// ends here rather than reading the same files over and over.
constexpr int kMaxExtendedFiles = 64;

const QLatin1String kFilesKey("files");

// Where the index-th object of the top-level "overrides" array starts in the text,
// so that the keys of an override are found on their own lines; 0 when not found.
int overrideOffset(const QString &text, int index)
{
    static const QRegularExpression key(QStringLiteral("\"overrides\"\\s*:\\s*\\["));
    const QRegularExpressionMatch match = key.match(text);
    if (!match.hasMatch())
        return 0;
    int depth = 0;
    int seen = 0;
    bool inString = false;
    for (int i = int(match.capturedEnd()); i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inString) {
            if (c == QLatin1Char('\\'))
                ++i;
            else if (c == QLatin1Char('"'))
                inString = false;
        } else if (c == QLatin1Char('"')) {
            inString = true;
        } else if (c == QLatin1Char('{') || c == QLatin1Char('[')) {
            if (depth++ == 0 && c == QLatin1Char('{') && seen++ == index)
                return i;
        } else if (c == QLatin1Char('}') || c == QLatin1Char(']')) {
            if (--depth < 0)
                break;
        }
    }
    return 0;
}

// Reads a configuration file and what it extends, depth first, so that each file's
// own keys land on top of the files it extends.
class ConfigLoader
{
public:
    explicit ConfigLoader(LintConfigResult &result)
        : result(result)
    {}

    // readFailure, when not empty, says where the file was named ("FILE:LINE:
    // \"extends\": \"NAME\"") and replaces the plain message for a file that
    // cannot be read.
    bool load(const QString &path, const QString &readFailure = {});

private:
    bool fail(const QString &message)
    {
        result.error = message;
        return false;
    }
    bool failAt(ConfigKeyReader &reader, const QString &key, const QString &message)
    {
        reader.fail(key, message);
        return fail(reader.error);
    }
    bool parse(const QString &path, const QString &readFailure, QString &text, QJsonObject &object);
    bool loadExtended(const QString &path, ConfigKeyReader &reader, const QJsonValue &value);
    bool readOverrides(const QString &path, const QString &text, const QJsonValue &value);

    LintConfigResult &result;
    // The files being read, outermost first: canonical paths and paths as named.
    QStringList chain;
    QStringList chainNames;
    int filesRead = 0;
};

bool ConfigLoader::parse(const QString &path, const QString &readFailure, QString &text,
                         QJsonObject &object)
{
    const FileReadResult file = readRegularFile(path, kMaxConfigBytes);
    if (!file.ok) {
        return fail(
            readFailure.isEmpty()
                ? QStringLiteral("%1: cannot be read as a configuration: %2").arg(path, file.error)
                : QStringLiteral("%1 cannot be read: %2").arg(readFailure, file.error));
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        const int line = parseError.error == QJsonParseError::NoError
                             ? 1
                             : int(file.bytes.left(parseError.offset).count('\n')) + 1;
        return fail(QStringLiteral("%1:%2: not a JSON object: %3")
                        .arg(path)
                        .arg(line)
                        .arg(parseError.error == QJsonParseError::NoError
                                 ? QStringLiteral("the file holds no object")
                                 : parseError.errorString()));
    }
    text = QString::fromUtf8(file.bytes);
    object = document.object();
    return true;
}

bool ConfigLoader::load(const QString &path, const QString &readFailure)
{
    if (++filesRead > kMaxExtendedFiles)
        return fail(QStringLiteral("%1: \"extends\" reaches more than %2 files")
                        .arg(readFailure.isEmpty() ? path : readFailure)
                        .arg(kMaxExtendedFiles));
    QString text;
    QJsonObject object;
    if (!parse(path, readFailure, text, object))
        return false;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    chain.append(canonical);
    chainNames.append(path);
    ConfigKeyReader reader(path, text);
    if (object.contains(kExtendsKey) && !loadExtended(path, reader, object.value(kExtendsKey)))
        return false;
    const QJsonValue overrides = object.take(kOverridesKey);
    object.remove(kExtendsKey);
    if (!reader.read(object, result.options, result.warnings))
        return fail(reader.error);
    recordSettings(object, path, result);
    if (!overrides.isUndefined() && !readOverrides(path, text, overrides))
        return false;
    chain.removeLast();
    chainNames.removeLast();
    return true;
}

bool ConfigLoader::loadExtended(const QString &path, ConfigKeyReader &reader,
                                const QJsonValue &value)
{
    const QJsonArray names = value.isString() ? QJsonArray{value} : value.toArray();
    if ((!value.isString() && !value.isArray()) ||
        std::any_of(names.begin(), names.end(),
                    [](const QJsonValue &v) { return v.toString().isEmpty(); }))
        return failAt(reader, kExtendsKey,
                      QStringLiteral("must be a configuration file or an "
                                     "array of them, relative to this one"));
    const QDir base = QFileInfo(path).dir();
    const QString where =
        QStringLiteral("%1:%2: \"extends\"").arg(path).arg(reader.lineOf(kExtendsKey));
    for (const QJsonValue &name : names) {
        const QString target = QDir::cleanPath(base.filePath(name.toString()));
        const QString canonical = QFileInfo(target).canonicalFilePath();
        const int repeated = canonical.isEmpty() ? -1 : int(chain.indexOf(canonical));
        if (repeated >= 0) {
            const QStringList cycle = chainNames.mid(repeated) + QStringList{target};
            return fail(
                QStringLiteral("%1: a cycle: %2").arg(where, cycle.join(QLatin1String(" -> "))));
        }
        if (!load(target, QStringLiteral("%1: \"%2\"").arg(where, name.toString())))
            return false;
    }
    return true;
}

bool ConfigLoader::readOverrides(const QString &path, const QString &text, const QJsonValue &value)
{
    ConfigKeyReader top(path, text);
    if (!value.isArray())
        return failAt(top, kOverridesKey,
                      QStringLiteral("must be an array of objects, each with "
                                     "\"files\" and the keys for them"));
    const QJsonArray entries = value.toArray();
    for (int index = 0; index < entries.size(); ++index) {
        const QString prefix = QStringLiteral("overrides[%1].").arg(index);
        ConfigKeyReader reader(path, text, prefix, overrideOffset(text, index));
        QJsonObject keys = entries.at(index).toObject();
        if (!entries.at(index).isObject())
            return failAt(top, kOverridesKey,
                          QStringLiteral("entry %1 is no object with \"files\"").arg(index));
        const QJsonValue files = keys.take(kFilesKey);
        const QJsonArray globs = files.isString() ? QJsonArray{files} : files.toArray();
        if ((!files.isString() && !files.isArray()) || globs.isEmpty() ||
            std::any_of(globs.begin(), globs.end(),
                        [](const QJsonValue &v) { return v.toString().isEmpty(); }))
            return failAt(reader, kFilesKey,
                          QStringLiteral("must be a glob or an array of globs "
                                         "such as \"themes/**/*.qss\""));
        LintConfigOverride entry{path, index, {}, keys};
        for (const QJsonValue &glob : globs) {
            const QString problem = PathGlob(glob.toString()).error();
            if (!problem.isEmpty())
                return failAt(reader, kFilesKey, problem);
            entry.globs.append(glob.toString());
        }
        // Checked now, on what is in force so far, so a broken override is found
        // whichever sheets it matches; applied per sheet by forSheet.
        LintOptions trial = result.options;
        if (!reader.read(keys, trial, result.warnings))
            return fail(reader.error);
        result.overrides.append(entry);
    }
    return true;
}
} // namespace

bool loadLintConfig(const QString &path, LintConfigResult &result)
{
    return ConfigLoader(result).load(path);
}
