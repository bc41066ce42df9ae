// The kernels' wider tables, all computed from zibol_table when the program
// is built, so that the translation is written down once.
#pragma once

#include "convert/zibol_table.hpp"

#include <array>
#include <cstdint>
#include <cstring>

// A word's bytes in memory order: byte 0 is stored first.
constexpr bool little_endian = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;

constexpr unsigned byte_shift(unsigned position)
{
    return little_endian ? 8 * position : 56 - 8 * position;
}

// Byte `position` of a word loaded from memory.
constexpr unsigned byte_of(std::uint64_t word, unsigned position)
{
    return static_cast<unsigned>(word >> byte_shift(position)) & 0xFF;
}

// Up to five bytes in the order they are written, and their count in the
// eighth byte.
constexpr std::uint64_t packed(const unsigned char* bytes, unsigned length)
{
    std::uint64_t action = std::uint64_t{length} << byte_shift(7);
    for (unsigned i = 0; i < length; ++i)
        action |= std::uint64_t{bytes[i]} << byte_shift(i);
    return action;
}

// What one source byte becomes, in one word. A kernel loads the word once,
// stores all eight bytes with one move and steps on by the count; the bytes
// past the count are written over by what follows.
constexpr std::uint64_t make_action(unsigned byte)
{
    const unsigned char escape[] = {'<', 'E', 'S', 'C', '>'};
    const unsigned char space[] = {' '};
    const unsigned char line_end[] = {'\r', '\n'};
    const unsigned char letter[] = {zibol_table[byte & 0x7F]};
    if (byte == zibol_escape)
        return packed(escape, 5);
    if (byte == zibol_space)
        return packed(space, 1);
    if (byte == zibol_line_end)
        return packed(line_end, 2);
    return packed(letter, letter[0] != no_output ? 1 : 0);
}

constexpr std::array<std::uint64_t, 257> make_action_table()
{
    std::array<std::uint64_t, 257> table{};
    for (unsigned byte = 0; byte < 256; ++byte)
        table[byte] = make_action(byte);
    const unsigned char anything[] = {0};
    table[256] = packed(anything, 1);
    return table;
}

// The action of every byte value. Entry 256 is a stand-in that gives one
// byte, for a kernel that must place an action where there is none.
constexpr std::array<std::uint64_t, 257> action_table = make_action_table();

constexpr std::size_t length_of(std::uint64_t action)
{
    return byte_of(action, 7);
}

// Stores the whole word; returns where the next output goes.
inline unsigned char* put_action(unsigned char* out, std::uint64_t action)
{
    std::memcpy(out, &action, sizeof action);
    return out + length_of(action);
}

// The action of a block's one special, at `at` (`specials` has at most one
// bit). In a block without one `at` is the block's width: the byte after the
// block is read but the stand-in is taken, so that the block is placed the
// same way, with no branch, and the stand-in written over by the next block.
inline std::uint64_t lone_action(std::uint64_t specials, const unsigned char* block, std::size_t at)
{
    const unsigned code = block[at];
    return action_table[specials != 0 ? code : 256];
}

// The vector kernels look every byte up in this copy of zibol_table, in
// which the codes that give nothing or more than one byte hold 0, a byte
// that no code gives: 0x00, 0x1B and 0x1E, so 0x80, 0x9B and 0x9E as well.
// The space keeps its own code; 0xA0, which reaches the space's entry and
// gives nothing, is told apart by its top bit.
constexpr unsigned char special_mark = 0;

constexpr std::array<unsigned char, 128> make_vector_table()
{
    std::array<unsigned char, 128> table{};
    for (unsigned code = 0; code < 128; ++code)
        table[code] = zibol_table[code] != no_output || code == zibol_space ? zibol_table[code] : special_mark;
    return table;
}

constexpr std::array<unsigned char, 128> vector_table = make_vector_table();
static_assert(no_output == zibol_space, "the space's entry gives the space itself");

// vector_table in rows of 16 for a 16-entry byte shuffle, each row XORed
// with the row before it: when a code c is looked up in rows 0 to c / 16 and
// the results are XORed, all rows but row c / 16 cancel out.
constexpr std::array<unsigned char, 128> make_chained_rows()
{
    std::array<unsigned char, 128> rows{};
    for (unsigned code = 0; code < 128; ++code)
        rows[code] = static_cast<unsigned char>(vector_table[code] ^ (code < 16 ? 0 : vector_table[code - 16]));
    return rows;
}

constexpr std::array<unsigned char, 128> chained_rows = make_chained_rows();

// The specials: the bytes that a vector kernel cannot write as one looked-up
// byte. They give five bytes (escape), two (line end) or none. This writes a
// block with the specials taken from action_table. `translated` holds the
// block's translation and `block` readable bytes after it; `specials` has a
// bit set at each special's offset.
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
        out = put_action(out, action_table[in[at]]);
        done = at + 1;
    }
    std::memcpy(out, translated + done, block);
    return out + (block - done);
}
