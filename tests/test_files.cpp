#include "test_files.hpp"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

scratch_dir::scratch_dir()
{
    std::string name = (std::filesystem::temp_directory_path() / "zodidezi-test-XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr)
        throw std::runtime_error("cannot make a scratch folder");
    path = name;
}

scratch_dir::~scratch_dir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::string read_bytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_bytes(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

std::string escaped(const std::string& bytes)
{
    std::string shown;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            shown += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            shown += hex;
        }
    }
    return shown;
}

std::string case_name(const std::string& why)
{
    std::string name;
    bool upper_next = true;
    for (const char c : why) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            name += upper_next ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
            upper_next = false;
        } else {
            upper_next = true;
        }
    }
    return name;
}
