#include "bench/Corpus.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_set>
#include <sys/resource.h>

namespace corpus {
namespace {

bool g_smoke = false;

struct Rng {
    std::uint32_t state;
    std::uint32_t Next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    std::uint32_t Below(std::uint32_t n) { return Next() % n; }
};

// Words with the Turkish letters of Windows-1254 (Ç ç Ğ ğ İ ı Ö ö Ş ş Ü ü).
const std::array<const char*, 32> kWords = {
    "ve", "bir", "bu", "da", "de", "için", "ile", "çok", "gibi", "daha", "olan", "kadar", "İstanbul", "Iğdır",
    "ılık", "iğne", "şehir", "ağaç", "göz", "üzüm", "Öğretmen", "Çalışma", "Şubat", "dünya", "güneş", "yıldız",
    "KİTAP", "sokak", "kapı", "pencere", "1234", "zaman",
};

std::string ToCp1254(const char* utf8)
{
    // The handful of non-ASCII letters the word list uses.
    static const std::pair<const char*, char> map[] = {
        {"ç", '\xE7'}, {"Ç", '\xC7'}, {"ğ", '\xF0'}, {"Ğ", '\xD0'}, {"ı", '\xFD'}, {"İ", '\xDD'},
        {"ö", '\xF6'}, {"Ö", '\xD6'}, {"ş", '\xFE'}, {"Ş", '\xDE'}, {"ü", '\xFC'}, {"Ü", '\xDC'},
    };
    std::string out;
    std::string_view s(utf8);
    while (!s.empty()) {
        bool done = false;
        for (const auto& [from, to] : map) {
            std::string_view f(from);
            if (s.substr(0, f.size()) == f) {
                out += to;
                s.remove_prefix(f.size());
                done = true;
                break;
            }
        }
        if (!done) {
            out += s.front();
            s.remove_prefix(1);
        }
    }
    return out;
}

const std::vector<std::string>& CommonWords()
{
    static const std::vector<std::string> words = [] {
        std::vector<std::string> w;
        for (const char* s : kWords)
            w.push_back(ToCp1254(s));
        return w;
    }();
    return words;
}

// Syllables of Turkish shape: the vowels of a word agree (front or back), later syllables
// mostly take the unrounded ones, and ğ never starts a word.
struct Letters {
    const char* back = "a\xFDou";  // a ı o u
    const char* front = "ei\xF6\xFC"; // e i ö ü
    const char* onsets = "bc\xE7" "dfghjklmnprs\xFEtvyz"; // ç ş among them
    const char* codas = "klmnrst\xFEz\xF0y";           // ş ğ among them
};

// One line of `words` (each drawn by `draw`) in the shape of a sentence fragment.
template <class Draw>
void AppendLine(std::string& out, Rng& rng, Draw&& draw)
{
    const std::uint32_t n = 3 + rng.Below(13);
    for (std::uint32_t w = 0; w < n; ++w) {
        if (w)
            out += rng.Below(10) == 0 ? ", " : " ";
        out += draw();
    }
    if (rng.Below(4) == 0)
        out += '.';
    out += "\r\n";
}

// The Turkish capital of a lower-case Windows-1254 letter: i takes the dot (İ), ı loses it.
char Capital(char c)
{
    switch (static_cast<unsigned char>(c)) {
    case 'i': return '\xDD';
    case 0xFD: return 'I';
    case 0xE7: return '\xC7';
    case 0xF0: return '\xD0';
    case 0xF6: return '\xD6';
    case 0xFE: return '\xDE';
    case 0xFC: return '\xDC';
    default: return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
}

} // namespace

void ParseArguments(int& argc, char** argv)
{
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0)
            g_smoke = true;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;
    if (g_smoke)
        std::printf("smoke run: a small corpus, one run each; the figures mean nothing\n");
}

bool Smoke() { return g_smoke; }

std::int64_t Scaled(std::int64_t full) { return g_smoke ? std::max<std::int64_t>(1, full / 50) : full; }

std::string Lines(int lines, std::uint32_t seed)
{
    lines = static_cast<int>(Scaled(lines));
    Rng rng{seed};
    const auto& words = CommonWords();
    std::string out;
    out.reserve(static_cast<std::size_t>(lines) * 52);
    const auto draw = [&]() -> const std::string& { return words[rng.Below(static_cast<std::uint32_t>(words.size()))]; };
    for (int i = 0; i < lines; ++i)
        AppendLine(out, rng, draw);
    return out;
}

std::vector<std::string> DistinctWords(int count, std::uint32_t seed)
{
    static const Letters letters;
    Rng rng{seed};
    const auto pick = [&](const char* set) { return set[rng.Below(static_cast<std::uint32_t>(std::strlen(set)))]; };
    std::unordered_set<std::string> seen;
    std::vector<std::string> words;
    words.reserve(static_cast<std::size_t>(count));
    while (static_cast<int>(words.size()) < count) {
        const bool front = rng.Below(2) == 0;
        const char* vowels = front ? letters.front : letters.back;
        // Longer words grow rarer, but the long tail is where the distinct words are.
        const std::uint32_t syllables = 1 + rng.Below(2) + rng.Below(2) + (rng.Below(3) == 0 ? rng.Below(3) : 0);
        std::string w;
        for (std::uint32_t s = 0; s < syllables; ++s) {
            if (s > 0 || rng.Below(5) != 0)
                w += pick(letters.onsets);
            // After the first syllable o, ö, u and ü are rare.
            w += s == 0 || rng.Below(6) == 0 ? pick(vowels) : vowels[rng.Below(2)];
            if (rng.Below(3) == 0 && (s + 1 == syllables || rng.Below(2) == 0)) {
                const char coda = pick(letters.codas);
                if (coda != '\xF0' || s + 1 < syllables) // ğ only between vowels
                    w += coda;
            }
        }
        if (seen.insert(w).second)
            words.push_back(std::move(w));
    }
    std::stable_sort(words.begin(), words.end(),
                     [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
    return words;
}

std::string Prose(std::size_t bytes, std::uint32_t seed)
{
    bytes = static_cast<std::size_t>(Scaled(static_cast<std::int64_t>(bytes)));
    static const std::vector<std::string> vocabulary = [] {
        std::vector<std::string> v = CommonWords();
        const std::vector<std::string> rare = DistinctWords(300000);
        v.insert(v.end(), rare.begin(), rare.end());
        return v;
    }();
    Rng rng{seed};
    // Zipf with exponent 1: rank floor((n + 1)^u) - 1 for u even in [0, 1) is drawn about 1/k as
    // often as rank 0.
    const double logRanks = std::log(static_cast<double>(vocabulary.size()) + 1);
    const auto draw = [&]() -> const std::string& {
        const double u = static_cast<double>(rng.Next()) / 16777216.0;
        const auto rank = static_cast<std::size_t>(std::exp(u * logRanks)) - 1;
        return vocabulary[std::min(rank, vocabulary.size() - 1)];
    };
    std::string out;
    out.reserve(bytes + 256);
    while (out.size() < bytes) {
        const std::size_t start = out.size();
        AppendLine(out, rng, draw);
        if (rng.Below(4) == 0)
            out[start] = Capital(out[start]);
    }
    return out;
}

std::string SingleLine(std::size_t bytes, std::uint32_t seed)
{
    bytes = static_cast<std::size_t>(Scaled(static_cast<std::int64_t>(bytes)));
    Rng rng{seed};
    const auto& words = CommonWords();
    std::string out;
    out.reserve(bytes + 16);
    while (out.size() < bytes) {
        out += words[rng.Below(static_cast<std::uint32_t>(words.size()))];
        out += ' ';
    }
    out.resize(bytes);
    return out;
}

QString EnsureFile(const QString& full, const std::string& bytes)
{
    QString path = full;
    if (g_smoke) {
        const qsizetype dot = path.lastIndexOf(u'.');
        path.insert(dot > path.lastIndexOf(u'/') ? dot : path.size(), QStringLiteral("-smoke"));
    }
    QFileInfo info(path);
    if (info.exists() && info.size() == static_cast<qint64>(bytes.size()))
        return path;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

double ShellSeconds(const std::string& command, int runs)
{
    if (g_smoke)
        runs = 1;
    return MedianSeconds(runs, [&] { [[maybe_unused]] int rc = std::system(command.c_str()); });
}

std::int64_t PeakRss()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::int64_t>(usage.ru_maxrss) * 1024;
}

std::int64_t StatusBytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(static_cast<qsizetype>(std::strlen(field)) + 1).trimmed().split(' ').value(0).toLongLong() *
                   1024;
    return 0;
}

void ResetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

} // namespace corpus
