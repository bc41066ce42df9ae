// The platform's own wildcard search: names, letter case and order are
// Windows', including "." and "..".
#include "platform/dir_search.hpp"
#include "platform/windows/path.hpp"

#include <windows.h>

std::vector<std::string> find_entries(const folder& in, const std::string& pattern)
{
    std::vector<std::string> names;
    if (!in.open)
        return names;
    WIN32_FIND_DATAW found;
    const HANDLE position = ::FindFirstFileW(system_path(in.path + pattern).c_str(), &found);
    if (position == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(utf8_from_wide(found.cFileName));
    while (::FindNextFileW(position, &found));
    ::FindClose(position);
    return names;
}
