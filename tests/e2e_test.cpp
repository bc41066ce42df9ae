// The converter run as a user runs it: exact console bytes (CR LF included),
// the folder's files byte for byte afterwards, and the exit status.
#include "e2e_harness.hpp"
#include "test_files.hpp"

#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using lines = std::vector<std::string>;

const lines banner = {"", "ZODIDEZI 1.0 (Zibol --> Win1250)", "(c) 2026 Autori programu zodidezi", ""};
const lines usage = {
    "ZODIDEZI ZDROJ.ZIB [CIL.TXT]",
    "",
    "Priklady:",
    "zodidezi zdroj.zib            ..vytvori zdroj.txt",
    "zodidezi zdroj.zib cil.txt    ..vytvori cil.txt",
    "zodidezi *.zib                ..zpracuje vsechny *.zib na *.txt",
    "zodidezi *.zib cil.txt        ..zpracuje vsechny *.zib a spoji je do cil.txt",
    "",
};
const std::string choices = "(1) Prepsat, (2) Pripojit na konec, (3) Prepsat vsechny, (4) Pripojit vsechny";
const std::string same_file = "Vystupni soubor je totozny se vstupnim, preskakuji.";

// Sources and what they convert to. Hex escapes are cut short where a hex
// digit follows.
const std::string cast_zib = "\x27\x2A\x26" "t\x9B";     // "část" and a line end
const std::string cast_txt = "\xE8\xE1\x9A" "t\r\n";
const std::string ruze_zib = "R\x2B\x28" "e";           // "Růže", no line end
const std::string ruze_txt = "R\xF9\x9E" "e";
const std::string pes_zib = "Pes\x9B\x9B";
const std::string pes_txt = "Pes\r\n\r\n";

std::string console_of(const lines& body)
{
    std::string all;
    for (const lines* part : {&banner, &body})
        for (const std::string& line : *part)
            all += line + "\r\n";
    return all;
}

// A per-file run: its mode line, the body, and the finish when it gets there.
lines per_file(const lines& body, bool finished = true)
{
    lines all = {"Vystupni soubor(y) maji automaticky koncovku .txt", ""};
    all.insert(all.end(), body.begin(), body.end());
    if (finished)
        all.insert(all.end(), {"", "Ok."});
    return all;
}

// A merged run into `name`: its mode line, the body, and the finish.
lines merged(const std::string& name, const lines& body, bool finished = true)
{
    lines all = {"Vystup bude spojen do jednoho souboru " + name, ""};
    all.insert(all.end(), body.begin(), body.end());
    if (finished)
        all.insert(all.end(), {"", "Ok."});
    return all;
}

// What stands between two sources in a merged output, as the file holds it.
const std::string separator = "\r\n\r\n\r\n" + std::string(32, '-') + "\r\n\r\n\r\n";

lines question(const std::string& path, const std::string& then)
{
    lines all = {"Nelze vytvorit vystupni soubor " + path + " nebo takovy soubor jiz existuje.", choices};
    if (then == "decline")
        all.insert(all.end(), {"", "Ukonceno."});
    else
        all.push_back(then);
    return all;
}

