// The stand-in host's model as plain C++ records behind the opaque handles of
// host/msLib.h. Items live in ItemLists: a handle (the item's address) stays
// valid while later items are added at the end, and items are allocated in
// growing chunks instead of one allocation per vertex or triangle.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <string>
#include <utility>
#include <vector>

// The host's text limits: longer texts are cut when they are set.
constexpr size_t kMaxNameLength = 31;          // mesh, material, bone and parent names
constexpr size_t kMaxTexturePathLength = 255;  // material texture paths

// The host's list sizes, kept only by a model whose host limits are on
// (msModel_SetHostLimits); other models take up to 2^31 - 1 items a list.
constexpr size_t kHostMaxVertices = 65534;   // per mesh
constexpr size_t kHostMaxTriangles = 65534;  // per mesh
constexpr size_t kHostMaxMeshes = 255;
constexpr size_t kHostMaxMaterials = 128;
constexpr size_t kHostMaxBones = 128;
constexpr size_t kUnlimitedItems = 0x7FFFFFFF;

// The big chunks of one model's item lists, carved one after another from
// large regions of address space taken from the system. A region's pages are
// committed only as a list reaches them, a window at a time (Prepare), backed
// by huge pages where the system has them: storing a big mesh takes one step
// per 64 KB (or 2 MB) instead of a fault per 4 KB, and the unused end of a
// list's last chunk costs address space, not memory.
// Nothing is handed back before Release (a model's items are only ever
// released all at once), so every chunk arrives zeroed.
class ChunkArena {
public:
    // Chunks of at least this many bytes come from the arena; smaller ones
    // from the heap, so that small models stay out of the big regions.
    static constexpr size_t kMinChunkBytes = size_t(16) << 10;

    ChunkArena() = default;
    ChunkArena(const ChunkArena&) = delete;
    ChunkArena& operator=(const ChunkArena&) = delete;
    ~ChunkArena() { Release(); }

    // Lists prepare the memory of their next items this many bytes at a time.
    static constexpr size_t kWindowBytes = size_t(64) << 10;

    // `bytes` of zeroed memory, aligned for any item; null when none is to be had.
    void* Allocate(size_t bytes);
    // Commits the pages of `bytes` at `start` (inside a chunk) in one step
    // where the system allows it; otherwise they are committed as written.
    static void Prepare(void* start, size_t bytes);
    // Hands every region back; the chunks carved from them are gone.
    void Release();

private:
    struct Region {
        unsigned char* base;
        size_t bytes;
    };
    std::vector<Region> regions_;
    size_t used_ = 0;  // bytes carved from the last region
};

// Whether a default T is all zero bytes, so that zeroed memory already holds
// it. Answered from the bytes of T() itself: a trivially copyable type may
// still default a member to something else.
template <class T>
constexpr bool DefaultIsZeroBytes() {
    if constexpr (!std::is_trivially_destructible_v<T> || !std::is_trivially_copyable_v<T>) {
        return false;
    } else {
        for (unsigned char byte : std::bit_cast<std::array<unsigned char, sizeof(T)>>(T())) {
            if (byte != 0) return false;
        }
        return true;
    }
}

// Items in chunks of 16, 16, 32, 64, ... items (after chunk c the list holds
// 16 << c): an item never moves once added, finding item i is a bit count,
// and a list of 2^n items fills its chunks exactly.
template <class T>
class ItemList {
public:
    ItemList() = default;
    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;
    ~ItemList() {
        for (size_t c = 0; c < chunks_.size(); ++c) {
            const size_t count = ChunkSize(c);
            for (size_t i = 0; i < count; ++i) chunks_[c][i].~T();
            if (!FromArena(count)) std::free(chunks_[c]);
        }
    }

    size_t size() const { return size_; }

    T& operator[](size_t index) {
        // Chunk c >= 1 starts at item 2^top with top = c + 3; chunk 0 (top 3)
        // at item 0, which the mask makes of 2^3.
        const int top = std::bit_width(index | (kFirstChunk - 1)) - 1;
        const size_t chunk = static_cast<size_t>(top - (kFirstChunkBits - 1));
        const size_t start = (size_t(1) << top) & ~(kFirstChunk - 1);
        return chunks_[chunk][index - start];
    }

    // Adds a default item at the end; big chunks come from `arena`.
    void emplace_back(ChunkArena& arena) {
        if (size_ == nextEvent_) Grow(arena);
        ++size_;
    }

    void swap(ItemList& other) noexcept {
        chunks_.swap(other.chunks_);
        std::swap(size_, other.size_);
        std::swap(nextEvent_, other.nextEvent_);
    }

private:
    static constexpr int kFirstChunkBits = 4;
    static constexpr size_t kFirstChunk = size_t(1) << kFirstChunkBits;

    static size_t ChunkSize(size_t chunk) { return chunk == 0 ? kFirstChunk : kFirstChunk << (chunk - 1); }
    static bool FromArena(size_t count) { return count * sizeof(T) >= ChunkArena::kMinChunkBytes; }

    // Items whose default is all zero bytes need no construction in the
    // arena's zeroed memory: writing the zeros again would touch every page
    // of a big chunk, used or not.
    static constexpr bool kZeroIsDefault = DefaultIsZeroBytes<T>();

