// The program's start on Windows: wmain (linked with -municode) takes the
// command line as UTF-16, which holds a name in any script, and hands it on
// as UTF-8, the one kind of string inside.
#include "cli/run.hpp"
#include "platform/windows/unicode.hpp"

#include <string>
#include <vector>

// The start-up must not expand wildcards: the program expands the pattern
// itself through the directory search. The headers included above make
// _CRT_glob the _dowildcard that both of mingw-w64's start-ups read; without
// them it would name a variable that nothing reads.
extern "C" {
int _CRT_glob = 0;
}

int wmain(int argc, wchar_t** argv)
{
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(utf8_from_wide(argv[i]));
    std::vector<const char*> pointers;
    for (const std::string& argument : arguments)
        pointers.push_back(argument.c_str());
    pointers.push_back(nullptr);
    return run(argc, pointers.data());
}