lines operator+(lines a, const lines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct e2e_case {
    std::string name;
    std::vector<std::string> args;
    tree files;             // the folder before the run
    lines console;          // after the banner
    tree changed;           // entries new or different afterwards
    std::vector<std::string> keys = {};
    bool posix_only = false;  // needs what wine does not offer (FIFOs, links, devices)
    console_kind console_is = console_kind::terminal;
    std::string typed_ahead = "";
    std::string stdin_bytes = "";
};

void PrintTo(const e2e_case& c, std::ostream* os)
{
    *os << c.name;
}

tree shown(const tree& files)
{
    tree readable;
    for (const auto& [name, content] : files)
        readable[name] = escaped(content);
    return readable;
}

// The folder as it should be: hard links show their file's bytes, and the
// folders on the way to each entry are there.
tree expected_tree(const e2e_case& c)
{
    tree expected = c.files;
    for (auto& [name, content] : expected)
        if (content.rfind("=> ", 0) == 0)
            content = c.files.at(content.substr(3));
    for (const auto& [name, content] : c.changed)
        expected[name] = content;
    for (const tree::value_type& entry : tree(expected))
        for (std::size_t cut = entry.first.find('/'); cut != std::string::npos; cut = entry.first.find('/', cut + 1))
            expected[entry.first.substr(0, cut)] = "<dir>";
    return expected;
}

class Transcript : public testing::TestWithParam<e2e_case> {};

TEST_P(Transcript, ConsoleFilesAndExitStatus)
{
    const e2e_case& c = GetParam();
    if (under_wine() && (c.posix_only || c.console_is == console_kind::stdin_redirected))
        GTEST_SKIP() << "needs POSIX files, or a console with standard input redirected, which wine lacks";
    scratch_dir dir;
    make_tree(dir.path, c.files);
    run_options options;
    options.args = c.args;
    options.keys = c.keys;
    options.console = c.console_is;
    options.typed_ahead = c.typed_ahead;
    options.stdin_bytes = c.stdin_bytes;
    const run_result result = run_converter(dir.path, options);

    EXPECT_FALSE(result.timed_out) << describe(result);
    EXPECT_EQ(escaped(result.console), escaped(console_of(c.console))) << describe(result);
    EXPECT_EQ(escaped(result.errors), "");
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(escaped(result.unread_keys), "") << "the key read must take whole keys, and only them";
    EXPECT_TRUE(result.modes_restored);
    EXPECT_EQ(shown(read_tree(dir.path)), shown(expected_tree(c)));
}

std::string name_of(const testing::TestParamInfo<e2e_case>& tested)
{
    return case_name(tested.param.name);
}

INSTANTIATE_TEST_SUITE_P(
    Usage, Transcript,
    testing::Values(e2e_case{"no argument", {}, {{"a.zib", cast_zib}}, usage, {}},
                    e2e_case{"three arguments", {"a.zib", "b.txt", "c.txt"}, {{"a.zib", cast_zib}}, usage, {}},
                    e2e_case{"help long", {"--help"}, {}, usage, {}},
                    e2e_case{"help short", {"-h"}, {}, usage, {}},
                    e2e_case{"help the Windows way", {"/?"}, {}, usage, {}},
                    e2e_case{"version is the banner alone", {"--version"}, {{"a.zib", cast_zib}}, {}, {}},
                    e2e_case{"version beside a second argument is a pattern", {"--version", "cil.txt"}, {},
                             merged("cil.txt", {}), {{"cil.txt", ""}}}),
    name_of);

const std::string long_folder(200, 'f');
const std::string long_name = std::string(200, 'n');

INSTANTIATE_TEST_SUITE_P(
    PerFile, Transcript,
    testing::Values(
        e2e_case{"worked example",
                 {"texty\\zdroj.zib"},
                 {{"texty/zdroj.zib", cast_zib}},
                 per_file({"zdroj.zib --> zdroj.txt"}),
                 {{"texty/zdroj.txt", cast_txt}}},
        e2e_case{"slash folder and pattern",
                 {"texty/*.zib"},
                 {{"texty/a.zib", cast_zib}, {"texty/b.zib", ruze_zib}},
                 per_file({"a.zib --> a.txt", "b.zib --> b.txt"}),
                 {{"texty/a.txt", cast_txt}, {"texty/b.txt", ruze_txt}}},
        e2e_case{"a folder name with a blank reaches the program whole",
                 {"moje texty\\*.zib"},
                 {{"moje texty/a.zib", cast_zib}},
                 per_file({"a.zib --> a.txt"}),
                 {{"moje texty/a.txt", cast_txt}}},
        e2e_case{"slash then backslash",
                 {"a/b\\*.zib"},
                 {{"a/b/x.zib", cast_zib}},
                 per_file({"x.zib --> x.txt"}),
                 {{"a/b/x.txt", cast_txt}}},
        e2e_case{"backslash then slash splits at the last separator",
                 {"a\\b/*.zib"},
                 {{"a/b/x.zib", cast_zib}, {"a/x.zib", ruze_zib}},
                 per_file({"x.zib --> x.txt"}),
                 {{"a/b/x.txt", cast_txt}}},
        // Under Windows c:\ is a drive, here a folder named c: (not so under wine).
        e2e_case{"drive-like folder", {"c:\\*.zib"}, {{"c:/a.zib", pes_zib}}, per_file({"a.zib --> a.txt"}),
                 {{"c:/a.txt", pes_txt}}, {}, true},
        e2e_case{"name without wildcard in another letter case",
                 {"ZDROJ.ZIB"},
                 {{"zdroj.zib", ruze_zib}},
                 per_file({"zdroj.zib --> zdroj.txt"}),
                 {{"zdroj.txt", ruze_txt}}},
        e2e_case{"order ignores letter case", {"*.zib"},
                 {{"b.zib", cast_zib}, {"A.zib", ruze_zib}, {"c.ZIB", pes_zib}, {"d.txt", "d"}},
                 per_file({"A.zib --> A.txt", "b.zib --> b.txt", "c.ZIB --> c.txt"}),
                 {{"A.txt", ruze_txt}, {"b.txt", cast_txt}, {"c.txt", pes_txt}}},
        e2e_case{"nothing matches", {"*.zib"}, {{"a.txt", "a"}}, per_file({}), {}},
        e2e_case{"folder does not exist", {"nic\\*.zib"}, {}, per_file({}), {}},
        e2e_case{"upper-case extension", {"ZDROJ.ZIB"}, {{"ZDROJ.ZIB", pes_zib}},
                 per_file({"ZDROJ.ZIB --> ZDROJ.txt"}), {{"ZDROJ.txt", pes_txt}}},
        e2e_case{"name without a dot", {"dopis"}, {{"dopis", pes_zib}}, per_file({"dopis --> dopis.txt"}),
                 {{"dopis.txt", pes_txt}}},
        // Windows drops a last dot from every path, so there no file has one.
        e2e_case{"name ending in a dot", {"dopis."}, {{"dopis.", pes_zib}}, per_file({"dopis. --> dopis.txt"}),
                 {{"dopis.txt", pes_txt}}, {}, true},
        e2e_case{"two dots", {"a.b.zib"}, {{"a.b.zib", pes_zib}}, per_file({"a.b.zib --> a.b.txt"}),
                 {{"a.b.txt", pes_txt}}},
        e2e_case{"extension only", {".zib"}, {{".zib", pes_zib}}, per_file({".zib --> .txt"}),
                 {{".txt", pes_txt}}},
        e2e_case{"outputs made by the run are not found by it",
                 {"a*"},
                 {{"a.zib", cast_zib}},
                 per_file({"a.zib --> a.txt"}),
                 {{"a.txt", cast_txt}}},
        e2e_case{"a star finds the folder itself first",
                 {"texty\\*"},
                 {{"texty/a.zib", cast_zib}},
                 per_file({"Vstupni soubor texty\\. nelze otevrit."}, false),
                 {}},
        e2e_case{"a subdirectory ends the run",
                 {"*.zib"},
                 {{"a.zib", cast_zib}, {"b.zib", "<dir>"}, {"c.zib", ruze_zib}},
                 per_file({"a.zib --> a.txt", "Vstupni soubor b.zib nelze otevrit."}, false),
                 {{"a.txt", cast_txt}}},
        e2e_case{"third of five is a FIFO and the run never blocks",
                 {"*.zib"},
                 {{"a.zib", cast_zib}, {"b.zib", ruze_zib}, {"c.zib", "<fifo>"}, {"d.zib", pes_zib},
                  {"e.zib", pes_zib}},
                 per_file({"a.zib --> a.txt", "b.zib --> b.txt", "Vstupni soubor c.zib nelze otevrit."}, false),
                 {{"a.txt", cast_txt}, {"b.txt", ruze_txt}},
                 {},
                 true},
        e2e_case{"a link to nothing does not open",
                 {"*.zib"},
                 {{"a.zib", "-> nowhere.zib"}},
                 per_file({"Vstupni soubor a.zib nelze otevrit."}, false),
                 {},
                 {},
                 true},
        e2e_case{"paths longer than 255 characters",
                 {long_folder + "\\*.zib"},
                 {{long_folder + "/" + long_name + ".zib", cast_zib}},
                 per_file({long_name + ".zib --> " + long_name + ".txt"}),
                 {{long_folder + "/" + long_name + ".txt", cast_txt}}}),
    name_of);

INSTANTIATE_TEST_SUITE_P(
    OwnOutput, Transcript,
    testing::Values(
        e2e_case{"a txt source is skipped, untouched and asks nothing",
                 {"*.txt"},
                 {{"a.txt", cast_zib}, {"b.zib", pes_zib}},
                 per_file({"a.txt --> a.txt", same_file}),
                 {}},
        e2e_case{"the skip goes on with the next entry",
                 {"*.t*"},
                 {{"a.txt", "a"}, {"b.tzib", pes_zib}},
                 per_file({"a.txt --> a.txt", same_file, "b.tzib --> b.txt"}),
                 {{"b.txt", pes_txt}}},
        e2e_case{"a hard link as output is the source itself",
                 {"*.zib"},
                 {{"a.zib", cast_zib}, {"a.txt", "=> a.zib"}, {"b.zib", pes_zib}},
                 per_file({"a.zib --> a.txt", same_file, "b.zib --> b.txt"}),
                 {{"b.txt", pes_txt}}},
        e2e_case{"a symbolic link as source names its output",
                 {"*.zib"},
                 {{"a.txt", cast_zib}, {"a.zib", "-> a.txt"}},
                 per_file({"a.zib --> a.txt", same_file}),
                 {},
                 {},
                 true}),
    name_of);

INSTANTIATE_TEST_SUITE_P(
    ExistingOutput, Transcript,
    testing::Values(
        e2e_case{"1 overwrites", {"a.zib"}, {{"a.zib", cast_zib}, {"a.txt", "old text"}},
                 per_file(lines{"a.zib --> a.txt"} + question("a.txt", "Prepsat.")), {{"a.txt", cast_txt}}, {"1"}},
        e2e_case{"2 appends after a last 0x1A", {"a.zib"}, {{"a.zib", cast_zib}, {"a.txt", "old\x1A"}},
                 per_file(lines{"a.zib --> a.txt"} + question("a.txt", "Pripojit na konec.")),
                 {{"a.txt", "old\x1A" + cast_txt}}, {"2"}},
        e2e_case{"3 overwrites all and asks once",
                 {"*.zib"},
                 {{"a.zib", cast_zib}, {"a.txt", "1"}, {"b.zib", ruze_zib}, {"b.txt", "2"}, {"c.zib", pes_zib},
                  {"c.txt", "3"}},
                 per_file(lines{"a.zib --> a.txt"} + question("a.txt", "Prepsat.") + lines{"b.zib --> b.txt"}
                          + question("b.txt", "Prepsat.") + lines{"c.zib --> c.txt"}
                          + question("c.txt", "Prepsat.")),
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
        e2e_case{"output is a folder, 1", {"a.zib"}, {{"a.zib", cast_zib}, {"a.txt", "<dir>"}},
                 per_file(lines{"a.zib --> a.txt"} + question("a.txt", "Prepsat.") + lines{"Chyba. Nelze prepsat."},
                          false),
                 {}, {"1"}},
        e2e_case{"output is a folder, 2", {"a.zib"}, {{"a.zib", cast_zib}, {"a.txt", "<dir>"}},
                 per_file(lines{"a.zib --> a.txt"} + question("a.txt", "Pripojit na konec.")
                              + lines{"Chyba. Nelze pripojit na konec."},
                          false),
                 {}, {"2"}},
        e2e_case{"a key typed ahead answers at once", {"a.zib"}, {{"a.zib", cast_zib}, {"a.txt", "old"}},
                 per_file(lines{"a.zib --> a.txt"} + question("a.txt", "Pripojit na konec.")),
                 {{"a.txt", "old" + cast_txt}}, {}, false, console_kind::terminal, "2"},
        e2e_case{"the key comes from the console when standard input is redirected", {"a.zib"},
                 {{"a.zib", cast_zib}, {"a.txt", "old"}},
                 per_file(lines{"a.zib --> a.txt"} + question("a.txt", "Prepsat.")), {{"a.txt", cast_txt}}, {"1"},
                 false, console_kind::stdin_redirected, "", "2"},
        e2e_case{"no console declines", {"a.zib"}, {{"a.zib", cast_zib}, {"a.txt", "old"}},
                 per_file(lines{"a.zib --> a.txt"} + question("a.txt", "decline"), false), {}, {}, false,
                 console_kind::none}),
    name_of);

const std::string big_zib(100000, 'A');  // more than an output buffer holds

INSTANTIATE_TEST_SUITE_P(
    Merged, Transcript,
    testing::Values(
        e2e_case{"worked example",
                 {"texty\\*.zib", "vse.txt"},
                 {{"texty/a.zib", cast_zib}, {"texty/b.zib", ruze_zib}},
                 merged("vse.txt", {"a.zib --> vse.txt", "b.zib --> vse.txt"}),
                 {{"vse.txt", cast_txt + separator + ruze_txt}}},
        e2e_case{"one source, no separator", {"zdroj.zib", "cil.txt"}, {{"zdroj.zib", cast_zib}},
                 merged("cil.txt", {"zdroj.zib --> cil.txt"}), {{"cil.txt", cast_txt}}},
        e2e_case{"three sources, two separators, text without a last line end",
                 {"*.zib", "cil.txt"},
                 {{"a.zib", ruze_zib}, {"b.zib", cast_zib}, {"c.zib", pes_zib}},
                 merged("cil.txt", {"a.zib --> cil.txt", "b.zib --> cil.txt", "c.zib --> cil.txt"}),
                 {{"cil.txt", ruze_txt + separator + cast_txt + separator + pes_txt}}},
        e2e_case{"output beside the sources, named as typed",
                 {"texty\\*.zib", "texty\\vse.txt"},
                 {{"texty/a.zib", cast_zib}},
                 merged("texty\\vse.txt", {"a.zib --> texty\\vse.txt"}),
                 {{"texty/vse.txt", cast_txt}}},
        e2e_case{"other extension kept", {"a.zib", "cil.doc"}, {{"a.zib", pes_zib}},
                 merged("cil.doc", {"a.zib --> cil.doc"}), {{"cil.doc", pes_txt}}},
        e2e_case{"no extension added", {"a.zib", "cil"}, {{"a.zib", pes_zib}}, merged("cil", {"a.zib --> cil"}),
                 {{"cil", pes_txt}}},
        e2e_case{"nothing matches, created empty", {"*.zib", "cil.txt"}, {}, merged("cil.txt", {}),
                 {{"cil.txt", ""}}},
        e2e_case{"nothing matches, overwrite empties", {"*.zib", "cil.txt"}, {{"cil.txt", "old"}},
                 merged("cil.txt", question("cil.txt", "Prepsat.")), {{"cil.txt", ""}}, {"1"}},
        e2e_case{"nothing matches, append leaves it", {"*.zib", "cil.txt"}, {{"cil.txt", "old"}},
                 merged("cil.txt", question("cil.txt", "Pripojit na konec.")), {}, {"2"}},
        e2e_case{"asked once before the walk, 3 acts like 1",
                 {"*.zib", "cil.txt"},
                 {{"a.zib", cast_zib}, {"b.zib", ruze_zib}, {"cil.txt", "old"}},
                 merged("cil.txt", question("cil.txt", "Prepsat.") + lines{"a.zib --> cil.txt", "b.zib --> cil.txt"}),
                 {{"cil.txt", cast_txt + separator + ruze_txt}},
                 {"3"}},
        e2e_case{"append after a last 0x1A, separators only between sources, 4 acts like 2",
                 {"*.zib", "cil.txt"},
                 {{"a.zib", cast_zib}, {"b.zib", ruze_zib}, {"cil.txt", "old\x1A"}},
                 merged("cil.txt",
                        question("cil.txt", "Pripojit na konec.") + lines{"a.zib --> cil.txt", "b.zib --> cil.txt"}),
                 {{"cil.txt", "old\x1A" + cast_txt + separator + ruze_txt}},
                 {"4"}},
        e2e_case{"declined: no search and the file untouched",
                 {"*.zib", "cil.txt"},
                 {{"a.zib", cast_zib}, {"cil.txt", "old"}},
                 merged("cil.txt", question("cil.txt", "decline"), false),
                 {},
                 {"x"}},
        e2e_case{"folder of the output does not exist",
                 {"*.zib", "nic\\cil.txt"},
                 {{"a.zib", cast_zib}},
                 merged("nic\\cil.txt", question("nic\\cil.txt", "Prepsat.") + lines{"Chyba. Nelze prepsat."}, false),
                 {},
                 {"1"}},
        e2e_case{"third of five does not open",
                 {"*.zib", "cil.txt"},
                 {{"a.zib", cast_zib}, {"b.zib", ruze_zib}, {"c.zib", "<dir>"}, {"d.zib", pes_zib}, {"e.zib", pes_zib}},
                 merged("cil.txt", {"a.zib --> cil.txt", "b.zib --> cil.txt", "Vstupni soubor c.zib nelze otevrit."},
                        false),
                 {{"cil.txt", cast_txt + separator + ruze_txt}}},
        e2e_case{"the output among the sources is skipped, or the run would never end",
                 {"*.txt", "vse.txt"},
                 {{"a.txt", big_zib}, {"b.txt", big_zib}},
                 merged("vse.txt", {"a.txt --> vse.txt", "b.txt --> vse.txt", "vse.txt --> vse.txt", same_file}),
                 {{"vse.txt", big_zib + separator + big_zib}}},
        e2e_case{"an output that names a source, overwritten by choice, is skipped",
                 {"*.zib", "b.zib"},
                 {{"a.zib", cast_zib}, {"b.zib", ruze_zib}, {"c.zib", pes_zib}},
                 merged("b.zib", question("b.zib", "Prepsat.")
                                     + lines{"a.zib --> b.zib", "b.zib --> b.zib", same_file, "c.zib --> b.zib"}),
                 {{"b.zib", cast_txt + separator + pes_txt}},
                 {"1"}},
        e2e_case{"a long output name",
                 {"a.zib", long_folder + "\\" + long_name + ".txt"},
                 {{"a.zib", pes_zib}, {long_folder, "<dir>"}},
                 merged(long_folder + "\\" + long_name + ".txt", {"a.zib --> " + long_folder + "\\" + long_name + ".txt"}),
                 {{long_folder + "/" + long_name + ".txt", pes_txt}}},
        e2e_case{"a failed write is known at the close",
                 {"*.zib", "/dev/full"},
                 {{"a.zib", cast_zib}, {"b.zib", ruze_zib}},
                 merged("/dev/full", question("/dev/full", "Prepsat.")
                                         + lines{"a.zib --> /dev/full", "b.zib --> /dev/full",
                                                 "Chyba pri zapisu do vystupniho souboru /dev/full."},
                        false),
                 {},
                 {"1"},
                 true},
        e2e_case{"a failed write is known after the source in hand",
                 {"*.zib", "/dev/full"},
                 {{"a.zib", big_zib}, {"b.zib", ruze_zib}},
                 merged("/dev/full", question("/dev/full", "Prepsat.")
                                         + lines{"a.zib --> /dev/full",
                                                 "Chyba pri zapisu do vystupniho souboru /dev/full."},
                        false),
                 {},
                 {"1"},
                 true}),
    name_of);

// Every other key declines, and keys without a character are taken whole.
class DecliningKey : public testing::TestWithParam<const char*> {};

TEST_P(DecliningKey, LeavesTheFileAndEndsTheRun)
{
    if (under_wine() && std::string(GetParam()) == "\x03")
        GTEST_SKIP() << "wine leaves signals on at the terminal, so Ctrl+C interrupts instead of arriving as a key";
    scratch_dir dir;
    const tree files = {{"a.zib", cast_zib}, {"a.txt", "old"}, {"b.zib", pes_zib}};
    make_tree(dir.path, files);
    run_options options;
    options.args = {"*.zib"};
    options.keys = {GetParam()};
    const run_result result = run_converter(dir.path, options);
    EXPECT_EQ(escaped(result.console),
              escaped(console_of(per_file(lines{"a.zib --> a.txt"} + question("a.txt", "decline"), false))))
        << describe(result);
    EXPECT_EQ(result.exit_status, 0) << "Ctrl+C is a key, not an interrupt";
    EXPECT_EQ(escaped(result.unread_keys), "");
    EXPECT_TRUE(result.modes_restored);
    EXPECT_EQ(shown(read_tree(dir.path)), shown(files));
}

INSTANTIATE_TEST_SUITE_P(Keys, DecliningKey,
                         testing::Values("\r", "\x1B", " ", "x", "5", "0", "\x03", "\x1B[A", "\x1B[15~", "\x1BOP",
                                         "\x1B[[A", "\x1B" "1",
                                         "\xC5\x99"));  // a letter in UTF-8 is one key of several bytes

TEST(WriteFailure, ReportedWhenTheOutputClosesAndTheRunEnds)
{
    if (under_wine())
        GTEST_SKIP() << "needs /dev/full";
    scratch_dir dir;
    make_tree(dir.path, {{"a.zib", cast_zib}, {"a.txt", "-> /dev/full"}, {"b.zib", pes_zib}});
    run_options options;
    options.args = {"*.zib"};
    options.keys = {"1"};
    const run_result result = run_converter(dir.path, options);
    EXPECT_EQ(escaped(result.console),
              escaped(console_of(per_file(lines{"a.zib --> a.txt"} + question("a.txt", "Prepsat.")
                                              + lines{"Chyba pri zapisu do vystupniho souboru a.txt."},
                                          false))))
        << describe(result);
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.path / "b.txt"));
}

