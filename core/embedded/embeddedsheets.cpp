// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "embedded/embeddedsheets.h"

#include <QFileInfo>

EmbeddingLanguage embeddingLanguage(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("ui"))
        return EmbeddingLanguage::Form;
    static const QStringList cppSuffixes{QStringLiteral("cpp"), QStringLiteral("cc"),
                                         QStringLiteral("cxx"), QStringLiteral("h"),
                                         QStringLiteral("hpp"), QStringLiteral("hh")};
    if (cppSuffixes.contains(suffix))
        return EmbeddingLanguage::Cpp;
    if (suffix == QLatin1String("py"))
        return EmbeddingLanguage::Python;
    return EmbeddingLanguage::None;
}

int EmbeddedSheet::sourceOffset(int decodedOffset) const
{
    if (decodedOffset >= 0 && decodedOffset < sourceOffsets.size())
        return sourceOffsets.at(decodedOffset);
    for (const EmbeddedPiece &piece : pieces) {
        if (decodedOffset <= piece.decodedEnd && decodedOffset >= piece.decodedStart)
            return piece.sourceEnd;
    }
    return pieces.isEmpty() ? offset : pieces.constLast().sourceEnd;
}

int EmbeddedSheet::pieceOf(int decodedStart, int decodedEnd) const
{
    for (int i = 0; i < pieces.size(); ++i) {
        const EmbeddedPiece &piece = pieces.at(i);
        if (decodedStart >= piece.decodedStart && decodedEnd <= piece.decodedEnd &&
            decodedStart <= decodedEnd)
            return i;
    }
    return -1;
}

bool EmbeddedSheet::touchesStandIn(int start, int end) const
{
    for (const SheetRange &standIn : standIns) {
        if (start == end ? start > standIn.start && start < standIn.end
                         : start < standIn.end && end > standIn.start)
            return true;
    }
    return false;
}

QVector<EmbeddedSheet> readEmbeddedSheets(EmbeddingLanguage language, const QString &text)
{
    switch (language) {
    case EmbeddingLanguage::Form:
        return readFormSheets(text);
    case EmbeddingLanguage::Cpp:
        return readCppSheets(text);
    case EmbeddingLanguage::Python:
        return readPythonSheets(text);
    case EmbeddingLanguage::None:
        break;
    }
    return {};
}

QVector<EmbeddedSheet> readEmbeddedSheets(const QString &fileName, const QByteArray &content)
{
    const EmbeddingLanguage language = embeddingLanguage(fileName);
    if (language == EmbeddingLanguage::None)
        return {};
    return readEmbeddedSheets(language, QString::fromUtf8(content));
}
