#include "commands/CaselessFold.h"

#include <utility>

namespace caseless {
namespace {

struct Tables {
    Table fold{};
    Table partner{};
    Tables()
    {
        for (int i = 0; i < 256; ++i)
            fold[static_cast<std::size_t>(i)] = partner[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i);
        auto pair = [this](unsigned char upper, unsigned char lower) {
            fold[upper] = lower;
            partner[upper] = lower;
            partner[lower] = upper;
        };
        for (unsigned char c = 'A'; c <= 'Z'; ++c)
            if (c != 'I')
                pair(c, static_cast<unsigned char>(c + 32));
        // (capital, small): İ i, I ı, Ğ ğ, Ü ü, Ş ş, Ö ö, Ç ç
        static constexpr std::pair<unsigned char, unsigned char> kTurkish[] = {
            {0xDD, 'i'}, {'I', 0xFD}, {0xD0, 0xF0}, {0xDC, 0xFC}, {0xDE, 0xFE}, {0xD6, 0xF6}, {0xC7, 0xE7}};
        for (auto [upper, lower] : kTurkish)
            pair(upper, lower);
    }
};

const Tables& Get()
{
    static const Tables tables;
    return tables;
}

} // namespace

const Table& Fold() { return Get().fold; }
const Table& Partner() { return Get().partner; }

} // namespace caseless
