// Every kernel that this CPU runs, against a plain byte-by-byte reference
// written from the conversion rules. Inputs end at an inaccessible page and
// each output's room (five bytes a byte) ends at one, so a read or a store
// one byte too far faults.
#include "convert/block.hpp"
#include "convert/zibol_table.hpp"
#include "guarded_memory.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

// Found by argument-dependent lookup, so it lives beside the type.
void PrintTo(const named_kernel& kernel, std::ostream* os);
void PrintTo(const named_kernel& kernel, std::ostream* os)
{
    *os << kernel.name;
}

namespace {

std::string reference(const std::string& source)
{
    std::string text;
    for (const char c : source) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0x1B)
            text += "<ESC>";
        else if (byte == 0x20)
            text += ' ';
        else if (byte == 0x9B)
            text += "\r\n";
        else if (zibol_table[byte & 0x7F] != 0x20)
            text += static_cast<char>(zibol_table[byte & 0x7F]);
    }
    return text;
}

// The bytes that are not translated one to one, and the space that shares
// its table entry with 0xA0.
const unsigned char specials[] = {0x1B, 0x9B, 0x00, 0x80, 0x1E, 0x9E, 0xA0, 0x20};

std::string converted(convert_kernel kernel, const std::string& source)
{
    guarded_memory in(source.size());
    if (!source.empty())
        std::memcpy(in.data, source.data(), source.size());
    guarded_memory out(source.size() * max_output_per_byte);
    const std::size_t written = kernel(in.data, in.size, out.data);
    EXPECT_LE(written, out.size);
    return std::string(reinterpret_cast<const char*>(out.data), written < out.size ? written : out.size);
}

// The bytes as \xHH, for messages about inputs that are mostly unprintable.
std::string hex(const std::string& bytes)
{
    std::string shown;
    for (const char c : bytes) {
        char digits[5];
        std::snprintf(digits, sizeof digits, "\\x%02X", static_cast<unsigned char>(c));
        shown += digits;
    }
    return shown;
}

std::string random_text(std::mt19937& random, const std::vector<unsigned char>& alphabet, std::size_t size)
{
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string text(size, '\0');
    for (char& c : text)
        c = static_cast<char>(alphabet[pick(random)]);
    return text;
}

std::vector<named_kernel> kernels()
{
    std::size_t count = 0;
    const named_kernel* all = usable_kernels(count);
    return std::vector<named_kernel>(all, all + count);
}

class Kernel : public testing::TestWithParam<named_kernel> {};

TEST_P(Kernel, EveryByteValueAtEveryOffsetOfEveryLengthTo160)
{
    const convert_kernel kernel = GetParam().convert;
    for (std::size_t size = 1; size <= 160; ++size) {
        guarded_memory in(size);
        guarded_memory out(size * max_output_per_byte);
        for (std::size_t at = 0; at < size; ++at) {
            for (int value = 0; value < 256; ++value) {
                std::memset(in.data, 'a', size);
                in.data[at] = static_cast<unsigned char>(value);
                const std::string expected = std::string(at, 'a') + reference(std::string(1, static_cast<char>(value)))
                                           + std::string(size - at - 1, 'a');
                const std::size_t written = kernel(in.data, size, out.data);
                ASSERT_TRUE(written == expected.size() && std::memcmp(out.data, expected.data(), written) == 0)
                    << "byte 0x" << std::hex << value << std::dec << " at " << at << " of " << size;
            }
        }
    }
    guarded_memory out(0);
    EXPECT_EQ(kernel(out.data, 0, out.data), 0u);
}

TEST_P(Kernel, RunsOfEachSpecialCode)
{
    std::vector<std::size_t> lengths;
    for (std::size_t size = 1; size <= 200; ++size)
        lengths.push_back(size);
    for (std::size_t size : {255U, 256U, 257U, 16383U, 16384U, 16385U, 65535U, 65536U, 65537U})
        lengths.push_back(size);
    for (const unsigned char code : specials) {
        const std::string one = reference(std::string(1, static_cast<char>(code)));
        for (const std::size_t size : lengths) {
            std::string expected;
            for (std::size_t i = 0; i < size; ++i)
                expected += one;
            ASSERT_EQ(converted(GetParam().convert, std::string(size, static_cast<char>(code))), expected)
                << "a run of " << size << " bytes 0x" << std::hex << int{code};
        }
    }
}

TEST_P(Kernel, RandomTextFromSpecialHeavyAlphabets)
{
    std::vector<unsigned char> every_byte(256);
    for (int value = 0; value < 256; ++value)
        every_byte[static_cast<std::size_t>(value)] = static_cast<unsigned char>(value);
    const std::vector<std::vector<unsigned char>> alphabets = {
        {0x1B, 0x9B, 'a'},                         // escapes and line ends among letters
        {0x00, 0xA0, 0x20, 0x9B, 0xC1, 0x27},      // deletions next to spaces and line ends
        {0x1B, 0x9B},                              // nothing one to one at all
        {'a', 'b', 0x2A, 0x27, 0x29, 0x20, 0x9B},  // text
        every_byte,
    };
    std::mt19937 random(20261211);
    std::uniform_int_distribution<std::size_t> length(0, 3000);
    for (const auto& alphabet : alphabets) {
        for (int round = 0; round < 200; ++round) {
            const std::string source = random_text(random, alphabet, length(random));
            ASSERT_EQ(hex(converted(GetParam().convert, source)), hex(reference(source))) << "source " << hex(source);
        }
    }
}

TEST_P(Kernel, AWholeFileFedInRandomPieces)
{
    std::mt19937 random(1250);
    std::vector<unsigned char> mixed(256);
    for (int value = 0; value < 256; ++value)
        mixed[static_cast<std::size_t>(value)] = static_cast<unsigned char>(value);
    for (const unsigned char code : specials)
        mixed.insert(mixed.end(), 16, code);
    const std::string whole = random_text(random, mixed, 1 << 20);
    std::uniform_int_distribution<std::size_t> piece(1, 70000);
    std::string pieces;
    for (std::size_t done = 0; done < whole.size();) {
        const std::size_t size = std::min(piece(random), whole.size() - done);
        pieces += converted(GetParam().convert, whole.substr(done, size));
        done += size;
    }
    EXPECT_TRUE(pieces == reference(whole));
}

INSTANTIATE_TEST_SUITE_P(Usable, Kernel, testing::ValuesIn(kernels()),
                         [](const testing::TestParamInfo<named_kernel>& tested) { return tested.param.name; });

TEST(KernelChoice, TheChosenKernelIsAUsableOne)
{
    bool found = false;
    for (const named_kernel& kernel : kernels())
        found = found || kernel.convert == convert_block;
    EXPECT_TRUE(found);
}

}  // namespace
