// Reading the records that many block layouts share.
//
// Arrays grow as their entries are read: a count from the file reserves at
// most as many entries as the unread bytes could hold, so a count larger
// than the data ends with the stream's copy error at the first entry that
// does not fit, as reading entry by entry does.
//
// Large arrays (geometry, keys, weights) are read whole when all their bytes
// are there: one bounds check and one decoding loop (a plain copy for
// records laid out like the file on a little-endian host) instead of a
// stream call per value. When the array does not fit, they are read entry by
// entry, so the failure, its message and the bytes consumed stay the same.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <type_traits>
#include <string>
#include <vector>

#include "importer/convert/matrix44.h"
#include "importer/nif/qiv_stream.h"
#include "importer/nif/records.h"

NifVector ReadVector(Qiv_Stream& stream);
// Three Floats r, g, b; alpha is 1.0 in memory.
NifColour ReadColourRgb(Qiv_Stream& stream);
NifColour ReadColourRgba(Qiv_Stream& stream);
NifTexCoord ReadTexCoord(Qiv_Stream& stream);
Matrix33 ReadMatrix33(Qiv_Stream& stream);
// A Long count, then count block indices.
LinkList ReadLinkList(Qiv_Stream& stream);

// Reserves room for `count` entries of `bytesPerEntry` file bytes each, but
// never more than the unread bytes could fill.
template <class Entry>
void ReserveForEntries(std::vector<Entry>& entries, int64_t count, const Qiv_Stream& stream, size_t bytesPerEntry) {
    if (count <= 0) return;
    const size_t fit = stream.EntriesThatFit(bytesPerEntry);
    entries.reserve(static_cast<uint64_t>(count) < fit ? static_cast<size_t>(count) : fit);
}

// Appends `count` entries read one by one with `readEntry`; none when count <= 0.
template <class Entry, class ReadEntry>
void ReadEntries(Qiv_Stream& stream, std::vector<Entry>& entries, int64_t count, size_t bytesPerEntry, ReadEntry readEntry) {
    ReserveForEntries(entries, count, stream, bytesPerEntry);
    for (int64_t i = 0; i < count; ++i) entries.push_back(readEntry(stream));
}

// Little-endian values at `bytes` (which need no alignment).
inline uint16_t LoadShort(const unsigned char* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }
inline uint32_t LoadBits32(const unsigned char* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}
inline float LoadFloat(const unsigned char* bytes) { return std::bit_cast<float>(LoadBits32(bytes)); }

// As ReadEntries; when all `count` entries are there, they are taken at once
// and each is made by `decodeEntry` from its `bytesPerEntry` bytes.
template <class Entry, class ReadEntry, class DecodeEntry>
void ReadEntriesWhole(Qiv_Stream& stream, std::vector<Entry>& entries, int64_t count, size_t bytesPerEntry,
                      ReadEntry readEntry, DecodeEntry decodeEntry) {
    if (count > 0) {
        if (const unsigned char* bytes = stream.TakeEntries(static_cast<uint64_t>(count), bytesPerEntry)) {
            entries.reserve(entries.size() + static_cast<size_t>(count));
            for (int64_t i = 0; i < count; ++i, bytes += bytesPerEntry) entries.push_back(decodeEntry(bytes));
            return;
        }
    }
    ReadEntries(stream, entries, count, bytesPerEntry, readEntry);
}

// Walks records stored in the file's byte order and layout, copying each out as it is read.
template <class Entry>
class FileRecords {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Entry;
    using difference_type = std::ptrdiff_t;
    using pointer = const Entry*;
    using reference = Entry;

    FileRecords() = default;
    explicit FileRecords(const unsigned char* bytes) : bytes_(bytes) {}
    Entry operator*() const {
        Entry entry;
        std::memcpy(&entry, bytes_, sizeof(Entry));
        return entry;
    }
    FileRecords& operator++() {
        bytes_ += sizeof(Entry);
        return *this;
    }
    FileRecords operator++(int) {
        FileRecords before = *this;
        bytes_ += sizeof(Entry);
        return before;
    }
    bool operator==(const FileRecords& other) const { return bytes_ == other.bytes_; }

private:
    const unsigned char* bytes_ = nullptr;
};

// As ReadEntries, for records whose memory layout is the file's: 32-bit
// floats or integers, or 16-bit integers, in file order with no padding.
// On a little-endian host an array that fits is copied as it stands.
template <class Entry, class ReadEntry>
void ReadPlainEntries(Qiv_Stream& stream, std::vector<Entry>& entries, int64_t count, ReadEntry readEntry) {
    static_assert(std::is_trivially_copyable_v<Entry>);
    if constexpr (std::endian::native == std::endian::little) {
        if (count > 0) {
            if (const unsigned char* bytes = stream.TakeEntries(static_cast<uint64_t>(count), sizeof(Entry))) {
                // Each entry copied once into place (no clearing of the array first).
                const unsigned char* end = bytes + static_cast<size_t>(count) * sizeof(Entry);
                entries.insert(entries.end(), FileRecords<Entry>(bytes), FileRecords<Entry>(end));
                return;
            }
        }
    }
    ReadEntries(stream, entries, count, sizeof(Entry), readEntry);
}

// Arrays of the shared records, read whole when they fit.
void ReadVectors(Qiv_Stream& stream, std::vector<NifVector>& vectors, int64_t count);
void ReadColoursRgba(Qiv_Stream& stream, std::vector<NifColour>& colours, int64_t count);
void ReadTexCoords(Qiv_Stream& stream, std::vector<NifTexCoord>& coords, int64_t count);
void ReadShorts(Qiv_Stream& stream, std::vector<uint16_t>& values, int64_t count);

// `count` Floats (none when count <= 0).
std::vector<float> ReadFloats(Qiv_Stream& stream, int64_t count);
// `count` Longs (none when count <= 0).
std::vector<int32_t> ReadLongs(Qiv_Stream& stream, int64_t count);
