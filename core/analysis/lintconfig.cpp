// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/lintconfig.h"

#include "analysis/applicationobjects.h"
#include "analysis/checkregistry.h"

#include "analysis/qssreference.h"
#include "support/safefileread.h"
#include "tokens/uniformtokens.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {
constexpr qint64 kMaxConfigBytes = 1024 * 1024;
constexpr qint64 kMaxQrcBytes = 16 * 1024 * 1024;
// A resources directory is searched this deep for .qrc files, links not followed, and
// through no more folders than this: "resources": "/" must not walk the whole disk.
constexpr int kMaxQrcDepth = 8;
constexpr int kMaxQrcFolders = 10000;
// The same bounds for the folders a glob of "forms" is matched in.
constexpr int kMaxFormDepth = 16;
constexpr int kMaxFormFolders = 10000;
// More files than a project writes by hand: a chain of "extends" that branches out
// ends here rather than reading the same files over and over.
constexpr int kMaxExtendedFiles = 64;

const QLatin1String kExtendsKey("extends");
const QLatin1String kOverridesKey("overrides");
const QLatin1String kFilesKey("files");

// Applies the keys of one configuration object (a file's, or one of its overrides)
// on top of the options so far; the first problem ends it with a message that names
// the file, the line and the key.
class ConfigReader
{
public:
    // An override's keys are named with their prefix ("overrides[1].") and looked
    // for in the text from where the override starts.
    ConfigReader(const QString &path, const QString &text, const QString &keyPrefix = {},
                 int from = 0)
        : path(path)
        , text(text)
        , keyPrefix(keyPrefix)
        , from(from)
    {}

    bool read(const QJsonObject &root, LintConfigResult &result);
    bool fail(const QString &key, const QString &message)
    {
        error = QStringLiteral("%1:%2: \"%3\": %4")
                    .arg(path)
                    .arg(lineOf(key))
                    .arg(keyPrefix + key, message);
        return false;
    }
    // The line a key is written on: its first appearance as a quoted name followed by
    // ":" (nested keys are searched after their parent's).
    int lineOf(const QString &key) const;
    QString error;

private:
    bool readChecks(const QJsonValue &value, LintOptions &options);
    bool readWidgets(const QJsonValue &value, LintOptions &options);
    bool readProperties(const QJsonValue &value, LintOptions &options);
    bool readQt(const QJsonValue &value, LintOptions &options);
    bool readResources(const QJsonValue &value, LintConfigResult &result);
    bool readBaseDir(const QJsonValue &value, LintOptions &options);
    bool readContrast(const QJsonValue &value, LintOptions &options);
    bool readFormat(const QJsonValue &value, LintOptions &options);
    bool readTokens(const QJsonValue &value, LintOptions &options);
    bool readForms(const QJsonValue &value, LintConfigResult &result);

    QString path;
    QString text;
    QString keyPrefix;
    int from;
};

int ConfigReader::lineOf(const QString &key) const
{
    int from = this->from;
    for (const QString &part : key.split(QLatin1Char('.'))) {
        const QRegularExpression quoted(
            QStringLiteral("\"%1\"\\s*:").arg(QRegularExpression::escape(part)));
        const QRegularExpressionMatch match = quoted.match(text, from);
        if (!match.hasMatch())
            break;
        from = int(match.capturedStart());
    }
    return int(QStringView(text).left(from).count(QLatin1Char('\n'))) + 1;
}

bool ConfigReader::read(const QJsonObject &root, LintConfigResult &result)
{
    LintOptions &options = result.options;
    for (auto it = root.constBegin(); it != root.constEnd(); ++it) {
        const QString key = it.key();
        bool ok = true;
        if (key == QLatin1String("checks"))
            ok = readChecks(it.value(), options);
        else if (key == QLatin1String("widgets"))
            ok = readWidgets(it.value(), options);
        else if (key == QLatin1String("properties"))
            ok = readProperties(it.value(), options);
        else if (key == QLatin1String("qt"))
            ok = readQt(it.value(), options);
        else if (key == QLatin1String("resources"))
            ok = readResources(it.value(), result);
        else if (key == QLatin1String("base-dir"))
            ok = readBaseDir(it.value(), options);
        else if (key == QLatin1String("contrast"))
            ok = readContrast(it.value(), options);
        else if (key == QLatin1String("format"))
            ok = readFormat(it.value(), options);
        else if (key == QLatin1String("tokens"))
            ok = readTokens(it.value(), options);
        else if (key == QLatin1String("forms"))
            ok = readForms(it.value(), result);
        else if (key == kExtendsKey || key == kOverridesKey)
            ok = fail(key, QStringLiteral("belongs at the top of the file, not in an override"));
        else
            ok = fail(key, QStringLiteral("unknown key: the keys are \"extends\", \"overrides\", "
                                          "\"checks\", \"widgets\", \"properties\", \"qt\", "
                                          "\"resources\", \"base-dir\", \"contrast\", "
                                          "\"format\", \"tokens\" and \"forms\""));
        if (!ok)
            return false;
    }
    return true;
}

