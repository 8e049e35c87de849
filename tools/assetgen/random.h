// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace quorlin::assetgen {

// A small seeded generator (SplitMix64) of our own, so that every run on every machine draws the
// same numbers; the standard library's distributions are not the same everywhere.
class Random
{
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return z ^ (z >> 31);
    }
    // In [0, 1).
    double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    // In [-1, 1).
    double symmetric() { return 2.0 * uniform() - 1.0; }
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    int below(int n) { return int(next() % std::uint64_t(n)); }
    // Roughly normal, mean 0 and deviation 1 (sum of uniforms: no library transcendental calls).
    double gauss()
    {
        double s = 0.0;
        for (int i = 0; i < 6; ++i)
            s += uniform();
        return (s - 3.0) * 1.41421356;
    }

private:
    std::uint64_t m_state;
};

} // namespace quorlin::assetgen
