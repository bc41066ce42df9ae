// Faults that real machines produce, each case named after the fault it
// catches: reads that fail, disks that fill, size limits, outputs linked to
// sources, odd names, deep folders, signals and stops at the question. The
// console, the files afterwards and the exit status are checked, and the
// harness's time limit catches a run that hangs.
#include "e2e_transcript.hpp"
#include "test_files.hpp"

#include <csignal>
#include <sys/mount.h>
#include <unistd.h>

namespace {

const std::string write_failed = "Chyba pri zapisu do vystupniho souboru ";
const std::string read_failed = "Chyba pri cteni vstupniho souboru ";

// A row whose run meets the faults named (see fault_shim.cpp).
e2e_case meeting(std::vector<std::string> faults, e2e_case row)
{
    row.faults = std::move(faults);
    return row;
}

// A row whose run may write no file larger than `bytes`.
e2e_case limited(unsigned long bytes, e2e_case row)
{
    row.file_size_limit = bytes;
    return row;
}

// Longer than a read and than a write of the program, so that a fault can
// strike after some of it has gone through.
const std::string long_zib(600000, 'A');
const std::string& long_txt = long_zib;

const e2e_case read_error_cases[] = {
    e2e_case{"a source that fails at its first read is reported, not taken for empty",
             {"m.zib"},
             {{"m.zib", "-> /proc/self/mem"}},
             per_file({"m.zib --> m.txt", read_failed + "m.zib."}, false),
             {},
             {},
             true},
    meeting({"ZODIDEZI_FAULT_READ=b.zib@300000"},
            e2e_case{"a read error halfway removes the new output",
                     {"*.zib"},
                     {{"a.zib", cast_zib}, {"b.zib", long_zib}, {"c.zib", pes_zib}},
                     per_file({"a.zib --> a.txt", "b.zib --> b.txt", read_failed + "b.zib."}, false),
                     {{"a.txt", cast_txt}}}),
    meeting({"ZODIDEZI_FAULT_READ=b.zib@300000"},
            e2e_case{"a read error cuts an appended output back",
                     {"texty/b.zib"},
                     {{"texty/b.zib", long_zib}, {"texty/b.txt", "old"}},
                     per_file(lines{"b.zib --> b.txt"} + question("texty/b.txt", "Pripojit na konec.")
                                  + lines{read_failed + "texty/b.zib."},
                              false),
                     {},
                     {"2"}}),
    meeting({"ZODIDEZI_FAULT_READ=b.zib@0"},
            e2e_case{"a read error in a merged run removes the whole new output",
                     {"*.zib", "vse.txt"},
                     {{"a.zib", cast_zib}, {"b.zib", long_zib}},
                     merged("vse.txt", {"a.zib --> vse.txt", "b.zib --> vse.txt", read_failed + "b.zib."}, false),
                     {}}),
};

INSTANTIATE_TEST_SUITE_P(ReadError, Transcript, testing::ValuesIn(read_error_cases), name_of);

const e2e_case full_disk_cases[] = {
    meeting({"ZODIDEZI_FAULT_WRITE=b.txt@1000"},
            e2e_case{"a full disk removes the new output and keeps the finished ones",
                     {"*.zib"},
                     {{"a.zib", cast_zib}, {"b.zib", long_zib}, {"c.zib", pes_zib}},
                     per_file({"a.zib --> a.txt", "b.zib --> b.txt", write_failed + "b.txt."}, false),
                     {{"a.txt", cast_txt}}}),
    meeting({"ZODIDEZI_FAULT_WRITE=b.txt@1000"},
            e2e_case{"a full disk cuts an appended output back, so a second run does not append after a torn tail",
                     {"b.zib"},
                     {{"b.zib", long_zib}, {"b.txt", "old"}},
                     per_file(lines{"b.zib --> b.txt"} + question("b.txt", "Pripojit na konec.")
                                  + lines{write_failed + "b.txt."},
                              false),
                     {},
                     {"2"}}),
    meeting({"ZODIDEZI_FAULT_WRITE=b.txt@1000"},
            e2e_case{"a full disk leaves an overwritten output with what reached it",
                     {"b.zib"},
                     {{"b.zib", long_zib}, {"b.txt", "old"}},
                     per_file(lines{"b.zib --> b.txt"} + question("b.txt", "Prepsat.") + lines{write_failed + "b.txt."},
                              false),
                     {{"b.txt", long_txt.substr(0, 1000)}},
                     {"1"}}),
    meeting({"ZODIDEZI_FAULT_WRITE=vse.txt@100"},
            e2e_case{"a full disk in a merged run cuts the appended output back to what it held",
                     {"*.zib", "vse.txt"},
                     {{"a.zib", cast_zib}, {"b.zib", long_zib}, {"vse.txt", "old"}},
                     merged("vse.txt",
                            question("vse.txt", "Pripojit na konec.")
                                + lines{"a.zib --> vse.txt", "b.zib --> vse.txt", write_failed + "vse.txt."},
                            false),
                     {},
                     {"2"}}),
    meeting(
        {"ZODIDEZI_FAULT_WRITE=vse.txt@1000"},
        e2e_case{"a full disk in a merged run is reported when a later source does not open",
                 {"*.zib", "vse.txt"},
                 {{"a.zib", cast_zib + long_zib.substr(0, 5000)}, {"b.zib", "<dir>"}},
                 merged("vse.txt",
                        {"a.zib --> vse.txt", "Vstupni soubor b.zib nelze otevrit.", write_failed + "vse.txt."}, false),
                 {}}),
    limited(48UL * 1024, e2e_case{"a file-size limit is a failed write, not a silent death",
                                  {"b.zib"},
                                  {{"b.zib", long_zib}},
                                  per_file({"b.zib --> b.txt", write_failed + "b.txt."}, false),
                                  {}}),
    meeting({"ZODIDEZI_FAULT_SHORT=1", "ZODIDEZI_FAULT_EINTR=1"},
            e2e_case{"interrupted calls and short writes lose nothing",
                     {"*.zib"},
                     {{"a.zib", cast_zib}, {"b.zib", long_zib}},
                     per_file({"a.zib --> a.txt", "b.zib --> b.txt"}),
                     {{"a.txt", cast_txt}, {"b.txt", long_txt}}}),
};

INSTANTIATE_TEST_SUITE_P(FullDisk, Transcript, testing::ValuesIn(full_disk_cases), name_of);

const e2e_case name_cases[] = {
    e2e_case{"an output hard-linked to a later source is skipped, even after overwrite all",
             {"*.zib"},
             {{"0.zib", ruze_zib}, {"0.txt", "old"}, {"a.zib", cast_zib}, {"b.zib", pes_zib}, {"a.txt", "=> b.zib"}},
             per_file(lines{"0.zib --> 0.txt"} + question("0.txt", "Prepsat.")
                      + lines{"a.zib --> a.txt", same_file, "b.zib --> b.txt"}),
             {{"0.txt", ruze_txt}, {"b.txt", pes_txt}},
             {"3"}},
    e2e_case{"an output that is a symbolic link to a later source is skipped",
             {"*.zib"},
             {{"0.zib", ruze_zib}, {"0.txt", "old"}, {"a.zib", cast_zib}, {"b.zib", pes_zib}, {"a.txt", "-> b.zib"}},
             per_file(lines{"0.zib --> 0.txt"} + question("0.txt", "Prepsat.")
                      + lines{"a.zib --> a.txt", same_file, "b.zib --> b.txt"}),
             {{"0.txt", ruze_txt}, {"b.txt", pes_txt}},
             {"3"},
             true},
    e2e_case{"a backslash in a found name is part of the name, not a folder",
             {"*.zib"},
             {{"x\\y.zib", cast_zib}, {"x/y.zib", ruze_zib}},
             per_file({"x\\y.zib --> x\\y.txt"}),
             {{"x\\y.txt", cast_txt}},
             {},
             true},
};

INSTANTIATE_TEST_SUITE_P(Names, Transcript, testing::ValuesIn(name_cases), name_of);

TEST(DeepPaths, AFolderOfFiveThousandBytesInBothModes)
{
    if (under_wine())
        GTEST_SKIP() << "Windows takes such paths in its own long form, tested with the Windows build";
    scratch_dir dir;
    std::string deep;
    while (deep.size() < 5000)
        deep += std::string(200, 'd') + "/";
    const deep_folder folder(dir.path, deep);
    folder.write("a.zib", cast_zib);
    folder.write("b.zib", ruze_zib);

    run_options options;
    options.args = {deep + "*.zib"};
    run_result result = run_converter(dir.path, options);
    EXPECT_EQ(escaped(result.console), escaped(console_of(per_file({"a.zib --> a.txt", "b.zib --> b.txt"}))))
        << describe(result);
    EXPECT_EQ(folder.read("a.txt"), cast_txt);
    EXPECT_EQ(folder.read("b.txt"), ruze_txt);

    options.args = {deep + "*.zib", deep + "vse.txt"};
    result = run_converter(dir.path, options);
    EXPECT_EQ(escaped(result.console),
              escaped(console_of(
                  merged(deep + "vse.txt", {"a.zib --> " + deep + "vse.txt", "b.zib --> " + deep + "vse.txt"}))))
        << describe(result);
    EXPECT_EQ(folder.read("vse.txt"), cast_txt + separator + ruze_txt);
}

TEST(LongPattern, TwoThousandNamesAgainstAPatternOf120000CharactersEndInTime)
{
    if (under_wine())
        GTEST_SKIP() << "a Windows command line holds 32,767 characters, and Windows matches with its own search";
    scratch_dir dir;
    tree files;
    // Long names: a matcher that fills a table of pattern by name takes
    // minutes over them.
    for (int i = 0; i < 2000; ++i)
        files[std::string(230, 'n') + std::to_string(i) + ".zib"] = "";
    files["a.zib"] = cast_zib;
    make_tree(dir.path, files);
    run_options options;
    // Its stars are one star; the name is a, then anything, then .zib.
    options.args = {"a" + std::string(119995, '*') + ".zib"};
    const run_result result = run_converter(dir.path, options);
    EXPECT_FALSE(result.timed_out);
    EXPECT_EQ(escaped(result.console), escaped(console_of(per_file({"a.zib --> a.txt"})))) << describe(result);
    EXPECT_EQ(read_bytes(dir.path / "a.txt"), cast_txt);
}

TEST(StopAtTheQuestion, TheShellHasItsModesWhileStoppedAndAKeyCountsAtOnceAfterwards)
{
    if (under_wine())
        GTEST_SKIP() << "POSIX job control";
    scratch_dir dir;
    make_tree(dir.path, {{"a.zib", cast_zib}, {"a.txt", "old"}});
    run_options options;
    options.args = {"a.zib"};
    options.stop_at_question = true;
    options.keys = {"1"};
    const run_result result = run_converter(dir.path, options);
    EXPECT_TRUE(result.stopped) << describe(result);
    EXPECT_TRUE(result.modes_restored_while_stopped);
    EXPECT_EQ(escaped(result.console),
              escaped(console_of(per_file(lines{"a.zib --> a.txt"} + question("a.txt", "Prepsat.")))))
        << describe(result);
    EXPECT_EQ(escaped(result.unread_keys), "") << "the 1 is taken at once, with no Enter after it";
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_TRUE(result.modes_restored);
    EXPECT_EQ(read_bytes(dir.path / "a.txt"), cast_txt);
}

TEST(StopAtTheQuestion, ABackgroundJobStoppedAtTheTerminalEndsAtKill)
{
    if (under_wine())
        GTEST_SKIP() << "POSIX job control";
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        scratch_dir dir;
        make_tree(dir.path, {{"a.zib", cast_zib}, {"a.txt", "old"}});
        run_options options;
        options.args = {"a.zib"};
        options.background_job = true;
        options.signal_at_question = signal;
        const run_result result = run_converter(dir.path, options);
        EXPECT_TRUE(result.stopped) << "it stops at the terminal, which is not its own";
        EXPECT_FALSE(result.timed_out) << "signal " << signal << "\n" << describe(result);
        EXPECT_EQ(result.exit_status, 128 + signal) << describe(result);
        EXPECT_TRUE(result.modes_restored) << "the shell's modes, never touched";
        EXPECT_EQ(read_bytes(dir.path / "a.txt"), "old");
    }
}

