// BlockArena: memory handed out in large chunks and given back all at once.
//
// A file may hold a million blocks of under 30 bytes each; one heap
// allocation per block object (or per name) would cost the allocator's
// bookkeeping on top of every one of them. What lives in the arena is freed
// only with the arena: the block table builds its blocks here (and calls
// their destructors itself), and the stream keeps the texts it hands out.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

class BlockArena {
public:
    BlockArena() = default;
    BlockArena(const BlockArena&) = delete;
    BlockArena& operator=(const BlockArena&) = delete;

    // `bytes` of uninitialised memory aligned to `alignment` (a power of two
    // up to alignof(std::max_align_t)), valid until the arena is destroyed.
    void* Allocate(size_t bytes, size_t alignment);
    // A copy of `text` followed by a zero byte; an empty text takes no memory.
    const char* KeepText(std::string_view text);

private:
    // Chunks double from the first size to the largest: a small file takes
    // little memory, a large one few chunks.
    static constexpr size_t kFirstChunkBytes = 256;
    static constexpr size_t kLargestChunkBytes = size_t(64) << 10;

    std::vector<std::unique_ptr<unsigned char[]>> chunks_;
    unsigned char* next_ = nullptr;  // the unused rest of the last ordinary chunk
    size_t left_ = 0;
    size_t nextChunkBytes_ = kFirstChunkBytes;
};
