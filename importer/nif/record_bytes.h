// Reading part of a block's record again, when asked, instead of keeping
// everything the load read.
//
// A block that keeps little of what it read notes where the bytes lie in the
// file's image and reads them again through a stream of their own, with the
// same function and so the same checked reads as the load: the two readings
// cannot differ, and a read that went past the noted bytes would fail with
// the stream's error instead of reading outside them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>

#include "importer/nif/qiv_stream.h"

// The bytes from `start` to where `stream` stands now, as a 32-bit count (a
// larger record is cut short: reading it again then fails instead of going on).
inline uint32_t BytesSince(const unsigned char* start, const Qiv_Stream& stream) {
    const size_t bytes = static_cast<size_t>(stream.Here() - start);
    return static_cast<uint32_t>(std::min<size_t>(bytes, std::numeric_limits<uint32_t>::max()));
}

// Reads the `size` bytes at `start` again with `read`, a function of a Qiv_Stream&.
template <class Read>
auto ReadAgain(const unsigned char* start, size_t size, Read&& read) {
    Qiv_Stream stream(nullptr);
    stream.OpenBytes(start, size, "");
    return std::forward<Read>(read)(stream);
}

// Records of varying size, one after the other in the file (text keys, match
// groups, morph targets): the list notes where each starts, so that entry i
// is read again on its own, in constant time. `Reader` reads one record from
// a stream (and may carry what the record's layout depends on).
template <class Reader>
class RecordList {
public:
    using Entry = decltype(std::declval<const Reader&>()(std::declval<Qiv_Stream&>()));

    RecordList() = default;
    explicit RecordList(Reader reader) : reader_(reader) {}

    // Reads `count` records from `stream` (none when count <= 0). Memory for
    // their places is taken for no more records of `smallestRecordBytes` than
    // the unread bytes could hold: a larger count fails in its reads first.
    void ReadFrom(Qiv_Stream& stream, int64_t count, size_t smallestRecordBytes) {
        if (count <= 0) return;
        const size_t fit = std::min(static_cast<size_t>(std::min<int64_t>(count, INT32_MAX)), stream.EntriesThatFit(smallestRecordBytes));
        const unsigned char* start = stream.Here();
        // Where the records start in the image, then the count, each
        // record's start and the end of the last, as offsets from there.
        std::unique_ptr<uint32_t[]> places = std::make_unique<uint32_t[]>(kStartWords + fit + 2);
        uint32_t* offsets = places.get() + kStartWords;
        for (int64_t i = 0; i < count; ++i) {
            if (static_cast<size_t>(i) < fit) offsets[static_cast<size_t>(i) + 1] = BytesSince(start, stream);
            reader_(stream);
        }
        offsets[0] = static_cast<uint32_t>(fit);  // every record was read: all of them fitted
        offsets[fit + 1] = BytesSince(start, stream);
        std::memcpy(places.get(), &start, sizeof start);
        places_ = std::move(places);
    }

    size_t size() const { return places_ ? Offsets()[0] : 0; }
    bool empty() const { return size() == 0; }
    // Record `i`, read again; a default entry when i is not below size().
    Entry operator[](size_t i) const {
        if (i >= size()) return Entry{};
        const uint32_t* offsets = Offsets();
        const unsigned char* start = nullptr;
        std::memcpy(&start, places_.get(), sizeof start);
        return ReadAgain(start + offsets[i + 1], offsets[i + 2] - offsets[i + 1], reader_);
    }
    const Reader& GetReader() const { return reader_; }

private:
    // The start pointer shares the one allocation of the places, so that an
    // empty list (the most common) costs a single null pointer and its reader.
    static constexpr size_t kStartWords = (sizeof(const unsigned char*) + sizeof(uint32_t) - 1) / sizeof(uint32_t);
    const uint32_t* Offsets() const { return places_.get() + kStartWords; }

    std::unique_ptr<uint32_t[]> places_;  // none when the list is empty
    [[no_unique_address]] Reader reader_;
};
