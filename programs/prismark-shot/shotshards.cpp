// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "prismark-shot/shotshards.h"

#include "prismark-shot/shotoptions.h"
#include "support/atomicwrite.h"
#include "support/programsupport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <numeric>

namespace {

// What one image costs besides its pixels, as a share of a 1x image's pixels.
constexpr qint64 kImageBaseCost = 100;
constexpr qint64 kImagePixelCost = 100;

const QString kKind = QStringLiteral("prismark-shot shard");
const QString kLeftToRight = QStringLiteral("ltr");
const QString kRightToLeft = QStringLiteral("rtl");

// A number as text that reads back to the same double, so a part's percentages
// print and sort in the merge exactly as in the part.
QString exactNumber(double value)
{
    return QString::number(value, 'g', 17);
}

QJsonObject imageObject(const RenderedImage &image)
{
    return {{QStringLiteral("folder"), image.folder},
            {QStringLiteral("tab"), image.tab},
            {QStringLiteral("file"), image.fileName},
            {QStringLiteral("baseStyle"), image.combination.baseStyle},
            {QStringLiteral("direction"),
             image.combination.direction == Qt::RightToLeft ? kRightToLeft : kLeftToRight},
            {QStringLiteral("disabled"), image.combination.disabled},
            {QStringLiteral("scale"), exactNumber(image.combination.scale)},
            {QStringLiteral("cell"), image.cell},
            {QStringLiteral("place"), image.place},
            {QStringLiteral("baselineMissing"), image.baselineMissing},
            {QStringLiteral("sizeDiffers"), image.diff.sizeDiffers},
            {QStringLiteral("differingPixels"), QString::number(image.diff.differingPixels)},
            {QStringLiteral("differingPercent"), exactNumber(image.diff.differingPercent)}};
}

// The names become paths under the merge's folder: they stay inside it.
bool plainPath(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1String("..")) &&
           !name.startsWith(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

bool plainName(const QString &name)
{
    return plainPath(name) && !name.contains(QLatin1Char('/'));
}

bool readImage(const QJsonValue &value, RenderedImage *image)
{
    const QJsonObject object = value.toObject();
    for (const char *key : {"folder", "tab", "file", "baseStyle", "direction", "scale",
                            "differingPixels", "differingPercent"})
        if (!object.value(QLatin1String(key)).isString())
            return false;
    for (const char *key : {"cell", "place"})
        if (!object.value(QLatin1String(key)).isDouble())
            return false;
    image->folder = object.value(QStringLiteral("folder")).toString();
    image->tab = object.value(QStringLiteral("tab")).toString();
    image->fileName = object.value(QStringLiteral("file")).toString();
    image->combination.baseStyle = object.value(QStringLiteral("baseStyle")).toString();
    const QString direction = object.value(QStringLiteral("direction")).toString();
    image->combination.direction = direction == kRightToLeft ? Qt::RightToLeft : Qt::LeftToRight;
    image->combination.disabled = object.value(QStringLiteral("disabled")).toBool();
    bool scaleOk = false, pixelsOk = false, percentOk = false;
    image->combination.scale = object.value(QStringLiteral("scale")).toString().toDouble(&scaleOk);
    image->cell = object.value(QStringLiteral("cell")).toInt(-1);
    image->place = object.value(QStringLiteral("place")).toInt(-1);
    image->baselineMissing = object.value(QStringLiteral("baselineMissing")).toBool();
    image->diff.sizeDiffers = object.value(QStringLiteral("sizeDiffers")).toBool();
    image->diff.differingPixels =
        object.value(QStringLiteral("differingPixels")).toString().toLongLong(&pixelsOk);
    image->diff.differingPercent =
        object.value(QStringLiteral("differingPercent")).toString().toDouble(&percentOk);
    return scaleOk && pixelsOk && percentOk && image->cell >= 0 && image->place >= 0 &&
           (direction == kLeftToRight || direction == kRightToLeft) && plainPath(image->folder) &&
           plainName(image->fileName);
}

bool readImages(const QJsonValue &value, QVector<RenderedImage> *images)
{
    if (!value.isArray())
        return false;
    for (const QJsonValue &entry : value.toArray()) {
        RenderedImage image;
        if (!readImage(entry, &image))
            return false;
        images->append(image);
    }
    return true;
}

} // namespace

int matrixCellCount(const ShotOptions &options, int themeCount)
{
    if (options.audit)
        return themeCount;
    return themeCount *
           int(options.baseStyles.size() * options.directions.size() * options.scales.size());
}

int matrixCellIndex(const ShotOptions &options, int themeIndex, const ShotCombination &combination)
{
    if (options.audit)
        return themeIndex;
    const auto scale =
        std::find_if(options.scales.cbegin(), options.scales.cend(),
                     [&](qreal known) { return qFuzzyCompare(known, combination.scale); });
    const int style = int(options.baseStyles.indexOf(combination.baseStyle));
    const int direction = int(options.directions.indexOf(combination.direction));
    return ((themeIndex * int(options.baseStyles.size()) + style) * int(options.directions.size()) +
            direction) *
               int(options.scales.size()) +
           int(scale - options.scales.cbegin());
}

qint64 matrixCellCost(const ShotOptions &options, const ShotSubjects &subjects, int cell)
{
    const qint64 images = qint64(subjects.tabs.size()) * (options.disabledToo ? 2 : 1);
    const qreal scale = options.audit ? options.scales.constFirst()
                                      : options.scales.at(cell % options.scales.size());
    return images * (kImageBaseCost + qRound64(kImagePixelCost * scale * scale));
}

QVector<bool> shardCells(const ShotOptions &options, const ShotSubjects &subjects, int shard,
                         int shards)
{
    const int count = matrixCellCount(options, int(subjects.themes.size()));
    QVector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    QVector<qint64> costs(count);
    for (int cell = 0; cell < count; ++cell)
        costs[cell] = matrixCellCost(options, subjects, cell);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return costs[a] > costs[b]; });
    QVector<qint64> loads(shards, 0);
    QVector<bool> held(count, false);
    for (int cell : qAsConst(order)) {
        const int part = int(std::min_element(loads.cbegin(), loads.cend()) - loads.cbegin());
        loads[part] += costs[cell];
        held[cell] = part == shard - 1;
    }
    return held;
}

