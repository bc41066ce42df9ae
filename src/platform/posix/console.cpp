#include "platform/console.hpp"
#include "platform/file.hpp"

#include <unistd.h>

int console_write(const char* bytes, std::size_t size)
{
    return file_write(STDOUT_FILENO, reinterpret_cast<const unsigned char*>(bytes), size);
}
