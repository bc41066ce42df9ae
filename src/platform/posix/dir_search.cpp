// POSIX has no wildcard search of its own: the directory is read whole and
// matched and ordered as a Windows (NTFS) directory search would do it.
#include "platform/dir_search.hpp"
#include "platform/posix/retry.hpp"
#include "platform/posix/wildcard.hpp"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

std::vector<std::string> find_entries(const folder& in, const std::string& pattern)
{
    if (!in.open)
        return {};
    // A descriptor of its own for the listing, which closes it.
    const int fd = retry_on_interrupt(
        [&] { return ::openat(static_cast<int>(in.handle), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    DIR* listing = fd == -1 ? nullptr : ::fdopendir(fd);
    if (listing == nullptr) {
        if (fd != -1)
            ::close(fd);
        return {};
    }
    wildcard prepared;
    wildcard_prepare(prepared, pattern);
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != ".." && wildcard_matches(prepared, name))
            names.emplace_back(name);
    }
    ::closedir(listing);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return directory_order(a, b) < 0;
    });

    // NTFS delivers its two own entries before every name.
    std::vector<std::string> entries;
    for (const char* own : {".", ".."})
        if (wildcard_matches(prepared, own))
            entries.emplace_back(own);
    entries.insert(entries.end(), names.begin(), names.end());
    return entries;
}
