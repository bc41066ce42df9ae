// The kernels' wider tables, all computed from zibol_table when the program
// is built, so that the translation is written down once.
#pragma once

#include "convert/zibol_table.hpp"

#include <array>
#include <cstdint>
#include <cstring>

// What one source byte becomes: up to five bytes, padded to eight so that a
// kernel stores any action with one move, and their count.
struct byte_action {
    unsigned char bytes[8];
};

struct action_text {
    const char* bytes;
    std::size_t length;
};

constexpr action_text text_of(unsigned byte)
{
    if (byte == zibol_escape)
        return {"<ESC>", 5};
    if (byte == zibol_space)
        return {" ", 1};
    if (byte == zibol_line_end)
        return {"\r\n", 2};
    return {nullptr, zibol_table[byte & 0x7F] != no_output ? 1U : 0U};
}

constexpr std::array<byte_action, 256> make_action_table()
{
    std::array<byte_action, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        const action_text text = text_of(byte);
        for (std::size_t i = 0; i < text.length; ++i)
            table[byte].bytes[i] = text.bytes != nullptr ? static_cast<unsigned char>(text.bytes[i])
                                                         : zibol_table[byte & 0x7F];
    }
    return table;
}

constexpr std::array<std::size_t, 256> make_action_length()
{
    std::array<std::size_t, 256> length{};
    for (unsigned byte = 0; byte < 256; ++byte)
        length[byte] = text_of(byte).length;
    return length;
}

// The bytes and the count of bytes that every byte value gives. The count is
// a whole word, so that a kernel adds it to its output pointer in one step.
constexpr std::array<byte_action, 256> action_table = make_action_table();
constexpr std::array<std::size_t, 256> action_length = make_action_length();

// zibol_table in rows of 16 for a 16-entry byte shuffle, each row XORed with
// the row before it: when a code c is looked up in rows 0 to c / 16 and the
// results are XORed, all rows but row c / 16 cancel out.
constexpr std::array<unsigned char, 128> make_chained_rows()
{
    std::array<unsigned char, 128> rows{};
    for (unsigned code = 0; code < 128; ++code)
        rows[code] = static_cast<unsigned char>(zibol_table[code] ^ (code < 16 ? 0 : zibol_table[code - 16]));
    return rows;
}

constexpr std::array<unsigned char, 128> chained_rows = make_chained_rows();

// A vector kernel translates every byte of a block through zibol_table, in
// which the space keeps its own code.
static_assert(no_output == zibol_space, "the vector kernels take 0x20 from the table as the space");

// The other bytes whose entry is no_output are the specials: they give five
// bytes (escape), two (line end) or none. This writes a block with the
// specials taken from action_table. `translated` holds the block's
// translation and `block` readable bytes after it; `specials` has a bit set
// at each special's offset.
template <std::size_t block>
inline unsigned char* write_with_specials(const unsigned char* in, const unsigned char* translated,
                                          std::uint64_t specials, unsigned char* out)
{
    std::size_t done = 0;
    while (specials != 0) {
        const auto at = static_cast<std::size_t>(__builtin_ctzll(specials));
        specials &= specials - 1;
        // The whole width is copied; what lies past the special is written over.
        std::memcpy(out, translated + done, block);
        out += at - done;
        std::memcpy(out, action_table[in[at]].bytes, sizeof(byte_action));
        out += action_length[in[at]];
        done = at + 1;
    }
    std::memcpy(out, translated + done, block);
    return out + (block - done);
}
