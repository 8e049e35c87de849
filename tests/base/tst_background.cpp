// SPDX-License-Identifier: GPL-3.0-or-later
// Background threads keep off the processor of the thread that starts them, and so do the
// threads they start in turn; where there is no other processor they run all the same.
#include "base/background.h"

#include <QtTest>

#include <sched.h>

#include <stdexcept>
#include <thread>

using namespace quorlin;

namespace {

cpu_set_t affinity()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0)
        qFatal("cannot read the thread's processors");
    return set;
}

bool setAffinity(const cpu_set_t &set)
{
    return sched_setaffinity(0, sizeof set, &set) == 0;
}

// Where a background thread may run, and where a thread it starts may run.
struct Placement
{
    cpu_set_t own;
    cpu_set_t child;
};

Placement placementOfNewThreads()
{
    return runInBackground([] {
               Placement p{affinity(), {}};
               std::thread child([&p] { p.child = affinity(); });
               child.join();
               return p;
           })
        .get();
}

} // namespace

class TestBackground : public QObject
{
    Q_OBJECT

private slots:
    void keepsOffTheStartersProcessor()
    {
        const cpu_set_t allowed = affinity();
        if (CPU_COUNT(&allowed) < 2)
            QSKIP("one processor only");
        // The starter may move between processors; a try where it did proves nothing.
        for (int attempt = 0; attempt < 20; ++attempt) {
            const int before = sched_getcpu();
            const Placement p = placementOfNewThreads();
            if (sched_getcpu() != before)
                continue;
            QVERIFY(!CPU_ISSET(before, &p.own));
            QCOMPARE(CPU_COUNT(&p.own), CPU_COUNT(&allowed) - 1);
            QVERIFY(!CPU_ISSET(before, &p.child));
            return;
        }
        QSKIP("the starting thread kept moving between processors");
    }

    void runsWhereThereIsNoOtherProcessor()
    {
        const cpu_set_t allowed = affinity();
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(sched_getcpu(), &one);
        QVERIFY(setAffinity(one));
        const Placement p = placementOfNewThreads();
        QVERIFY(setAffinity(allowed));
        QVERIFY(CPU_EQUAL(&p.own, &one));
    }

    void resultOrErrorReachesTheFuture()
    {
        QCOMPARE(runInBackground([] { return 42; }).get(), 42);
        auto failed = runInBackground([]() -> int { throw std::runtime_error("unreadable"); });
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, failed.get());

        // Many at once, each with its own result.
        std::vector<std::future<int>> results;
        for (int i = 0; i < 50; ++i)
            results.push_back(runInBackground([i] { return i * i; }));
        for (int i = 0; i < 50; ++i)
            QCOMPARE(results[size_t(i)].get(), i * i);
    }
};

QTEST_GUILESS_MAIN(TestBackground)
#include "tst_background.moc"
