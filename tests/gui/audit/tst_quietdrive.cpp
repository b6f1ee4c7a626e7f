// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "audit/stateaudit.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(AuditDrive)

// The state audit's quiet drive, as it runs on an author's application: the looks a
// sheet gives hover, a press and focus are still seen (a planted fault is found),
// yet nothing the application handles happens: no signal, no input, focus or
// activation event. What it cannot show so is reported as not audited.
class TestQuietDrive : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void plantedFaultIsSeen_data();
    void plantedFaultIsSeen();
    void applicationHearsNothing_data();
    void applicationHearsNothing();
    void statesThatWouldReachTheApplicationAreGaps();

private:
    QVector<AuditFinding> audit(AuditDrive drive, QVector<AuditGap> *gaps = nullptr);

    std::unique_ptr<QWidget> window;
    QPushButton *button = nullptr;
    QLineEdit *edit = nullptr;
    QCheckBox *box = nullptr;
    QSpinBox *spin = nullptr;
    QButtonGroup *group = nullptr;
};

namespace {

// Each state of a button and a line edit looks its own; a row replaces one look
// with the normal one.
const char kGoodSheet[] = "QWidget { background: #ffffff; }\n"
                          "QPushButton { color: #000000; border: 1px solid #000000; "
                          "padding: 6px; }\n"
                          "QPushButton:hover { background: #202060; color: #ffffff; }\n"
                          "QPushButton:pressed { background: #ffe000; color: #000000; }\n"
                          "QPushButton:focus { border: 3px solid #c00000; }\n"
                          "QLineEdit { border: 1px solid #000000; }\n"
                          "QLineEdit:hover { border: 2px solid #000000; }\n"
                          "QLineEdit:focus { border: 3px solid #c00000; }\n"
                          "QCheckBox::indicator { width: 16px; height: 16px; "
                          "border: 1px solid #000000; }\n"
                          "QCheckBox::indicator:hover { background: #202060; }\n";

// Counts what reaches the application's widgets from outside their painting.
class HeardEvents : public QObject
{
public:
    QStringList heard;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
        case QEvent::Enter:
        case QEvent::HoverEnter:
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::WindowActivate:
        case QEvent::KeyPress:
            heard << QStringLiteral("%1 to %2").arg(event->type()).arg(watched->objectName());
            break;
        default:
            break;
        }
        return false;
    }
};

QStringList findingNames(const QVector<AuditFinding> &findings)
{
    QStringList names;
    for (const AuditFinding &finding : findings)
        names << finding.object + QLatin1Char(' ') + auditStateName(finding.state) +
                     QLatin1Char(' ') + QLatin1String(auditChecks().at(finding.check).id);
    return names;
}

} // namespace

