// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "embedded/applicationsources.h"

#include "embedded/sourcetokens.h"

namespace {
// Lines of a text, counted as the tokens come, in order.
class LineCounter
{
public:
    explicit LineCounter(const QString &text)
        : text(text)
    {}
    int lineAt(int offset)
    {
        for (; at < offset && at < text.size(); ++at) {
            if (text.at(at) == QLatin1Char('\n'))
                ++line;
        }
        return line;
    }

private:
    const QString &text;
    int at = 0;
    int line = 1;
};

bool isPunctuation(const SourceToken &token, const char *text)
{
    return token.kind == SourceTokenKind::Punctuation && token.text == QLatin1String(text);
}

bool isIdentifier(const SourceToken &token, const char *text)
{
    return token.kind == SourceTokenKind::Identifier && token.text == QLatin1String(text);
}

// A literal's text as written, when it needs no decoding: an object name is a plain word.
QString plainLiteral(const QString &text, const SourceToken &literal)
{
    const QString content =
        text.mid(literal.contentStart, literal.contentEnd - literal.contentStart);
    return content.contains(QLatin1Char('\\')) ? QString() : content;
}

// What a C++ source's braces open.
struct CppScope
{
    enum Kind
    {
        Namespace,
        Class,
        Other,
    } kind = Other;
    QString name;
    int classIndex = -1;
};

class CppReader
{
public:
    CppReader(const QString &text, const QString &path, SourceDeclarations *into)
        : text(text)
        , path(path)
        , into(into)
        , tokenizer(text)
        , lines(text)
    {}
    void read();

private:
    bool next(SourceToken *token);
    void putBack(const SourceToken &token);
    void skipBalanced(const char *open, const char *close);
    void readNamespace();
    void readTemplateParameters();
    void readClass(int start);
    bool readBases(SourceBase *first);
    void readObjectName();
    QString scopeName() const;
    QStringList lookupScopes() const;

