// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tokens/designtokens.h"

#include "tokens/tokenliterals.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

SourcePosition positionOf(const JsonNode &node, const QString &file)
{
    return {file, node.line, node.column};
}

void addError(SourceErrors *errors, const SourcePosition &where, const QString &message)
{
    if (errors)
        errors->append({where, message});
}

// "{group.token}" as a whole value.
bool aliasTarget(const JsonNode &value, QString *target)
{
    if (value.kind != JsonNode::String)
        return false;
    const QString &s = value.string;
    if (s.size() < 3 || !s.startsWith(QLatin1Char('{')) || !s.endsWith(QLatin1Char('}')) ||
        s.mid(1, s.size() - 2).contains(QLatin1Char('{')) ||
        s.mid(1, s.size() - 2).contains(QLatin1Char('}')))
        return false;
    *target = s.mid(1, s.size() - 2).trimmed();
    return true;
}

// Levenshtein distance, or limit once it is certain to reach it: a name far from
// every token costs little however long it is.
int editDistance(const QString &a, const QString &b, int limit)
{
    if (std::abs(int(a.size()) - int(b.size())) >= limit)
        return limit;
    std::vector<int> row(b.size() + 1);
    for (int j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (int i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = i;
        int smallest = row[0];
        for (int j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min(
                {row[j] + 1, row[j - 1] + 1, diagonal + (a.at(i - 1) == b.at(j - 1) ? 0 : 1)});
            diagonal = above;
            smallest = std::min(smallest, row[j]);
        }
        if (smallest >= limit)
            return limit;
    }
    return std::min(int(row[b.size()]), limit);
}

} // namespace

void DesignTokens::addDocument(const QString &text, const QString &fileName, SourceErrors *errors)
{
    const JsonReadResult json = readJson(text);
    if (!json.ok) {
        addError(errors, {fileName, json.line, json.column}, json.error);
        return;
    }
    if (json.root.kind != JsonNode::Object) {
        addError(errors, positionOf(json.root, fileName),
                 QStringLiteral("a token file holds one JSON object"));
        return;
    }
    // New values only: what the merged tokens resolve to is worked out again.
    resolved.clear();
    failed.clear();
    closestNames.clear();
    readGroup(json.root, QString(), fileName, errors);
}

void DesignTokens::readGroup(const JsonNode &group, const QString &path, const QString &fileName,
                             SourceErrors *errors)
{
    if (!path.isEmpty())
        groups.insert(path);
    if (const JsonNode *type = group.member(QStringLiteral("$type"))) {
        if (type->kind == JsonNode::String)
            groupTypes.insert(path, type->string);
        else
            addError(errors, positionOf(*type, fileName), QStringLiteral("\"$type\" is a string"));
    }
    for (const JsonMember &member : group.members) {
        if (member.key.startsWith(QLatin1Char('$')))
            continue;
        const SourcePosition keyWhere{fileName, member.line, member.column};
        if (member.key.contains(QLatin1Char('.')) || member.key.contains(QLatin1Char('{')) ||
            member.key.contains(QLatin1Char('}')) || member.key.isEmpty()) {
            addError(errors, keyWhere,
                     QStringLiteral("\"%1\": a token or group name cannot hold '.', '{' or '}'")
                         .arg(member.key));
            continue;
        }
        const QString childPath =
            path.isEmpty() ? member.key : path + QLatin1Char('.') + member.key;
        if (member.value.kind != JsonNode::Object) {
            addError(
                errors, positionOf(member.value, fileName),
                QStringLiteral("\"%1\" is neither a token (an object with \"$value\") nor a group")
                    .arg(childPath));
            continue;
        }
        const JsonNode *value = member.value.member(QStringLiteral("$value"));
        if (!value) {
            readGroup(member.value, childPath, fileName, errors);
            continue;
        }
        Definition definition;
        definition.path = childPath;
        definition.value = *value;
        definition.where = positionOf(*value, fileName);
        if (const JsonNode *type = member.value.member(QStringLiteral("$type"))) {
            if (type->kind == JsonNode::String)
                definition.type = type->string;
            else
                addError(errors, positionOf(*type, fileName),
                         QStringLiteral("\"$type\" is a string"));
        }
        definitions.insert(childPath, definition);
    }
}

