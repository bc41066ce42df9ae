// Every kernel that this CPU runs against the scalar reference, on arbitrary
// bytes cut into pieces at arbitrary places, each piece written after an
// arbitrary prefix of output that must stay as it was. The first bytes of
// the input choose the cuts and the prefix.
#include "convert/block.hpp"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::vector<unsigned char> converted(convert_kernel kernel, const unsigned char* in, std::size_t size,
                                     std::size_t prefix)
{
    // Exactly the promised room after the prefix: the sanitizer's red zones
    // catch a store past it.
    auto* out = new unsigned char[prefix + size * max_output_per_byte];
    std::memset(out, 0xA5, prefix);
    const std::size_t written = kernel(in, size, out + prefix);
    for (std::size_t i = 0; i < prefix; ++i)
        if (out[i] != 0xA5)
            std::abort();  // the kernel wrote before its room
    if (written > size * max_output_per_byte)
        std::abort();
    std::vector<unsigned char> text(out + prefix, out + prefix + written);
    delete[] out;
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::size_t prefix = data[0] % 64;
    const unsigned cut_seed = data[1];
    data += 2;
    size -= 2;
    std::size_t count = 0;
    const named_kernel* kernels = usable_kernels(count);
    for (std::size_t k = 0; k < count; ++k) {
        std::vector<unsigned char> whole;
        std::size_t done = 0;
        unsigned seed = cut_seed;
        while (done < size) {
            // Pieces of 1 to 300 bytes, so that every block edge is met.
            seed = seed * 1103515245U + 12345U;
            std::size_t piece = 1 + (seed >> 16) % 300;
            if (piece > size - done)
                piece = size - done;
            // Each piece in memory of its own, so that reading past it is caught.
            std::vector<unsigned char> alone(data + done, data + done + piece);
            const std::vector<unsigned char> text = converted(kernels[k].convert, alone.data(), piece, prefix);
            whole.insert(whole.end(), text.begin(), text.end());
            done += piece;
        }
        const std::vector<unsigned char> reference = converted(convert_scalar, data, size, 0);
        if (whole != reference)
            std::abort();
    }
    return 0;
}
