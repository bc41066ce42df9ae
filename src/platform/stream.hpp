// Buffered binary streams over the OS files: a source read in large blocks,
// and an output written in blocks of exactly write_block bytes, which the
// page cache takes fastest. Bytes reach the file as they are given.
#pragma once

#include "platform/file.hpp"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

constexpr std::size_t read_block = std::size_t{256} * 1024;
constexpr std::size_t write_block = std::size_t{256} * 1024;
// The room that output_room() always offers.
constexpr std::size_t output_room_size = std::size_t{80} * 1024;

struct source_stream {
    native_file file = no_file;
    file_identity id;        // of the open file
    std::size_t filled = 0;  // bytes of the current block
    bool failed = false;     // a read failed: the end came early
    std::unique_ptr<unsigned char[]> buffer{new unsigned char[read_block]};

    source_stream() = default;
    source_stream(const source_stream&) = delete;
    source_stream& operator=(const source_stream&) = delete;
    ~source_stream();
};

// 1 when `name` in `in` opened as a source; an open stream is not opened
// again.
int source_open(source_stream& source, const folder& in, const std::string& name);
void source_close(source_stream& source);

// 1 and the next block in buffer[0, filled); 0 at the end of the source, or
// when a read failed, which sets `failed`.
int source_fill(source_stream& source);

struct output_stream {
    native_file file = no_file;
    // Set by a failed open or write and kept until cleared; while it is set
    // the buffer is thrown away instead of written.
    bool failed = false;
    std::size_t used = 0;  // below write_block between calls
    std::unique_ptr<unsigned char[]> buffer{new unsigned char[write_block + output_room_size]};
    // Where and how the file was opened, so that a failed output can go back
    // to what it was.
    const folder* in = nullptr;
    std::string name;
    open_way way = open_way::create_new;
    std::uint64_t length_before = 0;  // of a file opened for append

    output_stream() = default;
    output_stream(const output_stream&) = delete;
    output_stream& operator=(const output_stream&) = delete;
    ~output_stream();  // closes, writing out the buffer first
};

// 1 when the stream opened on `name` in `in` (which outlives it) in the
// given way; otherwise the failure state is set. Opening an open stream
// fails without touching any file.
int output_open(output_stream& output, const folder& in, const std::string& name, open_way way);
void output_clear(output_stream& output);

// Writes out what the buffer holds: 1 when every write since the open
// reached the file.
int output_flush(output_stream& output);

// 1 when every write since the open reached the file and the close succeeded.
int output_close(output_stream& output);

// Closes an output whose writing or whose source failed, back to what it was
// before: created new, it is removed; opened for append, it is cut back to
// its old length. An overwritten output gave its old content up with the
// answer, and keeps what reaches it.
void output_abandon(output_stream& output);

// Writes out the whole blocks that the buffer holds.
void output_write_blocks(output_stream& output);

// Where the next bytes go: room for output_room_size bytes, to be taken with
// output_commit.
inline unsigned char* output_room(output_stream& output)
{
    return output.buffer.get() + output.used;
}

// Takes `count` bytes written at output_room().
inline void output_commit(output_stream& output, std::size_t count)
{
    output.used += count;
    if (output.used >= write_block)
        output_write_blocks(output);
}

void output_write(output_stream& output, std::string_view bytes);