    const QString &text;
    const QString &path;
    SourceDeclarations *into;
    CppTokenizer tokenizer;
    LineCounter lines;
    QVector<CppScope> scopes;
    QStringList templateParameters;
    bool hasPending = false;
    SourceToken pending;
};

bool CppReader::next(SourceToken *token)
{
    if (hasPending) {
        *token = pending;
        hasPending = false;
        return true;
    }
    return tokenizer.next(token);
}

void CppReader::putBack(const SourceToken &token)
{
    pending = token;
    hasPending = true;
}

// Steps over tokens up to the close matching an open just read.
void CppReader::skipBalanced(const char *open, const char *close)
{
    int depth = 1;
    SourceToken token;
    while (depth > 0 && next(&token)) {
        if (isPunctuation(token, open))
            ++depth;
        else if (isPunctuation(token, close))
            --depth;
        else if (isPunctuation(token, "{") || isPunctuation(token, "}") ||
                 isPunctuation(token, ";")) {
            putBack(token);
            return;
        }
    }
}

void CppReader::read()
{
    SourceToken token;
    QString previous;
    while (next(&token)) {
        if (token.kind == SourceTokenKind::Identifier) {
            if (token.text == QLatin1String("namespace")) {
                readNamespace();
            } else if (token.text == QLatin1String("template")) {
                readTemplateParameters();
            } else if ((token.text == QLatin1String("class") ||
                        token.text == QLatin1String("struct")) &&
                       previous != QLatin1String("enum")) {
                readClass(token.start);
            } else if (token.text == QLatin1String("Q_OBJECT")) {
                if (!scopes.isEmpty() && scopes.constLast().kind == CppScope::Class)
                    into->classes[scopes.constLast().classIndex].metaObject = true;
            } else if (token.text == QLatin1String("setObjectName")) {
                readObjectName();
            }
        } else if (isPunctuation(token, "{")) {
            scopes.append(CppScope());
            templateParameters.clear();
        } else if (isPunctuation(token, "}")) {
            if (!scopes.isEmpty())
                scopes.removeLast();
        } else if (isPunctuation(token, ";")) {
            templateParameters.clear();
        }
        previous = token.text;
    }
}

void CppReader::readNamespace()
{
    QString name;
    SourceToken token;
    while (next(&token)) {
        if (token.kind == SourceTokenKind::Identifier || isPunctuation(token, "::")) {
            name += token.text;
        } else if (isPunctuation(token, "{")) {
            scopes.append({CppScope::Namespace, name, -1});
            return;
        } else {
            // An alias ("namespace a = b;") or a using directive opens nothing.
            putBack(token);
            return;
        }
    }
}

// "template <class T, typename U = int>": the names a class's bases may use.
void CppReader::readTemplateParameters()
{
    SourceToken token;
    if (!next(&token))
        return;
    if (!isPunctuation(token, "<"))
        return putBack(token);
    templateParameters.clear();
    int depth = 1;
    bool nameNext = false;
    while (depth > 0 && next(&token)) {
        if (isPunctuation(token, "<")) {
            ++depth;
        } else if (isPunctuation(token, ">")) {
            --depth;
        } else if (isPunctuation(token, "{") || isPunctuation(token, ";")) {
            putBack(token);
            return;
        } else if (depth == 1 && token.kind == SourceTokenKind::Identifier) {
            if (nameNext)
                templateParameters.append(token.text);
            nameNext =
                token.text == QLatin1String("class") || token.text == QLatin1String("typename");
            continue;
        }
        nameNext = false;
    }
}

// After "class" or "struct": a definition's name, its first base and its body's
// scope; anything else (a declaration, a parameter, an elaborated type) is left.
void CppReader::readClass(int start)
{
    QString name;
    bool qualified = false;
    SourceToken token;
    SourceBase base;
    bool opened = false;
    while (!opened && next(&token)) {
        if (token.kind == SourceTokenKind::Identifier) {
            if (token.text != QLatin1String("final"))
                name = qualified ? name + token.text : token.text;
            qualified = false;
        } else if (isPunctuation(token, "::")) {
            name += token.text;
            qualified = true;
        } else if (isPunctuation(token, "[")) {
            skipBalanced("[", "]");
        } else if (isPunctuation(token, "(")) {
            skipBalanced("(", ")");
        } else if (isPunctuation(token, "<")) {
            skipBalanced("<", ">");
        } else if (isPunctuation(token, ":")) {
            if (!readBases(&base))
                break;
        } else if (isPunctuation(token, "{")) {
            opened = true;
        } else {
            putBack(token);
            break;
        }
    }
    if (!opened || name.isEmpty()) {
        if (opened)
            putBack(token);
        templateParameters.clear();
        return;
    }
    if (name.startsWith(QLatin1String("::")))
        name = name.mid(2);
    SourceClass declared;
    const QString scope = scopeName();
    declared.name = scope.isEmpty() ? name : scope + QLatin1String("::") + name;
    declared.scopes = lookupScopes();
    if (!base.name.isEmpty())
        declared.bases.append(base);
    declared.templateParameters = templateParameters;
    declared.file = path;
    declared.line = lines.lineAt(start);
    templateParameters.clear();
    scopes.append({CppScope::Class, name, int(into->classes.size())});
    into->classes.append(declared);
}

// A base clause up to the body's "{": its first base's name and template arguments.
// False when a ";" comes first.
bool CppReader::readBases(SourceBase *first)
{
    int angles = 0;
    bool firstDone = false;
    QString argument;
    SourceToken token;
    while (next(&token)) {
        if (isPunctuation(token, "{") && angles == 0) {
            putBack(token);
            return true;
        }
        if (isPunctuation(token, ";") || isPunctuation(token, "}")) {
            putBack(token);
            return false;
        }
        if (isPunctuation(token, "<")) {
            ++angles;
        } else if (isPunctuation(token, ">")) {
            if (angles == 1 && !firstDone && !argument.isEmpty())
                first->arguments.append(argument);
            argument.clear();
            angles = qMax(0, angles - 1);
        } else if (isPunctuation(token, ",")) {
            if (angles == 0)
                firstDone = true;
            else if (angles == 1 && !firstDone)
                first->arguments.append(argument);
            argument.clear();
        } else if (!firstDone &&
                   (token.kind == SourceTokenKind::Identifier || isPunctuation(token, "::"))) {
            static const QStringList skipped{QStringLiteral("public"), QStringLiteral("protected"),
                                             QStringLiteral("private"), QStringLiteral("virtual")};
            if (angles == 0 && !skipped.contains(token.text))
                first->name += token.text;
            else if (angles == 1)
                argument += token.text;
        }
    }
    return false;
}

// setObjectName("name"), also through QStringLiteral() and its kin: the literal must
// be the whole argument, every parenthesis opened before it closed right after it.
void CppReader::readObjectName()
{
    static const QStringList wrappers{
        QStringLiteral("QStringLiteral"), QStringLiteral("QLatin1String"),
        QStringLiteral("QLatin1StringView"), QStringLiteral("QString")};
    int open = 0;
    SourceToken token;
    while (next(&token)) {
        if (isPunctuation(token, "(")) {
            ++open;
            continue;
        }
        if (open > 0 && token.kind == SourceTokenKind::Identifier && wrappers.contains(token.text))
            continue;
        if (open == 0 || token.kind != SourceTokenKind::Literal)
            return putBack(token);
        const SourceToken literal = token;
        for (; open > 0 && next(&token); --open) {
            if (!isPunctuation(token, ")"))
                return putBack(token);
        }
        const QString name = plainLiteral(text, literal);
        if (open == 0 && !name.isEmpty())
            into->objects.append({name, QString(), ApplicationObject::Kind::Widget, path,
                                  lines.lineAt(literal.start)});
        return;
    }
}

QString CppReader::scopeName() const
{
    QStringList names;
    for (const CppScope &scope : scopes) {
        if (scope.kind != CppScope::Other && !scope.name.isEmpty())
            names.append(scope.name);
    }
    return names.join(QLatin1String("::"));
}

QStringList CppReader::lookupScopes() const
{
    QStringList result{QString()};
    QString prefix;
    for (const CppScope &scope : scopes) {
        if (scope.kind == CppScope::Other || scope.name.isEmpty())
            continue;
        prefix = prefix.isEmpty() ? scope.name : prefix + QLatin1String("::") + scope.name;
        result.prepend(prefix);
    }
    return result;
}

// Python: "class Name(Base, module.Base):", setObjectName("name") and objectName="name".
class PythonReader
{
public:
    PythonReader(const QString &text, const QString &path, SourceDeclarations *into)
        : text(text)
        , path(path)
        , into(into)
        , tokenizer(text)
        , lines(text)
    {}
    void read();

private:
    void readClass(int start);
    void readName(const char *opening);