bool ConfigReader::readChecks(const QJsonValue &value, LintOptions &options)
{
    if (!value.isObject())
        return fail(QStringLiteral("checks"),
                    QStringLiteral("must be an object of check ids and \"off\", \"note\", "
                                   "\"warning\" or \"error\""));
    const QJsonObject checks = value.toObject();
    const QStringList ids = lintCheckIds();
    for (auto it = checks.constBegin(); it != checks.constEnd(); ++it) {
        const QString key = QStringLiteral("checks.") + it.key();
        if (!ids.contains(it.key()))
            return fail(key, QStringLiteral("unknown check id; the ids are %1")
                                 .arg(ids.join(QLatin1String(", "))));
        const QString setting = it.value().toString();
        // What an extended file or an earlier override said of this check is replaced.
        options.disabledChecks.removeAll(it.key());
        options.enabledChecks.removeAll(it.key());
        options.severities.remove(it.key());
        if (setting == QLatin1String("off")) {
            options.disabledChecks.append(it.key());
        } else if (setting == QLatin1String("note") || setting == QLatin1String("warning") ||
                   setting == QLatin1String("error")) {
            options.enabledChecks.append(it.key());
            options.severities.insert(it.key(),
                                      setting == QLatin1String("note")      ? LintSeverity::Note
                                      : setting == QLatin1String("warning") ? LintSeverity::Warning
                                                                            : LintSeverity::Error);
        } else {
            return fail(key, QStringLiteral("must be \"off\", \"note\", \"warning\" or \"error\""));
        }
    }
    return true;
}

bool ConfigReader::readWidgets(const QJsonValue &value, LintOptions &options)
{
    if (!value.isObject())
        return fail(QStringLiteral("widgets"),
                    QStringLiteral("must be an object of class names and the toolkit class "
                                   "each derives from, as {\"VolumeMeter\": \"QWidget\"}"));
    const QJsonObject widgets = value.toObject();
    for (auto it = widgets.constBegin(); it != widgets.constEnd(); ++it) {
        if (!it.value().isString())
            return fail(QStringLiteral("widgets.") + it.key(),
                        QStringLiteral("must name the class it derives from"));
        options.widgets.insert(it.key(), it.value().toString());
    }
    // Each chain of the application's classes must end in one the toolkit knows.
    for (auto it = options.widgets.cbegin(); it != options.widgets.cend(); ++it) {
        QString base = it.value();
        for (int depth = 0; options.widgets.contains(base) && depth <= options.widgets.size();
             ++depth)
            base = options.widgets.value(base);
        if (!QssReference::isKnownWidget(base))
            return fail(QStringLiteral("widgets.") + it.key(),
                        QStringLiteral("\"%1\" is no toolkit widget class (names are "
                                       "case-sensitive)")
                            .arg(it.value()));
    }
    return true;
}

bool ConfigReader::readProperties(const QJsonValue &value, LintOptions &options)
{
    const QJsonArray names = value.toArray();
    if (!value.isArray() ||
        std::any_of(names.begin(), names.end(), [](const QJsonValue &v) { return !v.isString(); }))
        return fail(QStringLiteral("properties"),
                    QStringLiteral("must be an array of property names"));
    // A list replaces the one it overrides, as a scalar does.
    options.properties.clear();
    for (const QJsonValue &name : names)
        options.properties.append(name.toString());
    return true;
}

bool ConfigReader::readQt(const QJsonValue &value, LintOptions &options)
{
    static const QRegularExpression version(QStringLiteral("^(5|6)\\.(\\d{1,2})$"));
    const QRegularExpressionMatch match = version.match(value.toString());
    if (!value.isString() || !match.hasMatch())
        return fail(QStringLiteral("qt"),
                    QStringLiteral("must be a toolkit version such as \"5.15\" or \"6.5\""));
    options.qtVersion = match.captured(1).toInt() * 100 + match.captured(2).toInt();
    return true;
}

