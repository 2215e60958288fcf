#include "importer/nif/qiv_stream.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "importer/nif/debug_printer.h"
#include "importer/nif/messages.h"
#include "importer/nif/text_exception.h"
#include "platform/platform.h"

using namespace nif_messages;

Qiv_Stream::Qiv_Stream(DebugPrinter* printer) : debugPrinter_(printer) {}

Qiv_Stream::~Qiv_Stream() { ReleaseImage(); }

void Qiv_Stream::ReleaseImage() {
    platform::ReleaseFileImage(image_, imageSize_);
    image_ = nullptr;
    imageSize_ = 0;
}

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
    ReleaseImage();
    bytes_ = nullptr;
    size_ = 0;
    position_ = 0;

    std::FILE* file = path ? std::fopen(path, "rb") : nullptr;
    const long size = file ? FileSize(file) : -1;
    bool loaded = size >= 0;
    if (loaded && size > 0) {
        // Not cleared first: fread fills it, and only the bytes it filled are read.
        image_ = static_cast<unsigned char*>(platform::AllocateFileImage(static_cast<size_t>(size)));
        imageSize_ = static_cast<size_t>(size);
        loaded = image_ != nullptr;
    }
    if (!loaded) {
        if (file) std::fclose(file);
        ReleaseImage();
        throw TextException(FormatText(kUnableToOpenFile, path_.c_str()));
    }
    // Read once, and never copied again. A file that shrank since the size
    // query gives only the bytes actually read.
    size_ = size > 0 ? std::fread(image_, 1, static_cast<size_t>(size), file) : 0;
    std::fclose(file);
    bytes_ = image_;
    initialised_ = true;
    return true;
}

bool Qiv_Stream::OpenBytes(const void* data, size_t size, const char* name) {
    path_ = name ? name : "";
    ReleaseImage();
    bytes_ = static_cast<const unsigned char*>(data);
    size_ = data ? size : 0;
    position_ = 0;
    initialised_ = true;
    return true;
}

void Qiv_Stream::ReportError(const std::string& text) {
    if (debugPrinter_) debugPrinter_->WriteLine(text);
    throw TextException(text);
}

void Qiv_Stream::RequireInitialised(const char* guardName) {
    if (!initialised_) ReportError(FormatText(kUninitialisedStream, guardName));
}

const unsigned char* Qiv_Stream::TakeEntries(uint64_t count, const EntryLayout& layout) {
    if (layout.guardName) RequireInitialised(layout.guardName);
    const size_t entryBytes = layout.Bytes();
    // Divided, never multiplied: a count from the file may be anything.
    const size_t fit = entryBytes ? Remaining() / entryBytes : 0;
    if (entryBytes == 0 || count <= fit) {
        const unsigned char* start = Here();
        position_ += static_cast<size_t>(count) * entryBytes;
        return start;
    }
    // Fails where reading the entries one field at a time would fail.
    position_ += fit * entryBytes;
    for (int field = 0; field < layout.fieldCount; ++field) {
        const uint32_t bytes = layout.fieldBytes[field];
        if (bytes > Remaining()) ReportError(FormatText(kCopyTooMuch, static_cast<int>(bytes)));
        position_ += bytes;
    }
    // Not reached: a whole entry fitted after all.
    ReportError(FormatText(kCopyTooMuch, static_cast<int>(entryBytes)));
}

// The typed reads take their few bytes in place; a value that does not fit
// fails through TakeEntries, as any other read does.
inline const unsigned char* Qiv_Stream::TakeValue(uint32_t n) {
    if (n <= Remaining()) [[likely]] {
        const unsigned char* bytes = Here();
        position_ += n;
        return bytes;
    }
    return TakeEntries(1, EntryLayout{{n}, 1, nullptr});
}

void Qiv_Stream::Copy(void* destination, int n) {
    if (n < 0) ReportError(FormatText(kCopyTooMuch, n));
    const unsigned char* bytes = TakeEntries(1, EntryLayout{{static_cast<uint32_t>(n)}, 1, nullptr});
    if (n > 0) std::memcpy(destination, bytes, static_cast<size_t>(n));
}

void Qiv_Stream::Skip(int n) {
    if (n < 0 || static_cast<size_t>(n) > Remaining()) ReportError(FormatText(kSkipTooMuch, n));
    position_ += static_cast<size_t>(n);
}

int32_t Qiv_Stream::Long() {
    RequireInitialised("Long");
    return LoadLong(TakeValue(4));
}

uint16_t Qiv_Stream::Short() {
    RequireInitialised("Short");
    return LoadShort(TakeValue(2));
}

uint8_t Qiv_Stream::Byte() {
    RequireInitialised("Byte");
    return *TakeValue(1);
}

float Qiv_Stream::Float() {
    RequireInitialised("Float");
    return LoadFloat(TakeValue(4));
}

std::string_view Qiv_Stream::TakeLengthText(const char* guardName) {
    RequireInitialised(guardName);
    const int32_t length = Long();
    // Taken before any memory is: the length is only a claim of the file.
    if (length < 0) ReportError(FormatText(kCopyTooMuch, length));
    const unsigned char* bytes = TakeEntries(1, EntryLayout{{static_cast<uint32_t>(length)}, 1, nullptr});
    // Like a C string, the text ends at its first zero byte.
    const void* zero = length > 0 ? std::memchr(bytes, 0, static_cast<size_t>(length)) : nullptr;
    const size_t shown = zero ? static_cast<size_t>(static_cast<const unsigned char*>(zero) - bytes) : static_cast<size_t>(length);
    return std::string_view(reinterpret_cast<const char*>(bytes), shown);
}

std::string Qiv_Stream::LengthString() { return std::string(TakeLengthText("LengthString")); }

const char* Qiv_Stream::LengthText() { return keptTexts_.KeepText(TakeLengthText("LengthString")); }

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
    const unsigned char* start = Here();
    const void* found = Remaining() ? std::memchr(start, static_cast<unsigned char>(terminator), Remaining()) : nullptr;
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
    if (Remaining() != 0) ReportError(FormatText(kDataLeftAtEnd, static_cast<int>(Remaining())));
}
