// POSIX files: create new is O_CREAT|O_EXCL, overwrite O_TRUNC, append
// O_APPEND, new files get 0666 less the umask. Nothing is locked. Files are
// opened relative to their folder's descriptor, so no path is ever longer
// than one name.
#include "platform/file.hpp"
#include "platform/posix/path.hpp"
#include "platform/posix/retry.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int descriptor(native_file file)
{
    return static_cast<int>(file);
}

void identity_from(const struct stat& status, file_identity& id)
{
    id.volume = static_cast<std::uint64_t>(status.st_dev);
    id.index = static_cast<std::uint64_t>(status.st_ino);
}

int open_in(const folder& in, const char* name, int flags)
{
    if (!in.open)
        return -1;
    return retry_on_interrupt([&] { return ::openat(descriptor(in.handle), name, flags | O_CLOEXEC, 0666); });
}

// O_NONBLOCK keeps a FIFO from holding the open. A regular file under a
// lease (Samba's, say) refuses such an open; it is opened again as usual,
// waiting until the lease is given up, as any reader would.
int open_unblocked(const folder& in, const char* name, int flags)
{
    const int fd = open_in(in, name, flags | O_NONBLOCK | O_NOCTTY);
    if (fd < 0 && errno == EWOULDBLOCK)
        return open_in(in, name, flags | O_NOCTTY);
    return fd;
}

// O_NONBLOCK is taken off again, so that reads and writes wait as usual.
int open_without_blocking(const folder& in, const std::string& name, int flags, native_file& file)
{
    const int fd = open_unblocked(in, name.c_str(), flags);
    if (fd < 0)
        return 0;
    const int status = ::fcntl(fd, F_GETFL);
    if (status == -1 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) == -1) {
        ::close(fd);
        return 0;
    }
    file = fd;
    return 1;
}

// The directory one name at a time: each step is short, however long the
// whole path is.
int open_step_by_step(const std::string& directory)
{
    std::size_t at = 0;
    int current = AT_FDCWD;
    if (directory[0] == '/') {
        current = retry_on_interrupt([] { return ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
        at = 1;
    }
    while (current != -1 && at < directory.size()) {
        std::size_t end = directory.find('/', at);
        if (end == std::string::npos)
            end = directory.size();
        const std::string step = directory.substr(at, end - at);
        at = end + 1;
        if (step.empty())
            continue;
        const int next =
            retry_on_interrupt([&] { return ::openat(current, step.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
        if (current != AT_FDCWD)
            ::close(current);
        current = next;
    }
    return current;
}

}  // namespace

int folder_open(const std::string& directory, folder& opened)
{
    opened.path = directory;
    opened.handle = AT_FDCWD;
    opened.open = true;
    if (directory.empty())
        return 1;
    const std::string native = native_path(directory);
    int fd = retry_on_interrupt([&] { return ::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (fd == -1 && errno == ENAMETOOLONG)
        fd = open_step_by_step(native);
    opened.open = fd != -1;
    opened.handle = fd == -1 ? no_file : fd;
    return opened.open;
}

void folder_close(folder& opened)
{
    if (opened.open && opened.handle != AT_FDCWD)
        ::close(descriptor(opened.handle));
    opened.open = false;
    opened.handle = no_file;
}

int file_open_source(const folder& in, const std::string& name, native_file& file, file_identity& id)
{
    // On the regular files that are kept, O_NONBLOCK changes nothing.
    const int fd = open_unblocked(in, name.c_str(), O_RDONLY);
    if (fd < 0)
        return 0;
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return 0;
    }
    identity_from(status, id);
    file = fd;
    return 1;
}

int file_open_output(const folder& in, const std::string& name, open_way way, native_file& file)
{
    switch (way) {
    case open_way::create_new: {
        // Only a new regular file comes of it: nothing that could block.
        const int fd = open_in(in, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY);
        if (fd < 0)
            return 0;
        file = fd;
        return 1;
    }
    case open_way::overwrite: return open_without_blocking(in, name, O_WRONLY | O_CREAT | O_TRUNC, file);
    case open_way::append: return open_without_blocking(in, name, O_WRONLY | O_CREAT | O_APPEND, file);
    }
    return 0;
}

std::ptrdiff_t file_read(native_file file, unsigned char* buffer, std::size_t size)
{
    return retry_on_interrupt([&] { return ::read(descriptor(file), buffer, size); });
}

int file_write(native_file file, const unsigned char* bytes, std::size_t size)
{
    while (size != 0) {
        const ssize_t put = retry_on_interrupt([&] { return ::write(descriptor(file), bytes, size); });
        if (put <= 0)
            return 0;
        bytes += put;
        size -= static_cast<std::size_t>(put);
    }
    return 1;
}

int file_close(native_file file)
{
    // An interrupted close has closed the descriptor all the same on Linux.
    return ::close(descriptor(file)) == 0 || errno == EINTR;
}

int file_identity_of(native_file file, file_identity& id, std::uint64_t& length)
{
    struct stat status;
    if (::fstat(descriptor(file), &status) != 0)
        return 0;
    identity_from(status, id);
    length = static_cast<std::uint64_t>(status.st_size);
    return 1;
}

int name_identity(const folder& in, const std::string& name, file_identity& id)
{
    struct stat status;
    if (!in.open || ::fstatat(descriptor(in.handle), name.c_str(), &status, 0) != 0 || !S_ISREG(status.st_mode))
        return 0;
    identity_from(status, id);
    return 1;
}

int file_remove(const folder& in, const std::string& name, native_file file)
{
    // Only the file that this run created: not whatever has taken its name.
    struct stat named;
    struct stat open_file;
    return in.open && ::fstat(descriptor(file), &open_file) == 0
        && ::fstatat(descriptor(in.handle), name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0
        && named.st_dev == open_file.st_dev && named.st_ino == open_file.st_ino
        && ::unlinkat(descriptor(in.handle), name.c_str(), 0) == 0;
}

int file_cut(const folder&, const std::string&, native_file file, std::uint64_t length)
{
    return retry_on_interrupt([&] { return ::ftruncate(descriptor(file), static_cast<off_t>(length)); }) == 0;
}
