#include "platform/process.hpp"

#include <csignal>

void process_start()
{
    std::signal(SIGPIPE, SIG_IGN);
    // Past RLIMIT_FSIZE a write then fails with EFBIG.
    std::signal(SIGXFSZ, SIG_IGN);
}
