// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tokens/themebuild.h"

#include "support/safefileread.h"
#include "tokens/designtokens.h"
#include "tokens/svgrecolour.h"
#include "tokens/themetemplate.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

// Paths as the author would type them from where the template was named.
class SourceFiles
{
public:
    SourceFiles(const QString &templatePath, const QHash<QString, QString> &edited)
        : directory(QFileInfo(templatePath).path())
        , edited(edited)
    {}

    QString displayPath(const QString &relative) const
    {
        if (QDir::isAbsolutePath(relative) || directory == QLatin1String("."))
            return QDir::cleanPath(relative);
        return QDir::cleanPath(directory + QLatin1Char('/') + relative);
    }

    // The file's text; an unreadable file is an error at where, which names it.
    bool read(const QString &relative, const SourcePosition &where, QString *text,
              SourceErrors *errors)
    {
        const QString path = displayPath(relative);
        const auto cached = cache.constFind(path);
        if (cached != cache.constEnd()) {
            *text = *cached;
            return true;
        }
        const auto open = edited.constFind(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
        if (open != edited.constEnd()) {
            *text = *open;
            cache.insert(path, *text);
            return true;
        }
        const FileReadResult result = readRegularFile(path, kMaxThemeSourceBytes);
        if (!result.ok) {
            SourceError error{where, QStringLiteral("cannot read %1: %2").arg(path, result.error),
                              true};
            errors->append(error);
            return false;
        }
        *text = QString::fromUtf8(result.bytes);
        cache.insert(path, *text);
        return true;
    }

private:
    QString directory;
    QHash<QString, QString> edited;
    QHash<QString, QString> cache;
};

QString xmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QByteArray qrcText(const QString &prefix, QStringList files)
{
    std::sort(files.begin(), files.end());
    QString text =
        QStringLiteral("<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"%1\">\n")
            .arg(xmlEscaped(prefix));
    for (const QString &file : qAsConst(files))
        text += QStringLiteral("    <file>%1</file>\n").arg(xmlEscaped(file));
    text += QStringLiteral("</qresource>\n</RCC>\n");
    return text.toUtf8();
}

// Each finding once: a base token file's slip shows in every variant.
SourceErrors withoutRepeats(const SourceErrors &errors)
{
    SourceErrors unique;
    QSet<QString> seen;
    for (const SourceError &error : errors) {
        const QString key = error.text();
        if (!seen.contains(key)) {
            seen.insert(key);
            unique.append(error);
        }
    }
    return unique;
}

struct Icon
{
    QString name;
    QString file;
    QByteArray svg;
};

} // namespace

bool ThemeBuild::unreadable() const
{
    return std::any_of(errors.begin(), errors.end(),
                       [](const SourceError &error) { return error.unreadable; });
}

QString themeTemplateStem(const QString &templatePath)
{
    QString name = QFileInfo(templatePath).fileName();
    for (const QLatin1String suffix :
         {QLatin1String(".qss.in"), QLatin1String(".in"), QLatin1String(".qss")}) {
        if (name.endsWith(suffix) && name.size() > suffix.size())
            return name.chopped(suffix.size());
    }
    return name;
}

