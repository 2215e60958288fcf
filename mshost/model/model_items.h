// The stand-in host's model as plain C++ records behind the opaque handles of
// host/msLib.h. Items live in ItemLists: a handle (the item's address) stays
// valid while later items are added at the end, and items are allocated in
// growing chunks instead of one allocation per vertex or triangle.
#pragma once

#include <bit>
#include <cstddef>
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

// Memory for one chunk of items. Large chunks come straight from the system,
// filled in one step, so that storing a big mesh does not take a page fault
// per 4 KB page; small ones come from the heap. Null when none is to be had.
void* AllocateChunk(size_t bytes);
// Whether AllocateChunk hands out `bytes` already zeroed.
bool ChunkIsZeroed(size_t bytes);
void ReleaseChunk(void* memory, size_t bytes);

// Items in chunks of 16, 32, 64, ... items: an item never moves once added,
// and finding item i takes a bit count instead of a division.
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
            ReleaseChunk(chunks_[c], count * sizeof(T));
        }
    }

    size_t size() const { return size_; }

    T& operator[](size_t index) {
        const size_t slot = index + kFirstChunk;
        const int chunk = std::bit_width(slot) - 1 - kFirstChunkBits;
        return chunks_[static_cast<size_t>(chunk)][slot - (size_t(1) << (chunk + kFirstChunkBits))];
    }

    // Adds a default item at the end.
    void emplace_back() {
        const size_t slot = size_ + kFirstChunk;
        // At a power of two the chunks are full: the next one holds `slot` items.
        // (Not std::has_single_bit: without -mpopcnt it is a library call per item.)
        if ((slot & (slot - 1)) == 0) AddChunk(slot);
        ++size_;
    }

    void swap(ItemList& other) noexcept {
        chunks_.swap(other.chunks_);
        std::swap(size_, other.size_);
    }

private:
    static constexpr int kFirstChunkBits = 4;
    static constexpr size_t kFirstChunk = size_t(1) << kFirstChunkBits;

    static size_t ChunkSize(size_t chunk) { return kFirstChunk << chunk; }

    // Items whose default is all zero bytes need no construction in memory
    // that the system hands out zeroed: writing the zeros again would touch
    // every page of a big chunk once more.
    static constexpr bool kZeroIsDefault = std::is_trivially_destructible_v<T> && std::is_trivially_copyable_v<T>;

    void AddChunk(size_t count) {
        chunks_.reserve(chunks_.size() + 1);
        void* memory = AllocateChunk(count * sizeof(T));
        if (!memory) throw std::bad_alloc();
        T* items = static_cast<T*>(memory);
        if (!(kZeroIsDefault && ChunkIsZeroed(count * sizeof(T)))) {
            for (size_t i = 0; i < count; ++i) new (items + i) T();
        }
        chunks_.push_back(items);
    }

    std::vector<T*> chunks_;
    size_t size_ = 0;
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

struct msMesh {
    // The owning model's switch for the host's limits (never null once the
    // mesh belongs to a model).
    const bool* hostLimits = nullptr;
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
    ItemList<msMesh> meshes;
    ItemList<msMaterial> materials;
    ItemList<msBone> bones;
    int destroyCount = 0;
    bool hostLimits = false;
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
int AddItem(ItemList<T>& items, size_t limit) {
    if (items.size() >= limit) return -1;
    items.emplace_back();
    return static_cast<int>(items.size() - 1);
}

// Stores at most `limit` bytes of a zero-terminated text; null stores the empty text.
void SetText(std::string& target, const char* text, size_t limit);

// Copies at most `max` characters of `text` to `buffer`, with a terminating
// zero only when it fits within `max` (the host's getter rule).
void CopyText(const std::string& text, char* buffer, int max);

void CopyFloats(float* target, const float* source, int count);

}  // namespace model_items
