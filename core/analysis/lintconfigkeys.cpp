// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/lintconfigkeys.h"

#include "analysis/applicationforms.h"
#include "analysis/checkregistry.h"
#include "analysis/contrastpalettes.h"
#include "analysis/qrcresources.h"
#include "analysis/qssreference.h"
#include "support/glob.h"
#include "support/safefileread.h"
#include "theme/palettedirectives.h"
#include "tokens/uniformtokens.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>

#include <algorithm>

namespace {
// One entry of "palettes": a scheme's name, or a sheet file relative to base.
bool readContrastPalette(const QString &entry, const QString &base, ContrastPalette *palette,
                         QString *error)
{
    ColorScheme scheme;
    if (colorSchemeFromName(entry, &scheme)) {
        *palette = schemeContrastPalette(scheme);
        return true;
    }
    // A bare word is a misspelt scheme; a file is named with its extension or folder.
    if (!entry.contains(QLatin1Char('.')) && !entry.contains(QLatin1Char('/'))) {
        *error = QStringLiteral("unknown palette \"%1\": the palettes are \"%2\", or a style "
                                "sheet with an @palette header")
                     .arg(entry, colorSchemeNames().join(QLatin1String("\", \"")));
        return false;
    }
    const QString file = QDir::cleanPath(QDir(base).filePath(entry));
    const FileReadResult read = readRegularFile(file, kMaxSheetBytes);
    if (!read.ok) {
        *error = QStringLiteral("cannot read the palette %1: %2").arg(file, read.error);
        return false;
    }
    if (!contrastPaletteFromSheet(entry, QString::fromUtf8(read.bytes), palette)) {
        *error = QStringLiteral("%1 sets no palette: it has no \"%2 Role = #rrggbb\" line")
                     .arg(file, kPaletteKeyword);
        return false;
    }
    return true;
}
} // namespace

const QVector<ConfigKeyReader::Key> &ConfigKeyReader::keys()
{
    static const QVector<Key> all{
        {QLatin1String("checks"), &ConfigKeyReader::readChecks},
        {QLatin1String("widgets"), &ConfigKeyReader::readWidgets},
        {QLatin1String("properties"), &ConfigKeyReader::readProperties},
        {QLatin1String("qt"), &ConfigKeyReader::readQt},
        {QLatin1String("resources"), &ConfigKeyReader::readResources},
        {QLatin1String("base-dir"), &ConfigKeyReader::readBaseDir},
        {QLatin1String("contrast"), &ConfigKeyReader::readContrast},
        {QLatin1String("format"), &ConfigKeyReader::readFormat},
        {QLatin1String("tokens"), &ConfigKeyReader::readTokens},
        {QLatin1String("forms"), &ConfigKeyReader::readForms},
        {QLatin1String("palettes"), &ConfigKeyReader::readPalettes},
    };
    return all;
}

QString ConfigKeyReader::unknownKeyMessage()
{
    QStringList names{kExtendsKey, kOverridesKey};
    for (const Key &key : keys())
        names.append(key.name);
    for (QString &name : names)
        name = QLatin1Char('"') + name + QLatin1Char('"');
    const QString last = names.takeLast();
    return QStringLiteral("unknown key: the keys are %1 and %2")
        .arg(names.join(QLatin1String(", ")), last);
}

bool ConfigKeyReader::read(const QJsonObject &keys, LintOptions &options, QStringList &warnings)
{
    this->warnings = &warnings;
    const QVector<Key> &known = ConfigKeyReader::keys();
    for (auto it = keys.constBegin(); it != keys.constEnd(); ++it) {
        const QString name = it.key();
        const auto key = std::find_if(known.cbegin(), known.cend(),
                                      [&](const Key &entry) { return name == entry.name; });
        bool ok = false;
        if (key != known.cend())
            ok = (this->*key->read)(it.value(), options);
        else if (name == kExtendsKey || name == kOverridesKey)
            fail(name, QStringLiteral("belongs at the top of the file, not in an override"));
        else
            fail(name, unknownKeyMessage());
        if (!ok)
            return false;
    }
    return true;
}

bool ConfigKeyReader::fail(const QString &key, const QString &message)
{
    error = QStringLiteral("%1:%2: \"%3\": %4")
                .arg(path)
                .arg(lineOf(key))
                .arg(keyPrefix + key, message);
    return false;
}

int ConfigKeyReader::lineOf(const QString &key) const
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

bool ConfigKeyReader::readChecks(const QJsonValue &value, LintOptions &options)
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

bool ConfigKeyReader::readWidgets(const QJsonValue &value, LintOptions &options)
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

bool ConfigKeyReader::readProperties(const QJsonValue &value, LintOptions &options)
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

