// The split of an argument and the naming of an output, by their
// properties: the parts make the argument again, only the directory part
// holds a separator and ends with one, and an output name keeps everything
// up to the last dot and ends in txt.
#include "cli/run.hpp"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string argument(reinterpret_cast<const char*>(data), size);
    std::string directory;
    std::string pattern;
    split_argument(argument, directory, pattern);
    if (directory + pattern != argument || pattern.find_first_of("\\/") != std::string::npos)
        std::abort();
    if (!directory.empty() && directory.back() != '\\' && directory.back() != '/')
        std::abort();

    const std::string output = output_name_for(pattern);
    const std::size_t dot = pattern.rfind('.');
    const std::string kept = dot == std::string::npos ? pattern + "." : pattern.substr(0, dot + 1);
    if (output != kept + "txt")
        std::abort();
    return 0;
}