QByteArray shardManifestJson(const ShardManifest &manifest)
{
    QJsonArray cells, themes, tabs, images, extras;
    for (int cell : manifest.cells)
        cells << cell;
    for (const ShotTheme &theme : manifest.themes)
        themes << QJsonObject{{QStringLiteral("folder"), theme.folder},
                              {QStringLiteral("name"), theme.name},
                              {QStringLiteral("displayName"), theme.displayName}};
    for (const TabChoice &tab : manifest.tabs)
        tabs << QJsonObject{{QStringLiteral("file"), tab.file},
                            {QStringLiteral("label"), tab.label}};
    for (const RenderedImage &image : manifest.images)
        images << imageObject(image);
    for (const RenderedImage &image : manifest.extras)
        extras << imageObject(image);
    const QJsonObject root{
        {QStringLiteral("kind"), kKind},
        {QStringLiteral("arguments"), QJsonArray::fromStringList(manifest.arguments)},
        {QStringLiteral("shard"), manifest.shard},
        {QStringLiteral("shards"), manifest.shards},
        {QStringLiteral("cellCount"), manifest.cellCount},
        {QStringLiteral("cells"), cells},
        {QStringLiteral("themes"), themes},
        {QStringLiteral("tabs"), tabs},
        {QStringLiteral("images"), images},
        {QStringLiteral("extras"), extras},
        {QStringLiteral("formFailed"), manifest.formFailed},
        {QStringLiteral("exitCode"), manifest.exitCode}};
    return QJsonDocument(root).toJson();
}

bool readShardManifest(const QByteArray &json, ShardManifest *manifest, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    const QJsonObject root = document.object();
    if (document.isNull() || root.value(QStringLiteral("kind")).toString() != kKind) {
        *error = QStringLiteral("not a shard manifest");
        return false;
    }
    ShardManifest read;
    for (const QJsonValue &argument : root.value(QStringLiteral("arguments")).toArray())
        read.arguments << argument.toString();
    read.shard = root.value(QStringLiteral("shard")).toInt();
    read.shards = root.value(QStringLiteral("shards")).toInt();
    read.cellCount = root.value(QStringLiteral("cellCount")).toInt(-1);
    for (const QJsonValue &cell : root.value(QStringLiteral("cells")).toArray())
        read.cells << cell.toInt(-1);
    for (const QJsonValue &value : root.value(QStringLiteral("themes")).toArray()) {
        ShotTheme theme;
        theme.folder = value.toObject().value(QStringLiteral("folder")).toString();
        theme.name = value.toObject().value(QStringLiteral("name")).toString();
        theme.displayName = value.toObject().value(QStringLiteral("displayName")).toString();
        read.themes << theme;
    }
    for (const QJsonValue &value : root.value(QStringLiteral("tabs")).toArray())
        read.tabs << TabChoice{-1, value.toObject().value(QStringLiteral("file")).toString(),
                               value.toObject().value(QStringLiteral("label")).toString()};
    read.formFailed = root.value(QStringLiteral("formFailed")).toBool();
    read.exitCode = root.value(QStringLiteral("exitCode")).toInt(-1);
    const bool cellsFit = std::all_of(read.cells.cbegin(), read.cells.cend(),
                                      [&](int cell) { return cell >= 0 && cell < read.cellCount; });
    const bool namesFit =
        std::all_of(read.themes.cbegin(), read.themes.cend(),
                    [](const ShotTheme &theme) { return plainName(theme.folder); }) &&
        std::all_of(read.tabs.cbegin(), read.tabs.cend(),
                    [](const TabChoice &tab) { return plainName(tab.file); });
    if (!(read.shards >= 1 && read.shard >= 1 && read.shard <= read.shards) || !cellsFit ||
        !namesFit || read.exitCode < 0 || read.themes.isEmpty() ||
        !readImages(root.value(QStringLiteral("images")), &read.images) ||
        !readImages(root.value(QStringLiteral("extras")), &read.extras)) {
        *error = QStringLiteral("a shard manifest with values out of range");
        return false;
    }
    *manifest = read;
    return true;
}

bool writeShardManifest(const ShotOptions &options, const ShotSubjects &subjects,
                        const QVector<RenderedImage> &images, const QVector<RenderedImage> &extras,
                        int exitCode)
{
    ShardManifest manifest;
    manifest.arguments = options.matrixArguments;
    manifest.shard = options.shard;
    manifest.shards = options.shards;
    manifest.cellCount = matrixCellCount(options, int(subjects.themes.size()));
    for (int cell = 0; cell < manifest.cellCount; ++cell)
        if (subjects.holds(cell))
            manifest.cells << cell;
    manifest.themes = subjects.themes;
    manifest.tabs = subjects.tabs;
    manifest.images = images;
    manifest.extras = extras;
    manifest.formFailed = subjects.formFailed;
    manifest.exitCode = exitCode;
    const QString path = QDir(options.outPath).filePath(QLatin1String(kShardManifestFile));
    QString error;
    if (!writeFileAtomically(path, shardManifestJson(manifest), &error)) {
        printProgramError(QStringLiteral("cannot write %1: %2").arg(path, error));
        return false;
    }
    return true;
}
