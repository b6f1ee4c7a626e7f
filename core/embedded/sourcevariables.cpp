// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "embedded/sourcevariables.h"

#include <QStringList>

namespace {

bool isText(const QVector<SourceToken> &tokens, int index, const char *text)
{
    return index >= 0 && index < tokens.size() && tokens.at(index).text == QLatin1String(text);
}

bool opens(const QString &text)
{
    return text == QLatin1String("(") || text == QLatin1String("[") || text == QLatin1String("{");
}

bool closes(const QString &text)
{
    return text == QLatin1String(")") || text == QLatin1String("]") || text == QLatin1String("}");
}

// Where a C++ value from first ends: a ";" or "," outside brackets, or a bracket that
// closes around it.
int cppValueEnd(const QVector<SourceToken> &tokens, int first)
{
    int depth = 0;
    int i = first;
    for (; i < tokens.size(); ++i) {
        const SourceToken &token = tokens.at(i);
        if (token.kind != SourceTokenKind::Punctuation)
            continue;
        if (opens(token.text))
            ++depth;
        else if (closes(token.text) && --depth < 0)
            break;
        else if (depth == 0 &&
                 (token.text == QLatin1String(";") || token.text == QLatin1String(",")))
            break;
    }
    return i;
}

// An assignment operator made of two tokens from at: += -= |= and the like.
bool compoundAssignment(const QVector<SourceToken> &tokens, int at)
{
    static const QStringList operators{
        QStringLiteral("+"), QStringLiteral("-"), QStringLiteral("*"), QStringLiteral("/"),
        QStringLiteral("%"), QStringLiteral("|"), QStringLiteral("&"), QStringLiteral("^")};
    return at + 1 < tokens.size() && operators.contains(tokens.at(at).text) &&
           isText(tokens, at + 1, "=") && tokens.at(at).end == tokens.at(at + 1).start;
}

bool changesInPlace(const QVector<SourceToken> &tokens, int at)
{
    static const QStringList methods{
        QStringLiteral("append"),  QStringLiteral("prepend"),   QStringLiteral("insert"),
        QStringLiteral("replace"), QStringLiteral("remove"),    QStringLiteral("clear"),
        QStringLiteral("chop"),    QStringLiteral("truncate"),  QStringLiteral("fill"),
        QStringLiteral("swap"),    QStringLiteral("push_back"), QStringLiteral("resize")};
    return (isText(tokens, at, ".") || isText(tokens, at, "->")) && at + 1 < tokens.size() &&
           methods.contains(tokens.at(at + 1).text);
}

// Whether the token before a name makes "name(" or "name{" a definition: a type.
bool typeBefore(const QVector<SourceToken> &tokens, int before)
{
    if (before < 0)
        return false;
    const SourceToken &token = tokens.at(before);
    static const QStringList statements{QStringLiteral("return"), QStringLiteral("else"),
                                        QStringLiteral("case"),   QStringLiteral("new"),
                                        QStringLiteral("delete"), QStringLiteral("throw"),
                                        QStringLiteral("emit"),   QStringLiteral("co_return")};
    if (token.kind == SourceTokenKind::Identifier)
        return !statements.contains(token.text);
    return token.text == QLatin1String("*") || token.text == QLatin1String("&") ||
           token.text == QLatin1String(">");
}

// The scope of each C++ token: the outermost block that no namespace or extern "C" opens.
QVector<int> cppScopes(const QVector<SourceToken> &tokens)
{
    QVector<int> scopes(tokens.size(), -1);
    QVector<bool> open; // for each open brace: whether it is a namespace's
    int scope = -1;
    int depth = 0; // braces open inside the current function
    for (int i = 0; i < tokens.size(); ++i) {
        const QString &text = tokens.at(i).text;
        if (text == QLatin1String("{")) {
            const bool transparent = scope < 0 && (isText(tokens, i - 1, "namespace") ||
                                                   isText(tokens, i - 2, "namespace") ||
                                                   isText(tokens, i - 2, "extern"));
            if (scope < 0 && !transparent)
                scope = i;
            else if (scope >= 0)
                ++depth;
            open.append(transparent);
        } else if (text == QLatin1String("}") && !open.isEmpty()) {
            const bool transparent = open.takeLast();
            if (!transparent && scope >= 0 && depth-- == 0) {
                scopes[i] = scope;
                scope = -1;
                depth = 0;
                continue;
            }
        }
        scopes[i] = scope;
    }
    return scopes;
}

// The lines' indentation and brackets of a Python source, token by token: each token's
// function (the innermost "def" whose body holds it), and whether it starts a statement.
QVector<int> pythonScopes(const QVector<SourceToken> &tokens, const QString &text,
                          QVector<bool> *statementStarts)
{
    QVector<int> scopes(tokens.size(), -1);
    statementStarts->fill(false, tokens.size());
    QVector<QPair<int, int>> defs; // indentation and token index of each open def
    int depth = 0;
    int previousEnd = 0;
    for (int i = 0; i < tokens.size(); ++i) {
        const SourceToken &token = tokens.at(i);
        const int lineStart = int(text.lastIndexOf(QLatin1Char('\n'), token.start - 1)) + 1;
        const bool newLine = i == 0 || lineStart > previousEnd;
        if (depth == 0 && (newLine || isText(tokens, i - 1, ";"))) {
            (*statementStarts)[i] = true;
            const int indentation = token.start - lineStart;
            while (newLine && !defs.isEmpty() && defs.constLast().first >= indentation)
                defs.removeLast();
        }
        scopes[i] = defs.isEmpty() ? -1 : defs.constLast().second;
        if (token.kind == SourceTokenKind::Identifier && token.text == QLatin1String("def") &&
            statementStarts->at(i))
            defs.append({token.start - lineStart, i});
        if (token.kind == SourceTokenKind::Punctuation && opens(token.text))
            ++depth;
        else if (token.kind == SourceTokenKind::Punctuation && closes(token.text))
            depth = qMax(0, depth - 1);
        previousEnd = token.end;
    }
    return scopes;
}

// Where a Python value from first ends: the end of its logical line.
int pythonValueEnd(const QVector<SourceToken> &tokens, const QString &text, int first)
{
    int depth = 0;
    int i = first;
    for (; i < tokens.size(); ++i) {
        const SourceToken &token = tokens.at(i);
        if (i > first && depth == 0 &&
            QStringView(text)
                .mid(tokens.at(i - 1).end, token.start - tokens.at(i - 1).end)
                .contains(QLatin1Char('\n')))
            break;
        if (token.kind != SourceTokenKind::Punctuation)
            continue;
        if (opens(token.text))
            ++depth;
        else if (closes(token.text) && --depth < 0)
            break;
        else if (depth == 0 && token.text == QLatin1String(";"))
            break;
    }
    return i;
}

} // namespace

