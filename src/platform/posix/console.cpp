#include "platform/console.hpp"
#include "platform/file.hpp"

#include <csignal>
#include <unistd.h>

int console_write(const char* bytes, std::size_t size)
{
    // A closed console pipe must drop messages, not end the run.
    static const bool sigpipe_ignored = std::signal(SIGPIPE, SIG_IGN) != SIG_ERR;
    (void)sigpipe_ignored;
    return file_write(STDOUT_FILENO, reinterpret_cast<const unsigned char*>(bytes), size);
}
