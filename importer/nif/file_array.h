// Arrays that stay in the file's image: a view (start, count) into the bytes
// the stream holds, decoded entry by entry when asked.
//
// A block keeps one FileArray per array of its layout instead of a copy of
// the values, so a load needs little more memory than the file itself. The
// bytes need no alignment: every value is assembled from single bytes in the
// file's little-endian order. The view is valid while the stream's image is
// (the import run, `mshost check` and the tests keep the stream alive as long
// as the blocks).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

#include "importer/nif/records.h"

// Little-endian values at `bytes` (which need no alignment).
inline uint16_t LoadShort(const unsigned char* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }
inline uint32_t LoadBits32(const unsigned char* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}
inline int32_t LoadLong(const unsigned char* bytes) { return static_cast<int32_t>(LoadBits32(bytes)); }
inline float LoadFloat(const unsigned char* bytes) { return std::bit_cast<float>(LoadBits32(bytes)); }

// How one entry of an array lies in the file: its fields' sizes in file
// order, and the name of the stream read that would read its first field
// (the guard an entry-by-entry read would check first).
struct EntryLayout {
    uint32_t fieldBytes[4];
    int fieldCount;
    const char* guardName;

    constexpr size_t Bytes() const {
        size_t total = 0;
        for (int i = 0; i < fieldCount; ++i) total += fieldBytes[i];
        return total;
    }
};

// The file layout and decoding of each entry type an array may hold.
template <class Entry>
struct FileEntry;

template <>
struct FileEntry<uint16_t> {
    static constexpr EntryLayout kLayout{{2}, 1, "Short"};
    static uint16_t Decode(const unsigned char* bytes) { return LoadShort(bytes); }
};
template <>
struct FileEntry<int32_t> {
    static constexpr EntryLayout kLayout{{4}, 1, "Long"};
    static int32_t Decode(const unsigned char* bytes) { return LoadLong(bytes); }
};
template <>
struct FileEntry<float> {
    static constexpr EntryLayout kLayout{{4}, 1, "Float"};
    static float Decode(const unsigned char* bytes) { return LoadFloat(bytes); }
};
template <>
struct FileEntry<NifVector> {
    static constexpr EntryLayout kLayout{{4, 4, 4}, 3, "Float"};
    static NifVector Decode(const unsigned char* bytes) {
        return {LoadFloat(bytes), LoadFloat(bytes + 4), LoadFloat(bytes + 8)};
    }
};
template <>
struct FileEntry<NifColour> {
    static constexpr EntryLayout kLayout{{4, 4, 4, 4}, 4, "Float"};
    static NifColour Decode(const unsigned char* bytes) {
        return {LoadFloat(bytes), LoadFloat(bytes + 4), LoadFloat(bytes + 8), LoadFloat(bytes + 12)};
    }
};
template <>
struct FileEntry<NifTexCoord> {
    static constexpr EntryLayout kLayout{{4, 4}, 2, "Float"};
    static NifTexCoord Decode(const unsigned char* bytes) { return {LoadFloat(bytes), LoadFloat(bytes + 4)}; }
};

template <class Entry>
class FileArray {
public:
    static constexpr size_t kEntryBytes = FileEntry<Entry>::kLayout.Bytes();

    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Entry;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Entry;

        Iterator() = default;
        explicit Iterator(const unsigned char* bytes) : bytes_(bytes) {}
        Entry operator*() const { return FileEntry<Entry>::Decode(bytes_); }
        Iterator& operator++() {
            bytes_ += kEntryBytes;
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            bytes_ += kEntryBytes;
            return before;
        }
        bool operator==(const Iterator& other) const { return bytes_ == other.bytes_; }

    private:
        const unsigned char* bytes_ = nullptr;
    };

    FileArray() = default;
    FileArray(const unsigned char* bytes, size_t count) : bytes_(bytes), count_(count) {}

    size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    // Entry `i`, which must be below size().
    Entry operator[](size_t i) const { return FileEntry<Entry>::Decode(bytes_ + i * kEntryBytes); }
    Iterator begin() const { return Iterator(bytes_); }
    Iterator end() const { return Iterator(bytes_ ? bytes_ + count_ * kEntryBytes : nullptr); }
    // Where the entries start in the image, and how many bytes they take.
    const unsigned char* Bytes() const { return bytes_; }
    size_t ByteCount() const { return count_ * kEntryBytes; }

    std::vector<Entry> ToVector() const { return std::vector<Entry>(begin(), end()); }

private:
    const unsigned char* bytes_ = nullptr;
    size_t count_ = 0;
};

// A count and that many block indices; positions outside the list read as -1 (no block).
struct LinkList {
    FileArray<int32_t> indices;

    int Count() const { return static_cast<int>(indices.size()); }
    int32_t At(int position) const {
        return position >= 0 && position < Count() ? indices[static_cast<size_t>(position)] : -1;
    }
};
