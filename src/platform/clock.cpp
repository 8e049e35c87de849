// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <ctime>
#endif

namespace quorlin {

#ifdef _WIN32
bool SystemClock::readCounter(std::uint64_t &value)
{
    LARGE_INTEGER counter;
    if (!QueryPerformanceCounter(&counter))
        return false;
    value = static_cast<std::uint64_t>(counter.QuadPart);
    return true;
}

std::uint32_t SystemClock::tickCount() { return GetTickCount(); }

std::int64_t SystemClock::monotonicNs()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<std::int64_t>(static_cast<long double>(counter.QuadPart) * 1e9L /
                                     static_cast<long double>(frequency.QuadPart));
}
#else
static bool readClock(clockid_t id, timespec &ts) { return clock_gettime(id, &ts) == 0; }

bool SystemClock::readCounter(std::uint64_t &value)
{
    // Nanoseconds: the low 32 bits change on every read, as a high-resolution counter's do.
    timespec ts{};
    if (!readClock(CLOCK_MONOTONIC, ts))
        return false;
    value = static_cast<std::uint64_t>(ts.tv_sec) * 1000000000ULL +
            static_cast<std::uint64_t>(ts.tv_nsec);
    return true;
}

std::uint32_t SystemClock::tickCount()
{
    timespec ts{};
    if (!readClock(CLOCK_BOOTTIME, ts) && !readClock(CLOCK_MONOTONIC, ts))
        return 0;
    const auto ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000ULL +
                    static_cast<std::uint64_t>(ts.tv_nsec) / 1000000ULL;
    return static_cast<std::uint32_t>(ms);
}

std::int64_t SystemClock::monotonicNs()
{
    timespec ts{};
    readClock(CLOCK_MONOTONIC, ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}
#endif

} // namespace quorlin