    // Items of an arena chunk prepared at a time.
    static constexpr size_t kWindowItems =
        ChunkArena::kWindowBytes / sizeof(T) != 0 ? ChunkArena::kWindowBytes / sizeof(T) : 1;

    // Called when the next item reaches nextEvent_: the chunks are full, or
    // the item starts a window of an arena chunk that is not prepared yet.
    // Out of line, so that the other adds (all but 1 in a few thousand)
    // cost one comparison and save no registers for this.
    [[gnu::noinline, gnu::cold]] void Grow(ChunkArena& arena) {
        // After chunk c the list holds 16 << c items; chunk c >= 1 holds as
        // many items as come before it.
        size_t capacity = chunks_.empty() ? 0 : kFirstChunk << (chunks_.size() - 1);
        if (size_ == capacity) {
            AddChunk(size_ == 0 ? kFirstChunk : size_, arena);
            capacity = kFirstChunk << (chunks_.size() - 1);
        }
        const size_t last = chunks_.size() - 1;
        if (!FromArena(ChunkSize(last))) {
            nextEvent_ = capacity;
            return;
        }
        // Commit the memory of the next items in one step, not a page at a
        // time as they are written; never past the chunk.
        const size_t chunkStart = capacity - ChunkSize(last);
        const size_t end = capacity - size_ < kWindowItems ? capacity : size_ + kWindowItems;
        arena.Prepare(chunks_[last] + (size_ - chunkStart), (end - size_) * sizeof(T));
        nextEvent_ = end;
    }

    void AddChunk(size_t count, ChunkArena& arena) {
        chunks_.reserve(chunks_.size() + 1);
        const bool fromArena = FromArena(count);
        void* memory = fromArena ? arena.Allocate(count * sizeof(T)) : std::malloc(count * sizeof(T));
        if (!memory) throw std::bad_alloc();
        T* items = static_cast<T*>(memory);
        if (!(kZeroIsDefault && fromArena)) {
            for (size_t i = 0; i < count; ++i) new (items + i) T();
        }
        chunks_.push_back(items);
    }

    std::vector<T*> chunks_;
    size_t size_ = 0;
    size_t nextEvent_ = 0;  // the size at which Grow must run before the next add
};

struct msVertex {
    float position[3] = {0, 0, 0};
    float texCoords[2] = {0, 0};
};

struct msTriangle {
    unsigned short vertexIndices[3] = {0, 0, 0};
    unsigned short normalIndices[3] = {0, 0, 0};
};

struct NormalRecord {
    float xyz[3] = {0, 0, 0};
};

// What all the lists of one model share.
struct ModelStorage {
    ChunkArena arena;
    bool hostLimits = false;  // msModel_SetHostLimits
};

struct msMesh {
    // The owning model's storage (never null once the mesh belongs to a model).
    ModelStorage* storage = nullptr;
    std::string name;
    int materialIndex = -1;
    ItemList<msVertex> vertices;
    ItemList<msTriangle> triangles;
    std::vector<NormalRecord> normals;  // addressed by index only, never by handle
};

struct msMaterial {
    std::string name;
    float ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    float diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    float specular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float emissive[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float shininess = 0.0f;
    float transparency = 1.0f;
    std::string diffuseTexture;
};

struct msBone {
    std::string name;
    std::string parentName;
    float position[3] = {0, 0, 0};
    float rotation[3] = {0, 0, 0};
};

struct msModel {
    ModelStorage storage;  // first: the lists' big chunks live in its arena
    ItemList<msMesh> meshes;
    ItemList<msMaterial> materials;
    ItemList<msBone> bones;
    int destroyCount = 0;
};

namespace model_items {

// The item at `index`, or null for a negative index or one past the end.
template <class T>
T* ItemAt(ItemList<T>& items, int index) {
    if (index < 0 || static_cast<size_t>(index) >= items.size()) return nullptr;
    return &items[static_cast<size_t>(index)];
}

// Appends a new default item and returns its index; -1, adding nothing,
// when the list already holds `limit` items.
template <class T>
int AddItem(ItemList<T>& items, size_t limit, ChunkArena& arena) {
    if (items.size() >= limit) return -1;
    items.emplace_back(arena);
    return static_cast<int>(items.size() - 1);
}

// Stores at most `limit` bytes of a zero-terminated text; null stores the empty text.
void SetText(std::string& target, const char* text, size_t limit);

// Copies at most `max` characters of `text` to `buffer`, with a terminating
// zero only when it fits within `max` (the host's getter rule).
void CopyText(const std::string& text, char* buffer, int max);

// Copies `count` floats; a null side copies nothing. Inline with a fixed
// count, so that a vertex's three floats are a few moves, not a library call.
// All are read before any is written, so the compiler may move them in wide
// pieces: a caller that reads its out-parameter back as one 8-byte value then
// gets it straight from the store, where four-byte stores would stall it.
template <size_t count>
inline void CopyFloats(float* target, const float* source) {
    if (!target || !source) return;
    float values[count];
    std::memcpy(values, source, sizeof values);
    std::memcpy(target, values, sizeof values);
}

}  // namespace model_items
