// 32 bytes at a time: the 128-entry table is eight 16-entry byte shuffles
// over XOR-chained rows; blocks with specials are written from the action
// table.
#include "convert/block.hpp"
#include "convert/derived_tables.hpp"
#include "convert/x86_kernels.hpp"

#include <immintrin.h>

__attribute__((target("avx2,bmi,bmi2"))) std::size_t convert_avx2(const unsigned char* in, std::size_t size,
                                                                 unsigned char* out)
{
    constexpr std::size_t block = 32;
    __m256i rows[8];
    for (int row = 0; row < 8; ++row)
        rows[row] = _mm256_broadcastsi128_si256(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(chained_rows.data() + 16 * row)));
    const __m256i low_seven = _mm256_set1_epi8(0x7F);
    const __m256i next_row = _mm256_set1_epi8(16);
    const __m256i space = _mm256_set1_epi8(static_cast<char>(zibol_space));
    alignas(32) unsigned char translated[2 * block] = {};

    unsigned char* const start = out;
    std::size_t done = 0;
    // A whole block more must follow, so that the spill of a block full of
    // escapes stays inside the room of the bytes after it.
    for (; size - done >= 2 * block; done += block) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + done));
        // A shuffle gives 0 where the index has its top bit set: for the
        // rows above the code's own, the subtraction has set it.
        __m256i index = _mm256_and_si256(bytes, low_seven);
        __m256i result = _mm256_shuffle_epi8(rows[0], index);
        for (int row = 1; row < 8; ++row) {
            index = _mm256_sub_epi8(index, next_row);
            result = _mm256_xor_si256(result, _mm256_shuffle_epi8(rows[row], index));
        }
        const auto specials = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(result, space)))
                              & ~static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, space)));
        if (specials == 0) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), result);
            out += block;
            continue;
        }
        _mm256_store_si256(reinterpret_cast<__m256i*>(translated), result);
        out = write_with_specials<block>(in + done, translated, specials, out);
    }
    return static_cast<std::size_t>(out - start) + convert_scalar(in + done, size - done, out);
}