// Adds every resource path one .qrc file declares: its prefix, then the alias or
// the file as written. Names a file that is missing or lies outside the .qrc's
// own directory tree (a link out of it is not followed) as a warning.
void readQrc(const QString &qrcPath, LintOptions &options, QStringList &warnings)
{
    const FileReadResult file = readRegularFile(qrcPath, kMaxQrcBytes);
    if (!file.ok) {
        warnings.append(QStringLiteral("%1: cannot be read (%2)").arg(qrcPath, file.error));
        return;
    }
    const QDir base = QFileInfo(qrcPath).absoluteDir();
    const QString root = base.canonicalPath() + QLatin1Char('/');
    QXmlStreamReader xml(file.bytes);
    QString prefix;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("qresource")) {
            prefix = xml.attributes().value(QLatin1String("prefix")).toString();
        } else if (xml.name() == QLatin1String("file")) {
            const QString alias = xml.attributes().value(QLatin1String("alias")).toString();
            const int line = int(xml.lineNumber());
            const QString name = xml.readElementText().trimmed();
            if (xml.hasError() || name.isEmpty())
                continue;
            // Resource paths as the toolkit forms them: slashes folded, one leading.
            const QString path = QDir::cleanPath(QLatin1Char('/') + prefix + QLatin1Char('/') +
                                                 (alias.isEmpty() ? name : alias));
            const QString canonical = QFileInfo(base.filePath(name)).canonicalFilePath();
            if (canonical.isEmpty()) {
                warnings.append(
                    QStringLiteral("%1:%2: \"%3\" is missing").arg(qrcPath).arg(line).arg(name));
                options.missingResourceFiles.insert(
                    path, qMakePair(QStringLiteral("%1:%2").arg(qrcPath).arg(line), name));
                continue;
            }
            if (!canonical.startsWith(root)) {
                warnings.append(QStringLiteral("%1:%2: \"%3\" lies outside the directory of the "
                                               ".qrc file and is not followed")
                                    .arg(qrcPath)
                                    .arg(line)
                                    .arg(name));
                continue;
            }
            options.resourcePaths.insert(path);
        }
    }
    if (xml.hasError()) {
        warnings.append(QStringLiteral("%1:%2: not a resource collection: %3")
                            .arg(qrcPath)
                            .arg(xml.lineNumber())
                            .arg(xml.errorString()));
    }
}

// The .qrc files in root and its folders, breadth first, each folder's in name order;
// false when the folders ran over the limit (the files found up to there are kept).
bool findQrcFiles(const QString &root, QStringList *found)
{
    QVector<QPair<QString, int>> folders{{root, 0}};
    for (int i = 0; i < folders.size(); ++i) {
        if (i == kMaxQrcFolders)
            return false;
        const QDir folder(folders.at(i).first);
        for (const QFileInfo &file : folder.entryInfoList(
                 {QStringLiteral("*.qrc")}, QDir::Files | QDir::NoSymLinks, QDir::Name))
            found->append(file.filePath());
        if (folders.at(i).second + 1 >= kMaxQrcDepth)
            continue;
        for (const QFileInfo &below : folder.entryInfoList(
                 QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name)) {
            // One past the limit is enough to know it is passed.
            if (folders.size() > kMaxQrcFolders)
                break;
            folders.append({below.filePath(), folders.at(i).second + 1});
        }
    }
    return true;
}

