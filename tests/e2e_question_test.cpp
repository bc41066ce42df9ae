// The existing-file question: its keys, where the key comes from, and the
// terminal's state after it.
#include "e2e_transcript.hpp"
#include "test_files.hpp"

#include <csignal>
#include <unistd.h>

namespace {

const e2e_case existing_output_cases[] = {
    e2e_case{"1 overwrites",
             {"a.zib"},
             {{"a.zib", cast_zib}, {"a.txt", "old text"}},
             per_file(lines{"a.zib --> a.txt"} + question("a.txt", "Prepsat.")),
             {{"a.txt", cast_txt}},
             {"1"}},
    e2e_case{"2 appends after a last 0x1A",
             {"a.zib"},
             {{"a.zib", cast_zib}, {"a.txt", "old\x1A"}},
             per_file(lines{"a.zib --> a.txt"} + question("a.txt", "Pripojit na konec.")),
             {{"a.txt", "old\x1A" + cast_txt}},
             {"2"}},
    e2e_case{
        "3 overwrites all and asks once",
        {"*.zib"},
        {{"a.zib", cast_zib}, {"a.txt", "1"}, {"b.zib", ruze_zib}, {"b.txt", "2"}, {"c.zib", pes_zib}, {"c.txt", "3"}},
        per_file(lines{"a.zib --> a.txt"} + question("a.txt", "Prepsat.") + lines{"b.zib --> b.txt"}
                 + question("b.txt", "Prepsat.") + lines{"c.zib --> c.txt"} + question("c.txt", "Prepsat.")),
        {{"a.txt", cast_txt}, {"b.txt", ruze_txt}, {"c.txt", pes_txt}},
        {"3"}},
    e2e_case{"4 appends to all and asks once",
             {"*.zib"},
             {{"a.zib", cast_zib}, {"a.txt", "1"}, {"b.zib", ruze_zib}, {"c.zib", pes_zib}, {"c.txt", "3"}},
             per_file(lines{"a.zib --> a.txt"} + question("a.txt", "Pripojit na konec.")
                      + lines{"b.zib --> b.txt", "c.zib --> c.txt"} + question("c.txt", "Pripojit na konec.")),
             {{"a.txt", "1" + cast_txt}, {"b.txt", ruze_txt}, {"c.txt", "3" + pes_txt}},
             {"4"}},
    e2e_case{"1 is asked again at the next file",
             {"*.zib"},
             {{"a.zib", cast_zib}, {"a.txt", "1"}, {"b.zib", ruze_zib}, {"b.txt", "2"}},
             per_file(lines{"a.zib --> a.txt"} + question("a.txt", "Prepsat.") + lines{"b.zib --> b.txt"}
                      + question("b.txt", "Pripojit na konec.")),
             {{"a.txt", cast_txt}, {"b.txt", "2" + ruze_txt}},
             {"1", "2"}},
    e2e_case{"declined at the second file",
             {"*.zib"},
             {{"a.zib", cast_zib}, {"b.zib", ruze_zib}, {"b.txt", "keep"}, {"c.zib", pes_zib}},
             per_file(lines{"a.zib --> a.txt", "b.zib --> b.txt"} + question("b.txt", "decline"), false),
             {{"a.txt", cast_txt}},
             {"n"}},
    e2e_case{"output is a folder, 1",
             {"a.zib"},
             {{"a.zib", cast_zib}, {"a.txt", "<dir>"}},
             per_file(lines{"a.zib --> a.txt"} + question("a.txt", "Prepsat.") + lines{"Chyba. Nelze prepsat."}, false),
             {},
             {"1"}},
    e2e_case{"output is a folder, 2",
             {"a.zib"},
             {{"a.zib", cast_zib}, {"a.txt", "<dir>"}},
             per_file(lines{"a.zib --> a.txt"} + question("a.txt", "Pripojit na konec.")
                          + lines{"Chyba. Nelze pripojit na konec."},
                      false),
             {},
             {"2"}},
    e2e_case{"a key typed ahead answers at once",
             {"a.zib"},
             {{"a.zib", cast_zib}, {"a.txt", "old"}},
             per_file(lines{"a.zib --> a.txt"} + question("a.txt", "Pripojit na konec.")),
             {{"a.txt", "old" + cast_txt}},
             {},
             false,
             console_kind::terminal,
             "2"},
    e2e_case{"the key comes from the console when standard input is redirected",
             {"a.zib"},
             {{"a.zib", cast_zib}, {"a.txt", "old"}},
             per_file(lines{"a.zib --> a.txt"} + question("a.txt", "Prepsat.")),
             {{"a.txt", cast_txt}},
             {"1"},
             false,
             console_kind::stdin_redirected,
             "",
             "2"},
    e2e_case{"no console declines",
             {"a.zib"},
             {{"a.zib", cast_zib}, {"a.txt", "old"}},
             per_file(lines{"a.zib --> a.txt"} + question("a.txt", "decline"), false),
             {},
             {},
             false,
             console_kind::none},
};

INSTANTIATE_TEST_SUITE_P(ExistingOutput, Transcript, testing::ValuesIn(existing_output_cases), name_of);

// Every other key declines, and keys without a character are taken whole.
// A key's bytes stay out of the test names, which tools show as text.
struct declining_key {
    const char* name;
    const char* bytes;
};

void PrintTo(const declining_key& key, std::ostream* os)
{
    *os << key.name;
}

class DecliningKey : public testing::TestWithParam<declining_key> {};

TEST_P(DecliningKey, LeavesTheFileAndEndsTheRun)
{
    if (under_wine() && std::string(GetParam().bytes) == "\x03")
        GTEST_SKIP() << "wine leaves signals on at the terminal, so Ctrl+C interrupts instead of arriving as a key";
    scratch_dir dir;
    const tree files = {{"a.zib", cast_zib}, {"a.txt", "old"}, {"b.zib", pes_zib}};
    make_tree(dir.path, files);
    run_options options;
    options.args = {"*.zib"};
    options.keys = {GetParam().bytes};
    const run_result result = run_converter(dir.path, options);
    EXPECT_EQ(escaped(result.console),
              escaped(console_of(per_file(lines{"a.zib --> a.txt"} + question("a.txt", "decline"), false))))
        << describe(result);
    EXPECT_EQ(result.exit_status, 0) << "Ctrl+C is a key, not an interrupt";
    EXPECT_EQ(escaped(result.unread_keys), "");
    EXPECT_TRUE(result.modes_restored);
    EXPECT_EQ(shown(read_tree(dir.path)), shown(files));
}

const declining_key declining_keys[] = {
    {"Enter", "\r"},
    {"Escape", "\x1B"},
    {"Space", " "},
    {"Letter", "x"},
    {"Five", "5"},
    {"Zero", "0"},
    {"CtrlC", "\x03"},
    {"ArrowUp", "\x1B[A"},
    {"F5", "\x1B[15~"},
    {"F1", "\x1BOP"},
    {"F1OnTheLinuxConsole", "\x1B[[A"},
    {"AltOne",
     "\x1B"
     "1"},
    {"Utf8Letter", "\xC5\x99"},  // a letter in UTF-8 is one key of several bytes
};

INSTANTIATE_TEST_SUITE_P(Keys, DecliningKey, testing::ValuesIn(declining_keys),
                         [](const testing::TestParamInfo<declining_key>& key) { return std::string(key.param.name); });

TEST(KeyRead, SignalWhileWaitingRestoresTheTerminal)
{
    if (under_wine())
        GTEST_SKIP() << "POSIX signals";
    // Every signal whose default action ends the process.
    for (int signal : {SIGTERM, SIGHUP, SIGQUIT, SIGINT, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU}) {
        scratch_dir dir;
        make_tree(dir.path, {{"a.zib", cast_zib}, {"a.txt", "old"}});
        run_options options;
        options.args = {"a.zib"};
        options.signal_at_question = signal;
        const run_result result = run_converter(dir.path, options);
        EXPECT_EQ(result.exit_status, 128 + signal) << describe(result);
        EXPECT_EQ(
            escaped(result.console),
            escaped(console_of(per_file(
                {"a.zib --> a.txt", "Nelze vytvorit vystupni soubor a.txt nebo takovy soubor jiz existuje.", choices},
                false))))
            << "signal " << signal;
        EXPECT_TRUE(result.modes_restored) << "signal " << signal;
        EXPECT_EQ(read_bytes(dir.path / "a.txt"), "old");
    }
}

TEST(KeyRead, IgnoredSignalStaysIgnored)
{
    if (under_wine())
        GTEST_SKIP() << "POSIX signals";
    scratch_dir dir;
    make_tree(dir.path, {{"a.zib", cast_zib}, {"a.txt", "old"}});
    run_options options;
    options.args = {"a.zib"};
    options.ignored_signal = SIGQUIT;  // as in a background job of a script
    options.signal_at_question = SIGQUIT;
    options.keys = {"1"};
    const run_result result = run_converter(dir.path, options);
    EXPECT_EQ(escaped(result.console),
              escaped(console_of(per_file(lines{"a.zib --> a.txt"} + question("a.txt", "Prepsat.")))))
        << describe(result);
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(read_bytes(dir.path / "a.txt"), cast_txt);
}

TEST(ExistingOutput, ReadOnlyFileIsNotReplacedOrExtended)
{
    // Root writes read-only files, so as root the program runs as nobody.
    const bool as_root = ::geteuid() == 0;
    if (as_root && under_wine())
        GTEST_SKIP() << "wine writes read-only files for root, and nobody has no wine prefix";
    constexpr int nobody = 65534;
    struct row {
        const char* key;
        const char* decision;
        const char* failure;
    };
    for (const row r : {row{"1", "Prepsat.", "Chyba. Nelze prepsat."},
                        row{"2", "Pripojit na konec.", "Chyba. Nelze pripojit na konec."}}) {
        scratch_dir dir;
        make_tree(dir.path, {{"a.zib", cast_zib}, {"a.txt", "old"}});
        std::filesystem::permissions(dir.path / "a.txt", std::filesystem::perms::owner_read);
        run_options options;
        if (as_root) {
            options.user = nobody;
            for (const char* name : {"", "a.zib", "a.txt"})
                ASSERT_EQ(::chown((dir.path / name).c_str(), nobody, nobody), 0);
        }
        options.args = {"a.zib"};
        options.keys = {r.key};
        const run_result result = run_converter(dir.path, options);
        if (as_root && result.exit_status == 127 && result.console.empty())
            GTEST_SKIP() << "nobody may not run the program from this folder";
        EXPECT_EQ(escaped(result.console),
                  escaped(console_of(
                      per_file(lines{"a.zib --> a.txt"} + question("a.txt", r.decision) + lines{r.failure}, false))))
            << describe(result);
        EXPECT_EQ(read_bytes(dir.path / "a.txt"), "old");
    }
}

}  // namespace
