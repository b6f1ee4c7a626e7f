// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/applicationobjects.h"

#include "support/safefileread.h"

#include <QDateTime>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QXmlStreamReader>

#include <algorithm>

namespace {
// Far beyond a form written in Designer: a larger file is refused unread.
constexpr qint64 kMaxFormBytes = 16 * 1024 * 1024;

using Kind = ApplicationObject::Kind;

// The named elements of a form, and what each declares.
struct NamedElement
{
    QLatin1String element;
    Kind kind;
    const char *className; // null: the element's own "class" attribute
};

const NamedElement kNamedElements[] = {
    {QLatin1String("widget"), Kind::Widget, nullptr},
    {QLatin1String("layout"), Kind::Layout, nullptr},
    {QLatin1String("spacer"), Kind::Spacer, "QSpacerItem"},
    {QLatin1String("action"), Kind::Action, "QAction"},
    {QLatin1String("actiongroup"), Kind::ActionGroup, "QActionGroup"},
    {QLatin1String("buttongroup"), Kind::ButtonGroup, "QButtonGroup"},
};

// Designer's line widget is a QFrame once the form is built.
QString builtClassName(const QString &written)
{
    return written == QLatin1String("Line") ? QStringLiteral("QFrame") : written;
}

// Reads one <customwidget>: its <class> and <extends>.
void readCustomWidget(QXmlStreamReader &xml, const QString &formPath, ApplicationObjects *into)
{
    ApplicationClass promoted;
    promoted.form = formPath;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("class")) {
            promoted.line = int(xml.lineNumber());
            promoted.name = selectorClassName(xml.readElementText().trimmed());
        } else if (xml.name() == QLatin1String("extends")) {
            promoted.base = selectorClassName(xml.readElementText().trimmed());
        } else {
            xml.skipCurrentElement();
        }
    }
    if (!xml.hasError() && !promoted.name.isEmpty())
        into->classes.append(promoted);
}

// A form's <class> is the application class generated for it, derived from the class
// of its top-level widget; a toolkit class there declares nothing new.
void addFormClass(const QString &formClass, int line, const QString &topClass,
                  const QString &formPath, ApplicationObjects *into)
{
    const QString name = selectorClassName(formClass);
    if (name.isEmpty() || topClass.isEmpty() || name == topClass)
        return;
    ApplicationClass generated{name, selectorClassName(topClass), formPath, line};
    generated.origin = ApplicationClass::Origin::FormClass;
    into->classes.append(generated);
}

bool readForm(QXmlStreamReader &xml, const QString &formPath, ApplicationObjects *into)
{
    if (!xml.readNextStartElement())
        return false;
    if (xml.name() != QLatin1String("ui")) {
        xml.raiseError(QStringLiteral("the root element is <%1>, not a form's <ui>")
                           .arg(xml.name().toString()));
        return false;
    }
    int depth = 1;
    QString formClass;
    QString topClass;
    int formClassLine = 0;
    while (depth > 0 && !xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            --depth;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("customwidget")) {
            readCustomWidget(xml, formPath, into);
            continue;
        }
        if (depth == 1 && xml.name() == QLatin1String("class")) {
            formClassLine = int(xml.lineNumber());
            formClass = xml.readElementText().trimmed();
            continue;
        }
        if (depth == 1 && topClass.isEmpty() && xml.name() == QLatin1String("widget"))
            topClass = builtClassName(xml.attributes().value(QLatin1String("class")).toString());
        ++depth;
        const auto named =
            std::find_if(std::begin(kNamedElements), std::end(kNamedElements),
                         [&xml](const NamedElement &entry) { return xml.name() == entry.element; });
        if (named == std::end(kNamedElements))
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        const QString name = attributes.value(QLatin1String("name")).toString();
        if (name.isEmpty())
            continue;
        const QString className =
            named->className ? QString::fromLatin1(named->className)
                             : builtClassName(attributes.value(QLatin1String("class")).toString());
        into->objects.append({name, className, named->kind, formPath, int(xml.lineNumber())});
    }
    if (!xml.hasError())
        addFormClass(formClass, formClassLine, topClass, formPath, into);
    return !xml.hasError();
}

// A form as last read, kept while its file stays the same.
struct CachedForm
{
    QDateTime modified;
    qint64 size = -1;
    bool ok = false;
    ApplicationObjects objects;
    QString warning;
};

// Reads a form, or takes it from the cache; the language server reads the same
// forms from several threads, once for every change of a sheet.
CachedForm readFormFile(const QString &path)
{
    static QMutex mutex;
    static QHash<QString, CachedForm> cache;
    const QFileInfo info(path);
    const QString key = info.absoluteFilePath();
    const QDateTime modified = info.lastModified();
    {
        QMutexLocker lock(&mutex);
        const auto cached = cache.constFind(key);
        if (cached != cache.cend() && cached->size == info.size() && cached->modified == modified &&
            info.exists()) {
            CachedForm form = *cached;
            // The same file may be named differently by another configuration.
            for (ApplicationObject &object : form.objects.objects)
                object.form = path;
            for (ApplicationClass &promoted : form.objects.classes)
                promoted.form = path;
            form.objects.forms = QStringList{path};
            return form;
        }
    }
    CachedForm form;
    form.modified = modified;
    form.size = info.size();
    const FileReadResult file = readRegularFile(path, kMaxFormBytes);
    QString error;
    if (!file.ok)
        form.warning = QStringLiteral("%1: cannot be read (%2)").arg(path, file.error);
    else if (!readFormObjects(file.bytes, path, &form.objects, &error))
        form.warning = QStringLiteral("%1:%2").arg(path, error);
    else
        form.ok = true;
    QMutexLocker lock(&mutex);
    cache.insert(key, form);
    return form;
}
} // namespace

