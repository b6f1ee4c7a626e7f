// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include "prismark-shot/baselinecomparison.h"
#include "prismark-shot/shotnames.h"
#include "prismark-shot/shotsubjects.h"

#include <QByteArray>
#include <QStringList>
#include <QVector>

struct ShotOptions;

// The whole matrix, cell by cell, numbered in the order one run renders them: with
// --audit one cell per theme (an audit is of one combination), else one per theme,
// base style, direction and scale, each holding its tabs (and their disabled renders).
int matrixCellCount(const ShotOptions &options, int themeCount);
int matrixCellIndex(const ShotOptions &options, int themeIndex, const ShotCombination &combination);
// What rendering a cell is expected to cost, in no unit: each image by its pixels
// at the scale, plus a share for laying out and polishing the window that every
// image costs whatever its scale.
qint64 matrixCellCost(const ShotOptions &options, const ShotSubjects &subjects, int cell);
// The cells part `shard` of `shards` (from 1) holds: longest first, each to the part
// whose cost is lowest so far, the lowest numbered part on a tie, so every machine
// splits a matrix the same way.
QVector<bool> shardCells(const ShotOptions &options, const ShotSubjects &subjects, int shard,
                         int shards);

// What a part writes beside its images: DIR/shard.json; with --audit each theme's
// findings in DIR/.shard-audit/<theme>/, the way an attached application hands
// them over.
inline constexpr char kShardManifestFile[] = "shard.json";
inline constexpr char kShardAuditFolder[] = ".shard-audit";
// With --contact-sheet, each image's thumbnail as DIR/.shard-thumbnails/<theme>/<image>.
inline constexpr char kShardThumbnailFolder[] = ".shard-thumbnails";

// A part of a sharded run, as --merge reads it back.
struct ShardManifest
{
    // The command line of the whole matrix: the part's own less --shard, --out,
    // --html, --quiet and --list.
    QStringList arguments;
    int shard = 0;
    int shards = 0;
    int cellCount = 0;
    QVector<int> cells;
    // Folder, name and display name of each theme; file and label of each tab.
    QVector<ShotTheme> themes;
    QVector<TabChoice> tabs;
    // With --compare, each with its comparison's outcome; the baseline's images the
    // part's cells did not render.
    QVector<RenderedImage> images;
    QVector<RenderedImage> extras;
    bool formFailed = false;
    int exitCode = 0;
};

QByteArray shardManifestJson(const ShardManifest &manifest);
// False, with the reason, for text that is no manifest or one of impossible values.
bool readShardManifest(const QByteArray &json, ShardManifest *manifest, QString *error);

// The manifest of this part; false when it cannot be written (the error printed).
bool writeShardManifest(const ShotOptions &options, const ShotSubjects &subjects,
                        const QVector<RenderedImage> &images, const QVector<RenderedImage> &extras,
                        int exitCode);
