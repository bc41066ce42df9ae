// The Windows platform services where a run reaches them only through a
// failure that wine cannot make: an output taken back while open, an append
// cut back, a failed read; what counts as a regular file; names between UTF-8
// and UTF-16, and when a path needs its extended form.
#include "platform/dir_search.hpp"
#include "platform/file.hpp"
#include "platform/windows/path.hpp"
#include "platform/windows/unicode.hpp"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <windows.h>

namespace fs = std::filesystem;

namespace {

// A new empty folder in the temporary folder, opened as the program opens
// the directory part; removed with what it holds.
struct scratch_folder {
    fs::path path;
    folder in;
    scratch_folder()
    {
        path = fs::temp_directory_path()
             / ("zodidezi-test-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(::GetTickCount64()));
        fs::create_directory(path);
        folder_open(utf8_from_wide(path.wstring()) + "\\", in);
    }
    ~scratch_folder()
    {
        folder_close(in);
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    void write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(path / name, std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const
    {
        std::ifstream file(path / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
};

int write_text(native_file file, const std::string& bytes)
{
    return file_write(file, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

TEST(FileRemove, NewOutputGoesWhenItClosesAlsoWhileASourceReadsIt)
{
    scratch_folder dir;
    native_file output = no_file;
    ASSERT_EQ(file_open_output(dir.in, "a.txt", open_way::create_new, output), 1);
    ASSERT_EQ(write_text(output, "x"), 1);
    native_file source = no_file;
    file_identity id;
    ASSERT_EQ(file_open_source(dir.in, "a.txt", source, id), 1) << "a source shares deleting with a new output";
    EXPECT_EQ(file_remove(dir.in, "a.txt", output), 1);
    file_close(source);
    file_close(output);
    EXPECT_FALSE(fs::exists(dir.path / "a.txt"));
}

TEST(FileCut, AppendedBytesAreTakenBack)
{
    scratch_folder dir;
    dir.write("a.txt", "old\x1A");
    native_file output = no_file;
    ASSERT_EQ(file_open_output(dir.in, "a.txt", open_way::append, output), 1);
    file_identity id;
    std::uint64_t length = 0;
    ASSERT_EQ(file_identity_of(output, id, length), 1);
    EXPECT_EQ(length, 4u);
    ASSERT_EQ(write_text(output, "new"), 1);
    EXPECT_EQ(file_cut(dir.in, "a.txt", output, length), 1);
    ASSERT_EQ(write_text(output, "!"), 1) << "writes still land at the end";
    file_close(output);
    EXPECT_EQ(dir.read("a.txt"), "old\x1A!");
}

TEST(FileRead, EndIsZeroAndAFailedReadIsMinusOne)
{
    scratch_folder dir;
    dir.write("a.zib", "ab");
    native_file source = no_file;
    file_identity id;
    ASSERT_EQ(file_open_source(dir.in, "a.zib", source, id), 1);
    unsigned char buffer[8];
    EXPECT_EQ(file_read(source, buffer, sizeof buffer), 2);
    EXPECT_EQ(file_read(source, buffer, sizeof buffer), 0);
    file_close(source);
    native_file output = no_file;
    ASSERT_EQ(file_open_output(dir.in, "b.txt", open_way::create_new, output), 1);
    EXPECT_EQ(file_read(output, buffer, sizeof buffer), -1) << "a handle without read access";
    file_close(output);
}

TEST(RegularFiles, DirectoriesAreNeitherSourcesNorKnownByName)
{
    scratch_folder dir;
    dir.write("a.zib", "A");
    fs::create_directory(dir.path / "d.zib");
    file_identity named{}, opened{}, other{};
    ASSERT_EQ(name_identity(dir.in, "a.zib", named), 1);
    native_file source = no_file;
    ASSERT_EQ(file_open_source(dir.in, "a.zib", source, opened), 1);
    file_close(source);
    EXPECT_TRUE(same_file(named, opened));
    EXPECT_EQ(name_identity(dir.in, "d.zib", other), 0);
    EXPECT_EQ(name_identity(dir.in, "none.zib", other), 0);
    EXPECT_EQ(file_open_source(dir.in, "d.zib", source, other), 0);
}

TEST(FindEntries, OwnEntriesAsWindowsDeliversThem)
{
    scratch_folder dir;
    dir.write("a.zib", "");
    EXPECT_EQ(find_entries(dir.in, "*"), (std::vector<std::string>{".", "..", "a.zib"}));
    folder missing;
    folder_open(utf8_from_wide(dir.path.wstring()) + "\\none\\", missing);
    EXPECT_TRUE(find_entries(missing, "*").empty());
    native_file file = no_file;
    EXPECT_EQ(file_open_output(missing, "a.txt", open_way::overwrite, file), 0);
}

TEST(Names, UnicodeAndLoneSurrogatesGoBothWays)
{
    struct row {
        std::wstring wide;
        std::string utf8;
    };
    for (const row& r : {row{L"caj.zib", "caj.zib"},
                         row{L"\u010Daj",
                             "\xC4\x8D"
                             "aj"},
                         row{L"\u4E2D", "\xE4\xB8\xAD"},
                         row{L"\U0001D11E", "\xF0\x9D\x84\x9E"},
                         row{std::wstring(L"a") + L'\xD800', "a\xED\xA0\x80"},
                         row{std::wstring(1, L'\xDC00') + L"b",
                             "\xED\xB0\x80"
                             "b"}}) {
        EXPECT_EQ(utf8_from_wide(r.wide), r.utf8);
        EXPECT_EQ(wide_from_utf8(r.utf8), r.wide);
    }
}

TEST(Names, MalformedBytesNeverBecomeSeparatorsOrDots)
{
    struct row {
        std::string utf8;
        std::wstring wide;
    };
    for (const row& r : {row{"a\xC0\xAF"
                             "b",
                             L"a\uFFFD"
                             L"b"},
                         row{"\xE0\x80\xAE", L"\uFFFD"},
                         row{"\xFF.", L"\uFFFD."},
                         row{"\xC4", L"\uFFFD"},
                         row{"\x8D"
                             "a",
                             L"\uFFFD"
                             L"a"},
                         row{"\xF4\x90\x80\x80", L"\uFFFD"}})
        EXPECT_EQ(wide_from_utf8(r.utf8), r.wide) << r.utf8;
}

// The current directory counts: a short relative path in a deep folder is
// long. Short paths go as typed, so that NUL stays the device.
TEST(SystemPath, ExtendedFormOnlyFromMaxPathOn)
{
    scratch_folder dir;
    // Short enough to be the current directory on Windows.
    const fs::path deep = dir.path / std::wstring(150, L'd');
    fs::create_directory(deep);
    const fs::path before = fs::current_path();
    fs::current_path(deep);
    const std::wstring relative = system_path("x/" + std::string(100, 'n'));
    const std::wstring nul = system_path("NUL");
    fs::current_path(before);
    EXPECT_EQ(relative, L"\\\\?\\" + deep.wstring() + L"\\x\\" + std::wstring(100, L'n'));
    EXPECT_EQ(nul, L"NUL");
    EXPECT_EQ(system_path("a/b.zib"), L"a/b.zib");
}

}  // namespace
