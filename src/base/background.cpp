// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/background.h"

#include <QtGlobal>

#include <mutex>
#include <thread>
#include <vector>

#if defined(Q_OS_LINUX)
#include <pthread.h>
#include <sched.h>
#endif

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
#if defined(Q_OS_LINUX)
        std::vector<pthread_t> native = std::move(m_native);
#endif
        lock.unlock();
        for (std::thread &thread : threads)
            if (thread.joinable())
                thread.join();
#if defined(Q_OS_LINUX)
        for (pthread_t thread : native)
            pthread_join(thread, nullptr);
#endif
    }

    void add(std::thread thread)
    {
        const std::lock_guard lock(m_mutex);
        m_threads.push_back(std::move(thread));
    }

#if defined(Q_OS_LINUX)
    void add(pthread_t thread)
    {
        const std::lock_guard lock(m_mutex);
        // Those that have ended give back their stacks now.
        std::erase_if(m_native, [](pthread_t t) { return pthread_tryjoin_np(t, nullptr) == 0; });
        m_native.push_back(thread);
    }
#endif

private:
    std::mutex m_mutex;
    std::vector<std::thread> m_threads;
#if defined(Q_OS_LINUX)
    std::vector<pthread_t> m_native;
#endif
};

BackgroundThreads &backgroundThreads()
{
    static BackgroundThreads threads;
    return threads;
}

#if defined(Q_OS_LINUX)
void *run(void *task)
{
    const std::unique_ptr<std::function<void()>> owned(static_cast<std::function<void()> *>(task));
    (*owned)();
    return nullptr;
}

// Starts the thread on the processors other than the calling thread's, where it stays, and so do
// the threads it starts in turn (such as Qt's image scaling helpers); false when there is no
// other processor to choose or the thread cannot be made so.
bool startElsewhere(std::function<void()> &task)
{
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof allowed, &allowed) != 0)
        return false;
    cpu_set_t elsewhere = allowed;
    const int here = sched_getcpu();
    if (here >= 0 && here < CPU_SETSIZE)
        CPU_CLR(here, &elsewhere);
    if (CPU_COUNT(&elsewhere) == 0 || CPU_EQUAL(&elsewhere, &allowed))
        return false;

    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0)
        return false;
    auto owned = std::make_unique<std::function<void()>>(std::move(task));
    pthread_t thread;
    const bool started =
        pthread_attr_setaffinity_np(&attributes, sizeof elsewhere, &elsewhere) == 0 &&
        pthread_create(&thread, &attributes, run, owned.get()) == 0;
    pthread_attr_destroy(&attributes);
    if (!started) {
        task = std::move(*owned); // not run: the caller starts it another way
        return false;
    }
    owned.release(); // the thread owns it now
    backgroundThreads().add(thread);
    return true;
}
#endif

} // namespace

void startInBackground(std::function<void()> task)
{
#if defined(Q_OS_LINUX)
    if (startElsewhere(task))
        return;
#endif
    backgroundThreads().add(std::thread(std::move(task)));
}

} // namespace quorlin
