// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/lintconfig.h"

#include "analysis/checkregistry.h"

#include "analysis/qssreference.h"
#include "support/safefileread.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {
constexpr qint64 kMaxConfigBytes = 1024 * 1024;
constexpr qint64 kMaxQrcBytes = 16 * 1024 * 1024;
// A resources directory is searched this deep for .qrc files, links not followed.
constexpr int kMaxQrcDepth = 8;

// Reads one configuration; the first problem ends it with a message that names the
// file, the line and the key.
class ConfigReader
{
public:
    ConfigReader(const QString &path, const QByteArray &bytes)
        : path(path)
        , text(QString::fromUtf8(bytes))
    {}

    bool read(const QJsonObject &root, LintConfigResult &result);
    QString error;

private:
    bool fail(const QString &key, const QString &message)
    {
        error = QStringLiteral("%1:%2: \"%3\": %4").arg(path).arg(lineOf(key)).arg(key, message);
        return false;
    }
    // The line a key is written on: its first appearance as a quoted name followed by
    // ":" (nested keys are searched after their parent's).
    int lineOf(const QString &key) const;
    bool readChecks(const QJsonValue &value, LintOptions &options);
    bool readWidgets(const QJsonValue &value, LintOptions &options);
    bool readProperties(const QJsonValue &value, LintOptions &options);
    bool readQt(const QJsonValue &value, LintOptions &options);
    bool readResources(const QJsonValue &value, LintConfigResult &result);
    bool readBaseDir(const QJsonValue &value, LintOptions &options);
    bool readContrast(const QJsonValue &value, LintOptions &options);
    bool readFormat(const QJsonValue &value, LintOptions &options);

    QString path;
    QString text;
};

int ConfigReader::lineOf(const QString &key) const
{
    int from = 0;
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
        else
            ok = fail(key, QStringLiteral("unknown key: the keys are \"checks\", \"widgets\", "
                                          "\"properties\", \"qt\", \"resources\", \"base-dir\", "
                                          "\"contrast\" and \"format\""));
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
    for (const QJsonValue &entry : entries) {
        const QString target = QDir::cleanPath(base.filePath(entry.toString()));
        const QFileInfo info(target);
        if (info.isDir()) {
            QDirIterator it(target, {QStringLiteral("*.qrc")}, QDir::Files | QDir::NoSymLinks,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString qrc = it.next();
                if (QDir(target).relativeFilePath(qrc).count(QLatin1Char('/')) < kMaxQrcDepth)
                    readQrc(qrc, result.options, result.warnings);
            }
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

bool ConfigReader::readBaseDir(const QJsonValue &value, LintOptions &options)
{
    if (!value.isString())
        return fail(QStringLiteral("base-dir"),
                    QStringLiteral("must be a directory, relative to the configuration file"));
    options.urlBase = QDir::cleanPath(QFileInfo(path).absoluteDir().filePath(value.toString()));
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
} // namespace

QString findLintConfig(const QString &sheetPath)
{
    const bool named = !sheetPath.isEmpty() && sheetPath != QLatin1String("-");
    QDir directory(named ? QFileInfo(sheetPath).absolutePath() : QDir::currentPath());
    for (;;) {
        const QString candidate = directory.filePath(kLintConfigFileName);
        if (QFileInfo::exists(candidate))
            return candidate;
        if (!directory.cdUp())
            return QString();
    }
}

LintConfigResult readLintConfig(const QString &configPath)
{
    LintConfigResult result;
    result.file = configPath;
    const FileReadResult file = readRegularFile(configPath, kMaxConfigBytes);
    if (!file.ok) {
        result.ok = false;
        result.error =
            QStringLiteral("%1: cannot be read as a configuration: %2").arg(configPath, file.error);
        return result;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        const int line = parseError.error == QJsonParseError::NoError
                             ? 1
                             : int(file.bytes.left(parseError.offset).count('\n')) + 1;
        result.ok = false;
        result.error = QStringLiteral("%1:%2: not a JSON object: %3")
                           .arg(configPath)
                           .arg(line)
                           .arg(parseError.error == QJsonParseError::NoError
                                    ? QStringLiteral("the file holds no object")
                                    : parseError.errorString());
        return result;
    }
    ConfigReader reader(configPath, file.bytes);
    if (!reader.read(document.object(), result)) {
        result.ok = false;
        result.error = reader.error;
        result.options = LintOptions();
        result.warnings.clear();
    }
    return result;
}

LintConfigResult lintConfigForSheet(const QString &sheetPath)
{
    const QString file = findLintConfig(sheetPath);
    return file.isEmpty() ? LintConfigResult() : readLintConfig(file);
}
