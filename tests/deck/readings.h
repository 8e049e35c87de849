// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Counter readings that make a draw land on a chosen seed or entry, worked out independently of
// the code under test from the generator's definition: seed' = seed * 134775813 + 1 (mod 2^32).
namespace quorlin::test {

constexpr std::uint32_t Multiplier = 134775813u;

// The inverse of the multiplier modulo 2^32, by Newton's iteration (each round doubles the
// number of correct low bits; an odd number is its own inverse to 3 bits).
constexpr std::uint32_t inverseMultiplier()
{
    std::uint32_t x = Multiplier;
    for (int i = 0; i < 5; ++i)
        x *= 2u - Multiplier * x;
    return x;
}

// The low 32 bits of a counter reading whose draw steps the seed to `seed`.
constexpr std::uint32_t readingForSeed(std::uint32_t seed)
{
    return (seed - 1u) * inverseMultiplier();
}

// The smallest stepped seed that selects offset r of a deck of n entries: ceil(r * 2^32 / n).
constexpr std::uint64_t firstSeedFor(std::uint64_t r, std::uint64_t n)
{
    return ((r << 32) + n - 1) / n;
}

} // namespace quorlin::test
