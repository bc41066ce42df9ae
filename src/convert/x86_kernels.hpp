// The vector kernels for x86-64; each is compiled for its own instruction
// set, and only the dispatch decides whether this CPU may run it.
#pragma once

#include <cstddef>

// AVX2 with BMI1 and BMI2.
std::size_t convert_avx2(const unsigned char* in, std::size_t size, unsigned char* out);

// AVX-512 F, BW, VL, VBMI and VBMI2, with BMI2 and POPCNT.
std::size_t convert_avx512(const unsigned char* in, std::size_t size, unsigned char* out);
