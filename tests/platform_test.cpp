// The POSIX platform services: the three ways of opening an output, source
// opens, and the Windows-like wildcard search.
#include "platform/dir_search.hpp"
#include "platform/file.hpp"
#include "platform/stream.hpp"
#include "platform/posix/wildcard.hpp"
#include "test_files.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct open_case {
    const char* why;
    open_way way;
    const char* existing;  // nullptr: nothing at the path
    bool opens;
    std::string content_after;  // after "x\n" is written, when it opens: the bytes as given
};

void PrintTo(const open_case& c, std::ostream* os)
{
    *os << c.why;
}

class OutputWays : public testing::TestWithParam<open_case> {};

TEST_P(OutputWays, OpenWriteAndLeaveTheRightBytes)
{
    const open_case& c = GetParam();
    scratch_dir dir;
    const fs::path path = dir.path / "out.txt";
    if (c.existing != nullptr)
        write_bytes(path, c.existing);
    output_stream out;
    ASSERT_EQ(output_open(out, path.string(), c.way), c.opens ? 1 : 0) << c.why;
    EXPECT_EQ(out.failed, !c.opens);
    output_write(out, "x\n");
    EXPECT_EQ(output_close(out), c.opens ? 1 : 0);
    EXPECT_EQ(escaped(read_bytes(path)), escaped(c.content_after)) << c.why;
}

INSTANTIATE_TEST_SUITE_P(
    Ways, OutputWays,
    testing::Values(open_case{"create new makes a file", open_way::create_new, nullptr, true, "x\n"},
                    open_case{"create new leaves an existing file alone", open_way::create_new, "old", false, "old"},
                    open_case{"overwrite cuts the old content", open_way::overwrite, "old", true, "x\n"},
                    open_case{"overwrite creates", open_way::overwrite, nullptr, true, "x\n"},
                    open_case{"append keeps a last 0x1A", open_way::append, "old\x1A", true, "old\x1Ax\n"},
                    open_case{"append creates", open_way::append, nullptr, true, "x\n"}),
    [](const testing::TestParamInfo<open_case>& tested) { return case_name(tested.param.why); });

