#include "bench/Corpus.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <cstdlib>
#include <sys/resource.h>

namespace corpus {
namespace {

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

const std::vector<std::string>& Words()
{
    static const std::vector<std::string> words = [] {
        std::vector<std::string> w;
        for (const char* s : kWords)
            w.push_back(ToCp1254(s));
        return w;
    }();
    return words;
}

} // namespace

std::string Lines(int lines, std::uint32_t seed)
{
    Rng rng{seed};
    const auto& words = Words();
    std::string out;
    out.reserve(static_cast<std::size_t>(lines) * 52);
    for (int i = 0; i < lines; ++i) {
        const std::uint32_t n = 3 + rng.Below(13);
        for (std::uint32_t w = 0; w < n; ++w) {
            if (w)
                out += rng.Below(10) == 0 ? ", " : " ";
            out += words[rng.Below(static_cast<std::uint32_t>(words.size()))];
        }
        if (rng.Below(4) == 0)
            out += '.';
        out += "\r\n";
    }
    return out;
}

std::string SingleLine(std::size_t bytes, std::uint32_t seed)
{
    Rng rng{seed};
    const auto& words = Words();
    std::string out;
    out.reserve(bytes + 16);
    while (out.size() < bytes) {
        out += words[rng.Below(static_cast<std::uint32_t>(words.size()))];
        out += ' ';
    }
    out.resize(bytes);
    return out;
}

QString EnsureFile(const QString& path, const std::string& bytes)
{
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
    return MedianSeconds(runs, [&] { [[maybe_unused]] int rc = std::system(command.c_str()); });
}

std::int64_t PeakRss()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::int64_t>(usage.ru_maxrss) * 1024;
}

} // namespace corpus
