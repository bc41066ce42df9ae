// The POSIX platform services: the three ways of opening an output, source
// opens, and the Windows-like wildcard search.
#include "opened_folder.hpp"
#include "platform/dir_search.hpp"
#include "platform/file.hpp"
#include "platform/posix/wildcard.hpp"
#include "platform/stream.hpp"
#include "test_files.hpp"

#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
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
    opened_folder here(dir.path);
    const fs::path path = dir.path / "out.txt";
    if (c.existing != nullptr)
        write_bytes(path, c.existing);
    output_stream out;
    ASSERT_EQ(output_open(out, here.in, "out.txt", c.way), c.opens ? 1 : 0) << c.why;
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
    opened_folder here(dir.path);
    const fs::path first = dir.path / "a.txt";
    const fs::path second = dir.path / "b.txt";
    output_stream out;
    ASSERT_EQ(output_open(out, here.in, "a.txt", open_way::create_new), 1);
    struct stat status;
    ASSERT_EQ(::stat(first.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0600, 0600u);
    EXPECT_EQ(output_open(out, here.in, "b.txt", open_way::overwrite), 0);
    EXPECT_TRUE(out.failed);
    EXPECT_FALSE(fs::exists(second));
}

TEST(OutputOpen, RefusesDirectoriesLinksAndAbsentFolders)
{
    scratch_dir dir;
    opened_folder here(dir.path);
    opened_folder missing(dir.path / "missing");
    fs::create_directory(dir.path / "dir.txt");
    fs::create_symlink(dir.path / "nowhere", dir.path / "link.txt");
    for (open_way way : {open_way::create_new, open_way::overwrite, open_way::append}) {
        native_file file = no_file;
        EXPECT_EQ(file_open_output(here.in, "dir.txt", way, file), 0);
        EXPECT_EQ(file_open_output(missing.in, "a.txt", way, file), 0);
    }
    native_file file = no_file;
    EXPECT_EQ(file_open_output(here.in, "link.txt", open_way::create_new, file), 0);
    EXPECT_FALSE(fs::exists(dir.path / "nowhere"));
}

TEST(SourceOpen, OnlyRegularFilesAndNeverBlocks)
{
    scratch_dir dir;
    opened_folder here(dir.path);
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
        EXPECT_EQ(source_open(in, here.in, r.name), r.opens) << r.name;
    }
}

// Another process holds a write lease on the source and gives it up when
// asked, as a file server does.
TEST(SourceOpen, WaitsForALeaseToBeGivenUp)
{
    scratch_dir dir;
    opened_folder here(dir.path);
    write_bytes(dir.path / "a.zib", "A");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        static int leased = -1;
        leased = ::open((dir.path / "a.zib").c_str(), O_RDWR);
        ::signal(SIGIO, [](int) { ::fcntl(leased, F_SETLEASE, F_UNLCK); });
        const char held = ::fcntl(leased, F_SETLEASE, F_WRLCK) == 0 ? 'y' : 'n';
        (void)!::write(ready[1], &held, 1);
        ::sleep(10);
        ::_exit(0);
    }
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    if (held != 'y') {
        ::kill(holder, SIGKILL);
        ::waitpid(holder, nullptr, 0);
        GTEST_SKIP() << "this file system takes no leases";
    }
    source_stream in;
    EXPECT_EQ(source_open(in, here.in, "a.zib"), 1);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
}

TEST(Folder, BackslashesSeparateTypedFoldersButNotFoundNames)
{
    scratch_dir dir;
    fs::create_directories(dir.path / "texty" / "x");
    write_bytes(dir.path / "texty" / "a.zib", "A");
    write_bytes(dir.path / "texty" / "x\\y.zib", "B");
    folder texty;
    ASSERT_EQ(folder_open(dir.path.string() + "\\texty\\", texty), 1);
    source_stream in;
    EXPECT_EQ(source_open(in, texty, "a.zib"), 1);
    source_stream named;
    EXPECT_EQ(source_open(named, texty, "x\\y.zib"), 1);
    ASSERT_EQ(source_fill(named), 1);
    EXPECT_EQ(named.buffer[0], 'B') << "the name as found, not x/y.zib";
    folder_close(texty);
}

// In the scratch folder for the length of a test.
struct working_in {
    fs::path before = fs::current_path();
    explicit working_in(const fs::path& folder)
    {
        fs::current_path(folder);
    }
    ~working_in()
    {
        fs::current_path(before);
    }
};

TEST(Folder, PathsLongerThanTheSystemTakesAtOnce)
{
    scratch_dir dir;
    std::string relative;
    while (relative.size() < 5000)
        relative += std::string(200, 'd') + "/";
    deep_folder made(dir.path, relative);
    // Typed relative to the current folder, as a user would.
    const working_in there(dir.path);
    folder far;
    ASSERT_EQ(folder_open(relative, far), 1);
    output_stream out;
    ASSERT_EQ(output_open(out, far, "a.txt", open_way::create_new), 1);
    output_write(out, "x");
    EXPECT_EQ(output_close(out), 1);
    source_stream in;
    ASSERT_EQ(source_open(in, far, "a.txt"), 1);
    EXPECT_EQ(source_fill(in), 1);
    EXPECT_EQ(find_entries(far, "*.txt"), std::vector<std::string>{"a.txt"});
    folder_close(far);
    EXPECT_EQ(made.read("a.txt"), "x");
    folder none;
    EXPECT_EQ(folder_open(relative + "none/", none), 0);
}

