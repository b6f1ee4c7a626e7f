// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "theme/schemepalette.h"

#include <QApplication>
#include <QMetaEnum>
#include <QScopedPointer>
#include <QStyle>
#include <QStyleFactory>
#include <QtTest>

class TestSchemePalette : public QObject
{
    Q_OBJECT

private slots:
    // The light palette is the one Fusion itself gives: every role, every group.
    void lightIsFusionsOwn()
    {
        QScopedPointer<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        QVERIFY(fusion);
        const QPalette expected = fusion->standardPalette();
        const QPalette light = schemePalette(ColorScheme::Light);
        const QMetaEnum roles = QMetaEnum::fromType<QPalette::ColorRole>();
        for (QPalette::ColorGroup group :
             {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            for (int role = 0; role < QPalette::NColorRoles; ++role) {
                const auto colorRole = QPalette::ColorRole(role);
                if (colorRole == QPalette::NoRole || !roles.valueToKey(role))
                    continue;
                QVERIFY2(
                    light.color(group, colorRole).rgba() == expected.color(group, colorRole).rgba(),
                    qPrintable(QStringLiteral("%1 in group %2: %3, Fusion gives %4")
                                   .arg(QLatin1String(roles.valueToKey(role)))
                                   .arg(int(group))
                                   .arg(light.color(group, colorRole).name(QColor::HexArgb),
                                        expected.color(group, colorRole).name(QColor::HexArgb))));
            }
        }
    }

    // Text stays readable on its own ground under both schemes, as a sheet that sets
    // nothing would be drawn.
    void darkIsDark()
    {
        const QPalette dark = schemePalette(ColorScheme::Dark);
        QVERIFY(dark.color(QPalette::Window).lightness() < 80);
        QVERIFY(dark.color(QPalette::WindowText).lightness() > 200);
        QVERIFY(dark.color(QPalette::Base).lightness() < dark.color(QPalette::Window).lightness());
    }
};

QTEST_MAIN(TestSchemePalette)
#include "tst_schemepalette.moc"
