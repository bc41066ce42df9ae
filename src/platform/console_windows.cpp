#include "platform/console.hpp"

#include <windows.h>

// The bytes go out as they are: the lines already end in CR LF, whether the
// handle is a console, a file or a pipe.
int console_write(const char* bytes, std::size_t size)
{
    const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == INVALID_HANDLE_VALUE || out == nullptr)
        return 0;
    while (size != 0) {
        const DWORD chunk = size > 0x10000 ? 0x10000 : static_cast<DWORD>(size);
        DWORD put = 0;
        if (!::WriteFile(out, bytes, chunk, &put, nullptr) || put == 0)
            return 0;
        bytes += put;
        size -= put;
    }
    return 1;
}
