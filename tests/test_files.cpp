#include "test_files.hpp"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Removes everything below the open folder `fd`, however deep.
void remove_below(int fd)
{
    DIR* listing = ::fdopendir(::dup(fd));
    if (listing == nullptr)
        return;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(listing))
        if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
            names.emplace_back(entry->d_name);
    ::closedir(listing);
    for (const std::string& name : names) {
        if (::unlinkat(fd, name.c_str(), 0) == 0)
            continue;
        const int below = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
        if (below >= 0) {
            ::fchmod(below, 0700);
            remove_below(below);
            ::close(below);
        }
        ::unlinkat(fd, name.c_str(), AT_REMOVEDIR);
    }
}

}  // namespace

scratch_dir::scratch_dir()
{
    std::string name = (std::filesystem::temp_directory_path() / "zodidezi-test-XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr)
        throw std::runtime_error("cannot make a scratch folder");
    path = name;
}

scratch_dir::~scratch_dir()
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        remove_below(fd);
        ::close(fd);
    }
    ::rmdir(path.c_str());
}

deep_folder::deep_folder(const std::filesystem::path& root, const std::string& relative)
{
    fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    for (std::size_t at = 0; fd >= 0 && at < relative.size();) {
        std::size_t end = relative.find('/', at);
        if (end == std::string::npos)
            end = relative.size();
        const std::string step = relative.substr(at, end - at);
        at = end + 1;
        if (step.empty())
            continue;
        ::mkdirat(fd, step.c_str(), 0755);
        const int next = ::openat(fd, step.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    if (fd < 0)
        throw std::runtime_error("cannot make a deep folder");
}

deep_folder::~deep_folder()
{
    ::close(fd);
}

std::string deep_folder::read(const std::string& name) const
{
    const int file = ::openat(fd, name.c_str(), O_RDONLY);
    std::string bytes;
    char buffer[4096];
    for (ssize_t got; file >= 0 && (got = ::read(file, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<std::size_t>(got));
    if (file >= 0)
        ::close(file);
    return bytes;
}

void deep_folder::write(const std::string& name, const std::string& bytes) const
{
    const int file = ::openat(fd, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (file < 0 || ::write(file, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("cannot write " + name);
    ::close(file);
}

bool deep_folder::exists(const std::string& name) const
{
    struct stat status;
    return ::fstatat(fd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0;
}

std::string read_bytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_bytes(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

std::string escaped(const std::string& bytes)
{
    std::string shown;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            shown += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            shown += hex;
        }
    }
    return shown;
}

std::string case_name(const std::string& why)
{
    std::string name;
    bool upper_next = true;
    for (const char c : why) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            name += upper_next ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
            upper_next = false;
        } else {
            upper_next = true;
        }
    }
    return name;
}
