// What the user typed keeps its backslashes in messages; the system is given
// slashes in their place, as Windows would read them.
#pragma once

#include <string>

inline std::string native_path(std::string path)
{
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}
