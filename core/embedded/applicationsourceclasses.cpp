// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/qssreference.h"
#include "embedded/applicationsources.h"

#include <QHash>

// Which of the classes the sources declare are widget classes, and their bases.
namespace {
bool isToolkitWidget(const QString &name)
{
    return !name.contains(QLatin1String("--")) && QssReference::isKnownWidget(name);
}

// Which of the classes read derive from a toolkit widget class, and through which
// base: each class's base as a selector names it, "" for none.
class BaseResolver
{
public:
    explicit BaseResolver(const QVector<SourceClass> &classes)
        : classes(classes)
        , bases(classes.size())
        , state(classes.size(), 0)
    {
        for (int i = 0; i < classes.size(); ++i)
            (classes.at(i).python ? python : cpp).insert(classes.at(i).name, i);
    }
    QString baseOf(int index);

private:
    int find(const SourceClass &from, const QString &name) const;
    QString resolveName(const SourceClass &from, const QString &name);
    QString resolveCpp(const SourceClass &declared);

    const QVector<SourceClass> &classes;
    QHash<QString, int> cpp;
    QHash<QString, int> python;
    QVector<QString> bases;
    QVector<int> state; // 0 not yet, 1 under way (a cycle), 2 done
    // How deep the classes under way reach: a chain of bases longer than any
    // application's is left unresolved rather than overflow the stack.
    int depth = 0;
};

int BaseResolver::find(const SourceClass &from, const QString &name) const
{
    if (from.python)
        return python.value(name, -1);
    for (const QString &scope : from.scopes) {
        const auto found =
            cpp.constFind(scope.isEmpty() ? name : scope + QLatin1String("::") + name);
        if (found != cpp.cend())
            return *found;
    }
    return -1;
}

// A base named from a class: one of the application's that derives from a widget,
// or a toolkit widget class itself.
QString BaseResolver::resolveName(const SourceClass &from, const QString &written)
{
    const QString name = written.startsWith(QLatin1String("::")) ? written.mid(2) : written;
    const int own = find(from, name);
    if (own >= 0 && !baseOf(own).isEmpty())
        return selectorClassName(classes.at(own).name);
    if (own < 0 && isToolkitWidget(name))
        return name;
    return QString();
}

QString BaseResolver::resolveCpp(const SourceClass &declared)
{
    if (declared.bases.isEmpty())
        return QString();
    const SourceBase &base = declared.bases.first();
    const int own = find(declared, base.name);
    if (own >= 0) {
        // A template deriving from its own parameter: the argument given is the base.
        const SourceClass &target = classes.at(own);
        if (!target.bases.isEmpty()) {
            const int parameter = target.templateParameters.indexOf(target.bases.first().name);
            if (parameter >= 0)
                return resolveName(declared, base.arguments.value(parameter));
        }
    }
    if (declared.templateParameters.contains(base.name))
        return QString();
    return resolveName(declared, base.name);
}

QString BaseResolver::baseOf(int index)
{
    if (state.at(index) != 0 || depth >= 200)
        return bases.at(index);
    state[index] = 1;
    ++depth;
    const SourceClass &declared = classes.at(index);
    QString base;
    if (declared.python) {
        for (const SourceBase &written : declared.bases) {
            base = resolveName(declared, written.name);
            if (!base.isEmpty())
                break;
        }
    } else {
        base = resolveCpp(declared);
    }
    --depth;
    bases[index] = base;
    state[index] = 2;
    return base;
}
} // namespace

ApplicationObjects SourceDeclarations::applicationObjects() const
{
    ApplicationObjects read;
    read.objects = objects;
    BaseResolver resolver(classes);
    for (int i = 0; i < classes.size(); ++i) {
        const QString base = resolver.baseOf(i);
        if (base.isEmpty())
            continue;
        const SourceClass &declared = classes.at(i);
        ApplicationClass found{selectorClassName(declared.name), base, declared.file,
                               declared.line};
        found.origin =
            declared.python ? ApplicationClass::Origin::Python : ApplicationClass::Origin::Cpp;
        found.metaObject = declared.metaObject;
        read.classes.append(found);
    }
    ApplicationObjects unique;
    unique.append(read);
    return unique;
}
