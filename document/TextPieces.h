#pragma once

#include <cstdint>
#include <string_view>

// A text held in two pieces, the second following the first (a buffer with a gap in it).
struct TextPieces {
    std::string_view first;
    std::string_view second;
    std::int64_t Size() const { return static_cast<std::int64_t>(first.size() + second.size()); }
};
