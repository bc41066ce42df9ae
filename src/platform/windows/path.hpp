// Windows only: every path goes to the wide calls, converted from the UTF-8
// that names are inside. A path whose full form, the current directory
// counted, reaches MAX_PATH goes in the extended form (\\?\ and the full
// path), which has no such limit; a shorter one goes as typed, so that device
// names and the usual reading of a path stay as they were.
#pragma once

#include "platform/windows/unicode.hpp"

#include <string>
#include <windows.h>

inline std::wstring system_path(const std::string& path)
{
    std::wstring wide = wide_from_utf8(path);
    const DWORD needed = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(needed, L'\0');
    const DWORD written = needed == 0 ? 0 : ::GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (written == 0 || written >= needed)
        return wide;
    full.resize(written);
    if (full.size() < MAX_PATH || full.rfind(L"\\\\?\\", 0) == 0 || full.rfind(L"\\\\.\\", 0) == 0)
        return wide;
    for (wchar_t& c : full)
        if (c == L'/')
            c = L'\\';
    if (full.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

inline HANDLE create_file(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags)
{
    return ::CreateFileW(system_path(path).c_str(), access, share, nullptr, disposition, flags, nullptr);
}
