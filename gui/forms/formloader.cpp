// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "forms/formloader.h"

#include "analysis/sheetmodel.h"
#include "support/safefileread.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QRegularExpression>
#include <QSet>
#include <QUiLoader>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

struct Connection
{
    QString sender, signal, receiver, slot;
};

// What the form's XML names, read before the loader sees it.
struct FormScan
{
    QString error;
    int widgets = 0;
    QHash<QString, QString> customBases; // promoted class -> the class it extends
    QStringList addedActions;
    QVector<Connection> connections;
    QStringList images;
    QStringList styleSheets;
    // Files that texts and URLs name: a text browser's source, rich text's images.
    QStringList linkedFiles;
    QByteArray loadable; // the form without its connections
};

const QStringList &iconStates()
{
    static const QStringList states{QStringLiteral("normaloff"),   QStringLiteral("normalon"),
                                    QStringLiteral("disabledoff"), QStringLiteral("disabledon"),
                                    QStringLiteral("activeoff"),   QStringLiteral("activeon"),
                                    QStringLiteral("selectedoff"), QStringLiteral("selectedon")};
    return states;
}

class FormScanner
{
public:
    explicit FormScanner(const QByteArray &bytes)
        : reader(bytes)
    {}

    FormScan scan()
    {
        QBuffer out(&scanned.loadable);
        out.open(QIODevice::WriteOnly);
        QXmlStreamWriter writer(&out);
        int skipDepth = 0;
        while (!reader.atEnd()) {
            reader.readNext();
            if (reader.hasError())
                break;
            if (reader.isStartElement()) {
                startElement();
                if (reader.hasError())
                    break;
                // The connections are left out: a preview shows the form, it does
                // not run it (an OK button wired to accept() would hide the page).
                if (skipDepth > 0 || reader.name() == QLatin1String("connections"))
                    ++skipDepth;
            } else if (reader.isCharacters()) {
                characters();
            }
            if (skipDepth == 0)
                writer.writeCurrentToken(reader);
            if (reader.isEndElement()) {
                endElement();
                if (skipDepth > 0)
                    --skipDepth;
            }
        }
        if (reader.hasError()) {
            scanned.error = QStringLiteral("not a form: line %1, column %2: %3")
                                .arg(reader.lineNumber())
                                .arg(reader.columnNumber())
                                .arg(reader.errorString());
        } else if (!sawRoot) {
            scanned.error = QStringLiteral("not a form: it is empty");
        } else if (scanned.widgets == 0) {
            scanned.error = QStringLiteral("not a form: it holds no <widget>");
        }
        return scanned;
    }

private:
    void startElement()
    {
        const QString name = reader.name().toString();
        path.append(name);
        text.clear();
        if (!sawRoot) {
            sawRoot = true;
            if (name != QLatin1String("ui")) {
                reader.raiseError(QStringLiteral("the root element is <%1>, not <ui>").arg(name));
                return;
            }
        }
        const QXmlStreamAttributes attributes = reader.attributes();
        if (name == QLatin1String("widget"))
            ++scanned.widgets;
        else if (name == QLatin1String("addaction"))
            scanned.addedActions.append(attributes.value(QLatin1String("name")).toString());
        else if (name == QLatin1String("property"))
            properties.append(attributes.value(QLatin1String("name")).toString());
        else if (name == QLatin1String("connection"))
            scanned.connections.append(Connection());
    }

    void characters() { text += reader.text(); }

