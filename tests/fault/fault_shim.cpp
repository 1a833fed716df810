// A preloaded library that makes one file-system call fail, for the tests of the save path:
// the program's own code runs unchanged and meets the failure where the system reports it.
//
// YORIMO_FAULT="OP:N:ERRNO[:PREFIX]" fails the N-th call of OP (N+ : that call and every later
// one) on a file whose path starts with PREFIX, with ERRNO (a name such as ENOSPC, or a
// number). OP is create (an open that may create), write, sync, close, rename or truncate.
// The count starts again whenever the variable changes, so a test process may set it
// between cases. YORIMO_FAULT_SLOW="PREFIX:MICROSECONDS" makes every write to such a file
// take at most 4,096 bytes and then wait, so a save lasts long enough to be killed midway.
// A close counts only for a descriptor open for writing; lock files (NAME.lock) are spared.
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/types.h>
#include <unistd.h>

namespace {

struct Fault {
    std::string op;
    long nth = 0;
    bool onwards = false;
    int error = 0;
    std::string prefix;
};

int error_number(const std::string &name)
{
    static const struct {
        const char *name;
        int value;
    } names[] = {{"ENOSPC", ENOSPC}, {"EDQUOT", EDQUOT}, {"EIO", EIO},     {"EACCES", EACCES},
                 {"EPERM", EPERM},   {"EROFS", EROFS},   {"EXDEV", EXDEV}, {"EISDIR", EISDIR}};
    for (const auto &n : names)
        if (name == n.name)
            return n.value;
    return std::atoi(name.c_str());
}

// The fault now asked for, and how many matching calls it has seen.
std::string seen_setting;
Fault fault;
std::atomic<long> calls{0};

const Fault *current_fault()
{
    const char *setting = std::getenv("YORIMO_FAULT");
    if (!setting || !*setting)
        return nullptr;
    if (seen_setting != setting) {
        seen_setting = setting;
        calls = 0;
        fault = Fault{};
        std::string parts[4];
        int at = 0;
        for (const char *c = setting; *c; ++c) {
            if (*c == ':' && at < 3)
                ++at;
            else
                parts[at] += *c;
        }
        fault.op = parts[0];
        fault.onwards = !parts[1].empty() && parts[1].back() == '+';
        fault.nth = std::atol(parts[1].c_str());
        fault.error = error_number(parts[2]);
        fault.prefix = parts[3];
    }
    return &fault;
}

bool ends_with(const std::string &text, const char *end)
{
    const size_t n = std::strlen(end);
    return text.size() >= n && text.compare(text.size() - n, n, end) == 0;
}

// A lock file beside a book is struck only when the prefix names it: the faults are for
// the book's own writes.
bool under(const std::string &path, const std::string &prefix)
{
    const bool lock = ends_with(path, ".lock") || ends_with(path, ".rmlock");
    return path.compare(0, prefix.size(), prefix) == 0 && (!lock || path.size() == prefix.size());
}

std::string path_of(int fd)
{
    char link[64];
    char target[4096];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(link, target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<size_t>(n)) : std::string();
}

// True when this call is the one to fail; errno is then set. `path` is asked for only when
// the call is of the failing kind.
template <typename Path>
bool strikes(const char *op, Path path)
{
    const Fault *f = current_fault();
    if (!f || f->op != op || !under(path(), f->prefix))
        return false;
    const long n = ++calls;
    if (n == f->nth || (f->onwards && n > f->nth)) {
        errno = f->error;
        return true;
    }
    return false;
}

bool strikes_at(const char *op, const char *path)
{
    return strikes(op, [&] { return std::string(path ? path : ""); });
}

bool strikes_fd(const char *op, int fd)
{
    return strikes(op, [&] { return path_of(fd); });
}

// For a slow write: the bytes this call may take.
size_t slowed(int fd, size_t count)
{
    const char *setting = std::getenv("YORIMO_FAULT_SLOW");
    if (!setting || !*setting)
        return count;
    const char *colon = std::strrchr(setting, ':');
    if (!colon || !under(path_of(fd), std::string(setting, static_cast<size_t>(colon - setting))))
        return count;
    ::usleep(static_cast<useconds_t>(std::atol(colon + 1)));
    return count < 4096 ? count : 4096;
}

template <typename Fn>
Fn next(const char *name)
{
    return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

mode_t mode_argument(int flags, va_list args)
{
    return (flags & (O_CREAT | O_TMPFILE)) ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

} // namespace

extern "C" {

int open(const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_argument(flags, args);
    va_end(args);
    if ((flags & O_CREAT) && strikes_at("create", path))
        return -1;
    static auto real = next<int (*)(const char *, int, ...)>("open");
    return real(path, flags, mode);
}

int open64(const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_argument(flags, args);
    va_end(args);
    if ((flags & O_CREAT) && strikes_at("create", path))
        return -1;
    static auto real = next<int (*)(const char *, int, ...)>("open64");
    return real(path, flags, mode);
}

int openat(int dirfd, const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_argument(flags, args);
    va_end(args);
    if ((flags & O_CREAT) && strikes_at("create", path))
        return -1;
    static auto real = next<int (*)(int, const char *, int, ...)>("openat");
    return real(dirfd, path, flags, mode);
}

int openat64(int dirfd, const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_argument(flags, args);
    va_end(args);
    if ((flags & O_CREAT) && strikes_at("create", path))
        return -1;
    static auto real = next<int (*)(int, const char *, int, ...)>("openat64");
    return real(dirfd, path, flags, mode);
}

ssize_t write(int fd, const void *data, size_t count)
{
    if (strikes_fd("write", fd))
        return -1;
    static auto real = next<ssize_t (*)(int, const void *, size_t)>("write");
    return real(fd, data, slowed(fd, count));
}

ssize_t pwrite(int fd, const void *data, size_t count, off_t at)
{
    if (strikes_fd("write", fd))
        return -1;
    static auto real = next<ssize_t (*)(int, const void *, size_t, off_t)>("pwrite");
    return real(fd, data, slowed(fd, count), at);
}

ssize_t pwrite64(int fd, const void *data, size_t count, off_t at)
{
    if (strikes_fd("write", fd))
        return -1;
    static auto real = next<ssize_t (*)(int, const void *, size_t, off_t)>("pwrite64");
    return real(fd, data, slowed(fd, count), at);
}

int fsync(int fd)
{
    if (strikes_fd("sync", fd))
        return -1;
    static auto real = next<int (*)(int)>("fsync");
    return real(fd);
}

int fdatasync(int fd)
{
    if (strikes_fd("sync", fd))
        return -1;
    static auto real = next<int (*)(int)>("fdatasync");
    return real(fd);
}

int close(int fd)
{
    // The descriptor is closed even when the close reports an error, as the system does.
    // Only a descriptor that was written to can lose data at its close.
    const int mode = ::fcntl(fd, F_GETFL);
    const bool fails = mode >= 0 && (mode & O_ACCMODE) != O_RDONLY && strikes_fd("close", fd);
    static auto real = next<int (*)(int)>("close");
    const int done = real(fd);
    if (fails) {
        errno = fault.error;
        return -1;
    }
    return done;
}

int rename(const char *from, const char *to)
{
    if (strikes_at("rename", to))
        return -1;
    static auto real = next<int (*)(const char *, const char *)>("rename");
    return real(from, to);
}

int renameat(int fromfd, const char *from, int tofd, const char *to)
{
    if (strikes_at("rename", to))
        return -1;
    static auto real = next<int (*)(int, const char *, int, const char *)>("renameat");
    return real(fromfd, from, tofd, to);
}

int ftruncate(int fd, off_t length)
{
    if (strikes_fd("truncate", fd))
        return -1;
    static auto real = next<int (*)(int, off_t)>("ftruncate");
    return real(fd, length);
}

int ftruncate64(int fd, off_t length)
{
    if (strikes_fd("truncate", fd))
        return -1;
    static auto real = next<int (*)(int, off_t)>("ftruncate64");
    return real(fd, length);
}

} // extern "C"