namespace {

// The variants asked for, by name or in kebab case, each once; all when none is
// named. False with build->usageError set for a name the template does not have.
bool chooseVariants(const ThemeTemplate &theme, const ThemeBuildOptions &options,
                    const QString &templateName, QVector<TemplateVariant> *variants,
                    ThemeBuild *build)
{
    const QVector<TemplateVariant> all = theme.variants();
    if (options.variants.isEmpty()) {
        *variants = all;
        return true;
    }
    for (const QString &wanted : options.variants) {
        const auto found = std::find_if(all.begin(), all.end(), [&](const TemplateVariant &v) {
            return v.name.compare(wanted, Qt::CaseInsensitive) == 0 ||
                   kebabCaseName(v.name) == wanted;
        });
        if (found == all.end()) {
            QStringList names;
            for (const TemplateVariant &v : all)
                names << v.name;
            build->usageError = QStringLiteral("%1 has no variant \"%2\"; it has %3")
                                    .arg(templateName, wanted, names.join(QLatin1String(", ")));
            return false;
        }
        if (std::none_of(variants->begin(), variants->end(),
                         [&](const TemplateVariant &v) { return v.name == found->name; }))
            variants->append(*found);
    }
    return true;
}

// The icons, read once; each variant recolours its own copies.
QVector<Icon> readIcons(const ThemeTemplate &theme, const SourceFiles &files, SourceErrors *errors)
{
    QVector<Icon> icons;
    if (theme.iconsDirectory().isEmpty())
        return icons;
    const QString directory = files.displayPath(theme.iconsDirectory());
    if (!QFileInfo(directory).isDir()) {
        errors->append(
            {theme.iconsWhere(),
             QStringLiteral("cannot read the icons: %1 is not a directory").arg(directory), true});
        return icons;
    }
    const QStringList names = QDir(directory).entryList({QStringLiteral("*.svg")},
                                                        QDir::Files | QDir::Readable, QDir::Name);
    for (const QString &name : names) {
        const QString relative = theme.iconsDirectory() + QLatin1Char('/') + name;
        const FileReadResult read =
            readRegularFile(files.displayPath(relative), kMaxThemeSourceBytes);
        if (!read.ok) {
            errors->append({theme.iconsWhere(),
                            QStringLiteral("cannot read icon %1: %2")
                                .arg(files.displayPath(relative), read.error),
                            true});
            continue;
        }
        icons.append({name.chopped(4), files.displayPath(relative), read.bytes});
    }
    return icons;
}

// A variant's tokens: the base files, then its own over them, aliases resolved last.
DesignTokens variantTokens(const ThemeTemplate &theme, const TemplateVariant &variant,
                           SourceFiles &files, SourceErrors *errors,
                           const ThemeBuildOptions *options = nullptr)
{
    DesignTokens tokens;
    for (const QString &file : theme.baseFiles()) {
        QString text;
        if (files.read(file, theme.baseWhere(), &text, errors))
            tokens.addDocument(text, files.displayPath(file), errors);
    }
    for (const QString &file : variant.files) {
        QString text;
        if (files.read(file, variant.where, &text, errors))
            tokens.addDocument(text, files.displayPath(file), errors);
    }
    if (options) {
        const auto extra = options->overrideTokens.constFind(variant.name);
        if (extra != options->overrideTokens.constEnd())
            tokens.addDocument(*extra, options->overrideTokensName, errors);
    }
    tokens.resolve(errors);
    return tokens;
}

// "/prefix/" from a --qrc-prefix written with or without its slashes.
QString resourceRootOf(const QString &prefix)
{
    QString root = prefix;
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    if (!root.startsWith(QLatin1Char('/')))
        root.prepend(QLatin1Char('/'));
    return root;
}

// What a template's url(icons/NAME) becomes in a variant's sheet; empty for no such icon.
QString iconUrlFor(const QString &name, const QVector<Icon> &icons, const QString &iconDirectory,
                   const QString &resourceRoot, const ThemeBuildOptions &options)
{
    for (const Icon &icon : icons) {
        for (const QString &file :
             {icon.name + QStringLiteral(".svg"), icon.name + QStringLiteral(".png"),
              icon.name + QStringLiteral("@2x.png")}) {
            if (file != name)
                continue;
            if (!options.iconRoot.isEmpty())
                return options.iconRoot + QLatin1Char('/') + iconDirectory + QLatin1Char('/') +
                       icon.name + QStringLiteral(".svg");
            if (options.sourceIconUrls)
                return QFileInfo(icon.file).absoluteFilePath();
            const QString path = iconDirectory + QLatin1Char('/') + file;
            return options.resourceUrls ? QLatin1Char(':') + resourceRoot + path : path;
        }
    }
    return QString();
}

} // namespace