    void endElement()
    {
        const QString name = path.takeLast();
        const QString parent = path.isEmpty() ? QString() : path.constLast();
        const QString value = text.trimmed();
        text.clear();
        if (name == QLatin1String("property") && !properties.isEmpty()) {
            properties.removeLast();
        } else if (parent == QLatin1String("customwidget")) {
            if (name == QLatin1String("class"))
                customClass = value;
            else if (name == QLatin1String("extends"))
                customExtends = value;
        } else if (name == QLatin1String("customwidget")) {
            if (!customClass.isEmpty())
                scanned.customBases.insert(customClass, customExtends);
            customClass.clear();
            customExtends.clear();
        } else if (parent == QLatin1String("connection") && !scanned.connections.isEmpty()) {
            Connection &connection = scanned.connections.last();
            if (name == QLatin1String("sender"))
                connection.sender = value;
            else if (name == QLatin1String("signal"))
                connection.signal = value;
            else if (name == QLatin1String("receiver"))
                connection.receiver = value;
            else if (name == QLatin1String("slot"))
                connection.slot = value;
        } else if ((parent == QLatin1String("iconset") && iconStates().contains(name)) ||
                   name == QLatin1String("pixmap") ||
                   (name == QLatin1String("iconset") && !value.isEmpty())) {
            if (!value.isEmpty())
                scanned.images.append(value);
        } else if (name == QLatin1String("string") && parent == QLatin1String("property") &&
                   !properties.isEmpty() && properties.constLast() == QLatin1String("styleSheet")) {
            scanned.styleSheets.append(value);
        } else if (name == QLatin1String("string")) {
            noteLinkedFiles(value, parent == QLatin1String("url"));
        }
    }

    void noteLinkedFiles(const QString &value, bool isUrl)
    {
        const auto note = [this](const QString &written) {
            const QUrl url(written);
            if (url.isLocalFile())
                scanned.linkedFiles.append(url.toLocalFile());
            else if (url.scheme().isEmpty() || written.startsWith(QLatin1Char(':')))
                scanned.linkedFiles.append(written);
        };
        if (isUrl) {
            note(value);
            return;
        }
        if (!value.contains(QLatin1String("<img"), Qt::CaseInsensitive))
            return;
        static const QRegularExpression source(QStringLiteral("src\\s*=\\s*[\"']?([^\"'\\s>]+)"),
                                               QRegularExpression::CaseInsensitiveOption);
        for (auto it = source.globalMatch(value); it.hasNext();)
            note(it.next().captured(1));
    }

    QXmlStreamReader reader;
    FormScan scanned;
    QStringList path;
    QStringList properties;
    QString text;
    QString customClass;
    QString customExtends;
    bool sawRoot = false;
};

// Where an image the form names is read from.
QString imagePath(const QString &image, const QDir &formDirectory)
{
    if (image.startsWith(QLatin1Char(':')) || QFileInfo(image).isAbsolute())
        return image;
    return formDirectory.filePath(image);
}

// Why the image must not be handed to the loader, or "" when it may be.
QString unsafeImage(const QString &path, qint64 width, qint64 height)
{
    if (imageTooLarge(width, height))
        return QStringLiteral("%1 is an image of %2 x %3 pixels, too large to decode")
            .arg(path)
            .arg(width)
            .arg(height);
    return QString();
}

QString checkImages(const FormScan &scan, const QDir &formDirectory, QStringList *notes)
{
    QSet<QString> seen;
    for (const QString &image : scan.images) {
        if (seen.contains(image))
            continue;
        seen.insert(image);
        const QString path = imagePath(image, formDirectory);
        const QString kind =
            path.startsWith(QLatin1Char(':')) ? QString() : nonRegularFileKind(path);
        if (!kind.isEmpty())
            return QStringLiteral("it names %1, %2, as an image").arg(image, kind);
        if (!QFileInfo::exists(path)) {
            notes->append(QStringLiteral("image %1 is missing: it stays blank here").arg(image));
            continue;
        }
        const QSize size = QImageReader(path).size();
        const QString unsafe = unsafeImage(image, size.width(), size.height());
        if (!unsafe.isEmpty())
            return unsafe;
    }
    return QString();
}

