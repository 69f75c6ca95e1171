#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class Regex;

// The replacement text of a regular expression, read once before anything is replaced:
// $0 to $9 put in what that group matched, ${name} (or ${12}) a named or numbered group, $$
// one $. A $ followed by anything else is itself. A group that took no part puts in nothing.
class RegexReplacement {
public:
    // Throws QuorlexError for a group the expression does not have, or a ${ without its }.
    RegexReplacement(std::string_view text, const Regex& regex);

    // `groups`: the offsets Regex::Search gave for `subject`.
    void AppendTo(std::string& out, std::string_view subject, const std::size_t* groups) const;
    std::string Expand(std::string_view subject, const std::size_t* groups) const;

private:
    struct Part {
        std::string literal;     // when `groups` is empty
        std::vector<int> groups; // the first of them that took part is put in
    };
    std::vector<Part> m_parts;
};