TEST(KeyRead, SignalWhileWaitingRestoresTheTerminal)
{
    if (under_wine())
        GTEST_SKIP() << "POSIX signals";
    for (int signal : {SIGTERM, SIGHUP, SIGQUIT}) {
        scratch_dir dir;
        make_tree(dir.path, {{"a.zib", cast_zib}, {"a.txt", "old"}});
        run_options options;
        options.args = {"a.zib"};
        options.signal_at_question = signal;
        const run_result result = run_converter(dir.path, options);
        EXPECT_EQ(result.exit_status, 128 + signal) << describe(result);
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

TEST(Console, ClosedConsoleDropsMessagesAndTheRunGoesOn)
{
    scratch_dir dir;
    make_tree(dir.path, {{"a.zib", cast_zib}, {"b.zib", ruze_zib}});
    run_options options;
    options.args = {"*.zib"};
    options.console_closed = true;
    const run_result result = run_converter(dir.path, options);
    EXPECT_FALSE(result.timed_out);
    EXPECT_EQ(result.exit_status, 0) << describe(result);
    EXPECT_EQ(escaped(result.errors), "");
    EXPECT_EQ(read_bytes(dir.path / "a.txt"), cast_txt);
    EXPECT_EQ(read_bytes(dir.path / "b.txt"), ruze_txt);
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
                  escaped(console_of(per_file(lines{"a.zib --> a.txt"} + question("a.txt", r.decision)
                                                  + lines{r.failure},
                                              false))))
            << describe(result);
        EXPECT_EQ(read_bytes(dir.path / "a.txt"), "old");
    }
}

}  // namespace