bool ConfigReader::readResources(const QJsonValue &value, LintConfigResult &result)
{
    const QJsonArray entries = value.isString() ? QJsonArray{value} : value.toArray();
    if ((!value.isString() && !value.isArray()) ||
        std::any_of(entries.begin(), entries.end(),
                    [](const QJsonValue &v) { return !v.isString(); }))
        return fail(QStringLiteral("resources"),
                    QStringLiteral("must be an array of .qrc files or directories, relative to "
                                   "the configuration file"));
    const QDir base = QFileInfo(path).absoluteDir();
    result.options.resourcesConfigured = true;
    result.options.resourcePaths.clear();
    result.options.missingResourceFiles.clear();
    for (const QJsonValue &entry : entries) {
        const QString target = QDir::cleanPath(base.filePath(entry.toString()));
        const QFileInfo info(target);
        if (info.isDir()) {
            QStringList found;
            if (!findQrcFiles(target, &found))
                result.warnings.append(
                    QStringLiteral("%1:%2: \"resources\": \"%3\" holds more than %4 folders; "
                                   "the .qrc files of the first %4 are read")
                        .arg(path)
                        .arg(lineOf(QStringLiteral("resources")))
                        .arg(entry.toString())
                        .arg(kMaxQrcFolders));
            for (const QString &qrc : qAsConst(found))
                readQrc(qrc, result.options, result.warnings);
        } else if (info.exists()) {
            readQrc(target, result.options, result.warnings);
        } else {
            result.warnings.append(QStringLiteral("%1:%2: \"resources\": \"%3\" does not exist")
                                       .arg(path)
                                       .arg(lineOf(QStringLiteral("resources")))
                                       .arg(entry.toString()));
        }
    }
    return true;
}

// The files under base whose path relative to it matches glob, in path order; false
// when the folders ran over the limit (the files found up to there are kept). The
// walk starts at the glob's leading folders that hold no pattern.
bool findFormFiles(const QDir &base, const QString &glob, QStringList *found)
{
    QStringList segments = glob.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString start;
    while (segments.size() > 1 &&
           !segments.first().contains(QRegularExpression(QStringLiteral("[*?\\[{]")))) {
        start += segments.takeFirst() + QLatin1Char('/');
    }
    // Without "**" a glob with folders reaches only as deep as it has them.
    const int depth = glob.contains(QLatin1String("**")) || !glob.contains(QLatin1Char('/'))
                          ? kMaxFormDepth
                          : int(segments.size()) - 1;
    QVector<QPair<QString, int>> folders{{QDir::cleanPath(base.filePath(start)), 0}};
    for (int i = 0; i < folders.size(); ++i) {
        if (i == kMaxFormFolders)
            return false;
        const QDir folder(folders.at(i).first);
        for (const QFileInfo &file :
             folder.entryInfoList(QDir::Files | QDir::NoSymLinks, QDir::Name)) {
            if (!lintGlobMatches(glob, base.relativeFilePath(file.absoluteFilePath())))
                continue;
            // Named as a user would name it from here, when it lies below.
            const QString relative = QDir::current().relativeFilePath(file.absoluteFilePath());
            found->append(relative.startsWith(QLatin1String("../")) ? file.absoluteFilePath()
                                                                    : relative);
        }
        if (folders.at(i).second >= depth)
            continue;
        for (const QFileInfo &below : folder.entryInfoList(
                 QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name)) {
            if (folders.size() > kMaxFormFolders)
                break;
            folders.append({below.filePath(), folders.at(i).second + 1});
        }
    }
    return true;
}

bool ConfigReader::readForms(const QJsonValue &value, LintConfigResult &result)
{
    const QJsonArray globs = value.isString() ? QJsonArray{value} : value.toArray();
    if ((!value.isString() && !value.isArray()) ||
        std::any_of(globs.begin(), globs.end(),
                    [](const QJsonValue &v) { return v.toString().isEmpty(); }))
        return fail(QStringLiteral("forms"),
                    QStringLiteral("must be a glob or an array of globs of Designer forms, "
                                   "such as \"ui/**/*.ui\", relative to the configuration file"));
    for (const QJsonValue &glob : globs) {
        const QString problem = lintGlobError(glob.toString());
        if (!problem.isEmpty())
            return fail(QStringLiteral("forms"), problem);
    }
    const QDir base = QFileInfo(path).absoluteDir();
    const int line = lineOf(QStringLiteral("forms"));
    QStringList found;
    for (const QJsonValue &glob : globs) {
        QStringList matched;
        if (!findFormFiles(base, glob.toString(), &matched))
            result.warnings.append(QStringLiteral("%1:%2: \"forms\": \"%3\" reaches more than %4 "
                                                  "folders; the forms of the first %4 are read")
                                       .arg(path)
                                       .arg(line)
                                       .arg(glob.toString())
                                       .arg(kMaxFormFolders));
        if (matched.isEmpty())
            result.warnings.append(QStringLiteral("%1:%2: \"forms\": \"%3\" matches no file")
                                       .arg(path)
                                       .arg(line)
                                       .arg(glob.toString()));
        found += matched;
    }
    // A list replaces the one it overrides, as "resources" does.
    result.options.forms.clear();
    result.options.applicationObjects.reset();
    addApplicationForms(result.options, found, &result.warnings);
    return true;
}

