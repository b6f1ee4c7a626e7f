// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/lintoptions.h"

#include "analysis/applicationobjects.h"

#include <QDataStream>
#include <QIODevice>
#include <QMap>

namespace {
// A hash's entries in key order, so two equal hashes write the same bytes.
template <typename Value> QMap<QString, Value> ordered(const QHash<QString, Value> &hash)
{
    QMap<QString, Value> map;
    for (auto it = hash.cbegin(); it != hash.cend(); ++it)
        map.insert(it.key(), it.value());
    return map;
}

QStringList ordered(const QSet<QString> &set)
{
    QStringList list(set.cbegin(), set.cend());
    list.sort();
    return list;
}

void write(QDataStream &out, const ApplicationObjects *objects)
{
    out << bool(objects);
    if (!objects)
        return;
    out << objects->forms << qint32(objects->objects.size());
    for (const ApplicationObject &object : objects->objects)
        out << object.name << object.className << qint32(object.kind) << object.form
            << qint32(object.line);
    out << qint32(objects->classes.size());
    for (const ApplicationClass &promoted : objects->classes)
        out << promoted.name << promoted.base << promoted.form << qint32(promoted.line)
            << qint32(promoted.origin) << promoted.metaObject;
}

void write(QDataStream &out, const UniformTokens *tokens)
{
    out << bool(tokens);
    if (!tokens)
        return;
    out << qint32(tokens->size());
    for (const UniformToken &token : *tokens)
        out << token.path << token.colour << token.length << token.unit;
}
} // namespace

QByteArray lintOptionsKey(const LintOptions &options)
{
    QMap<QString, qint32> severities;
    for (auto it = options.severities.cbegin(); it != options.severities.cend(); ++it)
        severities.insert(it.key(), qint32(it.value()));
    QMap<QString, QString> missing;
    for (auto it = options.missingResourceFiles.cbegin(); it != options.missingResourceFiles.cend();
         ++it)
        missing.insert(it.key(), it.value().first + QLatin1Char('\n') + it.value().second);
    QByteArray key;
    QDataStream out(&key, QIODevice::WriteOnly);
    out << options.gallery << options.disabledChecks << options.enabledChecks << severities
        << ordered(options.widgets);
    write(out, options.applicationObjects.get());
    out << options.forms << options.properties << qint32(options.qtVersion)
        << ordered(options.resourcePaths) << missing << options.resourcesConfigured
        << options.urlBase << options.textContrast << options.outlineContrast
        << quint64(quintptr(options.contrastTree.get())) << qint32(options.formatIndent)
        << qint32(options.formatMaxLineLength);
    write(out, options.tokens.get());
    out << options.builtFromTemplate << qint32(options.palettes.size());
    for (const ContrastPalette &palette : options.palettes)
        out << palette.name << palette.palette << palette.fromFile;
    return key;
}
