// The real file layer of the Linux builds, through POSIX calls: the memory
// for a file's image, the temporary folder, and the output files that replace
// their target in one step (what the exporter and mshost save through).
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <random>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "headless.h"
#include "platform.h"

namespace platform {
namespace {

// The folder a test or the caller put in place of the system's (headless.h).
std::optional<std::string>& TemporaryFolderSet() {
    static std::optional<std::string> folder;
    return folder;
}

// Images from this size on are mapped in huge pages; smaller ones come from the heap.
constexpr size_t kHugePage = size_t(2) << 20;

size_t MappedLength(size_t size) { return (size + kHugePage - 1) & ~(kHugePage - 1); }

}  // namespace

void* AllocateFileImage(size_t size) {
    if (size < kHugePage) return std::malloc(size != 0 ? size : 1);
    const size_t length = MappedLength(size);
    if (length < size || length + kHugePage < length) return nullptr;
    // Mapped one huge page longer, then trimmed to a huge-page boundary so the
    // whole image can be backed by huge pages.
    void* raw = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t aligned = (start + kHugePage - 1) & ~uintptr_t(kHugePage - 1);
    if (aligned > start) munmap(raw, aligned - start);
    const size_t tail = kHugePage - (aligned - start);
    if (tail > 0) munmap(reinterpret_cast<void*>(aligned + length), tail);
    void* image = reinterpret_cast<void*>(aligned);
    madvise(image, length, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
    // One call instead of a fault per page; older kernels refuse it and fault as usual.
    madvise(image, length, MADV_POPULATE_WRITE);
#endif
    return image;
}

void ReleaseFileImage(void* memory, size_t size) {
    if (!memory) return;
    if (size < kHugePage) {
        std::free(memory);
    } else {
        munmap(memory, MappedLength(size));
    }
}

std::string TemporaryFolder() {
    std::string folder;
    if (TemporaryFolderSet()) {
        folder = *TemporaryFolderSet();
    } else {
        const char* tmp = std::getenv("TMPDIR");
        folder = (tmp && *tmp) ? tmp : "/tmp";
    }
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

namespace {

// The temporary files that exist right now, readable from a signal handler:
// a slot's name is complete before the slot is marked used, and the mark is
// cleared before the name changes.
struct LiveTemporary {
    volatile std::sig_atomic_t used = 0;
    char name[4096] = {};
};
LiveTemporary gLiveTemporaries[8];

void RememberTemporary(const std::string& name) {
    if (name.size() >= sizeof gLiveTemporaries[0].name) return;
    for (LiveTemporary& slot : gLiveTemporaries) {
        if (slot.used) continue;
        std::memcpy(slot.name, name.c_str(), name.size() + 1);
        slot.used = 1;
        return;
    }
}

void ForgetTemporary(const std::string& name) {
    for (LiveTemporary& slot : gLiveTemporaries) {
        if (slot.used && name == slot.name) slot.used = 0;
    }
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string RandomPart() {
    static std::mt19937_64 generator{std::random_device{}() ^ static_cast<unsigned long long>(getpid())};
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string part;
    for (int i = 0; i < 10; ++i) part += kLetters[generator() % (sizeof kLetters - 1)];
    return part;
}

constexpr int kTemporaryNameAttempts = 100;

}  // namespace

FileKind KindOfFile(const char* path) {
    struct stat info;
    if (stat(path, &info) != 0) return errno == ENOENT ? FileKind::kAbsent : FileKind::kOther;
    return S_ISREG(info.st_mode) ? FileKind::kRegularFile : FileKind::kOther;
}

bool SameFile(const char* first, const char* second) {
    struct stat a;
    struct stat b;
    return stat(first, &a) == 0 && stat(second, &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool CreateTemporaryFile(const std::string& target, const char* prefix, TemporaryFile* file) {
    const std::string folder = FolderOf(target);
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const std::string name = folder + prefix + RandomPart() + ".tmp";
        // O_EXCL with O_CREAT never opens an existing file and never follows a link.
        const int descriptor = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (descriptor >= 0) {
            file->handle = descriptor;
            file->name = name;
            RememberTemporary(name);
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

bool WriteTemporaryFile(const TemporaryFile& file, const void* data, size_t size) {
    if (file.handle < 0) return false;
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = write(static_cast<int>(file.handle), bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

bool CloseTemporaryFile(TemporaryFile* file) {
    if (file->handle < 0) return false;
    const int descriptor = static_cast<int>(file->handle);
    file->handle = -1;
    const bool synced = fsync(descriptor) == 0;
    return close(descriptor) == 0 && synced;
}

void DiscardTemporaryFile(TemporaryFile* file) {
    if (file->handle >= 0) {
        close(static_cast<int>(file->handle));
        file->handle = -1;
    }
    if (!file->name.empty()) {
        ForgetTemporary(file->name);
        unlink(file->name.c_str());
        file->name.clear();
    }
}

bool ReplaceWithTemporaryFile(TemporaryFile* file, const char* target) {
    if (file->handle >= 0 || file->name.empty()) return false;
    struct stat info;
    if (stat(target, &info) == 0) {
        if (!S_ISREG(info.st_mode)) return false;
        if (chmod(file->name.c_str(), info.st_mode & 07777) != 0) return false;
    } else if (errno != ENOENT) {
        return false;
    }
    if (std::rename(file->name.c_str(), target) != 0) return false;
    ForgetTemporary(file->name);
    file->name.clear();
    return true;
}

void RemoveTemporaryFilesNow() {
    for (LiveTemporary& slot : gLiveTemporaries) {
        if (slot.used) unlink(slot.name);
    }
}

bool OverwriteRegularFile(const char* path, const void* data, size_t size) {
    // O_NOFOLLOW refuses a link; O_NONBLOCK keeps a pipe from holding the open.
    const int descriptor = open(path, O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (descriptor < 0) return false;
    struct stat info;
    bool done = fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) && ftruncate(descriptor, 0) == 0;
    const char* bytes = static_cast<const char*>(data);
    while (done && size > 0) {
        const ssize_t written = write(descriptor, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        done = written > 0;
        if (done) {
            bytes += written;
            size -= static_cast<size_t>(written);
        }
    }
    return close(descriptor) == 0 && done;
}

namespace headless {

void SetTemporaryFolder(std::optional<std::string> folder) { TemporaryFolderSet() = std::move(folder); }

}  // namespace headless
}  // namespace platform
