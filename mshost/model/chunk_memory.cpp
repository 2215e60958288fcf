// Chunk memory of the stand-in model library: a big chunk is mapped and
// filled in one call (backed by huge pages where the system has them) instead
// of taking a fault on every page as its items are first written.
#include <cstdlib>

#include "mshost/model/model_items.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace {

// Below this a chunk comes from the heap.
constexpr size_t kMappedChunkBytes = size_t(256) << 10;

}  // namespace

void* AllocateChunk(size_t bytes) {
    if (bytes < kMappedChunkBytes) return std::malloc(bytes != 0 ? bytes : 1);
#if defined(_WIN32)
    return VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
#else
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return nullptr;
    madvise(memory, bytes, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
    // Older kernels refuse it; the pages are then faulted in as usual.
    madvise(memory, bytes, MADV_POPULATE_WRITE);
#endif
    return memory;
#endif
}

bool ChunkIsZeroed(size_t bytes) { return bytes >= kMappedChunkBytes; }

void ReleaseChunk(void* memory, size_t bytes) {
    if (!memory) return;
    if (bytes < kMappedChunkBytes) {
        std::free(memory);
        return;
    }
#if defined(_WIN32)
    VirtualFree(memory, 0, MEM_RELEASE);
#else
    munmap(memory, bytes);
#endif
}