void TestQuietDrive::init()
{
    window = std::make_unique<QWidget>();
    window->setObjectName(QStringLiteral("window"));
    auto *layout = new QVBoxLayout(window.get());
    button = new QPushButton(QStringLiteral("Save"));
    button->setObjectName(QStringLiteral("saveButton"));
    edit = new QLineEdit(QStringLiteral("name"));
    edit->setObjectName(QStringLiteral("nameEdit"));
    box = new QCheckBox(QStringLiteral("Remember"));
    box->setObjectName(QStringLiteral("rememberBox"));
    spin = new QSpinBox;
    spin->setObjectName(QStringLiteral("countSpin"));
    // Not exclusive: the group still tells of its buttons' toggles.
    group = new QButtonGroup(window.get());
    group->setExclusive(false);
    group->addButton(box);
    for (QWidget *widget : {static_cast<QWidget *>(button), static_cast<QWidget *>(edit),
                            static_cast<QWidget *>(box), static_cast<QWidget *>(spin)})
        layout->addWidget(widget);
    window->resize(240, 200);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestQuietDrive::cleanup()
{
    window.reset();
    qApp->setStyleSheet(QString());
}

QVector<AuditFinding> TestQuietDrive::audit(AuditDrive drive, QVector<AuditGap> *gaps)
{
    // As in a running application, the sheet has been in force a while.
    QCoreApplication::sendPostedEvents();
    QWidget *shown = window.get();
    StateAudit stateAudit(
        shown,
        [shown](const QRect &area, qreal scale) { return renderWindowArea(shown, area, scale); },
        1);
    stateAudit.setDrive(drive);
    QVector<StateStrip> strips;
    const QVector<AuditFinding> findings = stateAudit.auditPage(
        shown, QStringLiteral("theme"), QStringLiteral("tab"), nullptr, &strips);
    if (gaps)
        *gaps = stateAudit.takeGaps();

    return findings;
}

void TestQuietDrive::plantedFaultIsSeen_data()
{
    QTest::addColumn<QString>("planted");
    QTest::addColumn<QString>("finding");
    QTest::newRow("hover painted like normal")
        << "QPushButton:hover { background: #ffffff; color: #000000; }"
        << "saveButton hover hover-indistinguishable";
    QTest::newRow("pressed painted like hover")
        << "QPushButton:pressed { background: #202060; color: #ffffff; }"
        << "saveButton pressed pressed-like-hover";
    QTest::newRow("a check box's hover painted like normal")
        << "QCheckBox::indicator:hover { background: #ffffff; }"
        << "rememberBox hover hover-indistinguishable";
    QTest::newRow("focus painted like normal") << "QLineEdit:focus { border: 1px solid #000000; }"
                                               << "nameEdit focus no-visible-focus";
}

void TestQuietDrive::plantedFaultIsSeen()
{
    QFETCH(QString, planted);
    QFETCH(QString, finding);
    qApp->setStyleSheet(QLatin1String(kGoodSheet));
    const QStringList clean = findingNames(audit(AuditDrive::Quiet));
    QVERIFY2(!clean.contains(finding), qPrintable(clean.join(QLatin1Char('\n'))));
    qApp->setStyleSheet(QLatin1String(kGoodSheet) + planted);
    const QStringList found = findingNames(audit(AuditDrive::Quiet));
    QVERIFY2(found.contains(finding), qPrintable(found.join(QLatin1Char('\n'))));
}

void TestQuietDrive::applicationHearsNothing_data()
{
    QTest::addColumn<AuditDrive>("drive");
    QTest::addColumn<bool>("eventsToo");
    // The gallery's drive presses and focuses for real; only its signals are held.
    QTest::newRow("the gallery's drive tells no toggle") << AuditDrive::Input << false;
    QTest::newRow("the quiet drive sends nothing at all") << AuditDrive::Quiet << true;
}

void TestQuietDrive::applicationHearsNothing()
{
    QFETCH(AuditDrive, drive);
    QFETCH(bool, eventsToo);
    qApp->setStyleSheet(QLatin1String(kGoodSheet));
    QStringList signalled;
    const auto note = [&signalled](const char *what) {
        return [&signalled, what] { signalled << QLatin1String(what); };
    };
    // The connections end with the test, before the window goes.
    QObject listening;
    connect(button, &QPushButton::pressed, &listening, note("pressed"));
    connect(button, &QPushButton::clicked, &listening, note("clicked"));
    connect(box, &QCheckBox::toggled, &listening, note("toggled"));
    connect(spin, QOverload<int>::of(&QSpinBox::valueChanged), &listening, note("valueChanged"));
    connect(edit, &QLineEdit::textChanged, &listening, note("textChanged"));
    connect(group, &QButtonGroup::buttonToggled, &listening, note("group buttonToggled"));
    connect(qApp, &QApplication::focusChanged, &listening, note("focusChanged"));
    HeardEvents events;
    for (QWidget *widget : window->findChildren<QWidget *>())
        widget->installEventFilter(&events);
    window->installEventFilter(&events);
    audit(drive);
    if (drive == AuditDrive::Input)
        signalled.removeAll(QStringLiteral("focusChanged"));
    QCOMPARE(signalled, QStringList());
    if (eventsToo)
        QCOMPARE(events.heard, QStringList());
    QVERIFY(!box->isChecked());
}

void TestQuietDrive::statesThatWouldReachTheApplicationAreGaps()
{
    QVector<AuditGap> gaps;
    audit(AuditDrive::Quiet, &gaps);
    QStringList left;
    for (const AuditGap &gap : gaps)
        left << gap.object + QLatin1Char(' ') + auditStateName(gap.state);
    // The window gave the button its focus, which disabling it would move; the spin
    // box shows a pressed step button only under a real press.
    QCOMPARE(left.join(QLatin1Char(',')), QStringLiteral("saveButton disabled,countSpin pressed"));
    QCOMPARE(QApplication::focusWidget(), button);
    audit(AuditDrive::Input, &gaps);
    QCOMPARE(gaps.size(), 0);
}

QTEST_MAIN(TestQuietDrive)
#include "tst_quietdrive.moc"
