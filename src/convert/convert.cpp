#include "convert/convert.hpp"

#include "convert/block.hpp"

namespace {

// The most source bytes whose output always fits the output's room.
constexpr std::size_t piece = output_room_size / max_output_per_byte;

}  // namespace

int convert_file(source_stream& source, output_stream& output)
{
    while (source_fill(source)) {
        for (std::size_t done = 0; done < source.filled; done += piece) {
            const std::size_t size = source.filled - done < piece ? source.filled - done : piece;
            output_commit(output, convert_block(source.buffer.get() + done, size, output_room(output)));
        }
    }
    return 1;
}