bool ConfigKeyReader::readQt(const QJsonValue &value, LintOptions &options)
{
    static const QRegularExpression version(QStringLiteral("^(5|6)\\.(\\d{1,2})$"));
    const QRegularExpressionMatch match = version.match(value.toString());
    if (!value.isString() || !match.hasMatch())
        return fail(QStringLiteral("qt"),
                    QStringLiteral("must be a toolkit version such as \"5.15\" or \"6.5\""));
    options.qtVersion = match.captured(1).toInt() * 100 + match.captured(2).toInt();
    return true;
}

bool ConfigKeyReader::readResources(const QJsonValue &value, LintOptions &options)
{
    const QJsonArray entries = value.isString() ? QJsonArray{value} : value.toArray();
    if ((!value.isString() && !value.isArray()) ||
        std::any_of(entries.begin(), entries.end(),
                    [](const QJsonValue &v) { return !v.isString(); }))
        return fail(QStringLiteral("resources"),
                    QStringLiteral("must be an array of .qrc files or directories, relative to "
                                   "the configuration file"));
    const QDir base = QFileInfo(path).absoluteDir();
    options.resourcesConfigured = true;
    options.resourcePaths.clear();
    options.missingResourceFiles.clear();
    for (const QJsonValue &entry : entries) {
        const QString where = QStringLiteral("%1:%2: \"resources\": \"%3\"")
                                  .arg(path)
                                  .arg(lineOf(QStringLiteral("resources")))
                                  .arg(entry.toString());
        readResourceEntry(QDir::cleanPath(base.filePath(entry.toString())), where, options,
                          *warnings);
    }
    return true;
}
bool ConfigKeyReader::readForms(const QJsonValue &value, LintOptions &options)
{
    const QJsonArray globs = value.isString() ? QJsonArray{value} : value.toArray();
    if ((!value.isString() && !value.isArray()) ||
        std::any_of(globs.begin(), globs.end(),
                    [](const QJsonValue &v) { return v.toString().isEmpty(); }))
        return fail(QStringLiteral("forms"),
                    QStringLiteral("must be a glob or an array of globs of Designer forms, "
                                   "such as \"ui/**/*.ui\", relative to the configuration file"));
    for (const QJsonValue &glob : globs) {
        const QString problem = PathGlob(glob.toString()).error();
        if (!problem.isEmpty())
            return fail(QStringLiteral("forms"), problem);
    }
    const QDir base = QFileInfo(path).absoluteDir();
    const int line = lineOf(QStringLiteral("forms"));
    QStringList found;
    for (const QJsonValue &glob : globs) {
        const QString where =
            QStringLiteral("%1:%2: \"forms\": \"%3\"").arg(path).arg(line).arg(glob.toString());
        found += findFormFiles(base, glob.toString(), where, *warnings);
    }
    // A list replaces the one it overrides, as "resources" does.
    options.forms.clear();
    options.applicationObjects.reset();
    addApplicationForms(options, found, warnings);
    return true;
}
bool ConfigKeyReader::readBaseDir(const QJsonValue &value, LintOptions &options)
{
    if (!value.isString())
        return fail(QStringLiteral("base-dir"),
                    QStringLiteral("must be a directory, relative to the configuration file"));
    options.urlBase = QDir::cleanPath(QFileInfo(path).absoluteDir().filePath(value.toString()));
    return true;
}

bool ConfigKeyReader::readTokens(const QJsonValue &value, LintOptions &options)
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

bool ConfigKeyReader::readContrast(const QJsonValue &value, LintOptions &options)
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

bool ConfigKeyReader::readFormat(const QJsonValue &value, LintOptions &options)
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

bool ConfigKeyReader::readPalettes(const QJsonValue &value, LintOptions &options)
{
    const QJsonArray entries = value.toArray();
    if (!value.isArray() || entries.isEmpty() ||
        std::any_of(entries.begin(), entries.end(),
                    [](const QJsonValue &v) { return v.toString().isEmpty(); }))
        return fail(QStringLiteral("palettes"),
                    QStringLiteral("must be an array of palettes: \"%1\", or a style sheet "
                                   "with an @palette header, relative to the configuration file")
                        .arg(colorSchemeNames().join(QLatin1String("\", \""))));
    const QString base = QFileInfo(path).absolutePath();
    QVector<ContrastPalette> palettes;
    for (const QJsonValue &entry : entries) {
        const QString name = entry.toString();
        if (std::any_of(palettes.cbegin(), palettes.cend(), [&](const ContrastPalette &known) {
                return known.name.compare(name, Qt::CaseInsensitive) == 0;
            }))
            return fail(QStringLiteral("palettes"),
                        QStringLiteral("\"%1\" is listed twice").arg(name));
        ContrastPalette palette;
        QString problem;
        if (!readContrastPalette(name, base, &palette, &problem))
            return fail(QStringLiteral("palettes"), problem);
        palettes.append(palette);
    }
    options.palettes = palettes;
    return true;
}
