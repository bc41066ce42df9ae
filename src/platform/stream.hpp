// Buffered streams over the OS files: a source read byte by byte, and an
// output in text mode, which stores each LF as CR LF on every system.
#pragma once

#include "platform/file.hpp"

#include <cstddef>
#include <string>
#include <string_view>

constexpr std::size_t stream_buffer_size = 64 * 1024;

struct source_stream {
    native_file file = no_file;
    std::size_t next = 0;
    std::size_t filled = 0;
    unsigned char buffer[stream_buffer_size];

    source_stream() = default;
    source_stream(const source_stream&) = delete;
    source_stream& operator=(const source_stream&) = delete;
    ~source_stream();
};

// 1 when the source opened; an open stream is not opened again.
int source_open(source_stream& source, const std::string& path);
void source_close(source_stream& source);

// Refills the buffer; 0 at the end of the source, a read error included.
int source_fill(source_stream& source);

// The next byte, or -1 at the end of the source.
inline int source_get(source_stream& source)
{
    if (source.next == source.filled && !source_fill(source))
        return -1;
    return source.buffer[source.next++];
}

struct output_stream {
    native_file file = no_file;
    // Set by a failed open or write and kept until cleared; while it is set
    // the buffer is thrown away instead of written.
    bool failed = false;
    std::size_t used = 0;
    unsigned char buffer[stream_buffer_size];

    output_stream() = default;
    output_stream(const output_stream&) = delete;
    output_stream& operator=(const output_stream&) = delete;
    ~output_stream();  // closes, writing out the buffer first
};

// 1 when the stream opened on `path` in the given way; otherwise the failure
// state is set. Opening an open stream fails without touching any file.
int output_open(output_stream& output, const std::string& path, open_way way);
void output_clear(output_stream& output);

// Writes the buffer to the file.
void output_flush(output_stream& output);

// 1 when every write since the open reached the file and the close succeeded.
int output_close(output_stream& output);

inline void output_put(output_stream& output, unsigned char byte)
{
    if (output.used + 2 > stream_buffer_size)
        output_flush(output);
    if (byte == '\n')
        output.buffer[output.used++] = '\r';
    output.buffer[output.used++] = byte;
}

inline void output_write(output_stream& output, std::string_view bytes)
{
    for (char byte : bytes)
        output_put(output, static_cast<unsigned char>(byte));
}