// A text browser reads its source, and rich text its images, when the form is
// shown; relative names resolve against the working directory.
QString checkLinkedFiles(const FormScan &scan, const QDir &formDirectory)
{
    for (const QString &file : scan.linkedFiles) {
        if (file.startsWith(QLatin1Char(':')))
            continue;
        const QStringList places =
            QFileInfo(file).isAbsolute()
                ? QStringList{file}
                : QStringList{QDir::current().filePath(file), formDirectory.filePath(file)};
        for (const QString &place : places) {
            const QString kind = nonRegularFileKind(place);
            if (!kind.isEmpty())
                return QStringLiteral("it names %1, %2").arg(file, kind);
            const QSize size = QImageReader(place).size();
            const QString unsafe = unsafeImage(file, size.width(), size.height());
            if (!unsafe.isEmpty())
                return unsafe;
        }
    }
    return QString();
}

// A widget's own style sheet in the form is installed by the toolkit like any
// other, so its url()s are held to what an author's sheet is held to.
QString checkStyleSheets(const FormScan &scan, const QString &formPath)
{
    for (const QString &sheet : scan.styleSheets) {
        const SheetModel model(sheet.toUtf8(), formPath);
        for (const ResourceTarget &target : model.resources) {
            if (!target.nonRegularKind.isEmpty())
                return QStringLiteral("a style sheet in it names %1, %2")
                    .arg(target.url, target.nonRegularKind);
            const QString unsafe =
                unsafeImage(target.url, target.imageSize.width(), target.imageSize.height());
            if (!unsafe.isEmpty())
                return QStringLiteral("a style sheet in it names ") + unsafe;
        }
    }
    return QString();
}

// The toolkit's UI loader with no plugin to load and every class it does not know
// made as the toolkit class it is promoted from.
class SafeUiLoader : public QUiLoader
{
public:
    SafeUiLoader(const QHash<QString, QString> &customBases, QStringList *notes)
        : customBases(customBases)
        , notes(notes)
    {
        // A designer plugin is code: no path, no plugin.
        clearPluginPaths();
        const QStringList available = availableWidgets();
        known = QSet<QString>(available.cbegin(), available.cend());
    }

    QWidget *createWidget(const QString &className, QWidget *parent, const QString &name) override
    {
        if (known.contains(className) && !customBases.contains(className))
            return QUiLoader::createWidget(className, parent, name);
        const QString shown = toolkitBase(className);
        if (!reported.contains(className)) {
            reported.insert(className);
            notes->append(QStringLiteral("%1 is shown as %2: rules naming %1 cannot match here")
                              .arg(className, shown));
        }
        return QUiLoader::createWidget(shown, parent, name);
    }

private:
    QString toolkitBase(QString className) const
    {
        QSet<QString> visited;
        while (!known.contains(className) || customBases.contains(className)) {
            if (visited.contains(className) || !customBases.contains(className))
                return QStringLiteral("QWidget");
            visited.insert(className);
            className = customBases.value(className);
        }
        return className;
    }

    QHash<QString, QString> customBases;
    QStringList *notes;
    QSet<QString> known;
    QSet<QString> reported;
};

QObject *objectNamed(QWidget *form, const QString &name)
{
    if (form->objectName() == name)
        return form;
    return form->findChild<QObject *>(name);
}

bool hasMethod(const QObject *object, const QString &signature, bool signalOnly)
{
    const QByteArray normal = QMetaObject::normalizedSignature(signature.toLatin1().constData());
    const QMetaObject *meta = object->metaObject();
    return signalOnly ? meta->indexOfSignal(normal.constData()) >= 0
                      : meta->indexOfMethod(normal.constData()) >= 0;
}

