// POSIX only: paths keep the backslashes that the user typed until the OS
// sees them, so that messages show them as typed.
#pragma once

#include <string>

inline std::string native_path(std::string path)
{
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}
