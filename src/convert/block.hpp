// Converting a block of Zibol text held in memory: the kernel contract, the
// kernel that this CPU runs, and every kernel it could run (for tests).
#pragma once

#include <cstddef>

// The most bytes that one source byte becomes: the escape code gives "<ESC>".
constexpr std::size_t max_output_per_byte = 5;

// Converts the `size` bytes at `in` into `out` and returns the count of bytes
// written. `out` has room for max_output_per_byte * size bytes; nothing is
// stored past that room and nothing is read outside the input. Line ends are
// written as CR LF, and no state is kept between calls.
using convert_kernel = std::size_t (*)(const unsigned char* in, std::size_t size, unsigned char* out);

// The widest kernel that both this CPU and the build allow, chosen once at
// start-up.
extern const convert_kernel convert_block;

struct named_kernel {
    const char* name;
    convert_kernel convert;
};

// Every kernel that this CPU can run, the scalar reference first; the
// build's choice does not narrow it.
const named_kernel* usable_kernels(std::size_t& count);

// The reference: one table lookup per byte, on every system.
std::size_t convert_scalar(const unsigned char* in, std::size_t size, unsigned char* out);