    const QString &text;
    const QString &path;
    SourceDeclarations *into;
    PythonTokenizer tokenizer;
    LineCounter lines;
};

void PythonReader::read()
{
    SourceToken token;
    while (tokenizer.next(&token)) {
        if (isIdentifier(token, "class"))
            readClass(token.start);
        else if (isIdentifier(token, "setObjectName"))
            readName("(");
        else if (isIdentifier(token, "objectName"))
            readName("=");
    }
}

void PythonReader::readClass(int start)
{
    SourceToken token;
    const int before = tokenizer.position();
    if (!tokenizer.next(&token) || token.kind != SourceTokenKind::Identifier) {
        tokenizer.seek(before);
        return;
    }
    SourceClass declared;
    declared.name = token.text;
    declared.python = true;
    declared.metaObject = true;
    declared.file = path;
    declared.line = lines.lineAt(start);
    const int afterName = tokenizer.position();
    if (!tokenizer.next(&token) || !isPunctuation(token, "(")) {
        tokenizer.seek(afterName);
        return;
    }
    int depth = 1;
    SourceBase base;
    bool keyword = false;
    while (depth > 0 && tokenizer.next(&token)) {
        if (isPunctuation(token, "(") || isPunctuation(token, "[")) {
            ++depth;
        } else if (isPunctuation(token, ")") || isPunctuation(token, "]")) {
            --depth;
        } else if (depth == 1 && isPunctuation(token, "=")) {
            keyword = true;
        } else if (depth == 1 && isPunctuation(token, ",")) {
            if (!keyword && !base.name.isEmpty())
                declared.bases.append(base);
            base = SourceBase();
            keyword = false;
        } else if (depth == 1 && token.kind == SourceTokenKind::Identifier) {
            // "QtWidgets.QFrame" is looked up by its last name.
            base.name = token.text;
        }
    }
    if (!keyword && !base.name.isEmpty())
        declared.bases.append(base);
    into->classes.append(declared);
}

void PythonReader::readName(const char *opening)
{
    SourceToken token;
    const int before = tokenizer.position();
    if (!tokenizer.next(&token) || !isPunctuation(token, opening)) {
        tokenizer.seek(before);
        return;
    }
    const int afterOpening = tokenizer.position();
    if (!tokenizer.next(&token) || token.kind != SourceTokenKind::Literal) {
        tokenizer.seek(afterOpening);
        return;
    }
    const SourceToken literal = token;
    const int afterLiteral = tokenizer.position();
    // A name built from the literal (+, %, .format()) is not the literal.
    const bool whole =
        tokenizer.next(&token) && (isPunctuation(token, ")") || isPunctuation(token, ","));
    tokenizer.seek(afterLiteral);
    const QString name = plainLiteral(text, literal);
    if (whole && !name.isEmpty())
        into->objects.append(
            {name, QString(), ApplicationObject::Kind::Widget, path, lines.lineAt(literal.start)});
}

} // namespace

void SourceDeclarations::readCpp(const QString &text, const QString &path)
{
    CppReader(text, path, this).read();
    files.append(path);
}

void SourceDeclarations::readPython(const QString &text, const QString &path)
{
    PythonReader(text, path, this).read();
    files.append(path);
}