SourceVariables SourceVariables::forCpp(const QVector<SourceToken> &tokens)
{
    SourceVariables variables;
    variables.fileWide = true;
    variables.scopes = cppScopes(tokens);
    for (int i = 0; i < tokens.size(); ++i) {
        const SourceToken &name = tokens.at(i);
        if (name.kind != SourceTokenKind::Identifier || isText(tokens, i - 1, ".") ||
            isText(tokens, i - 1, "->") || isText(tokens, i - 1, "::"))
            continue;
        int next = i + 1;
        while (isText(tokens, next, "[")) { // char kSheet[] = "..."
            const int close = cppValueEnd(tokens, next + 1);
            next = close + 1;
        }
        Assignment assignment;
        assignment.scope = variables.scopes.at(i);
        if (isText(tokens, next, "=") && !isText(tokens, next + 1, "=")) {
            assignment.first = next + 1;
            assignment.last = cppValueEnd(tokens, next + 1);
        } else if ((isText(tokens, next, "(") || isText(tokens, next, "{")) &&
                   typeBefore(tokens, i - 1)) {
            assignment.first = next + 1;
            assignment.last = cppValueEnd(tokens, next + 1);
        } else if (compoundAssignment(tokens, next) || changesInPlace(tokens, next)) {
            assignment.plain = false;
        } else {
            continue;
        }
        variables.assignments[name.text].append(assignment);
    }
    return variables;
}

