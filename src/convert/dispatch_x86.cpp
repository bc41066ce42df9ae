// The one place that knows instruction sets: CPUID says what the CPU has,
// XGETBV whether the OS saves the wider registers, and the build may cap the
// choice (ZODIDEZI_KERNEL) for tests and measurements.
#include "convert/block.hpp"
#include "convert/x86_kernels.hpp"

#include <cpuid.h>
#include <cstdint>
#include <string_view>

namespace {

constexpr named_kernel kernels[] = {
    {"scalar", convert_scalar},
    {"avx2", convert_avx2},
    {"avx512", convert_avx512},
};

bool bit(unsigned word, int number)
{
    return (word >> number) & 1U;
}

std::uint64_t enabled_state()
{
    unsigned low = 0;
    unsigned high = 0;
    __asm__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

std::size_t count_usable()
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d) || !bit(c, 27) || !bit(c, 28))  // OSXSAVE, AVX
        return 1;
    const std::uint64_t state = enabled_state();
    const bool ymm_saved = (state & 0x06) == 0x06;
    const bool zmm_saved = (state & 0xE6) == 0xE6;  // and the mask registers
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d))
        return 1;
    const bool avx2 = ymm_saved && bit(b, 5) && bit(b, 3) && bit(b, 8);      // AVX2, BMI1, BMI2
    const bool avx512 = zmm_saved && bit(b, 16) && bit(b, 30) && bit(b, 31)  // F, BW, VL
                     && bit(c, 1) && bit(c, 6);                              // VBMI, VBMI2
    return avx2 ? (avx512 ? 3 : 2) : 1;
}

std::size_t usable_count()
{
    static const std::size_t count = count_usable();
    return count;
}

convert_kernel choose()
{
    const std::string_view widest = ZODIDEZI_KERNEL;
    std::size_t chosen = usable_count() - 1;
    for (std::size_t i = 0; i < usable_count(); ++i)
        if (widest == kernels[i].name)
            chosen = i;
    return kernels[chosen].convert;
}

}  // namespace

const convert_kernel convert_block = choose();

const named_kernel* usable_kernels(std::size_t& count)
{
    count = usable_count();
    return kernels;
}
