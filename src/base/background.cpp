// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/background.h"

#include <QCoreApplication>

#include <mutex>
#include <thread>
#include <vector>

namespace quorlin {

namespace {

void joinBackgroundThreads();

// Every thread started here, joined when the program ends: while the application object goes,
// or, for threads started without one or after it, when the program's exit handlers run.
// Waiting in an exit handler alone is not enough on Windows: the C runtime runs them under a
// lock that a task needs too if it is the first to use a static object with a destructor (it
// registers the destructor), so a task doing so as the program ends would hang it for good.
class BackgroundThreads
{
public:
    ~BackgroundThreads() { joinAll(); }

    void add(std::thread thread)
    {
        const std::lock_guard lock(m_mutex);
        m_threads.push_back(std::move(thread));
        if (!m_joinedWithApplication && QCoreApplication::instance()) {
            qAddPostRoutine(joinBackgroundThreads);
            m_joinedWithApplication = true;
        }
    }

    void joinAll()
    {
        // Taken out first, so that a task still starting threads of its own cannot deadlock.
        std::unique_lock lock(m_mutex);
        std::vector<std::thread> threads = std::move(m_threads);
        m_joinedWithApplication = false; // the next application object waits again
        lock.unlock();
        for (std::thread &thread : threads)
            if (thread.joinable())
                thread.join();
    }

private:
    std::mutex m_mutex;
    std::vector<std::thread> m_threads;
    bool m_joinedWithApplication = false;
};

BackgroundThreads &backgroundThreads()
{
    static BackgroundThreads threads;
    return threads;
}

void joinBackgroundThreads()
{
    backgroundThreads().joinAll();
}

} // namespace

void startInBackground(std::function<void()> task)
{
    backgroundThreads().add(std::thread(std::move(task)));
}

} // namespace quorlin
