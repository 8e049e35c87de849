// SPDX-License-Identifier: GPL-3.0-or-later
// Work run on background threads: its result, or the error it raised, reaches the caller.
#include "base/background.h"

#include <QtTest>

#include <stdexcept>

using namespace quorlin;

class TestBackground : public QObject
{
    Q_OBJECT

private slots:
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
