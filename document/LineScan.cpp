#include "document/LineScan.h"

#include "platform/MemoryPages.h"

#include <algorithm>
#include <bit>
#include <future>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using Offset = LineScanPart::Offset;

#if defined(__SSE2__)
// One bit for each of the 64 bytes at p that equals c.
inline std::uint64_t Equal64(const unsigned char* p, __m128i c)
{
    const auto* v = reinterpret_cast<const __m128i*>(p);
    const auto m = [&](int i) {
        return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(v + i), c))));
    };
    return m(0) | m(1) << 16 | m(2) << 32 | m(3) << 48;
}

// One bit for each of the 64 bytes at p that is 0x80 or more.
inline std::uint64_t High64(const unsigned char* p)
{
    const auto* v = reinterpret_cast<const __m128i*>(p);
    const auto m = [&](int i) {
        return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_loadu_si128(v + i))));
    };
    return m(0) | m(1) << 16 | m(2) << 32 | m(3) << 48;
}
#endif

} // namespace

LineScanPart::LineScanPart(Offset begin, std::size_t room) : m_begin(begin), m_end(begin)
{
    m_starts.reserve(room + 1);
    memorypages::AdviseHuge(m_starts.data(), m_starts.capacity() * sizeof(Offset));
    if (begin == 0)
        m_starts.push_back(0);
}

void LineScanPart::Feed(const char* text, Offset to)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    Offset i = m_end;
    if (i >= to)
        return;
    m_end = to;
    if (i == m_begin) {
        // An LF first is a break or a lone LF by what ends the stretch before: the join decides.
        const unsigned char c = p[i++];
        m_leadingLf = c == '\n';
        m_lf = m_leadingLf;
        m_cr = m_pendingCr = c == '\r';
        m_high = c >= 0x80;
    }
#if defined(__SSE2__)
    // 64 bytes at a time: a CR LF is an LF bit with the CR bit just below it (or the CR that
    // ended the block before); a lone LF lacks that bit, a lone CR lacks the LF bit above it.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    std::uint64_t lone = 0;
    std::uint64_t anyCr = 0;
    std::uint64_t anyLf = 0;
    std::uint64_t high = 0;
    auto pending = static_cast<std::uint64_t>(m_pendingCr);
    for (; to - i >= 64; i += 64) {
        const std::uint64_t crs = Equal64(p + i, cr);
        const std::uint64_t lfs = Equal64(p + i, lf);
        high |= High64(p + i);
        anyCr |= crs;
        anyLf |= lfs;
        const std::uint64_t crBefore = crs << 1 | pending;
        lone |= (lfs & ~crBefore) | (crs & ~(lfs >> 1) & ~(std::uint64_t{1} << 63)) | (pending & ~lfs);
        pending = crs >> 63;
        for (std::uint64_t pairs = lfs & crBefore; pairs != 0; pairs &= pairs - 1)
            Push(i + std::countr_zero(pairs) + 1);
    }
    m_pendingCr = pending != 0;
    m_lone = m_lone || lone != 0;
    m_cr = m_cr || anyCr != 0;
    m_lf = m_lf || anyLf != 0;
    m_high = m_high || high != 0;
#endif
    for (; i < to; ++i) {
        const unsigned char c = p[i];
        if (c == '\n') {
            m_lf = true;
            if (m_pendingCr)
                Push(i + 1);
            else
                m_lone = true;
        } else if (m_pendingCr) {
            m_lone = true;
        }
        m_pendingCr = c == '\r';
        m_cr = m_cr || m_pendingCr;
        m_high = m_high || c >= 0x80;
    }
}

LineScan JoinLineScan(std::vector<LineScanPart>&& parts)
{
    LineScan scan;
    bool first = true;
    bool pendingCr = false;
    for (LineScanPart& part : parts) {
        if (part.End() == part.Begin())
            continue; // nothing in it: the stretches on either side meet
        if (first) {
            scan.starts = std::move(part.m_starts);
            if (scan.starts.empty() || scan.starts.front() != 0)
                scan.starts.insert(scan.starts.begin(), 0);
            scan.loneBreak = part.m_leadingLf; // nothing before it
        } else {
            if (pendingCr && part.m_leadingLf)
                scan.starts.push_back(part.Begin() + 1);
            else if (pendingCr || part.m_leadingLf)
                scan.loneBreak = true;
            // Taken over a slice at a time, each slice's pages given back at once: a second copy
            // of the starts never builds up.
            constexpr std::size_t kSlice = std::size_t{1} << 18;
            const std::vector<Offset>& starts = part.m_starts;
            for (std::size_t at = 0; at < starts.size(); at += kSlice) {
                const std::size_t n = std::min(kSlice, starts.size() - at);
                scan.starts.insert(scan.starts.end(), starts.begin() + static_cast<std::ptrdiff_t>(at),
                                   starts.begin() + static_cast<std::ptrdiff_t>(at + n));
                memorypages::Release(starts.data() + at, n * sizeof(Offset));
            }
            std::vector<Offset>().swap(part.m_starts);
        }
        first = false;
        scan.loneBreak = scan.loneBreak || part.m_lone;
        scan.anyCr = scan.anyCr || part.m_cr;
        scan.anyLf = scan.anyLf || part.m_lf;
        scan.beyondAscii = scan.beyondAscii || part.m_high;
        pendingCr = part.m_pendingCr;
    }
    scan.loneBreak = scan.loneBreak || pendingCr; // a CR at the very end
    return scan;
}

std::size_t LineStartRoom(std::int64_t bytes) { return static_cast<std::size_t>(std::max<std::int64_t>(bytes, 0) / 32 + 16); }

int ScanThreads() { return std::thread::hardware_concurrency() >= 2 ? 2 : 1; }

LineScan ScanText(std::string_view text)
{
    // Below this a thread costs more than it saves.
    constexpr std::size_t kSplitFrom = std::size_t{4} << 20;
    return ScanText(text, text.size() >= kSplitFrom ? ScanThreads() : 1);
}

LineScan ScanText(std::string_view text, int threads)
{
    const auto size = static_cast<Offset>(text.size());
    threads = std::max(threads, 1);
    std::vector<LineScanPart> parts;
    parts.reserve(static_cast<std::size_t>(threads));
    for (int k = 0; k < threads; ++k) {
        const Offset begin = size * k / threads;
        const Offset end = size * (k + 1) / threads;
        parts.emplace_back(begin, LineStartRoom(k == 0 ? size : end - begin));
    }
    // A future's thread also carries back what it throws (no room for the starts, say).
    std::vector<std::future<void>> others;
    for (int k = 1; k < threads; ++k)
        others.push_back(std::async(std::launch::async, [&, k] {
            parts[static_cast<std::size_t>(k)].Feed(text.data(), size * (k + 1) / threads);
        }));
    parts.front().Feed(text.data(), size / threads);
    for (auto& other : others)
        other.get();
    return JoinLineScan(std::move(parts));
}