QString selectorClassName(const QString &className)
{
    QString name = className;
    return name.replace(QLatin1String("::"), QLatin1String("--"));
}

QString classOriginName(ApplicationClass::Origin origin)
{
    switch (origin) {
    case ApplicationClass::Origin::Promoted:
        return QStringLiteral("promoted");
    case ApplicationClass::Origin::FormClass:
        return QStringLiteral("form class");
    case ApplicationClass::Origin::Cpp:
        return QStringLiteral("C++");
    case ApplicationClass::Origin::Python:
        return QStringLiteral("Python");
    }
    return QString();
}

QString objectKindName(ApplicationObject::Kind kind, bool withArticle)
{
    if (withArticle) {
        const QString name = objectKindName(kind);
        return (name.startsWith(QLatin1Char('a')) ? QStringLiteral("an ") : QStringLiteral("a ")) +
               name;
    }
    switch (kind) {
    case Kind::Widget:
        return QStringLiteral("widget");
    case Kind::Layout:
        return QStringLiteral("layout");
    case Kind::Spacer:
        return QStringLiteral("spacer");
    case Kind::Action:
        return QStringLiteral("action");
    case Kind::ActionGroup:
        return QStringLiteral("action group");
    case Kind::ButtonGroup:
        return QStringLiteral("button group");
    }
    return QString();
}

void ApplicationObjects::append(const ApplicationObjects &other)
{
    const int from = int(objects.size());
    objects += other.objects;
    for (const ApplicationClass &promoted : other.classes) {
        const auto known = classByName.constFind(promoted.name);
        if (known == classByName.cend()) {
            classByName.insert(promoted.name, int(classes.size()));
            classes.append(promoted);
        } else if (classes.at(*known).origin == ApplicationClass::Origin::FormClass &&
                   (promoted.origin == ApplicationClass::Origin::Cpp ||
                    promoted.origin == ApplicationClass::Origin::Python)) {
            // The source says what the class really is, Q_OBJECT included.
            classes[*known] = promoted;
        }
    }
    forms += other.forms;
    index(from);
}

void ApplicationObjects::index(int from)
{
    for (int i = from; i < objects.size(); ++i)
        byName[objects.at(i).name].append(i);
}

QVector<ApplicationObject> ApplicationObjects::named(const QString &name) const
{
    QVector<ApplicationObject> found;
    for (int i : byName.value(name))
        found.append(objects.at(i));
    return found;
}

bool ApplicationObjects::hasWidget(const QString &name) const
{
    const auto indexes = byName.constFind(name);
    return indexes != byName.cend() &&
           std::any_of(indexes->cbegin(), indexes->cend(),
                       [this](int i) { return objects.at(i).isWidget(); });
}

QStringList ApplicationObjects::widgetNames() const
{
    QStringList names;
    for (auto it = byName.cbegin(); it != byName.cend(); ++it) {
        if (hasWidget(it.key()))
            names.append(it.key());
    }
    names.sort();
    return names;
}

const ApplicationClass *ApplicationObjects::applicationClass(const QString &selectorName) const
{
    const auto found = classByName.constFind(selectorName);
    return found != classByName.cend() ? &classes.at(*found) : nullptr;
}

QHash<QString, QString> ApplicationObjects::classBases() const
{
    QHash<QString, QString> bases;
    for (const ApplicationClass &promoted : classes)
        bases.insert(promoted.name, promoted.base);
    return bases;
}

bool readFormObjects(const QByteArray &bytes, const QString &formPath, ApplicationObjects *into,
                     QString *error)
{
    ApplicationObjects form;
    QXmlStreamReader xml(bytes);
    if (!readForm(xml, formPath, &form)) {
        *error = QStringLiteral("%1: not a Designer form: %2")
                     .arg(qMax<qint64>(1, xml.lineNumber()))
                     .arg(xml.hasError() ? xml.errorString() : QStringLiteral("no element"));
        return false;
    }
    form.forms = QStringList{formPath};
    // Classes are kept once per name, also within one form.
    ApplicationObjects unique;
    unique.append(form);
    into->append(unique);
    return true;
}

std::shared_ptr<const ApplicationObjects> readApplicationForms(const QStringList &formPaths,
                                                               QStringList *warnings)
{
    auto objects = std::make_shared<ApplicationObjects>();
    QSet<QString> seen;
    for (const QString &path : formPaths) {
        const QString absolute = QFileInfo(path).absoluteFilePath();
        if (seen.contains(absolute))
            continue;
        seen.insert(absolute);
        const CachedForm form = readFormFile(path);
        if (form.ok)
            objects->append(form.objects);
        else
            warnings->append(form.warning);
    }
    if (objects->forms.isEmpty())
        return nullptr;
    return objects;
}
