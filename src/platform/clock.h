// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace quorlin {

// The clocks the program reads: a high-resolution counter that can fail, a millisecond tick
// count, and a monotonic time for measuring how long a sound has been playing.
class Clock
{
public:
    virtual ~Clock() = default;
    // The high-resolution counter; false when it cannot be read.
    virtual bool readCounter(std::uint64_t &value) = 0;
    // Milliseconds since the system started, wrapping at 2^32.
    virtual std::uint32_t tickCount() = 0;
    // Monotonic nanoseconds from an arbitrary origin.
    virtual std::int64_t monotonicNs() = 0;
};

// The system's clocks: QueryPerformanceCounter / GetTickCount on Windows, the monotonic
// nanosecond clock and milliseconds since boot elsewhere.
class SystemClock final : public Clock
{
public:
    bool readCounter(std::uint64_t &value) override;
    std::uint32_t tickCount() override;
    std::int64_t monotonicNs() override;
};

} // namespace quorlin