SourceVariables SourceVariables::forPython(const QVector<SourceToken> &tokens, const QString &text)
{
    SourceVariables variables;
    QVector<bool> statementStarts;
    variables.scopes = pythonScopes(tokens, text, &statementStarts);
    for (int i = 0; i < tokens.size(); ++i) {
        const SourceToken &name = tokens.at(i);
        if (name.kind != SourceTokenKind::Identifier || !statementStarts.at(i))
            continue;
        Assignment assignment;
        assignment.scope = variables.scopes.at(i);
        if (name.text == QLatin1String("def") && isText(tokens, i + 2, "(")) {
            variables.addParameters(tokens, i);
            continue;
        }
        // self.NAME: an attribute, which any method may assign.
        QString key = name.text;
        int next = i + 1;
        if (name.text == QLatin1String("self") && isText(tokens, i + 1, ".") &&
            i + 2 < tokens.size() && tokens.at(i + 2).kind == SourceTokenKind::Identifier) {
            key = QStringLiteral("self.") + tokens.at(i + 2).text;
            next = i + 3;
        }
        if (isText(tokens, next, "=") && !isText(tokens, next + 1, "=")) {
            assignment.first = next + 1;
            assignment.last = pythonValueEnd(tokens, text, next + 1);
        } else if (compoundAssignment(tokens, next)) {
            assignment.plain = false;
        } else {
            continue;
        }
        variables.assignments[key].append(assignment);
    }
    return variables;
}

void SourceVariables::addParameters(const QVector<SourceToken> &tokens, int def)
{
    int depth = 0;
    for (int i = def + 2; i < tokens.size(); ++i) {
        const QString &text = tokens.at(i).text;
        if (opens(text))
            ++depth;
        else if (closes(text) && --depth == 0)
            break;
        else if (depth == 1 && tokens.at(i).kind == SourceTokenKind::Identifier &&
                 (isText(tokens, i - 1, "(") || isText(tokens, i - 1, ",") ||
                  isText(tokens, i - 1, "*"))) {
            Assignment parameter;
            parameter.scope = def;
            parameter.parameter = true;
            assignments[text].append(parameter);
        }
    }
}

bool SourceVariables::follow(const QString &name, int use, int *first, int *last,
                             QString *why) const
{
    const int scope = use >= 0 && use < scopes.size() ? scopes.at(use) : -1;
    const QVector<Assignment> all = assignments.value(name);
    // An attribute holds what any method gave it, in whatever order they run.
    const bool attribute = name.startsWith(QLatin1String("self."));
    QVector<Assignment> found;
    for (const Assignment &assignment : all) {
        if (assignment.scope == scope || attribute)
            found.append(assignment);
    }
    // A file-level name: in C++ any function may assign it again, in Python only the
    // module's own statements can (a function's assignment makes a local).
    if (found.isEmpty() && scope >= 0) {
        for (const Assignment &assignment : all) {
            if (assignment.scope < 0)
                found.append(assignment);
        }
        for (const Assignment &assignment : all) {
            if (!found.isEmpty() && fileWide && assignment.scope >= 0 && !assignment.parameter)
                found.append(assignment);
        }
    }
    const QString variable =
        QStringLiteral("it is the %1 \"%2\"")
            .arg(attribute ? QStringLiteral("attribute") : QStringLiteral("variable"), name);
    if (found.isEmpty()) {
        *why = variable + QStringLiteral(", not assigned in its function or the file");
        return false;
    }
    for (const Assignment &assignment : qAsConst(found)) {
        if (assignment.parameter) {
            *why = variable + QStringLiteral(", a parameter of its function");
            return false;
        }
    }
    if (found.size() > 1 || !found.constFirst().plain) {
        *why = variable + QStringLiteral(", assigned more than once");
        return false;
    }
    if (found.constFirst().first >= found.constFirst().last ||
        (scope >= 0 && found.constFirst().scope == scope && found.constFirst().first > use)) {
        *why = variable + QStringLiteral(", assigned after it is passed");
        return false;
    }
    *first = found.constFirst().first;
    *last = found.constFirst().last;
    return true;
}
