#include "platform/stream.hpp"

source_stream::~source_stream()
{
    source_close(*this);
}

int source_open(source_stream& source, const std::string& path)
{
    if (source.file != no_file)
        return 0;
    source.next = source.filled = 0;
    return file_open_source(path, source.file);
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
    if (source.file == no_file)
        return 0;
    source.next = 0;
    source.filled = file_read(source.file, source.buffer, sizeof source.buffer);
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

void output_flush(output_stream& output)
{
    if (!output.failed && output.used != 0
        && (output.file == no_file || !file_write(output.file, output.buffer, output.used)))
        output.failed = true;
    output.used = 0;
}

int output_close(output_stream& output)
{
    output_flush(output);
    if (output.file != no_file && !file_close(output.file))
        output.failed = true;
    output.file = no_file;
    return !output.failed;
}
