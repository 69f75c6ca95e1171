#pragma once

#include <cstdint>

// The program's linear congruential generator: one 32-bit seed, Random(k) from the upper
// half of seed * k, so a given seed always yields the same draws.
class RandomGenerator {
public:
    explicit RandomGenerator(std::uint32_t seed = 0) : m_seed(seed) {}

    std::uint32_t Seed() const { return m_seed; }
    void SetSeed(std::uint32_t seed) { m_seed = seed; }
    // Seeds from the low 32 bits of the high-resolution clock.
    void Randomize();
    // A number from 0 to k - 1; 0 when k is 0.
    std::uint32_t Random(std::uint32_t k)
    {
        m_seed = m_seed * 134775813u + 1u;
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(m_seed) * k) >> 32);
    }

private:
    std::uint32_t m_seed;
};

// The one generator the whole program draws from.
RandomGenerator& ProgramRandom();
