#include "convert/block.hpp"
#include "convert/derived_tables.hpp"

#include <cstring>

std::size_t convert_scalar(const unsigned char* in, std::size_t size, unsigned char* out)
{
    if (size == 0)
        return 0;
    unsigned char* const start = out;
    // Every byte but the last stores a whole action word: the room of the
    // bytes after it takes the spill. Eight bytes are loaded at a time.
    const unsigned char* const last = in + size - 1;
    for (std::size_t groups = (size - 1) / 8; groups != 0; --groups, in += 8) {
        std::uint64_t eight;
        std::memcpy(&eight, in, sizeof eight);
        out = put_action(out, action_table[byte_of(eight, 0)]);
        out = put_action(out, action_table[byte_of(eight, 1)]);
        out = put_action(out, action_table[byte_of(eight, 2)]);
        out = put_action(out, action_table[byte_of(eight, 3)]);
        out = put_action(out, action_table[byte_of(eight, 4)]);
        out = put_action(out, action_table[byte_of(eight, 5)]);
        out = put_action(out, action_table[byte_of(eight, 6)]);
        out = put_action(out, action_table[byte_of(eight, 7)]);
    }
    for (; in != last; ++in)
        out = put_action(out, action_table[*in]);
    // The last byte has no room after it: it stores only what it gives.
    const std::uint64_t action = action_table[*last];
    std::memcpy(out, &action, length_of(action));
    return static_cast<std::size_t>(out - start) + length_of(action);
}
