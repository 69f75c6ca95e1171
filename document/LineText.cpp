#include "document/LineText.h"

#include <cstring>

std::string NormalizeLineBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        // Copy the stretch up to the next CR or LF in one go: most of a big text is plain.
        std::size_t j = i;
        while (j < n && text[j] != '\r' && text[j] != '\n')
            ++j;
        out.append(text.data() + i, j - i);
        if (j >= n)
            break;
        if (text[j] == '\r' && j + 1 < n && text[j + 1] == '\n')
            j += 2;
        else
            ++j;
        out += "\r\n";
        i = j;
    }
    return out;
}

bool HasLoneLineBreak(std::string_view text)
{
    // No break is lone when every LF follows a CR and every CR precedes an LF. Two scans for
    // one byte each run far faster than one scan that looks at every byte.
    const char* const data = text.data();
    const std::size_t n = text.size();
    for (std::size_t at = 0; at < n;) {
        const void* hit = std::memchr(data + at, '\n', n - at);
        if (!hit)
            break;
        const auto lf = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
        if (lf == 0 || data[lf - 1] != '\r')
            return true;
        at = lf + 1;
    }
    for (std::size_t at = 0; at < n;) {
        const void* hit = std::memchr(data + at, '\r', n - at);
        if (!hit)
            break;
        const auto cr = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
        if (cr + 1 >= n || data[cr + 1] != '\n')
            return true;
        at = cr + 1;
    }
    return false;
}

namespace {
bool Trimmable(char c) { return static_cast<unsigned char>(c) <= 32; }
} // namespace

std::string_view TrimLeft(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && Trimmable(s[i]))
        ++i;
    return s.substr(i);
}

std::string_view TrimRight(std::string_view s)
{
    std::size_t n = s.size();
    while (n > 0 && Trimmable(s[n - 1]))
        --n;
    return s.substr(0, n);
}

std::string_view TrimBoth(std::string_view s) { return TrimRight(TrimLeft(s)); }

std::string AsciiLower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return out;
}

std::string AsciiUpper(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return out;
}

LineView::LineView(std::string_view text) : m_text(text)
{
    m_starts.push_back(0);
    const char* data = text.data();
    std::size_t pos = 0;
    while (pos < text.size()) {
        const void* hit = std::memchr(data + pos, '\r', text.size() - pos);
        if (!hit)
            break;
        const std::size_t cr = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
        if (cr + 1 < text.size() && data[cr + 1] == '\n') {
            m_starts.push_back(cr + 2);
            pos = cr + 2;
        } else {
            pos = cr + 1;
        }
    }
    m_count = static_cast<int>(m_starts.size());
    if (Get(m_count - 1).empty())
        --m_count;
}

std::string_view LineView::Get(int i) const
{
    if (i < 0 || i >= Pieces())
        return {};
    const std::size_t begin = m_starts[static_cast<std::size_t>(i)];
    const std::size_t end =
        i + 1 < Pieces() ? m_starts[static_cast<std::size_t>(i) + 1] - 2 : m_text.size();
    return m_text.substr(begin, end - begin);
}