QString DesignTokens::effectiveType(const Definition &definition) const
{
    if (!definition.type.isEmpty())
        return definition.type;
    QString path = definition.path;
    while (true) {
        const int dot = path.lastIndexOf(QLatin1Char('.'));
        path = dot < 0 ? QString() : path.left(dot);
        const auto found = groupTypes.constFind(path);
        if (found != groupTypes.constEnd())
            return *found;
        if (path.isEmpty())
            return QString();
    }
}

void DesignTokens::resolve(SourceErrors *errors)
{
    for (auto it = definitions.constBegin(); it != definitions.constEnd(); ++it) {
        QStringList chain;
        resolveToken(it.key(), chain, errors);
    }
}

const TokenValue *DesignTokens::resolveToken(const QString &path, QStringList &chain,
                                             SourceErrors *errors)
{
    const auto done = resolved.constFind(path);
    if (done != resolved.constEnd())
        return &*done;
    if (failed.contains(path))
        return nullptr;
    // Deep enough for any real chain, and the recursion stays far from the stack's end.
    if (chain.size() > 256) {
        addError(errors, definitions.value(path).where,
                 QStringLiteral("alias chain longer than 256 tokens"));
        failed.insert(path);
        return nullptr;
    }
    const int loop = chain.indexOf(path);
    if (loop >= 0) {
        const QStringList cycle = chain.mid(loop) << path;
        // At the alias that closes the loop: usually the override just written.
        addError(errors, definitions.value(chain.last()).where,
                 QStringLiteral("alias cycle: %1").arg(cycle.join(QLatin1String(" -> "))));
        for (const QString &member : cycle)
            failed.insert(member);
        return nullptr;
    }
    const Definition definition = definitions.value(path);
    const QString type = effectiveType(definition);
    QString target;
    TokenValue value;
    if (aliasTarget(definition.value, &target)) {
        if (!definitions.contains(target)) {
            failed.insert(path);
            if (groups.contains(target)) {
                addError(errors, definition.where,
                         QStringLiteral("{%1} is a group, not a token; an alias names one token")
                             .arg(target));
            } else {
                const QString closest = closestName(target);
                addError(errors, definition.where,
                         closest.isEmpty()
                             ? QStringLiteral("unknown token {%1}").arg(target)
                             : QStringLiteral("unknown token {%1}; did you mean {%2}?")
                                   .arg(target, closest));
            }
            return nullptr;
        }
        chain << path;
        const TokenValue *aliased = resolveToken(target, chain, errors);
        chain.removeLast();
        if (!aliased) {
            failed.insert(path);
            return nullptr;
        }
        if (!type.isEmpty() && aliased->type != type) {
            failed.insert(path);
            addError(errors, definition.where,
                     QStringLiteral("{%1} is a %2, but this token's type is %3")
                         .arg(target, aliased->type, type));
            return nullptr;
        }
        value = *aliased;
    } else {
        const QString readType = type.isEmpty() ? typeFromForm(definition.value) : type;
        QString error;
        if (readType.isEmpty()) {
            error = QStringLiteral("\"%1\" has no \"$type\", and its value does not show one")
                        .arg(path);
        } else if (readLiteral(readType, definition.value, &value, &error)) {
            value.where = definition.where;
        }
        if (!error.isEmpty()) {
            failed.insert(path);
            addError(errors, definition.where, error);
            return nullptr;
        }
    }
    return &*resolved.insert(path, value);
}

const TokenValue *DesignTokens::value(const QString &path) const
{
    const auto found = resolved.constFind(path);
    return found == resolved.constEnd() ? nullptr : &*found;
}

QString DesignTokens::closestName(const QString &path) const
{
    // A misspelt name is usually misspelt everywhere it is used.
    const auto known = closestNames.constFind(path);
    if (known != closestNames.constEnd())
        return *known;
    QString best;
    int bestDistance = std::max(2, int(path.size()) / 3) + 1;
    for (auto it = definitions.constBegin(); it != definitions.constEnd(); ++it) {
        const int distance = editDistance(path, it.key(), bestDistance);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = it.key();
        }
    }
    closestNames.insert(path, best);
    return best;
}
