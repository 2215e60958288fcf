#include "test_files.h"

#include "check.h"

namespace wine_test {
namespace {

const char* FolderPath(const char* option, const char* name, char* buffer, int size) {
    const char* folder = Option(option);
    if (!folder) return nullptr;
    if (static_cast<int>(strlen(folder) + strlen(name) + 2) > size) return nullptr;
    strcpy(buffer, folder);
    strcat(buffer, "\\");
    strcat(buffer, name);
    return buffer;
}

// Little-endian bytes into a fixed buffer.
struct ByteWriter {
    unsigned char bytes[512];
    DWORD size = 0;
    void Byte(unsigned value) {
        if (size < sizeof(bytes)) bytes[size++] = static_cast<unsigned char>(value);
    }
    void Short(unsigned value) {
        Byte(value);
        Byte(value >> 8);
    }
    void Long(uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) Byte(value >> shift);
    }
    void Float(float value) {
        uint32_t bits;
        memcpy(&bits, &value, sizeof(bits));
        Long(bits);
    }
    void Text(const char* text) {
        for (const char* p = text; *p; ++p) Byte(static_cast<unsigned char>(*p));
    }
    void String(const char* text) {
        Long(static_cast<uint32_t>(strlen(text)));
        Text(text);
    }
};

}  // namespace

const char* WorkPath(const char* name, char* buffer, int size) {
    const char* path = FolderPath("work", name, buffer, size);
    if (!path) Fail(__FILE__, __LINE__, "no --work= folder given");
    return path;
}

const char* ExamplePath(const char* name, char* buffer, int size) { return FolderPath("examples", name, buffer, size); }

bool WriteWholeFile(const char* path, const void* data, DWORD size) {
    HANDLE file = CreateFileA(path, kGenericWrite, 0, nullptr, kCreateAlways, 0x80, nullptr);
    if (file == reinterpret_cast<HANDLE>(-1)) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, data, size, &written, nullptr) && written == size;
    CloseHandle(file);
    return ok;
}

unsigned char* ReadWholeFile(const char* path, DWORD* size) {
    HANDLE file = CreateFileA(path, kGenericRead, kFileShareRead, nullptr, kOpenExisting, 0x80, nullptr);
    if (file == reinterpret_cast<HANDLE>(-1)) return nullptr;
    const DWORD length = GetFileSize(file, nullptr);
    unsigned char* data = static_cast<unsigned char*>(malloc(length ? length : 1));
    DWORD read = 0;
    const bool ok = data && ReadFile(file, data, length, &read, nullptr) && read == length;
    CloseHandle(file);
    if (!ok) {
        free(data);
        return nullptr;
    }
    *size = length;
    return data;
}

bool FileExists(const char* path) { return GetFileAttributesA(path) != kInvalidAttributes; }

bool WriteNodeOnlyNif(const char* path) {
    ByteWriter out;
    out.Text("NetImmerse File Format, Version 4.0.0.2\n");
    out.Long(0x04000002);
    out.Long(1);  // one block
    out.String("NiNode");
    out.String("Lonely");
    out.Long(0xFFFFFFFFu);  // no extra data
    out.Long(0xFFFFFFFFu);  // no controller
    out.Short(0x000C);      // flags
    for (int i = 0; i < 3; ++i) out.Float(0.0f);  // translation
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) out.Float(row == column ? 1.0f : 0.0f);
    out.Float(1.0f);                               // scale
    for (int i = 0; i < 3; ++i) out.Float(0.0f);  // velocity
    out.Long(0);                                   // no properties
    out.Long(0);                                   // no bounding box
    out.Long(0);                                   // no children
    out.Long(0);                                   // no effects
    out.Long(1);                                   // footer: one root,
    out.Long(0);                                   // block 0
    return WriteWholeFile(path, out.bytes, out.size);
}

bool WriteNifWithVersion(const char* path, uint32_t version) {
    ByteWriter out;
    out.Text("NetImmerse File Format, Version 4.0.0.2\n");
    out.Long(version);
    out.Long(0);
    out.Long(1);
    out.Long(0);
    return WriteWholeFile(path, out.bytes, out.size);
}

}  // namespace wine_test
