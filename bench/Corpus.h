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

// Reads the options every bench program shares, first thing in main, and takes them out of
// argv. `--smoke` makes a smoke run: every size asked of this corpus (and of Scaled) is cut
// by 50, files get names of their own, a median is of one run, so the whole program runs its
// course in seconds. Its figures mean nothing; it shows that the program still works.
void ParseArguments(int& argc, char** argv);
bool Smoke();
// `full` in a real run, a fiftieth of it (at least 1) in a smoke run.
std::int64_t Scaled(std::int64_t full);

// About `lines` lines of 3 to 15 words (about 50 bytes a line on average), drawn evenly
// from 32 common words.
std::string Lines(int lines, std::uint32_t seed = 12345);
// One line of `bytes` bytes, no line break.
std::string SingleLine(std::size_t bytes, std::uint32_t seed = 777);
// `count` distinct Turkish-looking lower-case words (the letters ç ğ ı ö ş ü among them),
// shorter ones first; the same words for the same count and seed. Not scaled.
std::vector<std::string> DistinctWords(int count, std::uint32_t seed = 4242);
// Text as a language has it: lines like those of Lines, their words drawn Zipf-like (the
// k-th most frequent about 1/k as often as the first) from the 32 common words followed by
// 300,000 distinct words, so a 50 MB text holds nearly all of them; a quarter of the lines
// start with a capital. Whole lines, about `bytes` bytes.
std::string Prose(std::size_t bytes, std::uint32_t seed = 9876);
// Writes the corpus to `path` unless a file of that size is already there; returns the path,
// which a smoke run gives a name of its own.
QString EnsureFile(const QString& path, const std::string& bytes);

// Seconds of a callable, median of `runs` (of one in a smoke run).
template <class F>
double MedianSeconds(int runs, F&& f)
{
    if (Smoke())
        runs = 1;
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

// Resident memory from /proc/self/status: field "VmRSS:" now, "VmHWM:" the peak since the
// last ResetPeak; 0 where the system does not say.
std::int64_t StatusBytes(const char* field);
// Starts the peak anew, so that what came before in the run (the corpora) does not count.
void ResetPeak();

} // namespace corpus