void noteConnections(const FormScan &scan, QWidget *form, QStringList *notes)
{
    for (const Connection &connection : scan.connections) {
        const QString written =
            QStringLiteral("%1 %2 -> %3 %4")
                .arg(connection.sender, connection.signal, connection.receiver, connection.slot);
        QObject *sender = objectNamed(form, connection.sender);
        QObject *receiver = objectNamed(form, connection.receiver);
        QString missing;
        if (!sender)
            missing = QStringLiteral("no object is named %1").arg(connection.sender);
        else if (!receiver)
            missing = QStringLiteral("no object is named %1").arg(connection.receiver);
        else if (!hasMethod(sender, connection.signal, true))
            missing =
                QStringLiteral("%1 has no signal %2")
                    .arg(QString::fromLatin1(sender->metaObject()->className()), connection.signal);
        else if (!hasMethod(receiver, connection.slot, false))
            missing =
                QStringLiteral("%1 has no slot %2")
                    .arg(QString::fromLatin1(receiver->metaObject()->className()), connection.slot);
        if (!missing.isEmpty())
            notes->append(QStringLiteral("connection %1: %2").arg(written, missing));
    }
    if (!scan.connections.isEmpty())
        notes->append(QStringLiteral("%1 signal/slot connection(s) not made: the preview shows "
                                     "the form without running it")
                          .arg(scan.connections.size()));
}

void noteActions(const FormScan &scan, QWidget *form, QStringList *notes)
{
    QSet<QString> reported;
    for (const QString &name : scan.addedActions) {
        if (name == QLatin1String("separator") || reported.contains(name) ||
            objectNamed(form, name))
            continue;
        reported.insert(name);
        notes->append(
            QStringLiteral("action %1 is missing: its menu or tool bar leaves it out").arg(name));
    }
}

// The loader's own complaints while it builds the form, kept for the notes.
QStringList *loaderMessages = nullptr;
QtMessageHandler previousHandler = nullptr;

void collectLoaderMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (loaderMessages && type != QtDebugMsg && type != QtInfoMsg) {
        loaderMessages->append(text.trimmed());
        return;
    }
    previousHandler(type, context, text);
}

} // namespace

LoadedForm loadForm(const QString &path)
{
    LoadedForm form;
    const QFileInfo info(path);
    form.title = info.fileName();
    const FileReadResult read = readRegularFile(path, kMaxFormBytes);
    if (!read.ok) {
        form.missing = !info.exists() && !info.isSymLink();
        form.error = form.missing ? QStringLiteral("no such file") : read.error;
        return form;
    }
    const FormScan scan = FormScanner(read.bytes).scan();
    if (!scan.error.isEmpty()) {
        form.error = scan.error;
        return form;
    }
    const QDir directory = info.absoluteDir();
    QStringList notes;
    form.error = checkImages(scan, directory, &notes);
    if (form.error.isEmpty())
        form.error = checkLinkedFiles(scan, directory);
    if (form.error.isEmpty())
        form.error = checkStyleSheets(scan, info.absoluteFilePath());
    if (!form.error.isEmpty())
        return form;

    SafeUiLoader loader(scan.customBases, &notes);
    loader.setWorkingDirectory(directory);
    QByteArray loadable = scan.loadable;
    QBuffer buffer(&loadable);
    buffer.open(QIODevice::ReadOnly);
    QStringList messages;
    loaderMessages = &messages;
    previousHandler = qInstallMessageHandler(collectLoaderMessage);
    form.widget.reset(loader.load(&buffer));
    qInstallMessageHandler(previousHandler);
    loaderMessages = nullptr;
    if (!form.widget) {
        const QString why = loader.errorString().trimmed();
        form.error = QStringLiteral("the toolkit's loader made nothing of it%1")
                         .arg(why.isEmpty() ? QString() : QStringLiteral(": ") + why);
        return form;
    }
    if (!form.widget->windowTitle().isEmpty())
        form.title = form.widget->windowTitle();
    noteActions(scan, form.widget.get(), &notes);
    noteConnections(scan, form.widget.get(), &notes);
    for (const QString &message : qAsConst(messages)) {
        if (!notes.contains(message))
            notes.append(message);
    }
    form.notes = notes;
    return form;
}
