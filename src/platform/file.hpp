// Files as the converter sees them. Sources and outputs are opened by bare
// name in a folder: the directory part that the user typed, opened once, in
// which either slash separates directories. A name that the directory search
// delivered is used byte for byte. Sources are read whole and never created;
// outputs are opened in one of three ways. Open files deny nobody reading or
// writing. Names are byte strings, handed to the system unchanged.
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

inline bool same_file(const file_identity& a, const file_identity& b)
{
    return a.volume == b.volume && a.index == b.index;
}

// A directory that files are opened in. POSIX holds it open, so that paths
// longer than the system takes at once still work; Windows keeps its path.
struct folder {
    native_file handle = no_file;
    std::string path;  // as typed, with its separator at the end; "" is the current directory
    bool open = false;
};

// 1 when `directory` ("" for the current one) names a directory that opens.
int folder_open(const std::string& directory, folder& opened);
void folder_close(folder& opened);

// 1, the file and its identity when `name` is a regular file that opens for
// reading. Directories, FIFOs and devices are refused, and the open never
// blocks.
int file_open_source(const folder& in, const std::string& name, native_file& file, file_identity& id);

// 1 and the file when `name` opens for writing only, in the given way. A
// file created so is readable and writable by its owner.
int file_open_output(const folder& in, const std::string& name, open_way way, native_file& file);

// The count of bytes read into `buffer`: 0 at the end of the file, -1 when
// the read failed.
std::ptrdiff_t file_read(native_file file, unsigned char* buffer, std::size_t size);

// 1 when every byte was written.
int file_write(native_file file, const unsigned char* bytes, std::size_t size);

// 1 when the file closed cleanly.
int file_close(native_file file);

// 1 and the open file's identity and length.
int file_identity_of(native_file file, file_identity& id, std::uint64_t& length);

// 1 and the identity of what `name` names, links followed, when it is a
// regular file.
int name_identity(const folder& in, const std::string& name, file_identity& id);

// Undoing an output that failed. 1 when `name` still names the open file
// `file` (created by this run) and is removed.
int file_remove(const folder& in, const std::string& name, native_file file);

// 1 when the open output `file` (opened for append on `name`) is cut back to
// `length` bytes.
int file_cut(const folder& in, const std::string& name, native_file file, std::uint64_t length);
