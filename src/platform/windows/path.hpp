// Windows only: the ANSI calls stop at MAX_PATH characters. A longer path
// goes to the wide calls instead, in its extended form (\\?\ and the full
// path), converted from the ANSI code page.
#pragma once

#include <string>
#include <windows.h>

// True when `path` is short enough for the ANSI calls as it stands.
inline bool fits_ansi_call(const std::string& path)
{
    return path.size() < MAX_PATH - 12;  // room for an 8.3 name, as CreateDirectory wants
}

inline std::wstring wide_from_ansi(const std::string& text)
{
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(size > 0 ? static_cast<std::size_t>(size) : 1, L'\0');
    if (size > 0)
        ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), size);
    wide.resize(wide.size() - 1);
    return wide;
}

inline std::string ansi_from_wide(const wchar_t* wide)
{
    const int size = ::WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(size > 0 ? static_cast<std::size_t>(size) : 1, '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), size, nullptr, nullptr);
    text.resize(text.size() - 1);
    return text;
}

inline std::wstring extended_path(const std::string& path)
{
    const std::wstring wide = wide_from_ansi(path);
    const DWORD needed = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(needed, L'\0');
    const DWORD written = needed == 0 ? 0 : ::GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (written == 0 || written >= needed)
        return wide;
    full.resize(written);
    for (wchar_t& c : full)
        if (c == L'/')
            c = L'\\';
    if (full.rfind(L"\\\\?\\", 0) == 0)
        return full;
    if (full.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// CreateFileA, or CreateFileW for a path too long for it.
inline HANDLE create_file(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags)
{
    if (fits_ansi_call(path))
        return ::CreateFileA(path.c_str(), access, share, nullptr, disposition, flags, nullptr);
    return ::CreateFileW(extended_path(path).c_str(), access, share, nullptr, disposition, flags, nullptr);
}
