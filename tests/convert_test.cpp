// The conversion pass through real streams, against expectations typed from
// the translation table in other forms.
#include "convert/convert.hpp"
#include "opened_folder.hpp"
#include "test_files.hpp"

#include <gtest/gtest.h>
#include <iconv.h>

namespace {

// Converts `source` bytes, appended to a file that already holds `before`.
std::string converted(const std::string& source, const std::string& before = "")
{
    scratch_dir dir;
    write_bytes(dir.path / "in.zib", source);
    write_bytes(dir.path / "out.txt", before);
    const opened_folder here(dir.path);
    source_stream in;
    output_stream out;
    EXPECT_EQ(source_open(in, here.in, "in.zib"), 1);
    EXPECT_EQ(output_open(out, here.in, "out.txt", open_way::append), 1);
    EXPECT_EQ(convert_file(in, out), 1);
    EXPECT_EQ(source_fill(in), 0);
    EXPECT_EQ(output_close(out), 1);
    return read_bytes(dir.path / "out.txt");
}

std::string utf8_to_cp1250(const std::string& text)
{
    iconv_t to_cp1250 = iconv_open("CP1250", "UTF-8");
    // iconv tells failure by this pointer value.
    if (to_cp1250 == reinterpret_cast<iconv_t>(-1))  // NOLINT(performance-no-int-to-ptr)
        throw std::runtime_error("no CP1250 converter");
    std::string result(text.size(), '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t in_left = text.size();
    char* out = result.data();
    std::size_t out_left = result.size();
    const std::size_t done = iconv(to_cp1250, &in, &in_left, &out, &out_left);
    iconv_close(to_cp1250);
    if (done == static_cast<std::size_t>(-1) || in_left != 0)
        throw std::runtime_error("text not in CP1250");
    result.resize(result.size() - out_left);
    return result;
}

std::string with_crlf(const std::string& text)
{
    std::string result;
    for (const char c : text) {
        if (c == '\n')
            result += '\r';
        result += c;
    }
    return result;
}

TEST(ConvertFile, EveryByteValueMatchesTheTypedTable)
{
    std::string source;
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 16; ++column)
            source += static_cast<char>(row * 16 + column);
        source += '\x9B';
    }
    const std::string expected = with_crlf(utf8_to_cp1250(read_bytes(ZODIDEZI_TEST_DATA "/all_bytes.utf8")));
    const std::string actual = converted(source);
    ASSERT_EQ(escaped(actual), escaped(expected));
}

struct pass_case {
    const char* why;
    std::string source;
    std::string expected;
    std::string before{};
};

void PrintTo(const pass_case& c, std::ostream* os)
{
    *os << c.why;
}

class ConvertCases : public testing::TestWithParam<pass_case> {};

TEST_P(ConvertCases, WritesExactBytes)
{
    const pass_case& c = GetParam();
    EXPECT_EQ(escaped(converted(c.source, c.before)), escaped(c.expected)) << c.why;
}

std::string repeated(const std::string& piece, std::size_t times)
{
    std::string all;
    for (std::size_t i = 0; i < times; ++i)
        all += piece;
    return all;
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, ConvertCases,
    testing::Values(
        pass_case{"the line-end code becomes CR LF", "\x41\x9B\x42", "\x41\r\n\x42"},
        pass_case{"empty lines stay, no line end is added", "\x9B\x9B\x9B\x41", "\r\n\r\n\r\n\x41"},
        pass_case{"CR and LF in a source are the letters E and N with caron", "\x0D\x0A", "\xCC\xD2"},
        pass_case{"0x1A is Z with caron, not the end of the text", std::string("\x1A\x09\x41", 3), "\x8E\xCD\x41"},
        pass_case{"escape is five characters; the bytes after it are not a sequence", "\x1B[A", "<ESC>\xE9\x41"},
        pass_case{"0x9B is a line end, never <ESC>", "\x9B\x1B", "\r\n<ESC>"},
        pass_case{"0x20 is a space but 0xA0 gives nothing", "\x20\xA0\x20", "  "},
        pass_case{"codes without output", std::string("\x00\x80\x1E\x9E", 4), ""},
        pass_case{"the high bit is dropped, never sign-extended", "\xC1\xA4\x8A\xFF", "\x41\x29\xD2\xE4"},
        pass_case{"an empty source writes nothing after earlier text", "", "old", "old"},
        pass_case{"text goes after what the output holds", "\x41", "old\x1A\x41", "old\x1A"},
        pass_case{"line ends across buffer boundaries", repeated("\x41\x9B", 300001), repeated("\x41\r\n", 300001)}),
    [](const testing::TestParamInfo<pass_case>& tested) { return case_name(tested.param.why); });

TEST(ConvertFile, FailedWriteStillReadsTheWholeSource)
{
    scratch_dir dir;
    write_bytes(dir.path / "in.zib", repeated("\x41\x9B", 200000));
    const opened_folder here(dir.path);
    const opened_folder devices("/dev");
    source_stream in;
    output_stream out;
    ASSERT_EQ(source_open(in, here.in, "in.zib"), 1);
    ASSERT_EQ(output_open(out, devices.in, "full", open_way::overwrite), 1);
    EXPECT_EQ(convert_file(in, out), 1);
    EXPECT_EQ(source_fill(in), 0);
    EXPECT_FALSE(in.failed) << "the end of the source, not a read error";
    EXPECT_TRUE(out.failed);
    EXPECT_EQ(output_close(out), 0);
}

TEST(ConvertFile, ExamplesGiveTheirExpectedText)
{
    for (const char* name : {"pozdrav", "slovensky", "cizi"}) {
        const std::string base = std::string(ZODIDEZI_EXAMPLES "/") + name;
        EXPECT_EQ(escaped(converted(read_bytes(base + ".zib"))), escaped(read_bytes(base + ".txt"))) << name;
    }
}

}  // namespace
