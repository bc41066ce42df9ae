// A system call interrupted by a signal before it did anything is made again.
#pragma once

#include <cerrno>

template <typename Call>
auto retry_on_interrupt(Call call)
{
    auto result = call();
    while (result == -1 && errno == EINTR)
        result = call();
    return result;
}
