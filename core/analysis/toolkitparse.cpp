// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "analysis/toolkitparse.h"

#include "analysis/qssreference.h"
#include "analysis/toolkitsheet.h"

#include <QPalette>
#include <QSet>
#include <QTextStream>

bool toolkitParsesSheet(const QString &text)
{
    QCss::Parser parser(text);
    QCss::StyleSheet styleSheet;
    return parser.parse(&styleSheet);
}

namespace {
void summariseSelector(const QCss::Selector &selector, QTextStream &out)
{
    for (const QCss::BasicSelector &basic : selector.basicSelectors) {
        out << "  <" << basic.elementName << '>';
        for (const QString &id : basic.ids)
            out << " #" << id;
        for (const QCss::Pseudo &pseudo : basic.pseudos)
            out << " :" << (pseudo.negated ? "!" : "") << pseudo.name << '/' << pseudo.type
                << '(' << pseudo.function << ')';
        for (const QCss::AttributeSelector &attribute : basic.attributeSelectors)
            out << " [" << attribute.name << ' ' << int(attribute.valueMatchCriterium) << ' '
                << attribute.value << ']';
        out << " ~" << int(basic.relationToNext) << '\n';
    }
}

void summariseDeclarations(const QVector<QCss::Declaration> &declarations, QTextStream &out)
{
    for (const QCss::Declaration &declaration : declarations) {
        out << "  " << declaration.d->property << '/' << int(declaration.d->propertyId)
            << (declaration.d->important ? " !important" : "") << ':';
        for (const QCss::Value &value : declaration.d->values)
            out << ' ' << int(value.type) << '=' << value.variant.toString();
        out << '\n';
    }
}
} // namespace

bool toolkitParseSummary(const QString &text, QString *summary)
{
    QCss::Parser parser(text);
    QCss::StyleSheet styleSheet;
    if (!parser.parse(&styleSheet))
        return false;
    summary->clear();
    QTextStream out(summary);
    for (const QCss::StyleRule &rule : qAsConst(styleSheet.styleRules)) {
        out << "rule\n";
        for (const QCss::Selector &selector : rule.selectors) {
            out << " selector\n";
            summariseSelector(selector, out);
        }
        summariseDeclarations(rule.declarations, out);
    }
    out << "media " << styleSheet.mediaRules.size() << " page " << styleSheet.pageRules.size()
        << " import " << styleSheet.importRules.size() << '\n';
    return true;
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
