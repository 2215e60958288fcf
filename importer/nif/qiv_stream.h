// Qiv_Stream: one whole file held in memory, handed out front to back.
//
// Every multi-byte value is little-endian. Copy and Skip hold the only bounds
// checks; every failure leaves through ReportError, which writes the message
// to the printer (text, then a line end) and raises a TextException. The one
// exception is an open failure, raised directly and not echoed.
//
// Guarded reads (Long, Short, Byte, Float, LengthString, the verify reads,
// StringUptoVerify, CheckFinished) first check that a file was opened and
// otherwise fail with "Attempt to access uninitialised Qiv_Stream from
// function '<name>'.".
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Diagnostics;

class Qiv_Stream {
public:
    // The printer receives every error before it is raised; not owned, may be null.
    explicit Qiv_Stream(Diagnostics* printer);
    virtual ~Qiv_Stream();

    Qiv_Stream(const Qiv_Stream&) = delete;
    Qiv_Stream& operator=(const Qiv_Stream&) = delete;

    // Reads the whole file into memory. Returns true; on failure raises
    // "Unable to open file '<path>'." (not echoed) and stays uninitialised.
    bool OpenFile(const char* path);
    // As OpenFile, but takes a copy of `size` bytes from memory; `name` stands in for the path.
    bool OpenBytes(const void* data, size_t size, const char* name);

    int32_t Long();
    uint16_t Short();  // callers choose signed or unsigned
    uint8_t Byte();
    float Float();
    // A Long n, then n bytes. A zero byte inside ends the text early.
    std::string LengthString();

    int32_t LongVerify(int32_t expected);
    uint16_t ShortVerify(int expected);  // compares the low 16 bits
    uint8_t ByteVerify(int expected);    // compares the low 8 bits
    // The bytes up to the first `terminator` among the unread bytes (the
    // terminator is consumed, not returned); fails when they differ from `expected`.
    std::string StringUptoVerify(char terminator, const char* expected);

    // Unguarded: copy or skip n bytes; a negative n or one past the end fails and consumes nothing.
    void Copy(void* destination, int n);
    void Skip(int n);
    // Fails when any byte is left unread.
    void CheckFinished();
    // Writes `text` to the printer as one line, then raises it.
    [[noreturn]] void ReportError(const std::string& text);

    Diagnostics* GetPrinter() const { return printer_; }
    bool IsInitialised() const { return initialised_; }
    const std::string& GetPath() const { return path_; }
    size_t Position() const { return position_; }
    size_t Remaining() const { return remaining_; }

    // The next `count` entries of `bytesPerEntry` (> 0) bytes each, for reading
    // a whole array at once: when the stream is open and all of them are
    // there, moves past them and returns where they start. Otherwise returns
    // null and consumes nothing; the caller then reads entry by entry, which
    // fails exactly where that reading fails.
    const unsigned char* TakeEntries(uint64_t count, size_t bytesPerEntry);

    // Entries of `bytesPerEntry` file bytes that could still be read: the
    // most that a count from the file may reserve memory for.
    size_t EntriesThatFit(size_t bytesPerEntry) const { return bytesPerEntry ? remaining_ / bytesPerEntry : remaining_; }

private:
    void RequireInitialised(const char* guardName);
    // Checks like Copy, then moves past n bytes (n of 1 to 4) and returns where they start.
    inline const unsigned char* Take(int n);

    Diagnostics* printer_;
    bool initialised_ = false;
    std::string path_;
    std::unique_ptr<unsigned char[]> data_;  // the file's bytes and one more
    size_t position_ = 0;
    size_t remaining_ = 0;
};
