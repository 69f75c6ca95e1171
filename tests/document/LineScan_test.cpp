#include "document/LineScan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// The scan as its rules say, byte by byte.
LineScan Reference(std::string_view text)
{
    LineScan scan;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool afterCr = i > 0 && text[i - 1] == '\r';
        const bool beforeLf = i + 1 < text.size() && text[i + 1] == '\n';
        if (c == '\n' && afterCr)
            scan.starts.push_back(static_cast<std::int64_t>(i + 1));
        scan.loneBreak = scan.loneBreak || (c == '\n' && !afterCr) || (c == '\r' && !beforeLf);
        scan.anyCr = scan.anyCr || c == '\r';
        scan.anyLf = scan.anyLf || c == '\n';
        scan.beyondAscii = scan.beyondAscii || static_cast<unsigned char>(c) >= 0x80;
    }
    return scan;
}

void ExpectSame(const LineScan& want, const LineScan& got, const std::string& where)
{
    EXPECT_EQ(want.starts, got.starts) << where;
    EXPECT_EQ(want.loneBreak, got.loneBreak) << where;
    EXPECT_EQ(want.anyCr, got.anyCr) << where;
    EXPECT_EQ(want.anyLf, got.anyLf) << where;
    EXPECT_EQ(want.beyondAscii, got.beyondAscii) << where;
}

// The text cut into stretches at `cuts`, each fed in pieces of `piece` bytes, then joined.
LineScan InParts(std::string_view text, const std::vector<std::size_t>& cuts, std::size_t piece)
{
    std::vector<LineScanPart> parts;
    std::vector<std::size_t> bounds{0};
    bounds.insert(bounds.end(), cuts.begin(), cuts.end());
    bounds.push_back(text.size());
    for (std::size_t k = 0; k + 1 < bounds.size(); ++k) {
        parts.emplace_back(static_cast<std::int64_t>(bounds[k]), 4);
        for (std::size_t at = bounds[k]; at < bounds[k + 1];) {
            at = std::min(at + piece, bounds[k + 1]);
            parts.back().Feed(text.data(), static_cast<std::int64_t>(at));
        }
    }
    return JoinLineScan(std::move(parts));
}

// Text of CR, LF, a letter and a Turkish letter, long enough to cross the 64-byte blocks.
std::string RandomText(std::mt19937& rng, std::size_t size)
{
    static const char kBytes[] = {'\r', '\n', 'a', '\xFD', '\r', '\n'};
    std::string text;
    for (std::size_t i = 0; i < size; ++i)
        text.push_back(kBytes[rng() % (rng() % 2 ? 6 : 3)]); // runs of plain text, runs of breaks
    return text;
}

TEST(LineScan, SmallTextsSplitAnywhere)
{
    // A CR LF whose halves fall in different stretches is one break; a CR or LF that is alone
    // at a seam, at the start or at the end stays lone.
    const std::vector<std::string> texts = {
        "", "\r\n", "a\r\nb", "\n", "\r", "a\r", "\na", "\r\n\r\n", "\n\r", "\r\r\n\n", "abc\r\n",
        "\xC7" "a\r\n\xFD", "a\nb\r\nc", "\r\na\r",
    };
    for (const std::string& text : texts) {
        const LineScan want = Reference(text);
        ExpectSame(want, ScanText(text, 1), "whole: " + text);
        for (std::size_t cut = 0; cut <= text.size(); ++cut)
            ExpectSame(want, InParts(text, {cut}, 1), "cut at " + std::to_string(cut) + ": " + text);
        ExpectSame(want, ScanText(text, 3), "three stretches: " + text);
    }
}

TEST(LineScan, LongTextsInStretchesAndPieces)
{
    std::mt19937 rng(20240);
    for (int round = 0; round < 40; ++round) {
        const std::string text = RandomText(rng, 64 * 7 + rng() % 300);
        const LineScan want = Reference(text);
        const std::string where = "round " + std::to_string(round);
        ExpectSame(want, ScanText(text, 1), where + ", one thread");
        ExpectSame(want, ScanText(text, 2), where + ", two threads");
        // A seam at a CR LF on purpose, at a block's edge, and in pieces that are not blocks.
        const std::size_t crlf = text.find("\r\n", 100);
        std::vector<std::size_t> cuts{64, crlf == std::string::npos ? 128 : crlf + 1, text.size() - 1};
        for (std::size_t piece : {std::size_t{1}, std::size_t{63}, std::size_t{64}, std::size_t{200}, text.size()})
            ExpectSame(want, InParts(text, cuts, piece), where + ", piece " + std::to_string(piece));
    }
}

TEST(LineScan, BigTextMatchesOnEveryThreadCount)
{
    // Big enough for ScanText to split it; the middle falls on the LF of a CR LF.
    std::string text(std::size_t{5} << 20, 'x');
    for (std::size_t i = 10; i + 1 < text.size(); i += 97) {
        text[i] = '\r';
        text[i + 1] = '\n';
    }
    text[text.size() / 2 - 1] = '\r';
    text[text.size() / 2] = '\n';
    const LineScan want = Reference(text);
    ExpectSame(want, ScanText(text), "split by size");
    ExpectSame(want, ScanText(text, 1), "one thread");
    text.back() = '\r';
    EXPECT_TRUE(ScanText(text).loneBreak);
}

} // namespace
