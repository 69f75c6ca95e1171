#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

// A compiled regular expression over Windows-1254 bytes: the program's own character tables,
// ^ and $ at every CR LF line break, `.` never taking a byte of one, compiled to machine code
// where the library can. One object searches one subject at a time (it owns its match data).
class Regex {
public:
    enum Flags : unsigned {
        kNotEmptyAtStart = 1u, // a match of length zero where the search begins does not count
        kNotEndOfLine = 2u,    // the subject's end is not the end of a line (for $)
    };
    static constexpr std::size_t kUnset = static_cast<std::size_t>(-1);

    // Throws QuorlexError "Invalid regular expression at %d: %s" when the pattern does not
    // compile. `boundedStarts` lets SearchStartingBy stop a search at a given offset.
    Regex(std::string_view pattern, bool caseless, bool boundedStarts = false);
    ~Regex();
    Regex(const Regex&) = delete;
    Regex& operator=(const Regex&) = delete;

    // The leftmost match that starts at or behind `from`; the group offsets (two per group,
    // group 0 the whole match, kUnset for a group that took no part), valid until the next
    // search, or nullptr when there is none. Throws QuorlexError when the search gives up (a
    // pattern that backtracks without end).
    const std::size_t* Search(std::string_view subject, std::size_t from, unsigned flags = 0);
    // The same for matches that start no later than `lastStart` (needs `boundedStarts`).
    const std::size_t* SearchStartingBy(std::string_view subject, std::size_t from, std::size_t lastStart,
                                        unsigned flags = 0);

    int Groups() const; // capture groups, group 0 not counted
    // The numbers of the groups called `name`, in the order they stand; empty when none is.
    std::vector<int> GroupsNamed(std::string_view name) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};
