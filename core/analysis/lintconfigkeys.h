// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "analysis/lintoptions.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QVector>

// The keys of a .prismark-lint.json, each read and applied to the options: which
// checks run and how severe they are, the application's widget classes and properties,
// the toolkit version, its resources and forms, the contrast and the layout it asks for.

// The keys only the top of a file holds, read where files are put together.
inline const QLatin1String kExtendsKey("extends");
inline const QLatin1String kOverridesKey("overrides");

// Applies the keys of one configuration object (a file's, or one of its overrides)
// on top of the options so far; the first problem ends it with a message that names
// the file, the line and the key.
class ConfigKeyReader
{
public:
    // path and text are the configuration file's. An override's keys are named with
    // their prefix ("overrides[1].") and looked for in the text from where the override
    // starts.
    ConfigKeyReader(const QString &path, const QString &text, const QString &keyPrefix = {},
                    int from = 0)
        : path(path)
        , text(text)
        , keyPrefix(keyPrefix)
        , from(from)
    {}

    // Problems that leave the rest usable (a .qrc that cannot be read, a glob of
    // "forms" that matches nothing) are added to warnings, "FILE:LINE: what".
    bool read(const QJsonObject &keys, LintOptions &options, QStringList &warnings);
    // Sets error to "FILE:LINE: \"KEY\": message" and returns false.
    bool fail(const QString &key, const QString &message);
    // The line a key is written on: its first appearance as a quoted name followed by
    // ":" (nested keys are searched after their parent's).
    int lineOf(const QString &key) const;

    QString error;

private:
    using KeyRead = bool (ConfigKeyReader::*)(const QJsonValue &value, LintOptions &options);
    struct Key
    {
        QLatin1String name;
        KeyRead read;
    };
    // Every key an object may hold, in the order the messages list them.
    static const QVector<Key> &keys();
    static QString unknownKeyMessage();

    bool readChecks(const QJsonValue &value, LintOptions &options);
    bool readWidgets(const QJsonValue &value, LintOptions &options);
    bool readProperties(const QJsonValue &value, LintOptions &options);
    bool readQt(const QJsonValue &value, LintOptions &options);
    bool readResources(const QJsonValue &value, LintOptions &options);
    bool readBaseDir(const QJsonValue &value, LintOptions &options);
    bool readContrast(const QJsonValue &value, LintOptions &options);
    bool readFormat(const QJsonValue &value, LintOptions &options);
    bool readTokens(const QJsonValue &value, LintOptions &options);
    bool readForms(const QJsonValue &value, LintOptions &options);
    bool readPalettes(const QJsonValue &value, LintOptions &options);

    QString path;
    QString text;
    QString keyPrefix;
    int from;
    QStringList *warnings = nullptr;
};
