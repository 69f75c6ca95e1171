#include "platform/MemoryPages.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace memorypages {
namespace {

constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;

std::uintptr_t PageSize()
{
    static const auto size = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    return size;
}

// The pages wholly inside [data, data + bytes), or an empty range.
struct Inner {
    std::uintptr_t begin = 0;
    std::uintptr_t end = 0;
    Inner(const void* data, std::size_t bytes)
    {
        const std::uintptr_t page = PageSize();
        const auto start = reinterpret_cast<std::uintptr_t>(data);
        begin = (start + page - 1) & ~(page - 1);
        end = (start + bytes) & ~(page - 1);
        if (end < begin)
            end = begin;
    }
    void* Address() const { return reinterpret_cast<void*>(begin); }
    std::size_t Length() const { return end - begin; }
};

} // namespace

void AdviseHuge(const void* data, std::size_t bytes)
{
    const Inner inner(data, bytes);
    if (inner.Length() > 2 * kHuge)
        ::madvise(inner.Address(), inner.Length(), MADV_HUGEPAGE);
}

void Release(const void* data, std::size_t bytes)
{
    const Inner inner(data, bytes);
    if (inner.Length() > 0)
        ::madvise(inner.Address(), inner.Length(), MADV_DONTNEED);
}

} // namespace memorypages
