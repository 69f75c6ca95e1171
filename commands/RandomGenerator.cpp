#include "commands/RandomGenerator.h"

#include <chrono>

void RandomGenerator::Randomize()
{
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    m_seed = static_cast<std::uint32_t>(ns.count());
}

RandomGenerator& ProgramRandom()
{
    static RandomGenerator generator;
    return generator;
}
