#include "platform/stream.hpp"

#include <cstring>

source_stream::~source_stream()
{
    source_close(*this);
}

int source_open(source_stream& source, const folder& in, const std::string& name)
{
    if (source.file != no_file)
        return 0;
    source.filled = 0;
    source.failed = false;
    return file_open_source(in, name, source.file, source.id);
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
    source.filled = 0;
    if (source.file == no_file || source.failed)
        return 0;
    const std::ptrdiff_t got = file_read(source.file, source.buffer.get(), read_block);
    if (got < 0) {
        source.failed = true;
        return 0;
    }
    source.filled = static_cast<std::size_t>(got);
    return got != 0;
}

output_stream::~output_stream()
{
    output_close(*this);
}

int output_open(output_stream& output, const folder& in, const std::string& name, open_way way)
{
    if (output.file != no_file || !file_open_output(in, name, way, output.file)) {
        output.failed = true;
        return 0;
    }
    output.used = 0;
    output.in = &in;
    output.name = name;
    output.way = way;
    output.length_before = 0;
    file_identity id;
    if (way == open_way::append && !file_identity_of(output.file, id, output.length_before)) {
        file_close(output.file);
        output.file = no_file;
        output.failed = true;
        return 0;
    }
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

int output_flush(output_stream& output)
{
    if (output.used != 0)
        write_out(output, output.used);
    output.used = 0;
    return !output.failed;
}

int output_close(output_stream& output)
{
    output_flush(output);
    if (output.file != no_file && !file_close(output.file))
        output.failed = true;
    output.file = no_file;
    return !output.failed;
}

void output_abandon(output_stream& output)
{
    if (output.file == no_file)
        return;
    switch (output.way) {
    case open_way::create_new: file_remove(*output.in, output.name, output.file); break;
    case open_way::append: file_cut(*output.in, output.name, output.file, output.length_before); break;
    case open_way::overwrite: output_flush(output); break;
    }
    output.used = 0;
    file_close(output.file);
    output.file = no_file;
}
