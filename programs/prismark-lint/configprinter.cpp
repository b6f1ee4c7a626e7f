// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-lint/configprinter.h"

#include "analysis/checkregistry.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {
const QLatin1String kDefault("default");

// A value as compact JSON, also a bare string or number.
QString jsonText(const QJsonValue &value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// Lines of one object, the last without its comma.
class ObjectWriter
{
public:
    explicit ObjectWriter(int depth)
        : indent(depth * 2, QLatin1Char(' '))
    {}

    void add(const QString &name, const QString &value, const QString &origin)
    {
        lines.append({indent + jsonText(name) + QStringLiteral(": ") + value,
                      QStringLiteral("  // ") + (origin.isEmpty() ? QString(kDefault) : origin)});
    }
    // An object whose values say where each came from.
    void addObject(const QString &name, const ObjectWriter &members)
    {
        lines.append({indent + jsonText(name) + QStringLiteral(": ") +
                          (members.isEmpty() ? QStringLiteral("{}")
                                             : QStringLiteral("{\n") + members.text() + indent +
                                                   QLatin1Char('}')),
                      members.isEmpty() ? QStringLiteral("  // ") + kDefault : QString()});
    }
    QString text() const
    {
        QString text;
        for (int i = 0; i < lines.size(); ++i)
            text += lines.at(i).first + (i + 1 < lines.size() ? QStringLiteral(",") : QString()) +
                    lines.at(i).second + QLatin1Char('\n');
        return text;
    }
    bool isEmpty() const { return lines.isEmpty(); }

private:
    QString indent;
    QVector<QPair<QString, QString>> lines;
};

// A check's severity as the run applies it, and what decided it: the options win
// over the configuration, --disable over --enable.
QString checkSetting(const LintCheck &check, const LintConfigResult &config,
                     const LintOptions &options, const CommandLineChecks &commandLine,
                     QString *origin)
{
    const QString id = QLatin1String(check.id);
    const LintConfigSetting setting = config.settings.value(QStringLiteral("checks.") + id);
    const bool runs = lintCheckRuns(check, options);
    const bool configuredOff = setting.value.toString() == QLatin1String("off");
    if (commandLine.disabled.contains(id))
        *origin = QStringLiteral("--disable");
    else if (commandLine.enabled.contains(id) && (setting.origin.isEmpty() || configuredOff))
        *origin = QStringLiteral("--enable");
    else if (commandLine.gallery && runs && !check.onByDefault && setting.origin.isEmpty())
        *origin = QStringLiteral("--gallery");
    else
        *origin = setting.origin;
    return jsonText(runs ? lintSeverityName(options.severities.value(id, check.severity))
                         : QStringLiteral("off"));
}

// The settings of a key whose object merges name by name, in name order.
void addNamed(ObjectWriter &writer, const LintConfigResult &config, const QString &key)
{
    const QString prefix = key + QLatin1Char('.');
    for (auto it = config.settings.lowerBound(prefix);
         it != config.settings.cend() && it.key().startsWith(prefix); ++it)
        writer.add(it.key().mid(prefix.size()), jsonText(it->value), it->origin);
}

// A value the configuration sets, or the default.
void addSetting(ObjectWriter &writer, const LintConfigResult &config, const QString &name,
                const QString &key, const QJsonValue &fallback)
{
    const LintConfigSetting setting = config.settings.value(key);
    writer.add(name, jsonText(setting.origin.isEmpty() ? fallback : setting.value), setting.origin);
}
} // namespace

QString configurationText(const LintConfigResult &config, const LintOptions &options,
                          const QString &sheet, const CommandLineChecks &commandLine)
{
    const LintOptions defaults;
    ObjectWriter top(1);

    ObjectWriter checks(2);
    for (const LintCheck &check : lintChecks()) {
        QString origin;
        const QString value = checkSetting(check, config, options, commandLine, &origin);
        checks.add(QLatin1String(check.id), value, origin);
    }
    top.addObject(QStringLiteral("checks"), checks);

    ObjectWriter widgets(2);
    addNamed(widgets, config, QStringLiteral("widgets"));
    top.addObject(QStringLiteral("widgets"), widgets);
    const QString builtFor = QStringLiteral("%1.%2").arg(QT_VERSION_MAJOR).arg(QT_VERSION_MINOR);
    for (const auto &[key, fallback] :
         {qMakePair(QStringLiteral("properties"), QJsonValue(QJsonArray())),
          qMakePair(QStringLiteral("qt"), QJsonValue(builtFor)),
          qMakePair(QStringLiteral("resources"), QJsonValue(QJsonArray())),
          qMakePair(QStringLiteral("forms"), QJsonValue(QJsonArray())),
          qMakePair(QStringLiteral("base-dir"), QJsonValue(QStringLiteral("."))),
          qMakePair(QStringLiteral("tokens"), QJsonValue(QJsonValue::Null))})
        addSetting(top, config, key, key, fallback);

    ObjectWriter contrast(2);
    addSetting(contrast, config, QStringLiteral("text"), QStringLiteral("contrast.text"),
               defaults.textContrast);
    addSetting(contrast, config, QStringLiteral("outline"), QStringLiteral("contrast.outline"),
               defaults.outlineContrast);
    top.addObject(QStringLiteral("contrast"), contrast);
    QJsonArray palettes;
    for (const ContrastPalette &palette : defaults.palettes)
        palettes.append(palette.name);
    addSetting(top, config, QStringLiteral("palettes"), QStringLiteral("palettes"), palettes);
    ObjectWriter format(2);
    addSetting(format, config, QStringLiteral("indent"), QStringLiteral("format.indent"),
               defaults.formatIndent);
    addSetting(format, config, QStringLiteral("max-line-length"),
               QStringLiteral("format.max-line-length"), defaults.formatMaxLineLength);
    top.addObject(QStringLiteral("format"), format);

    const QString source = config.file.isEmpty()
                               ? QStringLiteral("no %1 applies").arg(kLintConfigFileName)
                               : config.file;
    return QStringLiteral("// the configuration in force for %1: %2\n{\n").arg(sheet, source) +
           top.text() + QStringLiteral("}\n");
}
