// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/background.h"

#include <mutex>
#include <thread>
#include <vector>

namespace quorlin {

namespace {

// Every thread started here, joined when the program ends.
class BackgroundThreads
{
public:
    ~BackgroundThreads()
    {
        // Taken out first, so that a task still starting threads of its own cannot deadlock.
        std::unique_lock lock(m_mutex);
        std::vector<std::thread> threads = std::move(m_threads);
        lock.unlock();
        for (std::thread &thread : threads)
            if (thread.joinable())
                thread.join();
    }

    void add(std::thread thread)
    {
        const std::lock_guard lock(m_mutex);
        m_threads.push_back(std::move(thread));
    }

private:
    std::mutex m_mutex;
    std::vector<std::thread> m_threads;
};

BackgroundThreads &backgroundThreads()
{
    static BackgroundThreads threads;
    return threads;
}

} // namespace

void startInBackground(std::function<void()> task)
{
    backgroundThreads().add(std::thread(std::move(task)));
}

} // namespace quorlin
