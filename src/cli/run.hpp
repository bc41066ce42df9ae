// The program's run: banner, usage, the walk over the matching sources.
#pragma once

#include <string>

// Sources opened and taken for conversion so far in this run.
extern int files_done;

// The whole run for the command line; the exit status, always 0.
int run(int argc, const char* const* argv);

// Splits an argument as typed after its last separator (\ or /): the
// directory part keeps the separator, so that it joins with a bare name.
void split_argument(const std::string& argument, std::string& directory, std::string& pattern);

// The entry's name with its extension replaced by txt (or .txt added).
std::string output_name_for(const std::string& entry);
