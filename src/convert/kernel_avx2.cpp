// The 128-entry table is eight 16-entry byte shuffles over XOR-chained rows.
// A chunk is translated first, 64 bytes at a time and without a branch, and
// then placed: a 64-byte unit with at most one special takes no branch either
// (in text most units hold one line end, some none, and no predictor guesses
// which); units with more are written from the action table.
#include "convert/block.hpp"
#include "convert/derived_tables.hpp"
#include "convert/x86_kernels.hpp"

#include <immintrin.h>

namespace {

constexpr std::size_t unit = 64;
constexpr std::size_t chunk_units = 64;

}  // namespace

__attribute__((target("avx2,bmi,bmi2"))) std::size_t convert_avx2(const unsigned char* in, std::size_t size,
                                                                  unsigned char* out)
{
    __m256i rows[8];
    for (std::size_t row = 0; row < 8; ++row)
        rows[row] = _mm256_broadcastsi128_si256(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(chained_rows.data() + 16 * row)));
    const __m256i low_seven = _mm256_set1_epi8(0x7F);
    __m256i next_row = _mm256_set1_epi8(16);
    // Hidden from the optimizer, which would otherwise fold the chain of
    // subtractions into eight constants and run out of registers.
    __asm__("" : "+x"(next_row));
    const __m256i mark = _mm256_set1_epi8(static_cast<char>(special_mark));
    const __m256i space_high = _mm256_set1_epi8(static_cast<char>(zibol_space | 0x80));
    // The translation of a chunk, and the units after it that the copies of
    // its last unit read: what they read lands past the output, written over.
    alignas(32) unsigned char translated[(chunk_units + 3) * unit];
    std::uint64_t specials[chunk_units];

    unsigned char* const start = out;
    std::size_t done = 0;
    // A whole unit more must follow the units taken here: a unit reads the
    // byte after it, and its spill stays inside the room of the bytes after it.
    while (size - done >= 2 * unit) {
        std::size_t units = (size - done) / unit - 1;
        units = units < chunk_units ? units : chunk_units;
        const unsigned char* const chunk = in + done;
        for (std::size_t u = 0; u < units; ++u) {
            std::uint64_t mask = 0;
            for (std::size_t half = 0; half < 2; ++half) {
                const std::size_t at = u * unit + half * 32;
                const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(chunk + at));
                // A shuffle gives 0 where the index has its top bit set: for
                // the rows above the code's own, the subtraction has set it.
                __m256i index = _mm256_and_si256(bytes, low_seven);
                __m256i result = _mm256_shuffle_epi8(rows[0], index);
                for (int row = 1; row < 8; ++row) {
                    index = _mm256_sub_epi8(index, next_row);
                    result = _mm256_xor_si256(result, _mm256_shuffle_epi8(rows[row], index));
                }
                _mm256_store_si256(reinterpret_cast<__m256i*>(translated + at), result);
                const auto found = static_cast<std::uint32_t>(_mm256_movemask_epi8(
                    _mm256_or_si256(_mm256_cmpeq_epi8(result, mark), _mm256_cmpeq_epi8(bytes, space_high))));
                mask |= static_cast<std::uint64_t>(found) << (32 * half);
            }
            specials[u] = mask;
        }
        for (std::size_t after = units * unit; after < (units + 3) * unit; after += 32)
            _mm256_store_si256(reinterpret_cast<__m256i*>(translated + after), mark);

        for (std::size_t u = 0; u < units; ++u) {
            const unsigned char* const bytes = chunk + u * unit;
            const unsigned char* const text = translated + u * unit;
            const std::uint64_t mask = specials[u];
            if ((mask & (mask - 1)) != 0) {
                out = write_with_specials<unit>(bytes, text, mask, out);
                continue;
            }
            const std::size_t at = _tzcnt_u64(mask);
            const std::uint64_t action = lone_action(mask, bytes, at);
            const std::size_t length = length_of(action);
            for (std::size_t half = 0; half < unit; half += 32)
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + half),
                                    _mm256_load_si256(reinterpret_cast<const __m256i*>(text + half)));
            put_action(out + at, action);
            for (std::size_t half = 0; half < unit; half += 32)
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + at + length + half),
                                    _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + at + 1 + half)));
            out += unit - 1 + length;
        }
        done += units * unit;
    }
    return static_cast<std::size_t>(out - start) + convert_scalar(in + done, size - done, out);
}
