// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tokens/sourcemap.h"

#include <algorithm>

namespace {
QVector<int> lineStartsOf(const QString &text)
{
    QVector<int> starts{0};
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\n'))
            starts << i + 1;
    }
    return starts;
}
} // namespace

void SourceMap::addCopy(int outputStart, int outputEnd, int templateOffset)
{
    if (outputEnd > outputStart)
        segments.append({outputStart, outputEnd, templateOffset, true, {}, {}});
}

void SourceMap::addValue(int outputStart, int outputEnd, int templateOffset,
                         const QString &tokenPath, const SourcePosition &tokenWhere)
{
    if (outputEnd > outputStart)
        segments.append({outputStart, outputEnd, templateOffset, false, tokenPath, tokenWhere});
}

void SourceMap::finish(const QString &templateFile, const QString &templateText,
                       const QString &output)
{
    file = templateFile;
    templateLines = lineStartsOf(templateText);
    templateLength = int(templateText.size());
    outputLines = lineStartsOf(output);
    outputLength = int(output.size());
}

SourcePosition SourceMap::templatePosition(int offset) const
{
    offset = qBound(0, offset, templateLength);
    const auto after = std::upper_bound(templateLines.begin(), templateLines.end(), offset);
    const int line = int(after - templateLines.begin());
    return {file, line, offset - templateLines.at(line - 1) + 1};
}

SourceMap::Origin SourceMap::originOf(int outputOffset) const
{
    const auto after = std::upper_bound(
        segments.begin(), segments.end(), outputOffset,
        [](int offset, const Segment &segment) { return offset < segment.outputStart; });
    if (after == segments.begin() || outputOffset >= outputLength) {
        const SourcePosition end = templatePosition(templateLength);
        return {end, end, {}, true};
    }
    const Segment &segment = *(after - 1);
    if (outputOffset >= segment.outputEnd) {
        // Between segments only when the map is incomplete: the next copied place.
        const int offset = segment.templateOffset + (segment.outputEnd - segment.outputStart);
        const SourcePosition at = templatePosition(offset);
        return {at, at, {}, true};
    }
    if (segment.copied) {
        const SourcePosition at =
            templatePosition(segment.templateOffset + outputOffset - segment.outputStart);
        return {at, at, {}, true};
    }
    const SourcePosition reference = templatePosition(segment.templateOffset);
    if (segment.tokenPath.isEmpty() || segment.tokenWhere.file.isEmpty())
        return {reference, reference, segment.tokenPath, false};
    return {segment.tokenWhere, reference, segment.tokenPath, false};
}

int SourceMap::outputOffset(int line, int column) const
{
    if (outputLines.isEmpty())
        return 0;
    line = qBound(1, line, int(outputLines.size()));
    const int lineEnd = line < outputLines.size() ? outputLines.at(line) - 1 : outputLength;
    return qBound(outputLines.at(line - 1), outputLines.at(line - 1) + column - 1, lineEnd);
}

SourceMap::Origin SourceMap::originAt(int line, int column) const
{
    return originOf(outputOffset(line, column));
}

QStringList SourceMap::tokensIn(int outputStart, int outputEnd) const
{
    QStringList paths;
    for (const Origin &origin : tokenOriginsIn(outputStart, outputEnd))
        paths << origin.tokenPath;
    return paths;
}

QVector<SourceMap::Origin> SourceMap::tokenOriginsIn(int outputStart, int outputEnd) const
{
    QVector<Origin> origins;
    QStringList paths;
    for (const Segment &segment : segments) {
        if (segment.outputStart >= outputEnd)
            break;
        if (segment.outputEnd > outputStart && !segment.copied && !segment.tokenPath.isEmpty() &&
            !paths.contains(segment.tokenPath)) {
            paths << segment.tokenPath;
            Origin origin;
            origin.where = segment.tokenWhere;
            origin.templateWhere = templatePosition(segment.templateOffset);
            origin.tokenPath = segment.tokenPath;
            origin.copied = false;
            origins.append(origin);
        }
    }
    return origins;
}
