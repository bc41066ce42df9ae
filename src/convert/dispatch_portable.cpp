// Systems other than x86-64 run the scalar kernel.
#include "convert/block.hpp"

namespace {

constexpr named_kernel kernels[] = {{"scalar", convert_scalar}};

}  // namespace

const convert_kernel convert_block = convert_scalar;

const named_kernel* usable_kernels(std::size_t& count)
{
    count = 1;
    return kernels;
}
