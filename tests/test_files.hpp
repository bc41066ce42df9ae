// Scratch folders and whole-file reads and writes for the tests.
#pragma once

#include <filesystem>
#include <string>

// A new empty folder, removed with everything in it when this goes away.
struct scratch_dir {
    std::filesystem::path path;
    scratch_dir();
    ~scratch_dir();
    scratch_dir(const scratch_dir&) = delete;
    scratch_dir& operator=(const scratch_dir&) = delete;
};

std::string read_bytes(const std::filesystem::path& file);
void write_bytes(const std::filesystem::path& file, const std::string& bytes);

// The bytes in a readable form for failure messages: printable ASCII as it
// is, every other byte as \xHH.
std::string escaped(const std::string& bytes);

// A test name made of the letters and digits of a case's description.
std::string case_name(const std::string& why);
