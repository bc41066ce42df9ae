// Faults of real machines, for the end-to-end cases: preloaded into the
// program under test, this library wraps the C library's file calls. What it
// does is set in its own environment variables; without them it only passes
// the calls on.
//
//   ZODIDEZI_FAULT_READ=name@n    reads of a file whose name ends in `name`
//                                 deliver n bytes, then fail with EIO
//   ZODIDEZI_FAULT_WRITE=name@n   writes to such a file take n bytes, then
//                                 fail with ENOSPC, as on a full disk
//   ZODIDEZI_FAULT_SHORT=1        no write takes more than 1000 bytes at once
//   ZODIDEZI_FAULT_EINTR=1        every open, read and write is interrupted
//                                 once before it is let through
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

struct fault {
    std::string name;    // the end of the file's name; empty: no fault
    std::size_t at = 0;  // bytes let through before the failure
};

struct settings {
    fault read;
    fault write;
    bool short_writes = false;
    bool interrupts = false;
};

fault fault_from(const char* variable)
{
    fault parsed;
    const char* value = std::getenv(variable);
    if (value == nullptr)
        return parsed;
    const std::string text = value;
    const std::size_t at = text.rfind('@');
    parsed.name = text.substr(0, at);
    parsed.at = at == std::string::npos ? 0 : std::strtoul(text.c_str() + at + 1, nullptr, 10);
    return parsed;
}

const settings& chosen()
{
    static const settings made = [] {
        settings s;
        s.read = fault_from("ZODIDEZI_FAULT_READ");
        s.write = fault_from("ZODIDEZI_FAULT_WRITE");
        s.short_writes = std::getenv("ZODIDEZI_FAULT_SHORT") != nullptr;
        s.interrupts = std::getenv("ZODIDEZI_FAULT_EINTR") != nullptr;
        return s;
    }();
    return made;
}

// What happened to each descriptor so far.
constexpr int tracked = 1024;
struct descriptor_state {
    bool read_fault = false;
    bool write_fault = false;
    std::size_t done = 0;  // bytes read or written
} descriptors[tracked];
bool interrupted[tracked];  // the next call on it goes through
bool open_interrupted = false;

bool ends_with(const char* path, const std::string& end)
{
    const std::size_t length = std::strlen(path);
    return !end.empty() && length >= end.size() && std::strcmp(path + length - end.size(), end.c_str()) == 0;
}

template <typename Function>
Function next(const char* name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

bool interrupt_now(bool& flag)
{
    if (!chosen().interrupts)
        return false;
    flag = !flag;
    if (flag)
        errno = EINTR;
    return flag;
}

int opened(int fd, const char* path)
{
    if (fd >= 0 && fd < tracked) {
        descriptors[fd] = descriptor_state{};
        descriptors[fd].read_fault = ends_with(path, chosen().read.name);
        descriptors[fd].write_fault = ends_with(path, chosen().write.name);
        interrupted[fd] = false;
    }
    return fd;
}

mode_t mode_of(int flags, va_list arguments)
{
    return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

// Lets through only the bytes before the fault's byte `at`; false, with
// `error` set, once it is reached.
bool before_fault(const descriptor_state& state, std::size_t at, int error, size_t& size)
{
    if (state.done >= at) {
        errno = error;
        return false;
    }
    if (size > at - state.done)
        size = at - state.done;
    return true;
}

ssize_t counted(descriptor_state& state, ssize_t moved)
{
    if (moved > 0)
        state.done += static_cast<std::size_t>(moved);
    return moved;
}

// Both ways into a file come here; an open in the current directory is an
// open at it.
int open_at(int directory, const char* path, int flags, mode_t mode)
{
    static const auto real = next<int (*)(int, const char*, int, ...)>("openat");
    if (interrupt_now(open_interrupted))
        return -1;
    return opened(real(directory, path, flags, mode), path);
}

}  // namespace

// The C library declares these with its own reserved parameter names.
// NOLINTBEGIN(readability-inconsistent-declaration-parameter-name)
extern "C" {

int open(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = mode_of(flags, arguments);
    va_end(arguments);
    return open_at(AT_FDCWD, path, flags, mode);
}

int openat(int directory, const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = mode_of(flags, arguments);
    va_end(arguments);
    return open_at(directory, path, flags, mode);
}

ssize_t read(int fd, void* buffer, size_t size)
{
    static const auto real = next<ssize_t (*)(int, void*, size_t)>("read");
    if (fd < 0 || fd >= tracked)
        return real(fd, buffer, size);
    if (interrupt_now(interrupted[fd]))
        return -1;
    descriptor_state& state = descriptors[fd];
    if (state.read_fault && !before_fault(state, chosen().read.at, EIO, size))
        return -1;
    return counted(state, real(fd, buffer, size));
}

ssize_t write(int fd, const void* bytes, size_t size)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    if (fd < 0 || fd >= tracked)
        return real(fd, bytes, size);
    if (interrupt_now(interrupted[fd]))
        return -1;
    descriptor_state& state = descriptors[fd];
    if (chosen().short_writes && size > 1000)
        size = 1000;
    if (state.write_fault && !before_fault(state, chosen().write.at, ENOSPC, size))
        return -1;
    return counted(state, real(fd, bytes, size));
}

}  // extern "C"
// NOLINTEND(readability-inconsistent-declaration-parameter-name)
