#include "convert/convert.hpp"

int convert_file(source_stream& source, output_stream& output)
{
    for (int next = source_get(source); next >= 0; next = source_get(source)) {
        const auto byte = static_cast<unsigned char>(next);
        if (byte == zibol_escape) {
            output_write(output, "<ESC>");
        } else if (byte == zibol_space) {
            output_put(output, ' ');
        } else if (byte == zibol_line_end) {
            output_put(output, '\n');
        } else {
            const unsigned char translated = zibol_table[byte & 0x7F];
            if (translated != no_output)
                output_put(output, translated);
        }
    }
    return 1;
}
