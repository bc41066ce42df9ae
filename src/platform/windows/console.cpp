// Lines come in UTF-8 and whole. A console shows them in their own letters
// through WriteConsoleW, whatever its code page. A file or a pipe gets the
// bytes of the ANSI code page, as before for every name that the code page
// holds; a letter that it lacks becomes its default character, never a
// look-alike. CR LF stays CR LF.
#include "platform/console.hpp"
#include "platform/file.hpp"
#include "platform/windows/unicode.hpp"

#include <string>
#include <windows.h>

namespace {

// Small pieces: old consoles refuse large writes.
constexpr std::size_t console_piece = 4096;

int write_console(HANDLE out, const std::wstring& text)
{
    for (std::size_t at = 0; at < text.size();) {
        std::size_t piece = text.size() - at < console_piece ? text.size() - at : console_piece;
        // A surrogate pair is not split between two writes.
        if (at + piece < text.size() && text[at + piece - 1] >= 0xD800 && text[at + piece - 1] <= 0xDBFF)
            --piece;
        DWORD put = 0;
        if (!::WriteConsoleW(out, text.data() + at, static_cast<DWORD>(piece), &put, nullptr) || put == 0)
            return 0;
        at += put;
    }
    return 1;
}

std::string ansi_from_wide(const std::wstring& text)
{
    const UINT code_page = ::GetACP();
    // UTF-8 as the ANSI code page takes no flags.
    const DWORD flags = code_page == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int length = static_cast<int>(text.size());
    const int size = ::WideCharToMultiByte(code_page, flags, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(code_page, flags, text.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

}  // namespace

int console_write(const char* bytes, std::size_t size)
{
    const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == INVALID_HANDLE_VALUE || out == nullptr)
        return 0;
    const std::wstring text = wide_from_utf8({bytes, size});
    DWORD mode = 0;
    if (::GetConsoleMode(out, &mode))
        return write_console(out, text);
    const std::string ansi = ansi_from_wide(text);
    return file_write(
        reinterpret_cast<native_file>(out), reinterpret_cast<const unsigned char*>(ansi.data()), ansi.size());
}