ThemeBuild buildTheme(const QString &templatePath, const ThemeBuildOptions &options)
{
    ThemeBuild build;
    build.stem = themeTemplateStem(templatePath);
    build.qrcFileName = build.stem + QStringLiteral(".qrc");
    const QString templateName = QDir::cleanPath(templatePath);
    SourceFiles files(templatePath, options.sourceTexts);
    SourceErrors errors;

    const FileReadResult source = options.templateText.isNull()
                                      ? readRegularFile(templatePath, kMaxThemeSourceBytes)
                                      : FileReadResult{true, options.templateText.toUtf8(), {}};
    if (!source.ok) {
        build.errors.append({{templateName, 0, 0},
                             QStringLiteral("cannot read the template: %1").arg(source.error),
                             true});
        return build;
    }
    const ThemeTemplate theme =
        ThemeTemplate::parse(QString::fromUtf8(source.bytes), templateName, &errors);
    build.contrastLevel = theme.contrastLevel();
    QVector<TemplateVariant> variants;
    if (!chooseVariants(theme, options, templateName, &variants, &build))
        return build;
    const QVector<Icon> icons = readIcons(theme, files, &errors);
    const QString prefix =
        options.qrcPrefix.isEmpty() ? QLatin1Char('/') + build.stem : options.qrcPrefix;
    const QString resourceRoot = resourceRootOf(prefix);
    QStringList qrcFiles;

    for (const TemplateVariant &variant : qAsConst(variants)) {
        const DesignTokens tokens = variantTokens(theme, variant, files, &errors, &options);
        const QString kebab = kebabCaseName(variant.name);
        const QString iconDirectory = kebab + QStringLiteral("/icons");
        const auto iconUrl = [&](const QString &name) {
            return iconUrlFor(name, icons, iconDirectory, resourceRoot, options);
        };
        BuiltSheet sheet;
        sheet.variant = variant.name;
        sheet.fileName = QString(options.sheetName)
                             .replace(QLatin1String("{stem}"), build.stem)
                             .replace(QLatin1String("{variant}"), kebab)
                             .replace(QLatin1String("{camel}"), lowerCamelCaseName(variant.name));
        sheet.text = theme.render(tokens, variant.name, iconUrl, &errors, &sheet.map).toUtf8();
        sheet.tokens = tokens;
        sheet.highContrast = variant.highContrast;
        build.sheets.append(sheet);
        qrcFiles << sheet.fileName;

        for (const Icon &icon : icons) {
            BuiltIcon built{variant.name, iconDirectory, icon.name,
                            recolourSvg(icon.svg, icon.file, tokens, &errors)};
            build.icons.append(built);
            for (const QString &suffix :
                 {QStringLiteral(".svg"), QStringLiteral(".png"), QStringLiteral("@2x.png")})
                qrcFiles << iconDirectory + QLatin1Char('/') + icon.name + suffix;
        }
    }
    build.qrc = qrcText(prefix, qrcFiles);
    build.errors = withoutRepeats(errors);
    return build;
}

QVector<DesignTokens> themeVariantTokens(const QString &templatePath, SourceErrors *errors,
                                         const QString &text,
                                         const QHash<QString, QString> &tokenTexts)
{
    QVector<DesignTokens> result;
    const FileReadResult source = text.isNull()
                                      ? readRegularFile(templatePath, kMaxThemeSourceBytes)
                                      : FileReadResult{true, text.toUtf8(), {}};
    const QString templateName = QDir::cleanPath(templatePath);
    if (!source.ok) {
        errors->append({{templateName, 0, 0},
                        QStringLiteral("cannot read the template: %1").arg(source.error),
                        true});
        return result;
    }
    const ThemeTemplate theme =
        ThemeTemplate::parse(QString::fromUtf8(source.bytes), templateName, errors);
    SourceFiles files(templatePath, tokenTexts);
    for (const TemplateVariant &variant : theme.variants())
        result.append(variantTokens(theme, variant, files, errors));
    return result;
}
