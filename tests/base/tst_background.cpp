// SPDX-License-Identifier: GPL-3.0-or-later
// Work run on background threads: its result, or the error it raised, reaches the caller, and
// work still running when the program ends is waited for without hanging it.
#include "base/background.h"

#include <QtTest>

#include <atomic>
#include <stdexcept>

using namespace quorlin;

namespace {

const char kEndDuringTask[] = "--end-during-task";

// Run in a process of its own: the application object goes while a task is still to do the
// first use of a static object with a destructor. The task is done by the time it has gone, and
// the program then ends (on Windows waiting for the task as the program exits, instead, hung it).
int endDuringTask(int argc, char *argv[])
{
    std::atomic<bool> ending = false;
    std::atomic<bool> done = false;
    {
        QCoreApplication app(argc, argv);
        startInBackground([&] {
            ending.wait(false);
            static const QString firstUsedNow = QStringLiteral("registers its destructor");
            done = !firstUsedNow.isEmpty();
        });
        ending = true;
        ending.notify_all();
    }
    return done ? 0 : 3;
}

} // namespace

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

    void tasksStillRunningAreWaitedForAsTheProgramEnds()
    {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kEndDuringTask)});
        QVERIFY2(child.waitForFinished(60000), "the program did not end");
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
    }
};

int main(int argc, char *argv[])
{
    if (argc == 2 && qstrcmp(argv[1], kEndDuringTask) == 0)
        return endDuringTask(argc, argv);
    QCoreApplication app(argc, argv);
    TestBackground test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_background.moc"
