#include "importer/nif/qiv_stream.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "importer/nif/diagnostics.h"
#include "importer/nif/messages.h"
#include "importer/nif/text_exception.h"

using namespace nif_messages;

Qiv_Stream::Qiv_Stream(Diagnostics* printer) : printer_(printer) {}

Qiv_Stream::~Qiv_Stream() = default;

namespace {

// The size of an open file, or -1 when it cannot be told or is too large to
// be counted by the 32-bit counts of the reads.
long FileSize(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long size = std::ftell(file);
    if (size < 0 || size > INT_MAX - 1) return -1;
    if (std::fseek(file, 0, SEEK_SET) != 0) return -1;
    return size;
}

}  // namespace

bool Qiv_Stream::OpenFile(const char* path) {
    path_ = path ? path : "";
    initialised_ = false;
    data_.reset();
    position_ = 0;
    remaining_ = 0;

    std::FILE* file = path ? std::fopen(path, "rb") : nullptr;
    const long size = file ? FileSize(file) : -1;
    bool loaded = size >= 0;
    if (loaded) {
        try {
            // Not cleared first: fread fills it. The extra byte is never filled or read.
            data_ = std::make_unique_for_overwrite<unsigned char[]>(static_cast<size_t>(size) + 1);
        } catch (const std::bad_alloc&) {
            loaded = false;
        }
    }
    if (!loaded) {
        if (file) std::fclose(file);
        data_.reset();
        throw TextException(FormatText(kUnableToOpenFile, path_.c_str()));
    }
    // A file that shrank since the size query gives only the bytes actually read.
    remaining_ = std::fread(data_.get(), 1, static_cast<size_t>(size), file);
    std::fclose(file);
    initialised_ = true;
    return true;
}

bool Qiv_Stream::OpenBytes(const void* data, size_t size, const char* name) {
    path_ = name ? name : "";
    data_ = std::make_unique_for_overwrite<unsigned char[]>(size + 1);
    if (size > 0) std::memcpy(data_.get(), data, size);
    position_ = 0;
    remaining_ = size;
    initialised_ = true;
    return true;
}

void Qiv_Stream::ReportError(const std::string& text) {
    if (printer_) {
        printer_->WriteLine(text);
    }
    throw TextException(text);
}

void Qiv_Stream::RequireInitialised(const char* guardName) {
    if (!initialised_) ReportError(FormatText(kUninitialisedStream, guardName));
}

void Qiv_Stream::Copy(void* destination, int n) {
    if (n < 0 || static_cast<size_t>(n) > remaining_) ReportError(FormatText(kCopyTooMuch, n));
    if (n > 0) std::memcpy(destination, data_.get() + position_, static_cast<size_t>(n));
    Skip(n);
}

// The typed reads take their few bytes in place: a call of Copy (and of
// memcpy) per value made the reads of large geometry arrays several times slower.
inline const unsigned char* Qiv_Stream::Take(int n) {
    if (static_cast<size_t>(n) > remaining_) [[unlikely]]
        ReportError(FormatText(kCopyTooMuch, n));
    const unsigned char* bytes = data_.get() + position_;
    position_ += static_cast<size_t>(n);
    remaining_ -= static_cast<size_t>(n);
    return bytes;
}

const unsigned char* Qiv_Stream::TakeEntries(uint64_t count, size_t bytesPerEntry) {
    // Divided, never multiplied: a count from the file may be anything.
    if (!initialised_ || bytesPerEntry == 0 || count > remaining_ / bytesPerEntry) return nullptr;
    const size_t bytes = static_cast<size_t>(count) * bytesPerEntry;
    const unsigned char* start = data_.get() + position_;
    position_ += bytes;
    remaining_ -= bytes;
    return start;
}

void Qiv_Stream::Skip(int n) {
    if (n < 0 || static_cast<size_t>(n) > remaining_) ReportError(FormatText(kSkipTooMuch, n));
    position_ += static_cast<size_t>(n);
    remaining_ -= static_cast<size_t>(n);
}

int32_t Qiv_Stream::Long() {
    RequireInitialised("Long");
    const unsigned char* bytes = Take(4);
    const uint32_t value = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    return static_cast<int32_t>(value);
}

uint16_t Qiv_Stream::Short() {
    RequireInitialised("Short");
    const unsigned char* bytes = Take(2);
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

uint8_t Qiv_Stream::Byte() {
    RequireInitialised("Byte");
    return *Take(1);
}

float Qiv_Stream::Float() {
    RequireInitialised("Float");
    const unsigned char* bytes = Take(4);
    const uint32_t bits = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string Qiv_Stream::LengthString() {
    RequireInitialised("LengthString");
    const int32_t length = Long();
    // Checked before any memory is taken: the length is only a claim of the file.
    if (length < 0 || static_cast<size_t>(length) > remaining_) ReportError(FormatText(kCopyTooMuch, length));
    std::string text(static_cast<size_t>(length), '\0');
    Copy(text.data(), length);
    // Like a C string, the text ends at its first zero byte.
    text.resize(std::strlen(text.c_str()));
    return text;
}

int32_t Qiv_Stream::LongVerify(int32_t expected) {
    RequireInitialised("LongVerify");
    const int32_t value = Long();
    if (value != expected) {
        ReportError(FormatText(kUnexpectedLong, static_cast<unsigned>(value), value, static_cast<unsigned>(expected), expected));
    }
    return value;
}

uint16_t Qiv_Stream::ShortVerify(int expected) {
    RequireInitialised("ShortVerify");
    const uint16_t value = Short();
    if (value != static_cast<uint16_t>(expected)) {
        // Both shown as signed 16-bit numbers widened to 32 bits.
        const int shownValue = static_cast<int16_t>(value);
        const int shownExpected = static_cast<int16_t>(static_cast<uint16_t>(expected));
        ReportError(FormatText(kUnexpectedShort, static_cast<unsigned>(shownValue), shownValue,
                               static_cast<unsigned>(shownExpected), shownExpected));
    }
    return value;
}

uint8_t Qiv_Stream::ByteVerify(int expected) {
    RequireInitialised("ByteVerify");
    const uint8_t value = Byte();
    const uint8_t wanted = static_cast<uint8_t>(expected);
    if (value != wanted) {
        ReportError(FormatText(kUnexpectedByte, unsigned(value), int(value), unsigned(wanted), int(wanted)));
    }
    return value;
}

std::string Qiv_Stream::StringUptoVerify(char terminator, const char* expected) {
    RequireInitialised("StringUptoVerify");
    const unsigned char* start = data_.get() + position_;
    const void* found = remaining_ ? std::memchr(start, static_cast<unsigned char>(terminator), remaining_) : nullptr;
    if (!found) ReportError(kNoEndOfString);
    const size_t length = static_cast<size_t>(static_cast<const unsigned char*>(found) - start);
    std::string text(length, '\0');
    Copy(text.data(), static_cast<int>(length));
    Skip(1);
    // Compared like C strings: up to the first zero of either.
    if (std::strcmp(text.c_str(), expected) != 0) ReportError(FormatText(kUnexpectedString, text.c_str(), expected));
    return text;
}

void Qiv_Stream::CheckFinished() {
    RequireInitialised("CheckFinished");
    if (remaining_ != 0) ReportError(FormatText(kDataLeftAtEnd, static_cast<int>(remaining_)));
}
