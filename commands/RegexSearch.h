#pragma once

#include "commands/FindOptions.h"
#include "commands/Regex.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

// A regular expression walked through one contiguous text as Find Next walks it: a match
// may be refused by the whole-word option (the walk then tries one character further on), a
// search never begins between the CR and the LF of a line break, and a match of length zero
// where the walk stands is passed over so that pressing again moves on.
class RegexSearch {
public:
    using Groups = std::vector<std::size_t>; // as Regex::Search gives them, copied

    RegexSearch(std::string_view pattern, const FindOptions& options);

    Regex& Expression() { return m_regex; }
    // Whether the whole-word option lets a match of [start, end) stand.
    bool Accepts(std::string_view text, std::size_t start, std::size_t end) const;

    // The first match that begins at or behind `from`; with `skipEmptyAtFrom` a match of
    // length zero at `from` itself does not count.
    std::optional<Groups> First(std::string_view text, std::size_t from, bool skipEmptyAtFrom);
    // Searching up from `limit`: the last of the matches that First, pressed again and again
    // from an earlier line start, would find and that end at or before `limit`; with
    // `skipEmptyAtLimit` a match of length zero at `limit` does not count. So Up visits the
    // matches Down visits, the other way round.
    std::optional<Groups> Last(std::string_view text, std::size_t limit, bool skipEmptyAtLimit);

    // One character on from `at`: a CR LF counts as one.
    static std::size_t Advance(std::string_view text, std::size_t at);

private:
    Regex m_regex;
    bool m_wholeWord;
};
