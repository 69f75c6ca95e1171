// The byte document alone, no window: taking over a 50 MB text, typing at its start, middle and
// end, and scattered edits, each beside `iconv -f CP1254 -t UTF-8` of the same file.
#include "bench/Corpus.h"
#include "document/ByteDocument.h"

#include <QDir>

#include <cstdio>
#include <fstream>
#include <random>

namespace {

// Resident memory now (the peak would still hold the corpus copies made for the runs).
std::int64_t ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::int64_t pages = 0;
    std::int64_t resident = 0;
    statm >> pages >> resident;
    return resident * 4096;
}

// Per-key time of `keys` typed bytes from `at` on, and the first key's alone (it moves the gap there).
void Typing(ByteDocument& doc, const char* where, ByteDocument::Offset at, double reference)
{
    const int keys = 1000;
    const double first = corpus::MedianSeconds(1, [&] { doc.Replace(at, 0, "x", ByteDocument::Undo::Coalesce); });
    const double rest = corpus::MedianSeconds(1, [&] {
        for (int i = 1; i < keys; ++i)
            doc.Replace(at + i, 0, i % 60 ? "x" : "\r\n", ByteDocument::Undo::Coalesce);
    });
    std::printf("typed byte at the %s: first %.3f ms, then %.2f us a key (iconv %.3f s)\n", where, first * 1e3,
                rest / (keys - 1) * 1e6, reference);
}

} // namespace

int main(int argc, char** argv)
{
    corpus::ParseArguments(argc, argv);
    const std::string text = corpus::Lines(1000000);
    const std::string path =
        corpus::EnsureFile(QDir::tempPath() + QStringLiteral("/quorlex-bench-1m.txt"), text).toStdString();
    const double iconv = corpus::ShellSeconds("iconv -f CP1254 -t UTF-8 " + path + " >/dev/null");
    std::printf("reference iconv -f CP1254 -t UTF-8 on %zu bytes: %.3f s\n", text.size(), iconv);

    ByteDocument doc;
    const std::int64_t before = ResidentBytes();
    std::string copy = text;
    const double assign = corpus::MedianSeconds(1, [&] { doc.Assign(std::move(copy)); });
    const double memory = static_cast<double>(ResidentBytes() - before) / static_cast<double>(text.size());
    std::printf("assign %zu bytes, %d lines: %.3f s (%.2f x iconv); memory %.2f x the text\n", text.size(),
                doc.Count(), assign, assign / iconv, memory);
    std::vector<double> replaces;
    for (int run = 0; run < 3; ++run) {
        std::string next = text; // the copy is the caller's, not the document's work
        const auto t0 = std::chrono::steady_clock::now();
        doc.Assign(std::move(next));
        replaces.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(replaces.begin(), replaces.end());
    std::printf("assign over a 50 MB document (whole-text replace): %.3f s (%.2f x iconv)\n", replaces[1],
                replaces[1] / iconv);

    Typing(doc, "end", doc.Length(), iconv);
    Typing(doc, "start", 0, iconv);
    Typing(doc, "middle", doc.LineStart(doc.Pieces() / 2), iconv);

    std::mt19937 rng(42);
    const char* pieces[] = {"", "a", "\r\n", "\r", "\n", "word ", "\xFD\xFE\xF0"};
    const int edits = 1000;
    const double scattered = corpus::MedianSeconds(1, [&] {
        for (int i = 0; i < edits; ++i) {
            const auto at = static_cast<ByteDocument::Offset>(rng() % static_cast<std::uint32_t>(doc.Length()));
            doc.Replace(at, rng() % 8, pieces[rng() % std::size(pieces)], ByteDocument::Undo::Record);
        }
    });
    std::printf("%d scattered edits: %.3f s, %.1f us each (iconv %.3f s)\n", edits, scattered, scattered / edits * 1e6,
                iconv);
    // The same number of edits made front to back, as a command that edits in place would: the
    // gap then travels the text once.
    std::vector<ByteDocument::Offset> spots;
    for (int i = 0; i < edits; ++i)
        spots.push_back(static_cast<ByteDocument::Offset>(rng() % static_cast<std::uint32_t>(doc.Length() - 16)));
    std::sort(spots.begin(), spots.end());
    const double ordered = corpus::MedianSeconds(1, [&] {
        ByteDocument::Offset shift = 0;
        for (const auto at : spots) {
            const std::string_view bytes = pieces[rng() % std::size(pieces)];
            const auto length = static_cast<ByteDocument::Offset>(rng() % 8);
            doc.Replace(at + shift, length, bytes, ByteDocument::Undo::Record);
            shift += static_cast<ByteDocument::Offset>(bytes.size()) - length;
        }
    });
    std::printf("%d edits front to back: %.3f s, %.1f us each (iconv %.3f s)\n", edits, ordered,
                ordered / edits * 1e6, iconv);
    const double undo = corpus::MedianSeconds(1, [&] { doc.UndoOnce(); });
    std::printf("undo of the last: %.3f ms; lines now %d\n", undo * 1e3, doc.Count());
    return 0;
}
