// POSIX has no wildcard search of its own: the directory is read whole and
// matched and ordered as a Windows (NTFS) directory search would do it.
#include "platform/dir_search.hpp"
#include "platform/posix/path.hpp"
#include "platform/posix/wildcard.hpp"

#include <algorithm>
#include <dirent.h>

std::vector<std::string> find_entries(const std::string& search_path)
{
    const std::size_t cut = search_path.find_last_of("\\/");
    const std::string directory = cut == std::string::npos ? "." : search_path.substr(0, cut + 1);
    const std::string pattern = cut == std::string::npos ? search_path : search_path.substr(cut + 1);

    DIR* listing = ::opendir(native_path(directory).c_str());
    if (listing == nullptr)
        return {};
    wildcard prepared;
    wildcard_prepare(prepared, pattern);
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != ".." && wildcard_matches(prepared, name))
            names.emplace_back(name);
    }
    ::closedir(listing);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return directory_order(a, b) < 0; });

    // NTFS delivers its two own entries before every name.
    std::vector<std::string> entries;
    for (const char* own : {".", ".."})
        if (wildcard_matches(prepared, own))
            entries.emplace_back(own);
    entries.insert(entries.end(), names.begin(), names.end());
    return entries;
}
