// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tokens/jsonreader.h"

#include <QSet>

namespace {

// Deep enough for any token file; shallow enough that the recursion never nears the
// stack's end.
constexpr int kMaxDepth = 128;

class JsonParser
{
public:
    explicit JsonParser(const QString &text)
        : text(text)
    {}

    JsonReadResult parse()
    {
        JsonReadResult result;
        skipBlanks();
        if (!value(result.root, 0))
            return failed(result);
        skipBlanks();
        if (i < text.size()) {
            fail(QStringLiteral("unexpected text after the document"));
            return failed(result);
        }
        result.ok = true;
        return result;
    }

private:
    JsonReadResult &failed(JsonReadResult &result)
    {
        result.ok = false;
        result.line = errorLine;
        result.column = errorColumn;
        result.error = error;
        return result;
    }

    bool fail(const QString &message)
    {
        if (error.isEmpty()) {
            error = message;
            errorLine = line;
            errorColumn = i - lineStart + 1;
        }
        return false;
    }

    void advance()
    {
        if (text.at(i) == QLatin1Char('\n')) {
            ++line;
            lineStart = i + 1;
        }
        ++i;
    }

    void skipBlanks()
    {
        while (i < text.size()) {
            const QChar c = text.at(i);
            if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') &&
                c != QLatin1Char('\r'))
                return;
            advance();
        }
    }

    bool value(JsonNode &node, int depth)
    {
        if (depth > kMaxDepth)
            return fail(QStringLiteral("nested deeper than %1 levels").arg(kMaxDepth));
        if (i >= text.size())
            return fail(QStringLiteral("unexpected end of the file, expected a value"));
        node.line = line;
        node.column = i - lineStart + 1;
        const QChar c = text.at(i);
        if (c == QLatin1Char('{'))
            return object(node, depth);
        if (c == QLatin1Char('['))
            return array(node, depth);
        if (c == QLatin1Char('"')) {
            node.kind = JsonNode::String;
            return string(node.string);
        }
        if (c == QLatin1Char('-') || (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            return number(node);
        for (const char *word : {"true", "false", "null"}) {
            const QLatin1String literal(word);
            if (text.mid(i, literal.size()) == literal) {
                node.kind = word[0] == 'n' ? JsonNode::Null : JsonNode::Bool;
                node.boolean = word[0] == 't';
                i += literal.size();
                return true;
            }
        }
        return fail(QStringLiteral("expected a value, found '%1'").arg(c));
    }

    bool object(JsonNode &node, int depth)
    {
        node.kind = JsonNode::Object;
        advance();
        skipBlanks();
        QSet<QString> keys;
        if (i < text.size() && text.at(i) == QLatin1Char('}')) {
            advance();
            return true;
        }
        while (true) {
            if (i >= text.size() || text.at(i) != QLatin1Char('"'))
                return fail(QStringLiteral("expected a key in double quotes"));
            JsonMember member;
            member.line = line;
            member.column = i - lineStart + 1;
            if (!string(member.key))
                return false;
            if (keys.contains(member.key)) {
                line = member.line;
                i = lineStart + member.column - 1;
                return fail(QStringLiteral("\"%1\" is given twice in this object").arg(member.key));
            }
            keys.insert(member.key);
            skipBlanks();
            if (i >= text.size() || text.at(i) != QLatin1Char(':'))
                return fail(QStringLiteral("expected ':' after the key"));
            advance();
            skipBlanks();
            if (!value(member.value, depth + 1))
                return false;
            node.members.push_back(std::move(member));
            skipBlanks();
            if (i < text.size() && text.at(i) == QLatin1Char(',')) {
                advance();
                skipBlanks();
                continue;
            }
            if (i < text.size() && text.at(i) == QLatin1Char('}')) {
                advance();
                return true;
            }
            return fail(QStringLiteral("expected ',' or '}'"));
        }
    }

    bool array(JsonNode &node, int depth)
    {
        node.kind = JsonNode::Array;
        advance();
        skipBlanks();
        if (i < text.size() && text.at(i) == QLatin1Char(']')) {
            advance();
            return true;
        }
        while (true) {
            JsonNode item;
            if (!value(item, depth + 1))
                return false;
            node.items.push_back(std::move(item));
            skipBlanks();
            if (i < text.size() && text.at(i) == QLatin1Char(',')) {
                advance();
                skipBlanks();
                continue;
            }
            if (i < text.size() && text.at(i) == QLatin1Char(']')) {
                advance();
                return true;
            }
            return fail(QStringLiteral("expected ',' or ']'"));
        }
    }

    bool string(QString &out)
    {
        advance(); // the opening quote
        while (i < text.size()) {
            const QChar c = text.at(i);
            if (c == QLatin1Char('"')) {
                advance();
                return true;
            }
            if (c.unicode() < 0x20)
                return fail(QStringLiteral("control character in a string"));
            if (c != QLatin1Char('\\')) {
                out += c;
                advance();
                continue;
            }
            advance();
            if (i >= text.size())
                break;
            const QChar escape = text.at(i);
            static const QString simple = QStringLiteral("\"\\/bfnrt");
            static const QString meaning = QStringLiteral("\"\\/\b\f\n\r\t");
            const int index = simple.indexOf(escape);
            if (index >= 0) {
                out += meaning.at(index);
                advance();
                continue;
            }
            if (escape != QLatin1Char('u'))
                return fail(QStringLiteral("unknown escape '\\%1'").arg(escape));
            bool ok = false;
            const ushort unit = text.mid(i + 1, 4).toUShort(&ok, 16);
            if (!ok || text.mid(i + 1, 4).size() != 4)
                return fail(QStringLiteral("'\\u' needs four hexadecimal digits"));
            out += QChar(unit);
            i += 5;
        }
        return fail(QStringLiteral("unterminated string"));
    }

    bool number(JsonNode &node)
    {
        const int start = i;
        const auto digits = [&] {
            const int from = i;
            while (i < text.size() && text.at(i) >= QLatin1Char('0') &&
                   text.at(i) <= QLatin1Char('9'))
                ++i;
            return i > from;
        };
        if (text.at(i) == QLatin1Char('-'))
            ++i;
        if (i < text.size() && text.at(i) == QLatin1Char('0'))
            ++i;
        else if (!digits())
            return fail(QStringLiteral("malformed number"));
        if (i < text.size() && text.at(i) == QLatin1Char('.')) {
            ++i;
            if (!digits())
                return fail(QStringLiteral("malformed number"));
        }
        if (i < text.size() && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
            ++i;
            if (i < text.size() &&
                (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
                ++i;
            if (!digits())
                return fail(QStringLiteral("malformed number"));
        }
        bool ok = false;
        node.kind = JsonNode::Number;
        node.number = text.mid(start, i - start).toDouble(&ok);
        if (!ok) {
            i = start;
            return fail(QStringLiteral("number out of range"));
        }
        return true;
    }

    const QString &text;
    int i = 0;
    int line = 1;
    int lineStart = 0;
    QString error;
    int errorLine = 1;
    int errorColumn = 1;
};

} // namespace

const JsonNode *JsonNode::member(const QString &key) const
{
    for (const JsonMember &m : members) {
        if (m.key == key)
            return &m.value;
    }
    return nullptr;
}

JsonReadResult readJson(const QString &text)
{
    return JsonParser(text).parse();
}
