// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/clock.h"

#include <cstdint>

namespace quorlin::test {

// A clock the test sets by hand: counter readings (or a failing counter), tick count and time.
class FakeClock final : public Clock
{
public:
    bool counterFails = false;
    std::uint64_t counter = 0;
    std::uint32_t ticks = 0;
    std::int64_t nowNs = 0;

    bool readCounter(std::uint64_t &value) override
    {
        if (counterFails)
            return false;
        value = counter;
        return true;
    }
    std::uint32_t tickCount() override { return ticks; }
    std::int64_t monotonicNs() override { return nowNs; }

    void advanceMs(std::int64_t ms) { nowNs += ms * 1000000; }
};

} // namespace quorlin::test