TEST(OutputOpen, NewFileIsWritableAndOpenStreamIsNotReopened)
{
    scratch_dir dir;
    const fs::path first = dir.path / "a.txt";
    const fs::path second = dir.path / "b.txt";
    output_stream out;
    ASSERT_EQ(output_open(out, first.string(), open_way::create_new), 1);
    struct stat status;
    ASSERT_EQ(::stat(first.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0600, 0600u);
    EXPECT_EQ(output_open(out, second.string(), open_way::overwrite), 0);
    EXPECT_TRUE(out.failed);
    EXPECT_FALSE(fs::exists(second));
}

TEST(OutputOpen, RefusesDirectoriesLinksAndAbsentFolders)
{
    scratch_dir dir;
    fs::create_directory(dir.path / "dir.txt");
    fs::create_symlink(dir.path / "nowhere", dir.path / "link.txt");
    for (open_way way : {open_way::create_new, open_way::overwrite, open_way::append}) {
        native_file file = no_file;
        EXPECT_EQ(file_open_output((dir.path / "dir.txt").string(), way, file), 0);
        EXPECT_EQ(file_open_output((dir.path / "missing" / "a.txt").string(), way, file), 0);
    }
    native_file file = no_file;
    EXPECT_EQ(file_open_output((dir.path / "link.txt").string(), open_way::create_new, file), 0);
    EXPECT_FALSE(fs::exists(dir.path / "nowhere"));
}

TEST(SourceOpen, OnlyRegularFilesAndNeverBlocks)
{
    scratch_dir dir;
    write_bytes(dir.path / "a.zib", "A");
    fs::create_directory(dir.path / "d.zib");
    ASSERT_EQ(::mkfifo((dir.path / "f.zib").c_str(), 0600), 0);
    fs::create_symlink(dir.path / "a.zib", dir.path / "l.zib");
    struct row {
        const char* name;
        int opens;
    };
    for (const row r : {row{"a.zib", 1}, row{"l.zib", 1}, row{"d.zib", 0}, row{"f.zib", 0}, row{"none.zib", 0}}) {
        source_stream in;
        EXPECT_EQ(source_open(in, (dir.path / r.name).string()), r.opens) << r.name;
    }
}

TEST(SourceOpen, BackslashesSeparateFolders)
{
    scratch_dir dir;
    fs::create_directory(dir.path / "texty");
    write_bytes(dir.path / "texty" / "a.zib", "A");
    source_stream in;
    EXPECT_EQ(source_open(in, dir.path.string() + "\\texty\\a.zib"), 1);
}

TEST(FileIdentity, SameFileThroughHardLinkAndOtherSpelling)
{
    scratch_dir dir;
    write_bytes(dir.path / "a.zib", "A");
    write_bytes(dir.path / "b.zib", "B");
    fs::create_hard_link(dir.path / "a.zib", dir.path / "a.txt");
    file_identity a{}, link{}, spelled{}, b{};
    ASSERT_EQ(path_identity((dir.path / "a.zib").string(), a), 1);
    ASSERT_EQ(path_identity((dir.path / "a.txt").string(), link), 1);
    ASSERT_EQ(path_identity(dir.path.string() + "/./a.zib", spelled), 1);
    ASSERT_EQ(path_identity((dir.path / "b.zib").string(), b), 1);
    EXPECT_TRUE(same_file(a, link));
    EXPECT_TRUE(same_file(a, spelled));
    EXPECT_FALSE(same_file(a, b));
    EXPECT_EQ(path_identity((dir.path / "none").string(), b), 0);
}

struct match_case {
    const char* pattern;
    const char* name;
    int matches;
};

void PrintTo(const match_case& c, std::ostream* os)
{
    *os << c.pattern << " ~ " << c.name;
}

class Wildcards : public testing::TestWithParam<match_case> {};

TEST_P(Wildcards, MatchLikeWindows)
{
    const match_case& c = GetParam();
    EXPECT_EQ(wildcard_match(c.pattern, c.name), c.matches) << c.pattern << " ~ " << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, Wildcards,
    testing::Values(match_case{"*.zib", "a.zib", 1}, match_case{"*.zib", "A.ZIB", 1},
                    match_case{"*.ZIB", "a.zib", 1}, match_case{"*.zib", "a.b.zib", 1},
                    match_case{"*.zib", "a.zib.bak", 0}, match_case{"*.zib", "azib", 0},
                    match_case{"*.zib", ".zib", 1}, match_case{"*.zib", ".", 0},
                    match_case{"*.*", "dopis", 1},  // every name, those without a dot too
                    match_case{"*.*", "a.b", 1}, match_case{"*.*", "..", 1}, match_case{"*", ".", 1},
                    match_case{"*.", "dopis", 1}, match_case{"*.", "dopis.txt", 0},
                    match_case{"?.zib", "a.zib", 1}, match_case{"?.zib", "ab.zib", 0},
                    match_case{"a?.zib", "a.zib", 1},  // ? may match nothing before a dot
                    match_case{"a??", "a", 1}, match_case{"a?b", "a.b", 0},
                    match_case{"zdroj.zib", "ZDROJ.ZIB", 1}, match_case{"zdroj.zib", "zdroj.zi", 0},
                    match_case{"a*b*c", "aXbYbZc", 1}, match_case{"", "a", 0},
                    match_case{"a\"", "a\"", 1}, match_case{"x<y", "xzzy", 0},  // legal name characters here
                    match_case{"\xE1*", "\xC1x", 0}),  // only ASCII letters fold
    [](const testing::TestParamInfo<match_case>& tested) {
        return std::to_string(tested.index) + "_" + case_name(std::string(tested.param.pattern) + "_" + tested.param.name);
    });

TEST(DirectoryOrder, LetterCaseIgnoredTiesByBytes)
{
    std::vector<std::string> names = {"b.zib", "_x", "a.zib", "B.zib", "A.zib", "c.ZIB", "1"};
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return directory_order(a, b) < 0; });
    // Windows sorts by upper case, so the underscore (0x5F) comes after letters.
    EXPECT_EQ(names, (std::vector<std::string>{"1", "A.zib", "a.zib", "B.zib", "b.zib", "c.ZIB", "_x"}));
}

TEST(FindEntries, OwnEntriesFirstThenDirectoryOrder)
{
    scratch_dir dir;
    for (const char* name : {"b.zib", "A.zib", "c.ZIB", "d.txt"})
        write_bytes(dir.path / name, "");
    fs::create_directory(dir.path / "sub.zib");
    const std::string root = dir.path.string();
    EXPECT_EQ(find_entries(root + "/*.zib"), (std::vector<std::string>{"A.zib", "b.zib", "c.ZIB", "sub.zib"}));
    EXPECT_EQ(find_entries(root + "\\*"),
              (std::vector<std::string>{".", "..", "A.zib", "b.zib", "c.ZIB", "d.txt", "sub.zib"}));
    EXPECT_EQ(find_entries(root + "/B.ZIB"), (std::vector<std::string>{"b.zib"}));
    EXPECT_TRUE(find_entries(root + "/none/*.zib").empty());
    EXPECT_TRUE(find_entries(root + "/").empty());
}

}  // namespace
