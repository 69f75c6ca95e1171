#pragma once

#include <string>
#include <string_view>
#include <vector>

// Every lone CR and lone LF becomes CR LF; CR LF stays; LF CR is two breaks.
std::string NormalizeLineBreaks(std::string_view text);
// True when the text holds a CR or an LF that is not part of a CR LF pair.
bool HasLoneLineBreak(std::string_view text);

// Trim rule: characters of code 32 or less go; 128 and above never do.
std::string_view TrimBoth(std::string_view s);
std::string_view TrimLeft(std::string_view s);
std::string_view TrimRight(std::string_view s);

// ASCII-only case mapping.
std::string AsciiLower(std::string_view s);
std::string AsciiUpper(std::string_view s);

// The document seen as lines: the pieces of the text cut at every CR LF. Count leaves out a
// last empty piece, but Get still reaches it. The view does not copy the text: it must
// outlive no change of it.
class LineView {
public:
    explicit LineView(std::string_view text);

    int Count() const { return m_count; }
    int Pieces() const { return static_cast<int>(m_starts.size()); }
    // Line i without its break; empty for a line that does not exist.
    std::string_view Get(int i) const;
    // Offset of piece i in the text (i < Pieces()).
    std::size_t Start(int i) const { return m_starts[static_cast<std::size_t>(i)]; }
    std::string_view Text() const { return m_text; }

private:
    std::string_view m_text;
    std::vector<std::size_t> m_starts;
    int m_count = 0;
};