bool ConfigReader::readBaseDir(const QJsonValue &value, LintOptions &options)
{
    if (!value.isString())
        return fail(QStringLiteral("base-dir"),
                    QStringLiteral("must be a directory, relative to the configuration file"));
    options.urlBase = QDir::cleanPath(QFileInfo(path).absoluteDir().filePath(value.toString()));
    return true;
}

bool ConfigReader::readTokens(const QJsonValue &value, LintOptions &options)
{
    if (!value.isString() || value.toString().isEmpty())
        return fail(QStringLiteral("tokens"),
                    QStringLiteral("must be a token file or a template, relative to the "
                                   "configuration file"));
    const QString file = QDir::cleanPath(QFileInfo(path).absoluteDir().filePath(value.toString()));
    UniformTokens tokens;
    QString error;
    if (!readUniformTokens(file, &tokens, &error))
        return fail(QStringLiteral("tokens"), error);
    options.tokens = std::make_shared<const UniformTokens>(tokens);
    return true;
}

bool ConfigReader::readContrast(const QJsonValue &value, LintOptions &options)
{
    if (!value.isObject())
        return fail(QStringLiteral("contrast"),
                    QStringLiteral("must be an object with \"text\" and \"outline\" ratios"));
    const QJsonObject contrast = value.toObject();
    for (auto it = contrast.constBegin(); it != contrast.constEnd(); ++it) {
        const QString key = QStringLiteral("contrast.") + it.key();
        double *target = it.key() == QLatin1String("text")      ? &options.textContrast
                         : it.key() == QLatin1String("outline") ? &options.outlineContrast
                                                                : nullptr;
        if (!target)
            return fail(key, QStringLiteral("unknown key: the keys are \"text\" and \"outline\""));
        if (!it.value().isDouble() || it.value().toDouble() < 1.0 || it.value().toDouble() > 21.0)
            return fail(key, QStringLiteral("must be a contrast ratio from 1 to 21"));
        *target = it.value().toDouble();
    }
    return true;
}
bool ConfigReader::readFormat(const QJsonValue &value, LintOptions &options)
{
    if (!value.isObject())
        return fail(QStringLiteral("format"),
                    QStringLiteral("must be an object with \"indent\" and \"max-line-length\""));
    const QJsonObject format = value.toObject();
    for (auto it = format.constBegin(); it != format.constEnd(); ++it) {
        const QString key = QStringLiteral("format.") + it.key();
        const bool indent = it.key() == QLatin1String("indent");
        if (!indent && it.key() != QLatin1String("max-line-length"))
            return fail(key, QStringLiteral("unknown key: the keys are \"indent\" and "
                                            "\"max-line-length\""));
        const double number = it.value().toDouble(-1);
        const int low = indent ? 0 : 20;
        const int high = indent ? 16 : 1000;
        if (!it.value().isDouble() || number != int(number) || number < low || number > high)
            return fail(key,
                        QStringLiteral("must be a whole number from %1 to %2").arg(low).arg(high));
        (indent ? options.formatIndent : options.formatMaxLineLength) = int(number);
    }
    return true;
}

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

// The keys whose objects merge name by name when a later file or override sets
// them again; every other value replaces the earlier one whole.
bool mergesByName(const QString &key)
{
    return key == QLatin1String("checks") || key == QLatin1String("widgets") ||
           key == QLatin1String("contrast") || key == QLatin1String("format");
}

