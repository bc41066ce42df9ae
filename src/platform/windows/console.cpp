#include "platform/console.hpp"
#include "platform/file.hpp"

#include <windows.h>

// The bytes go out as they are: the lines already end in CR LF, whether the
// handle is a console, a file or a pipe.
int console_write(const char* bytes, std::size_t size)
{
    const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == INVALID_HANDLE_VALUE || out == nullptr)
        return 0;
    return file_write(reinterpret_cast<native_file>(out), reinterpret_cast<const unsigned char*>(bytes), size);
}
