#pragma once

#include <cstddef>

// Advice to the system about big blocks of this program's memory. Each is only advice: where the
// system does not take it, nothing changes but the speed.
namespace memorypages {

// Huge pages for the block where the system grants them on request: a page fault for every 2 MB
// instead of every 4 KB, which is most of the cost of filling a big block the first time.
void AdviseHuge(const void* data, std::size_t bytes);

// Gives the pages that lie wholly inside the block back to the system; the block reads as zeros
// there afterwards. For a block whose contents have been used and that is about to be freed.
void Release(const void* data, std::size_t bytes);

} // namespace memorypages
