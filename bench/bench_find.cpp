// Find and Replace on the 50 MB corpus, no window: Replace All plain and with regular
// expressions beside `sed` and `sed -E` doing the same replacement on the same file, and Find
// Next through the whole text for a word that is not there beside `grep -c`.
#include "bench/Corpus.h"
#include "commands/FindReplace.h"
#include "document/ByteDocument.h"

#include <QDir>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// `sed` with bytes, not characters: the corpus is Windows-1254, not the locale's UTF-8.
std::string Sed(const std::string& flags, const std::string& script, const std::string& path)
{
    return "LC_ALL=C sed " + flags + " '" + script + "' " + path;
}

struct Case {
    const char* name;
    std::string pattern, replacement;
    bool regex;
    std::string sedFlags, sedScript;
};

} // namespace

int main()
{
    const std::string text = corpus::Lines(1000000);
    const std::string path =
        corpus::EnsureFile(QDir::tempPath() + QStringLiteral("/quorlex-bench-1m.txt"), text).toStdString();
    ByteDocument doc;
    doc.Assign(std::string(text));
    const std::string agac = "a\xF0" "a\xE7"; // ağaç
    std::printf("corpus: %zu bytes, %d lines\n", text.size(), doc.Count());

    const std::vector<Case> cases = {
        {"plain", agac, "AGAC", false, "", "s/" + agac + "/AGAC/g"},
        {"regex, a literal", agac, "AGAC", true, "-E", "s/" + agac + "/AGAC/g"},
        {"regex, two groups swapped", "(a\xF0)(a\xE7)", "$2$1", true, "-E", "s/(a\xF0)(a\xE7)/\\2\\1/g"},
        {"regex, a class", "k[a-z]+", "K", true, "-E", "s/k[a-z]+/K/g"},
    };
    const std::string out = QDir::tempPath().toStdString() + "/quorlex-bench-find-sed.txt";
    for (const Case& c : cases) {
        FindOptions options;
        options.regex = c.regex;
        const std::string sed = Sed(c.sedFlags, c.sedScript, path);
        // The same replacement first, compared byte for byte.
        [[maybe_unused]] int rc = std::system((sed + " > " + out).c_str());
        auto result = ReplaceAll(SearchBytes(doc, options), c.pattern, c.replacement, options);
        const bool same = result && result->text == ReadFile(out);
        const long long count = result ? static_cast<long long>(result->count) : 0;
        result.reset();

        const double reference = corpus::ShellSeconds(sed + " > /dev/null");
        const double ours = corpus::MedianSeconds(3, [&] {
            auto r = ReplaceAll(SearchBytes(doc, options), c.pattern, c.replacement, options);
        });
        std::printf("Replace All %-26s %lld occurrences: %.3f s, sed %s %.3f s: %.2f x (%s as sed's)\n", c.name, count,
                    ours, c.sedFlags.c_str(), reference, ours / reference, same ? "same text" : "NOT THE SAME TEXT");
    }

    // Taking the result over, as the document does after Replace All.
    {
        FindOptions options;
        auto result = ReplaceAll(SearchBytes(doc, options), agac, "AGAC", options);
        ByteDocument target;
        const double assign = corpus::MedianSeconds(1, [&] { target.Assign(std::move(result->text)); });
        std::printf("the document taking over the new text: %.3f s\n", assign);
    }

    // Find Next that reads the whole text and finds nothing.
    const double grep = corpus::ShellSeconds("LC_ALL=C grep -c -F zzqx " + path + " > /dev/null");
    std::printf("reference LC_ALL=C grep -c -F: %.3f s\n", grep);
    struct Search {
        const char* name;
        const char* pattern;
        FindOptions options;
    };
    FindOptions caseless;
    caseless.matchCase = false;
    FindOptions regex;
    regex.regex = true;
    FindOptions up;
    up.up = true;
    FindOptions regexUp = regex;
    regexUp.up = true;
    const Search searches[] = {
        {"plain", "zzqx", {}},       {"ignoring case", "zzqx", caseless}, {"up", "zzqx", up},
        {"regex", "zz[q]x", regex}, {"regex up", "zz[q]x", regexUp},
    };
    for (const Search& s : searches) {
        const TextSelection from = s.options.up ? TextSelection{doc.Length(), 0} : TextSelection{0, 0};
        const double t = corpus::MedianSeconds(3, [&] { FindNext(SearchBytes(doc, s.options), from, s.pattern, s.options); });
        std::printf("Find Next %-14s not found: %.3f s (%.2f x grep)\n", s.name, t, t / grep);
    }
    return 0;
}
