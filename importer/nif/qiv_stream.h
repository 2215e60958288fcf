// Qiv_Stream: one whole file held in memory, handed out front to back.
//
// The file's bytes are read once into an image (OpenFile) or viewed where
// the caller holds them (OpenBytes), and never copied again: reads hand out
// values, or views into the image for whole arrays. The texts blocks keep
// (LengthText) are copied once, with a closing zero byte, into memory the
// stream holds in large chunks.
//
// Every read passes through one bounds check, Take. An array is taken whole
// when all its entries are there; when it is not, the failure is the one an
// entry-by-entry read would meet (the same message, naming the size of the
// field that no longer fits, and the same bytes consumed before it). Every
// multi-byte value is little-endian and read byte by byte, so no alignment
// is needed. Every failure leaves through ReportError, which writes the
// message to the debug printer (as one line) and raises a TextException. The
// one exception is an open failure, raised directly and not echoed.
//
// Guarded reads (Long, Short, Byte, Float, the array reads, LengthString, the
// verify reads, StringUptoVerify, CheckFinished) first check that a file was
// opened and otherwise fail with "Attempt to access uninitialised Qiv_Stream
// from function '<name>'.".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "importer/nif/block_arena.h"
#include "importer/nif/file_array.h"

class DebugPrinter;

class Qiv_Stream {
public:
    // The debug printer receives every error before it is raised; not owned, may be null.
    explicit Qiv_Stream(DebugPrinter* printer);
    virtual ~Qiv_Stream();

    Qiv_Stream(const Qiv_Stream&) = delete;
    Qiv_Stream& operator=(const Qiv_Stream&) = delete;

    // Reads the whole file into memory. Returns true; on failure raises
    // "Unable to open file '<path>'." (not echoed) and stays uninitialised.
    bool OpenFile(const char* path);
    // As OpenFile, over `size` bytes the caller holds (not copied: they must
    // outlive the stream and every view it gave); `name` stands in for the path.
    bool OpenBytes(const void* data, size_t size, const char* name);

    int32_t Long();
    uint16_t Short();  // callers choose signed or unsigned
    uint8_t Byte();
    float Float();
    // A Long n, then n bytes. A zero byte inside ends the text early.
    std::string LengthString();
    // As LengthString, for texts a block keeps (names): a copy ending in a
    // zero byte, kept by the stream as long as its image.
    const char* LengthText();

    int32_t LongVerify(int32_t expected);
    uint16_t ShortVerify(int expected);  // compares the low 16 bits
    uint8_t ByteVerify(int expected);    // compares the low 8 bits
    // The bytes up to the first `terminator` among the unread bytes (the
    // terminator is consumed, not returned); fails when they differ from `expected`.
    std::string StringUptoVerify(char terminator, const char* expected);

    // `count` entries of Entry as a view into the image; none when count <= 0.
    template <class Entry>
    FileArray<Entry> Array(int64_t count) {
        if (count <= 0) return {};
        const unsigned char* bytes = TakeEntries(static_cast<uint64_t>(count), FileEntry<Entry>::kLayout);
        return FileArray<Entry>(bytes, static_cast<size_t>(count));
    }

    // Unguarded: copy or skip n bytes; a negative n or one past the end fails and consumes nothing.
    void Copy(void* destination, int n);
    void Skip(int n);
    // Fails when any byte is left unread.
    void CheckFinished();
    // Writes `text` to the debug printer as one line, then raises it.
    [[noreturn]] void ReportError(const std::string& text);

    DebugPrinter* GetDebugPrinter() const { return debugPrinter_; }
    bool IsInitialised() const { return initialised_; }
    const std::string& GetPath() const { return path_; }
    size_t Position() const { return position_; }
    size_t Remaining() const { return size_ - position_; }
    // Where the unread bytes start (for records read again later).
    const unsigned char* Here() const { return bytes_ + position_; }

    // Entries of `bytesPerEntry` file bytes that could still be read: the
    // most that a count from the file may reserve memory for.
    size_t EntriesThatFit(size_t bytesPerEntry) const { return bytesPerEntry ? Remaining() / bytesPerEntry : Remaining(); }

    // The bounds check under every read: `count` entries laid out as
    // `layout`. When all are there, moves past them and returns where they
    // start. Otherwise fails as reading them entry by entry, field by field,
    // would: with the guard when the stream is not open, else with "Attempted
    // to copy too much data (N bytes)." for the first field that does not fit,
    // after consuming the entries and fields before it.
    const unsigned char* TakeEntries(uint64_t count, const EntryLayout& layout);

private:
    void RequireInitialised(const char* guardName);
    // One value of n (1 to 4) bytes.
    inline const unsigned char* TakeValue(uint32_t n);
    // The text of a LengthString read, up to its first zero byte, in the image.
    std::string_view TakeLengthText(const char* guardName);

    DebugPrinter* debugPrinter_;
    bool initialised_ = false;
    std::string path_;
    void ReleaseImage();

    unsigned char* image_ = nullptr;        // the file's bytes, when OpenFile read them
    size_t imageSize_ = 0;
    const unsigned char* bytes_ = nullptr;   // the image, or the caller's bytes
    size_t size_ = 0;
    size_t position_ = 0;
    BlockArena keptTexts_;  // what LengthText handed out
};
