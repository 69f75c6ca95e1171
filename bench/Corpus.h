#pragma once

#include <QString>

#include <chrono>
#include <cstdint>
#include <algorithm>
#include <string>
#include <vector>

// Generated corpora for the benchmarks: Windows-1254 Turkish-like words, CR LF breaks,
// fixed seed, so every run measures the same bytes.
namespace corpus {

// About `lines` lines of 3 to 15 words (about 50 bytes a line on average).
std::string Lines(int lines, std::uint32_t seed = 12345);
// One line of `bytes` bytes, no line break.
std::string SingleLine(std::size_t bytes, std::uint32_t seed = 777);
// Writes the corpus to `path` unless a file of that size is already there; returns path.
QString EnsureFile(const QString& path, const std::string& bytes);

// Seconds of a callable, median of `runs`.
template <class F>
double MedianSeconds(int runs, F&& f)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Wall seconds of a shell command (the reference peers), median of `runs`.
double ShellSeconds(const std::string& command, int runs = 3);

// Peak resident memory of this process so far, in bytes.
std::int64_t PeakRss();

} // namespace corpus
