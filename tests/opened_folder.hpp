// A scratch folder opened as the program opens a directory part, and closed
// again at the end of the test.
#pragma once

#include "platform/file.hpp"

#include <filesystem>

struct opened_folder {
    folder in;
    explicit opened_folder(const std::filesystem::path& path)
    {
        folder_open(path.string() + "/", in);
    }
    ~opened_folder()
    {
        folder_close(in);
    }
    opened_folder(const opened_folder&) = delete;
    opened_folder& operator=(const opened_folder&) = delete;
};
