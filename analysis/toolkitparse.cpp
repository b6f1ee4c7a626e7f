// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/toolkitparse.h"

#include "analysis/qssreference.h"
#include "analysis/toolkitsheet.h"

#include <QPalette>
#include <QSet>

bool toolkitParsesSheet(const QString &text)
{
    QCss::Parser parser(text);
    QCss::StyleSheet styleSheet;
    return parser.parse(&styleSheet);
}

namespace {
QtMessageHandler previousHandler = nullptr;

void dropParserMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("QCssParser::")) ||
        message.startsWith(QLatin1String("QCss::Parser")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

QStringList propertyDisagreements()
{
    QStringList found;
    QSet<int> covered;
    for (const QssReference::PropertyInfo &info : QssReference::properties()) {
        QCss::Parser parser(info.name + QStringLiteral(": 1"));
        QCss::Declaration declaration;
        if (!parser.parseNextDeclaration(&declaration)) {
            found.append(info.name + QStringLiteral(": not a declaration to the toolkit"));
            continue;
        }
        const int id = declaration.d->propertyId;
        if (id == QCss::UnknownProperty && !QssReference::isKnownProperty(info.name, false))
            found.append(info.name + QStringLiteral(": unknown to the toolkit"));
        covered.insert(id);
    }
    for (int id = QCss::UnknownProperty + 1; id < QCss::NumProperties; ++id) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
        // Added in Qt 6 and read by nothing the reference describes.
        if (id == QCss::TextDecorationColor)
            continue;
#endif
        if (!covered.contains(id))
            found.append(
                QStringLiteral("property %1 of the toolkit: not in the reference").arg(id));
    }
    return found;
}

QStringList paletteDisagreements()
{
    QPalette palette;
    for (int role = 0; role < QPalette::NColorRoles; ++role)
        palette.setColor(QPalette::ColorRole(role), QColor(role * 12, 7, 9));
    QStringList found;
    QSet<QRgb> colours;
    for (const QString &role : QssReference::paletteValueRoles()) {
        QCss::Parser parser(QStringLiteral("color: palette(%1)").arg(role));
        QCss::Declaration declaration;
        const QRgb colour = parser.parseNextDeclaration(&declaration)
                                ? declaration.brushValue(palette).color().rgb()
                                : QColor(Qt::black).rgb();
        if (colour == QColor(Qt::black).rgb() || colours.contains(colour))
            found.append(QStringLiteral("palette(%1): no colour of its own").arg(role));
        colours.insert(colour);
    }
    return found;
}
} // namespace

void quietToolkitParserMessages()
{
    static const bool installed = [] {
        previousHandler = qInstallMessageHandler(dropParserMessages);
        return true;
    }();
    Q_UNUSED(installed)
}

QStringList referenceDisagreements()
{
    return propertyDisagreements() + paletteDisagreements();
}
