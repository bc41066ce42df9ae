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

// Folders deeper than the system takes as one path, made and read one step
// at a time: `relative` is made below `root` and its last folder opened. The
// descriptor closes when this goes away.
struct deep_folder {
    int fd = -1;
    deep_folder(const std::filesystem::path& root, const std::string& relative);
    ~deep_folder();
    deep_folder(const deep_folder&) = delete;
    deep_folder& operator=(const deep_folder&) = delete;
    std::string read(const std::string& name) const;
    void write(const std::string& name, const std::string& bytes) const;
    bool exists(const std::string& name) const;
};

// The bytes in a readable form for failure messages: printable ASCII as it
// is, every other byte as \xHH.
std::string escaped(const std::string& bytes);

// A test name made of the letters and digits of a case's description.
std::string case_name(const std::string& why);