TEST(FileIdentity, SameFileThroughLinksAndOtherSpelling)
{
    scratch_dir dir;
    opened_folder here(dir.path);
    write_bytes(dir.path / "a.zib", "A");
    write_bytes(dir.path / "b.zib", "B");
    fs::create_hard_link(dir.path / "a.zib", dir.path / "a.txt");
    fs::create_symlink("a.zib", dir.path / "l.txt");
    fs::create_directory(dir.path / "d");
    file_identity a{}, link{}, symbolic{}, spelled{}, b{};
    ASSERT_EQ(name_identity(here.in, "a.zib", a), 1);
    ASSERT_EQ(name_identity(here.in, "a.txt", link), 1);
    ASSERT_EQ(name_identity(here.in, "l.txt", symbolic), 1);
    ASSERT_EQ(name_identity(here.in, "./a.zib", spelled), 1);
    ASSERT_EQ(name_identity(here.in, "b.zib", b), 1);
    EXPECT_TRUE(same_file(a, link));
    EXPECT_TRUE(same_file(a, symbolic));
    EXPECT_TRUE(same_file(a, spelled));
    EXPECT_FALSE(same_file(a, b));
    EXPECT_EQ(name_identity(here.in, "none", b), 0);
    EXPECT_EQ(name_identity(here.in, "d", b), 0) << "only regular files are sources";
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
    testing::Values(match_case{"*.zib", "a.zib", 1}, match_case{"*.zib", "A.ZIB", 1}, match_case{"*.ZIB", "a.zib", 1},
                    match_case{"*.zib", "a.b.zib", 1}, match_case{"*.zib", "a.zib.bak", 0},
                    match_case{"*.zib", "azib", 0}, match_case{"*.zib", ".zib", 1}, match_case{"*.zib", ".", 0},
                    match_case{"*.*", "dopis", 1},  // every name, those without a dot too
                    match_case{"*.*", "a.b", 1}, match_case{"*.*", "..", 1}, match_case{"*", ".", 1},
                    match_case{"*.", "dopis", 1}, match_case{"*.", "dopis.txt", 0}, match_case{"?.zib", "a.zib", 1},
                    match_case{"?.zib", "ab.zib", 0},
                    match_case{"a?.zib", "a.zib", 1},  // ? may match nothing before a dot
                    match_case{"a??", "a", 1}, match_case{"a?b", "a.b", 0}, match_case{"zdroj.zib", "ZDROJ.ZIB", 1},
                    match_case{"zdroj.zib", "zdroj.zi", 0}, match_case{"a*b*c", "aXbYbZc", 1}, match_case{"", "a", 0},
                    match_case{"a\"", "a\"", 1}, match_case{"x<y", "xzzy", 0},  // legal name characters here
                    match_case{"\xE1*", "\xC1x", 0}),                           // only ASCII letters fold
    [](const testing::TestParamInfo<match_case>& tested) {
        return std::to_string(tested.index) + "_"
             + case_name(std::string(tested.param.pattern) + "_" + tested.param.name);
    });

TEST(DirectoryOrder, LetterCaseIgnoredTiesByBytes)
{
    std::vector<std::string> names = {"b.zib", "_x", "a.zib", "B.zib", "A.zib", "c.ZIB", "1"};
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return directory_order(a, b) < 0;
    });
    // Windows sorts by upper case, so the underscore (0x5F) comes after letters.
    EXPECT_EQ(names, (std::vector<std::string>{"1", "A.zib", "a.zib", "B.zib", "b.zib", "c.ZIB", "_x"}));
}

TEST(FindEntries, OwnEntriesFirstThenDirectoryOrder)
{
    scratch_dir dir;
    opened_folder here(dir.path);
    opened_folder none(dir.path / "none");
    for (const char* name : {"b.zib", "A.zib", "c.ZIB", "d.txt"})
        write_bytes(dir.path / name, "");
    fs::create_directory(dir.path / "sub.zib");
    EXPECT_EQ(find_entries(here.in, "*.zib"), (std::vector<std::string>{"A.zib", "b.zib", "c.ZIB", "sub.zib"}));
    EXPECT_EQ(find_entries(here.in, "*"),
              (std::vector<std::string>{".", "..", "A.zib", "b.zib", "c.ZIB", "d.txt", "sub.zib"}));
    EXPECT_EQ(find_entries(here.in, "B.ZIB"), (std::vector<std::string>{"b.zib"}));
    EXPECT_TRUE(find_entries(none.in, "*.zib").empty());
    EXPECT_TRUE(find_entries(here.in, "").empty());
}

}  // namespace
