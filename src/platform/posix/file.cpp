// POSIX files: create new is O_CREAT|O_EXCL, overwrite O_TRUNC, append
// O_APPEND, new files get 0666 less the umask. Nothing is locked.
#include "platform/file.hpp"
#include "platform/posix/path.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int identity_from(const struct stat& status, file_identity& id)
{
    id.volume = static_cast<std::uint64_t>(status.st_dev);
    id.index = static_cast<std::uint64_t>(status.st_ino);
    return 1;
}

// O_NONBLOCK keeps a FIFO from holding the open; it is taken off again so
// that reads and writes wait as usual.
int open_without_blocking(const std::string& path, int flags, native_file& file)
{
    const int fd = ::open(native_path(path).c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
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

}  // namespace

int file_open_source(const std::string& path, native_file& file, file_identity& id)
{
    // O_NONBLOCK keeps a FIFO from holding the open; on the regular files
    // that are kept it changes nothing.
    const int fd = ::open(native_path(path).c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
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

int file_open_output(const std::string& path, open_way way, native_file& file)
{
    switch (way) {
    case open_way::create_new: {
        // Only a new regular file comes of it: nothing that could block.
        const int fd = ::open(native_path(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd < 0)
            return 0;
        file = fd;
        return 1;
    }
    case open_way::overwrite: return open_without_blocking(path, O_WRONLY | O_CREAT | O_TRUNC, file);
    case open_way::append: return open_without_blocking(path, O_WRONLY | O_CREAT | O_APPEND, file);
    }
    return 0;
}

std::size_t file_read(native_file file, unsigned char* buffer, std::size_t size)
{
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(file), buffer, size);
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR)
            return 0;
    }
}

int file_write(native_file file, const unsigned char* bytes, std::size_t size)
{
    while (size != 0) {
        const ssize_t put = ::write(static_cast<int>(file), bytes, size);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return 0;
        bytes += put;
        size -= static_cast<std::size_t>(put);
    }
    return 1;
}

int file_close(native_file file)
{
    return ::close(static_cast<int>(file)) == 0;
}


int file_identity_of(native_file file, file_identity& id)
{
    struct stat status;
    return ::fstat(static_cast<int>(file), &status) == 0 && identity_from(status, id);
}

int path_identity(const std::string& path, file_identity& id)
{
    struct stat status;
    return ::stat(native_path(path).c_str(), &status) == 0 && identity_from(status, id);
}