// A real small file system where mounting is allowed.
struct small_disk {
    std::filesystem::path path;
    bool mounted = false;
    explicit small_disk(const std::filesystem::path& at) : path(at)
    {
        std::filesystem::create_directory(path);
        mounted = ::mount("tmpfs", path.c_str(), "tmpfs", 0, "size=64k") == 0;
    }
    ~small_disk()
    {
        if (mounted)
            ::umount2(path.c_str(), MNT_DETACH);
    }
};

TEST(FullDisk, ARealSmallFileSystemUndoesTheOutputByHowItWasOpened)
{
    if (under_wine())
        GTEST_SKIP() << "POSIX mounts";
    scratch_dir dir;
    small_disk disk(dir.path / "disk");
    if (!disk.mounted)
        GTEST_SKIP() << "mounting a tmpfs is not allowed here (it needs root and a mount namespace of one's own)";
    write_bytes(dir.path / "a.zib", long_zib);
    struct row {
        const char* why;
        const char* before;  // nullptr: no output yet
        const char* key;
    };
    for (const row r : {row{"created new: removed", nullptr, ""}, row{"appended: cut back", "old", "2"}}) {
        if (r.before != nullptr)
            write_bytes(disk.path / "vse.txt", r.before);
        run_options options;
        options.args = {"a.zib", "disk/vse.txt"};
        if (r.before != nullptr)
            options.keys = {r.key};
        const run_result result = run_converter(dir.path, options);
        const lines asked = r.before != nullptr ? question("disk/vse.txt", "Pripojit na konec.") : lines{};
        EXPECT_EQ(escaped(result.console),
                  escaped(console_of(merged(
                      "disk/vse.txt", asked + lines{"a.zib --> disk/vse.txt", write_failed + "disk/vse.txt."}, false))))
            << r.why << "\n"
            << describe(result);
        if (r.before != nullptr)
            EXPECT_EQ(read_bytes(disk.path / "vse.txt"), r.before) << r.why;
        else
            EXPECT_FALSE(std::filesystem::exists(disk.path / "vse.txt")) << r.why;
    }
}

}  // namespace
