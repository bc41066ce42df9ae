// Files as the converter sees them: sources are read whole and never created,
// outputs are opened in one of three ways. Open files deny nobody reading or
// writing. Paths are byte strings in the system's code page; either slash
// separates directories.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A file descriptor on POSIX, a HANDLE on Windows; -1 is "none" on both.
using native_file = std::intptr_t;
constexpr native_file no_file = -1;

enum class open_way {
    create_new,  // fails if anything at all exists at the path
    overwrite,   // creates, or cuts an existing file to length 0
    append,      // creates, or keeps the content; every write lands at the end
};


// Which file a path or an open file is, across links and spellings.
struct file_identity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
};

// 1, the file and its identity when `path` names a regular file that opens
// for reading. Directories, FIFOs and devices are refused, and the open never
// blocks.
int file_open_source(const std::string& path, native_file& file, file_identity& id);

// 1 and the file when `path` opens for writing only, in the given way.
// A file created so is readable and writable by its owner.
int file_open_output(const std::string& path, open_way way, native_file& file);

// The bytes read into `buffer`, 0 at the end of the file or on any error.
std::size_t file_read(native_file file, unsigned char* buffer, std::size_t size);

// 1 when every byte was written.
int file_write(native_file file, const unsigned char* bytes, std::size_t size);

// 1 when the file closed cleanly.
int file_close(native_file file);

// 1 and the identity of the open file.
int file_identity_of(native_file file, file_identity& id);

// 1 and the identity of what `path` names, links followed; 0 if nothing is there.
int path_identity(const std::string& path, file_identity& id);

inline bool same_file(const file_identity& a, const file_identity& b)
{
    return a.volume == b.volume && a.index == b.index;
}
