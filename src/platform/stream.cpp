#include "platform/stream.hpp"

#include <cstring>

source_stream::~source_stream()
{
    source_close(*this);
}

int source_open(source_stream& source, const std::string& path)
{
    if (source.file != no_file)
        return 0;
    source.filled = 0;
    return file_open_source(path, source.file, source.id);
}

void source_close(source_stream& source)
{
    if (source.file == no_file)
        return;
    file_close(source.file);
    source.file = no_file;
}

int source_fill(source_stream& source)
{
    source.filled = source.file == no_file ? 0 : file_read(source.file, source.buffer.get(), read_block);
    return source.filled != 0;
}

output_stream::~output_stream()
{
    output_close(*this);
}

int output_open(output_stream& output, const std::string& path, open_way way)
{
    if (output.file != no_file || !file_open_output(path, way, output.file)) {
        output.failed = true;
        return 0;
    }
    output.used = 0;
    return 1;
}

void output_clear(output_stream& output)
{
    output.failed = false;
}

namespace {

void write_out(output_stream& output, std::size_t count)
{
    if (!output.failed && (output.file == no_file || !file_write(output.file, output.buffer.get(), count)))
        output.failed = true;
}

}  // namespace

void output_write_blocks(output_stream& output)
{
    std::size_t written = 0;
    for (; output.used - written >= write_block; written += write_block)
        write_out(output, write_block);
    // The rest moves to the front, so that every write is a whole block.
    if (written != 0)
        std::memmove(output.buffer.get(), output.buffer.get() + written, output.used - written);
    output.used -= written;
}

void output_write(output_stream& output, std::string_view bytes)
{
    while (!bytes.empty()) {
        const std::size_t part = bytes.size() < output_room_size ? bytes.size() : output_room_size;
        std::memcpy(output_room(output), bytes.data(), part);
        output_commit(output, part);
        bytes.remove_prefix(part);
    }
}

int output_close(output_stream& output)
{
    if (output.used != 0)
        write_out(output, output.used);
    output.used = 0;
    if (output.file != no_file && !file_close(output.file))
        output.failed = true;
    output.file = no_file;
    return !output.failed;
}
