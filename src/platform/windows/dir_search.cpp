// The platform's own wildcard search: names, letter case and order are
// Windows', including "." and "..".
#include "platform/dir_search.hpp"
#include "platform/windows/path.hpp"

#include <windows.h>

namespace {

std::string name_of(const char* name)
{
    return name;
}

std::string name_of(const wchar_t* name)
{
    return ansi_from_wide(name);
}

template <typename Char, typename Found>
std::vector<std::string> search(const Char* path, HANDLE(WINAPI* first)(const Char*, Found*),
                                BOOL(WINAPI* next)(HANDLE, Found*))
{
    std::vector<std::string> names;
    Found found;
    const HANDLE position = first(path, &found);
    if (position == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(name_of(found.cFileName));
    while (next(position, &found));
    ::FindClose(position);
    return names;
}

}  // namespace

std::vector<std::string> find_entries(const folder& in, const std::string& pattern)
{
    if (!in.open)
        return {};
    const std::string search_path = in.path + pattern;
    if (fits_ansi_call(search_path))
        return search(search_path.c_str(), ::FindFirstFileA, ::FindNextFileA);
    return search(extended_path(search_path).c_str(), ::FindFirstFileW, ::FindNextFileW);
}
