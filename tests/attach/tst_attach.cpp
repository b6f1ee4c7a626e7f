#include <QtTest>
class TestAttach : public QObject { Q_OBJECT };
QTEST_MAIN(TestAttach)
#include "tst_attach.moc"
