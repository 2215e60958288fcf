// The chunk arena of the stand-in model library: regions of address space
// taken from the system and carved into chunks front to back. A region is
// not filled when it is taken: its pages are committed as lists reach them
// (Prepare), so a list's unused chunk end costs no memory, and on Linux the
// region is aligned and advised for huge pages, so committing a big mesh
// takes a step per 2 MB.
#include "mshost/model/model_items.h"

#include <algorithm>
#include <cstdint>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace {

constexpr size_t kPage = 4096;
constexpr size_t kHugePage = size_t(2) << 20;
// The first region of a model, and the largest a region grows to by doubling
// (a chunk bigger than that gets a region of its own size).
constexpr size_t kFirstRegionBytes = size_t(4) << 20;
constexpr size_t kLargestRegionBytes = size_t(64) << 20;
// Every chunk starts on a cache line.
constexpr size_t kChunkAlignment = 64;

size_t RoundUp(size_t value, size_t step) { return (value + step - 1) / step * step; }

// Zeroed address space of `bytes` (a multiple of kHugePage), or null.
unsigned char* TakeRegion(size_t bytes) {
#if defined(_WIN32)
    return static_cast<unsigned char*>(VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
#else
    // One huge page more than asked, so that the region can start on one.
    const size_t span = bytes + kHugePage;
    void* mapped = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    unsigned char* first = static_cast<unsigned char*>(mapped);
    unsigned char* base = reinterpret_cast<unsigned char*>(RoundUp(reinterpret_cast<uintptr_t>(first), kHugePage));
    if (base != first) munmap(first, static_cast<size_t>(base - first));
    const size_t after = span - static_cast<size_t>(base - first) - bytes;
    if (after != 0) munmap(base + bytes, after);
    // Refused where the system has no huge pages: the pages are then 4 KB.
    madvise(base, bytes, MADV_HUGEPAGE);
    return base;
#endif
}

void GiveBack(unsigned char* base, size_t bytes) {
#if defined(_WIN32)
    (void)bytes;
    VirtualFree(base, 0, MEM_RELEASE);
#else
    munmap(base, bytes);
#endif
}

}  // namespace

void* ChunkArena::Allocate(size_t bytes) {
    if (bytes > SIZE_MAX / 4) return nullptr;  // no system has that much to give
    bytes = RoundUp(bytes != 0 ? bytes : 1, kChunkAlignment);
    if (regions_.empty() || regions_.back().bytes - used_ < bytes) {
        const size_t grown =
            regions_.empty() ? kFirstRegionBytes : 2 * std::min(regions_.back().bytes, kLargestRegionBytes / 2);
        const size_t regionBytes = RoundUp(std::max(grown, bytes), kHugePage);
        regions_.reserve(regions_.size() + 1);
        unsigned char* base = TakeRegion(regionBytes);
        if (!base) return nullptr;
        // The rest of the previous region stays unused: it was never written,
        // so it holds no memory.
        regions_.push_back({base, regionBytes});
        used_ = 0;
    }
    void* chunk = regions_.back().base + used_;
    used_ += bytes;
    return chunk;
}

void ChunkArena::Prepare(void* start, size_t bytes) {
#if defined(_WIN32)
    // Committed when the region was taken; its pages are zero-filled on demand.
    (void)start;
    (void)bytes;
#else
#ifdef MADV_POPULATE_WRITE
    // Whole pages only: the first page may already hold earlier items, which
    // populating leaves as they are. Older kernels refuse it, and the pages
    // are then committed as they are written.
    const uintptr_t first = reinterpret_cast<uintptr_t>(start) & ~uintptr_t(kPage - 1);
    const uintptr_t end = RoundUp(reinterpret_cast<uintptr_t>(start) + bytes, kPage);
    madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#else
    (void)start;
    (void)bytes;
#endif
#endif
}

void ChunkArena::Release() {
    for (const Region& region : regions_) GiveBack(region.base, region.bytes);
    regions_.clear();
    used_ = 0;
}
