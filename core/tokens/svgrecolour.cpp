// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "tokens/svgrecolour.h"

#include <QRegularExpression>

QByteArray recolourSvg(const QByteArray &svg, const QString &fileName, const DesignTokens &tokens,
                       SourceErrors *errors)
{
    const QString text = QString::fromUtf8(svg);
    static const QRegularExpression reference(QStringLiteral("\\{([^{}\\s;:,\"'<>()]+)\\}"));
    QString out;
    int copied = 0;
    QRegularExpressionMatchIterator matches = reference.globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        const QString name = match.captured(1);
        const int offset = int(match.capturedStart());
        const auto fail = [&](const QString &message) {
            const int lineStart =
                offset > 0 ? int(text.lastIndexOf(QLatin1Char('\n'), offset - 1)) + 1 : 0;
            const int line = int(text.left(offset).count(QLatin1Char('\n'))) + 1;
            if (errors)
                errors->append({{fileName, line, offset - lineStart + 1}, message});
        };
        out += text.mid(copied, offset - copied);
        copied = int(match.capturedEnd());
        const TokenValue *value = tokens.value(name);
        if (!value) {
            if (!tokens.isDefined(name)) {
                const QString closest = tokens.closestName(name);
                fail(closest.isEmpty() ? QStringLiteral("unknown token {%1}").arg(name)
                                       : QStringLiteral("unknown token {%1}; did you mean {%2}?")
                                             .arg(name, closest));
            }
            continue;
        }
        if (!value->isColour()) {
            fail(QStringLiteral("an icon takes colours, and {%1} is a %2").arg(name, value->type));
            continue;
        }
        if (value->colour.alpha() != 255) {
            fail(QStringLiteral("{%1} is translucent; an icon takes opaque colours, its "
                                "opacity belongs in the SVG")
                     .arg(name));
            continue;
        }
        out += value->keyword.isEmpty() ? value->colour.name() : value->keyword;
    }
    out += text.mid(copied);
    return out.toUtf8();
}
