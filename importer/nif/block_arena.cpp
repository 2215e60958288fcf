#include "importer/nif/block_arena.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

void* BlockArena::Allocate(size_t bytes, size_t alignment) {
    const size_t padding = (alignment - reinterpret_cast<uintptr_t>(next_) % alignment) % alignment;
    if (next_ && padding <= left_ && bytes <= left_ - padding) {
        unsigned char* start = next_ + padding;
        next_ = start + bytes;
        left_ -= padding + bytes;
        return start;
    }
    // A large request gets a chunk of its own, so that the rest of the
    // current chunk stays in use.
    const bool ownChunk = bytes > kLargestChunkBytes / 4;
    const size_t chunkBytes = ownChunk ? bytes : std::max(nextChunkBytes_, bytes);
    std::unique_ptr<unsigned char[]> chunk = std::make_unique_for_overwrite<unsigned char[]>(chunkBytes);
    unsigned char* start = chunk.get();  // new[] memory is aligned for any fundamental type
    chunks_.push_back(std::move(chunk));  // grows the list geometrically; frees the chunk if it throws
    if (!ownChunk) {
        next_ = start + bytes;
        left_ = chunkBytes - bytes;
        nextChunkBytes_ = std::min(2 * nextChunkBytes_, kLargestChunkBytes);
    }
    return start;
}

const char* BlockArena::KeepText(std::string_view text) {
    if (text.empty()) return "";
    char* copy = static_cast<char*>(Allocate(text.size() + 1, 1));
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}
