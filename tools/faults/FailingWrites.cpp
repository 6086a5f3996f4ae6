// A disk that fills up, for LD_PRELOAD: the files a program opens for writing in
// one folder (TARVO_FAULT_DIR, and below it) share a budget of TARVO_FAULT_AFTER
// bytes. With TARVO_FAULT_MODE=write (the default) write() takes what still fits
// and then fails with ENOSPC; with TARVO_FAULT_MODE=sync every write() succeeds,
// but fsync() and fdatasync() of such a file fail with ENOSPC once more than the
// budget was written, as on a file system that finds out only when it allocates.
// With TARVO_FAULT_NO_TMPFILE=1 the folder's file system has no unnamed files
// (open with O_TMPFILE fails with EOPNOTSUPP), as some network and FAT file systems.
// With TARVO_FAULT_CREATE_PAUSE_MS=N a new file made there (O_CREAT with O_EXCL)
// comes back N ms after it was made, as on a slow network share: what another
// program does with the new file before its maker holds it shows.
// Everything else, and every other file, goes to the system as it is.

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

constexpr int kMaxDescriptors = 4096;

std::atomic<bool> g_tracked[kMaxDescriptors];
std::atomic<long long> g_written{0};

struct Fault {
    bool active = false;
    bool onSync = false;
    bool noUnnamedFiles = false;
    useconds_t createPauseUs = 0;
    long long budget = LLONG_MAX;
    std::string folder;  // with a trailing '/'
};

const Fault& TheFault() {
    static const Fault fault = [] {
        Fault made;
        const char* folder = std::getenv("TARVO_FAULT_DIR");
        const char* after = std::getenv("TARVO_FAULT_AFTER");
        if (!folder || !after) return made;
        char resolved[PATH_MAX];
        if (!realpath(folder, resolved)) return made;
        made.folder = std::string(resolved) + '/';
        made.budget = std::atoll(after);
        const char* mode = std::getenv("TARVO_FAULT_MODE");
        made.onSync = mode && std::strcmp(mode, "sync") == 0;
        const char* noTmpfile = std::getenv("TARVO_FAULT_NO_TMPFILE");
        made.noUnnamedFiles = noTmpfile && std::strcmp(noTmpfile, "1") == 0;
        if (const char* pause = std::getenv("TARVO_FAULT_CREATE_PAUSE_MS"))
            made.createPauseUs = static_cast<useconds_t>(std::atoi(pause)) * 1000;
        made.active = true;
        return made;
    }();
    return fault;
}

template <typename Function>
Function Next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool NeedsMode(int flags) { return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE; }

// Remembers a descriptor opened for writing under the folder.
int Track(int fd, const char* path, int flags) {
    const Fault& fault = TheFault();
    if (fd < 0 || fd >= kMaxDescriptors || !fault.active || (flags & O_ACCMODE) == O_RDONLY) return fd;
    std::string absolute = path;
    if (absolute.empty() || absolute[0] != '/') {
        char cwd[PATH_MAX];
        if (!getcwd(cwd, sizeof cwd)) return fd;
        absolute = std::string(cwd) + '/' + absolute;
    }
    absolute += '/';  // the folder itself (an unnamed file is opened on it) matches too
    g_tracked[fd] = absolute.compare(0, fault.folder.size(), fault.folder) == 0;
    return fd;
}

// An unnamed file refused, as the folder's file system would.
bool RefuseUnnamed(const char* path, int flags) {
    const Fault& fault = TheFault();
    if (!fault.active || !fault.noUnnamedFiles || (flags & O_TMPFILE) != O_TMPFILE) return false;
    const std::string folder = std::string(path) + '/';
    if (folder.compare(0, fault.folder.size(), fault.folder) != 0) return false;
    errno = EOPNOTSUPP;
    return true;
}

bool Tracked(int fd) { return fd >= 0 && fd < kMaxDescriptors && g_tracked[fd].load(); }

using OpenFunction = int (*)(const char*, int, ...);

// open() and open64(): the mode is there only when the flags ask for one.
int Opened(OpenFunction next, const char* path, int flags, va_list arguments) {
    const mode_t mode = NeedsMode(flags) ? va_arg(arguments, mode_t) : 0;
    if (RefuseUnnamed(path, flags)) return -1;
    const int fd = Track(next(path, flags, mode), path, flags);
    if (Tracked(fd) && (flags & (O_CREAT | O_EXCL)) == (O_CREAT | O_EXCL) && TheFault().createPauseUs > 0) {
        const int saved = errno;
        usleep(TheFault().createPauseUs);
        errno = saved;
    }
    return fd;
}

// With the sync fault, the disk turns out full when the written bytes are put on it.
bool SyncRefused(int fd) {
    if (!Tracked(fd) || !TheFault().onSync || g_written.load() <= TheFault().budget) return false;
    errno = ENOSPC;
    return true;
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
    static const auto next = Next<OpenFunction>("open");
    va_list arguments;
    va_start(arguments, flags);
    const int fd = Opened(next, path, flags, arguments);
    va_end(arguments);
    return fd;
}

int open64(const char* path, int flags, ...) {
    static const auto next = Next<OpenFunction>("open64");
    va_list arguments;
    va_start(arguments, flags);
    const int fd = Opened(next, path, flags, arguments);
    va_end(arguments);
    return fd;
}

int __open_2(const char* path, int flags) {
    static const auto next = Next<int (*)(const char*, int)>("__open_2");
    return Track(next(path, flags), path, flags);
}

int __open64_2(const char* path, int flags) {
    static const auto next = Next<int (*)(const char*, int)>("__open64_2");
    return Track(next(path, flags), path, flags);
}

int creat(const char* path, mode_t mode) {
    static const auto next = Next<int (*)(const char*, mode_t)>("creat");
    return Track(next(path, mode), path, O_WRONLY);
}

int close(int fd) {
    if (fd >= 0 && fd < kMaxDescriptors) g_tracked[fd] = false;
    static const auto next = Next<int (*)(int)>("close");
    return next(fd);
}

ssize_t write(int fd, const void* data, size_t size) {
    static const auto next = Next<ssize_t (*)(int, const void*, size_t)>("write");
    if (!Tracked(fd) || size == 0) return next(fd, data, size);
    if (TheFault().onSync) {
        const ssize_t written = next(fd, data, size);
        if (written > 0) g_written += written;
        return written;
    }
    // The bytes are taken from the budget before they are written, so that two
    // threads writing at once cannot both use its last room.
    long long used = g_written.load();
    long long take = 0;
    do {
        const long long room = TheFault().budget - used;
        if (room <= 0) {
            errno = ENOSPC;
            return -1;
        }
        take = size < static_cast<size_t>(room) ? static_cast<long long>(size) : room;
    } while (!g_written.compare_exchange_weak(used, used + take));
    const ssize_t written = next(fd, data, static_cast<size_t>(take));
    if (written < take) g_written -= take - (written > 0 ? written : 0);
    return written;
}

int fsync(int fd) {
    static const auto next = Next<int (*)(int)>("fsync");
    return SyncRefused(fd) ? -1 : next(fd);
}

int fdatasync(int fd) {
    static const auto next = Next<int (*)(int)>("fdatasync");
    return SyncRefused(fd) ? -1 : next(fd);
}

}  // extern "C"
