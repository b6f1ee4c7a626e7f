// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "support/anothercore.h"

#include <QtTest>

#include <atomic>
#include <chrono>
#include <sched.h>
#include <thread>

class TestAnotherCore : public QObject
{
    Q_OBJECT
private slots:
    void workRunsFreeAndIsWaitedFor();
};

// The thread starts away from its creator's core, but must not stay held away from it,
// and nothing it does may outlive the object that started it.
void TestAnotherCore::workRunsFreeAndIsWaitedFor()
{
    cpu_set_t creatorCores;
    QCOMPARE(sched_getaffinity(0, sizeof creatorCores, &creatorCores), 0);
    std::atomic<bool> ended{false};
    {
        TaskOnAnotherCore<int> task([&ended, &creatorCores] {
            cpu_set_t own;
            sched_getaffinity(0, sizeof own, &own);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            ended = true;
            return CPU_EQUAL(&own, &creatorCores) ? 1 : 0;
        });
        QCOMPARE(task.take(), 1);
    }
    QVERIFY(ended);

    // Destroyed without take(): the work still ends before the destructor returns.
    ended = false;
    {
        TaskOnAnotherCore<int> task([&ended] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            ended = true;
            return 0;
        });
    }
    QVERIFY(ended);
}

QTEST_GUILESS_MAIN(TestAnotherCore)
#include "tst_anothercore.moc"
