#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// What opening a text needs to know of its bytes, learnt in one walk over them: where its lines
// start, whether a CR or an LF stands alone (its breaks must then be made CR LF first), whether
// it holds a CR or an LF at all (how its file breaks lines), and whether a byte lies beyond
// ASCII (else it cannot be UTF-8 worth decoding).
struct LineScan {
    std::vector<std::int64_t> starts{0}; // 0, and behind every CR LF
    bool loneBreak = false;
    bool anyCr = false;
    bool anyLf = false;
    bool beyondAscii = false;
};

// One stretch of a text, scanned in order as its bytes arrive (a read scans each piece while it
// is still in the processor's cache). Stretches that follow one another may be scanned on
// different threads at once and joined after; a CR LF split between two is found at the join.
class LineScanPart {
public:
    using Offset = std::int64_t;

    // `room`: how many line starts to make room for at once; room costs nothing until used.
    LineScanPart(Offset begin, std::size_t room);

    // Scans text[End(), to): the next bytes of this stretch; `text` points at the whole text.
    void Feed(const char* text, Offset to);
    Offset Begin() const { return m_begin; }
    Offset End() const { return m_end; }

private:
    friend LineScan JoinLineScan(std::vector<LineScanPart>&& parts);
    void Push(Offset start) { m_starts.push_back(start); }

    Offset m_begin;
    Offset m_end;
    std::vector<Offset> m_starts;
    bool m_leadingLf = false; // the first byte is an LF: a break only if the stretch before ends with a CR
    bool m_pendingCr = false; // the last byte fed is a CR
    bool m_lone = false;
    bool m_cr = false;
    bool m_lf = false;
    bool m_high = false;
};

// Parts that cover a text from 0 to its end, each following the one before, as one scan. The
// starts are the first part's, with the others' appended, each let go as it is taken over; so
// the first part should have room for all.
LineScan JoinLineScan(std::vector<LineScanPart>&& parts);

// The room for a text's line starts: enough for lines of 32 bytes on average.
std::size_t LineStartRoom(std::int64_t bytes);

// How many threads a big scan or read splits into: both cores where there are two.
int ScanThreads();

// A whole text in memory, a big one split between ScanThreads() threads.
LineScan ScanText(std::string_view text);
// The same on one thread (`threads` 1) or split in `threads` stretches of equal size.
LineScan ScanText(std::string_view text, int threads);
