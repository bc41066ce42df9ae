#include "convert/block.hpp"
#include "convert/derived_tables.hpp"

#include <cstring>

namespace {

// Stores the whole padded action: the room of the bytes after this one takes
// the spill.
inline unsigned char* put(unsigned char* out, unsigned char byte)
{
    std::memcpy(out, action_table[byte].bytes, sizeof(byte_action));
    return out + action_length[byte];
}

}  // namespace

std::size_t convert_scalar(const unsigned char* in, std::size_t size, unsigned char* out)
{
    if (size == 0)
        return 0;
    unsigned char* const start = out;
    const unsigned char* const last = in + size - 1;
    for (std::size_t groups = (size - 1) / 8; groups != 0; --groups, in += 8) {
        out = put(out, in[0]);
        out = put(out, in[1]);
        out = put(out, in[2]);
        out = put(out, in[3]);
        out = put(out, in[4]);
        out = put(out, in[5]);
        out = put(out, in[6]);
        out = put(out, in[7]);
    }
    for (; in != last; ++in)
        out = put(out, *in);
    // The last byte has no room after it: it stores only what it gives.
    std::memcpy(out, action_table[*last].bytes, action_length[*last]);
    return static_cast<std::size_t>(out - start) + action_length[*last];
}