// Notes each value of an applied object as in force, and where it came from.
void recordSettings(const QJsonObject &keys, const QString &origin, LintConfigResult &result)
{
    for (auto it = keys.constBegin(); it != keys.constEnd(); ++it) {
        if (!mergesByName(it.key())) {
            result.settings.insert(it.key(), {it.value(), origin});
            continue;
        }
        const QJsonObject named = it.value().toObject();
        for (auto name = named.constBegin(); name != named.constEnd(); ++name)
            result.settings.insert(it.key() + QLatin1Char('.') + name.key(),
                                   {name.value(), origin});
    }
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
    bool failAt(ConfigReader &reader, const QString &key, const QString &message)
    {
        reader.fail(key, message);
        return fail(reader.error);
    }
    bool parse(const QString &path, const QString &readFailure, QString &text, QJsonObject &object);
    bool loadExtended(const QString &path, ConfigReader &reader, const QJsonValue &value);
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
    ConfigReader reader(path, text);
    if (object.contains(kExtendsKey) && !loadExtended(path, reader, object.value(kExtendsKey)))
        return false;
    const QJsonValue overrides = object.take(kOverridesKey);
    object.remove(kExtendsKey);
    if (!reader.read(object, result))
        return fail(reader.error);
    recordSettings(object, path, result);
    if (!overrides.isUndefined() && !readOverrides(path, text, overrides))
        return false;
    chain.removeLast();
    chainNames.removeLast();
    return true;
}

bool ConfigLoader::loadExtended(const QString &path, ConfigReader &reader, const QJsonValue &value)
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
    ConfigReader top(path, text);
    if (!value.isArray())
        return failAt(top, kOverridesKey,
                      QStringLiteral("must be an array of objects, each with "
                                     "\"files\" and the keys for them"));
    const QJsonArray entries = value.toArray();
    for (int index = 0; index < entries.size(); ++index) {
        const QString prefix = QStringLiteral("overrides[%1].").arg(index);
        ConfigReader reader(path, text, prefix, overrideOffset(text, index));
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
            const QString problem = lintGlobError(glob.toString());
            if (!problem.isEmpty())
                return failAt(reader, kFilesKey, problem);
            entry.globs.append(glob.toString());
        }
        // Checked now, on what is in force so far, so a broken override is found
        // whichever sheets it matches; applied per sheet by forSheet.
        LintConfigResult trial = result;
        if (!reader.read(keys, trial))
            return fail(reader.error);
        result.warnings = trial.warnings;
        result.overrides.append(entry);
    }
    return true;
}

// A glob as a regular expression, or "" with problem set.
QString globPattern(const QString &glob, QString *problem)
{
    QString pattern;
    int braces = 0;
    for (int i = 0; i < glob.size(); ++i) {
        const QChar c = glob.at(i);
        if (c == QLatin1Char('*') && glob.mid(i, 2) == QLatin1String("**")) {
            const bool wholeSegment = i == 0 || glob.at(i - 1) == QLatin1Char('/');
            ++i;
            if (wholeSegment && glob.mid(i + 1, 1) == QLatin1String("/")) {
                pattern += QLatin1String("(?:[^/]*/)*");
                ++i;
            } else {
                pattern += QLatin1String(".*");
            }
        } else if (c == QLatin1Char('*')) {
            pattern += QLatin1String("[^/]*");
        } else if (c == QLatin1Char('?')) {
            pattern += QLatin1String("[^/]");
        } else if (c == QLatin1Char('[')) {
            // "]" right after the opening bracket (or "[!") is a member, as in a shell.
            int close = i + 1 + (glob.mid(i + 1, 1) == QLatin1String("!"));
            close = int(glob.indexOf(QLatin1Char(']'), close + 1));
            if (close < 0) {
                *problem = QStringLiteral("\"[\" is never closed in \"%1\"").arg(glob);
                return QString();
            }
            QStringView members = QStringView(glob).mid(i + 1, close - i - 1);
            QString set = QStringLiteral("[");
            if (members.startsWith(QLatin1Char('!'))) {
                set += QLatin1String("^/");
                members = members.mid(1);
            }
            for (const QChar member : members)
                set += member == QLatin1Char('-')
                           ? QStringLiteral("-")
                           : QStringLiteral("\\x{%1}").arg(uint(member.unicode()), 0, 16);
            pattern += set + QLatin1Char(']');
            i = close;
        } else if (c == QLatin1Char('{')) {
            ++braces;
            pattern += QLatin1String("(?:");
        } else if (c == QLatin1Char(',') && braces > 0) {
            pattern += QLatin1Char('|');
        } else if (c == QLatin1Char('}') && braces > 0) {
            --braces;
            pattern += QLatin1Char(')');
        } else {
            pattern += QRegularExpression::escape(QString(c));
        }
    }
    if (braces > 0) {
        *problem = QStringLiteral("\"{\" is never closed in \"%1\"").arg(glob);
        return QString();
    }
    return QStringLiteral("\\A(?:%1)\\z").arg(pattern);
}

