// 64 bytes at a time: one two-table byte permute is the whole 128-entry
// lookup. A block with at most one special is placed without a branch; in
// one with more, line ends are widened into byte pairs and the pairs packed
// with a compress, and only blocks with an escape code among several
// specials are written from the action table.
#include "convert/block.hpp"
#include "convert/derived_tables.hpp"
#include "convert/x86_kernels.hpp"

#include <immintrin.h>

namespace {

constexpr std::uint64_t even_bits = 0x5555555555555555;
constexpr std::uint64_t odd_bits = 0xAAAAAAAAAAAAAAAA;

// Pair k of a half of the block is (byte k of that half, line feed): index
// 64 picks the line feed from the permute's second operand.
constexpr std::array<unsigned char, 64> make_pair_index(unsigned half)
{
    std::array<unsigned char, 64> index{};
    for (unsigned k = 0; k < 64; ++k)
        index[k] = static_cast<unsigned char>(k % 2 == 0 ? 32 * half + k / 2 : 64);
    return index;
}

constexpr std::array<unsigned char, 64> pair_index_low = make_pair_index(0);
constexpr std::array<unsigned char, 64> pair_index_high = make_pair_index(1);

constexpr std::array<unsigned char, 64> make_counting()
{
    std::array<unsigned char, 64> index{};
    for (unsigned k = 0; k < 64; ++k)
        index[k] = static_cast<unsigned char>(k);
    return index;
}

constexpr std::array<unsigned char, 64> counting = make_counting();

}  // namespace

__attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,avx512vbmi2,bmi,bmi2,popcnt"))) std::size_t convert_avx512(
    const unsigned char* in, std::size_t size, unsigned char* out)
{
    constexpr std::size_t block = 64;
    const __m512i table_low = _mm512_loadu_si512(vector_table.data());
    const __m512i table_high = _mm512_loadu_si512(vector_table.data() + 64);
    const __m512i space_high = _mm512_set1_epi8(static_cast<char>(zibol_space | 0x80));
    const __m512i escape = _mm512_set1_epi8(static_cast<char>(zibol_escape));
    const __m512i line_end = _mm512_set1_epi8(static_cast<char>(zibol_line_end));
    const __m512i carriage_return = _mm512_set1_epi8('\r');
    const __m512i line_feed = _mm512_set1_epi8('\n');
    const __m512i pairs_low = _mm512_loadu_si512(pair_index_low.data());
    const __m512i pairs_high = _mm512_loadu_si512(pair_index_high.data());
    const __m512i positions = _mm512_loadu_si512(counting.data());
    alignas(64) unsigned char translated[2 * block] = {};

    unsigned char* const start = out;
    std::size_t done = 0;
    // A whole block more must follow, as in the AVX2 kernel.
    for (; size - done >= 2 * block; done += block) {
        const __m512i bytes = _mm512_loadu_si512(in + done);
        // The permute reads the low seven bits of each byte.
        const __m512i result = _mm512_permutex2var_epi8(table_low, bytes, table_high);
        const std::uint64_t specials =
            _mm512_testn_epi8_mask(result, result) | _mm512_cmpeq_epi8_mask(bytes, space_high);
        if ((specials & (specials - 1)) == 0) {
            // At most one special (nine blocks in ten of text): the block, the
            // special's action over it, and the rest of the block moved on by
            // a permute, with no branch.
            const std::size_t at = _tzcnt_u64(specials);
            const std::uint64_t action = lone_action(specials, in + done, at);
            const std::size_t length = length_of(action);
            // (The zero-masking form: GCC 12's plain one reads an undefined vector.)
            const __m512i rest = _mm512_maskz_permutexvar_epi8(
                ~std::uint64_t{0}, _mm512_add_epi8(positions, _mm512_set1_epi8(static_cast<char>(at + 1))), result);
            _mm512_storeu_si512(out, result);
            put_action(out + at, action);
            _mm512_storeu_si512(out + at + length, rest);
            out += block - 1 + length;
            continue;
        }
        if (_mm512_cmpeq_epi8_mask(bytes, escape) != 0) {
            _mm512_store_si512(translated, result);
            out = write_with_specials<block>(in + done, translated, specials, out);
            continue;
        }
        const std::uint64_t line_ends = _mm512_cmpeq_epi8_mask(bytes, line_end);
        // Every byte but a deleted one keeps its first byte; a line end's is
        // the CR, and only a line end keeps the LF after it.
        const std::uint64_t firsts = ~(specials & ~line_ends);
        if (line_ends == 0) {
            _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(firsts, result));
            out += _mm_popcnt_u64(firsts);
            continue;
        }
        const __m512i heads = _mm512_mask_mov_epi8(result, line_ends, carriage_return);
        const __m512i low = _mm512_permutex2var_epi8(heads, pairs_low, line_feed);
        const __m512i high = _mm512_permutex2var_epi8(heads, pairs_high, line_feed);
        const std::uint64_t keep_low = _pdep_u64(firsts, even_bits) | _pdep_u64(line_ends, odd_bits);
        const std::uint64_t keep_high = _pdep_u64(firsts >> 32, even_bits) | _pdep_u64(line_ends >> 32, odd_bits);
        _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(keep_low, low));
        out += _mm_popcnt_u64(keep_low);
        _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(keep_high, high));
        out += _mm_popcnt_u64(keep_high);
    }
    return static_cast<std::size_t>(out - start) + convert_scalar(in + done, size - done, out);
}