QRegularExpression globExpression(const QString &glob, QString *problem)
{
    const QRegularExpression expression(globPattern(glob, problem));
    if (problem->isEmpty() && !expression.isValid())
        *problem = QStringLiteral("\"%1\" is no glob: %2").arg(glob, expression.errorString());
    return expression;
}
} // namespace

QString lintGlobError(const QString &glob)
{
    QString problem;
    globExpression(glob, &problem);
    return problem;
}

bool lintGlobMatches(const QString &glob, const QString &relativePath)
{
    // "./a.qss" is anchored as "dir/a.qss" is, even without a "/" once stripped.
    const bool byName = !glob.contains(QLatin1Char('/'));
    QString pattern = glob;
    while (pattern.startsWith(QLatin1String("./")))
        pattern.remove(0, 2);
    if (pattern.startsWith(QLatin1Char('/')))
        pattern.remove(0, 1);
    QString problem;
    const QRegularExpression expression = globExpression(pattern, &problem);
    if (!problem.isEmpty())
        return false;
    const QString subject =
        byName ? relativePath.mid(relativePath.lastIndexOf(QLatin1Char('/')) + 1) : relativePath;
    return expression.match(subject).hasMatch();
}

LintConfigResult LintConfigResult::forSheet(const QString &sheetPath) const
{
    LintConfigResult result = *this;
    if (!ok || sheetPath.isEmpty() || sheetPath == QLatin1String("-"))
        return result;
    const QString sheet = QFileInfo(sheetPath).absoluteFilePath();
    for (const LintConfigOverride &entry : overrides) {
        const QString relative = QFileInfo(entry.file).absoluteDir().relativeFilePath(sheet);
        if (relative.startsWith(QLatin1String("../")) || QFileInfo(relative).isAbsolute() ||
            std::none_of(entry.globs.cbegin(), entry.globs.cend(),
                         [&](const QString &glob) { return lintGlobMatches(glob, relative); }))
            continue;
        // Checked when read; the warnings it gave then are not repeated.
        const QStringList warnings = result.warnings;
        ConfigReader(entry.file, QString()).read(entry.keys, result);
        result.warnings = warnings;
        recordSettings(entry.keys,
                       QStringLiteral("%1 overrides[%2]").arg(entry.file).arg(entry.index), result);
    }
    return result;
}

QString findLintConfig(const QString &sheetPath)
{
    const bool named = !sheetPath.isEmpty() && sheetPath != QLatin1String("-");
    // By name, so that a sheet not written yet (--print-config) finds it too.
    QString directory =
        QDir::cleanPath(named ? QFileInfo(sheetPath).absolutePath() : QDir::currentPath());
    for (;;) {
        const QString candidate = QDir(directory).filePath(kLintConfigFileName);
        if (QFileInfo::exists(candidate))
            return candidate;
        const QString parent = QFileInfo(directory).path();
        if (parent == directory)
            return QString();
        directory = parent;
    }
}

void addApplicationForms(LintOptions &options, const QStringList &formPaths, QStringList *warnings)
{
    QSet<QString> known;
    for (const QString &form : qAsConst(options.forms))
        known.insert(QFileInfo(form).absoluteFilePath());
    QStringList added;
    for (const QString &form : formPaths) {
        if (!known.contains(QFileInfo(form).absoluteFilePath())) {
            known.insert(QFileInfo(form).absoluteFilePath());
            added.append(form);
        }
    }
    if (added.isEmpty())
        return;
    options.forms += added;
    const auto more = readApplicationForms(added, warnings);
    if (!more)
        return;
    auto merged = std::make_shared<ApplicationObjects>();
    if (options.applicationObjects)
        merged->append(*options.applicationObjects);
    merged->append(*more);
    options.applicationObjects = merged;
}

LintConfigResult readLintConfig(const QString &configPath)
{
    LintConfigResult result;
    result.file = configPath;
    if (!ConfigLoader(result).load(configPath)) {
        const QString error = result.error;
        result = LintConfigResult();
        result.file = configPath;
        result.ok = false;
        result.error = error;
    }
    return result;
}

LintConfigResult lintConfigForSheet(const QString &sheetPath, const QString &configPath)
{
    const QString file = configPath.isEmpty() ? findLintConfig(sheetPath) : configPath;
    return file.isEmpty() ? LintConfigResult() : readLintConfig(file).forSheet(sheetPath);
}
