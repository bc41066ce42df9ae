// File names in any script: found, opened and shown as they are. Under wine
// the ANSI code page follows LANG: C.UTF-8 gives 1252, which lacks most
// Czech letters, and cs_CZ.UTF-8 gives 1250. A console shows the names in
// their own letters; a pipe gets the code page's bytes, with "?" for a letter
// that it lacks. On Linux names are bytes, and the same runs show them as
// they are.
#include "e2e_transcript.hpp"
#include "test_files.hpp"

#include <cstdlib>
#include <locale.h>
#include <set>

namespace fs = std::filesystem;

namespace {

// Wine takes the code page from the locale that LANG names, program by
// program: one wineserver serves programs of either code page. A locale that
// the C library lacks leaves wine on 1252, so a missing one is made once with
// localedef, into a folder of its own that LOCPATH names for the program.
std::vector<std::string> settings_for(const std::string& lang)
{
    std::vector<std::string> settings = {"LANG=" + lang};
    if (!under_wine())
        return settings;
    if (const locale_t known = ::newlocale(LC_ALL_MASK, lang.c_str(), nullptr)) {
        ::freelocale(known);
        return settings;
    }
    static scratch_dir made;
    static std::set<std::string> built;
    const fs::path definition = made.path / lang;
    if (built.insert(lang).second) {
        const std::string command = "localedef -i " + lang.substr(0, lang.find('.')) + " -f UTF-8 '"
                                  + definition.string() + "' >/dev/null 2>&1";
        (void)std::system(command.c_str());  // warnings give a non-zero status too
    }
    if (!fs::exists(definition / "LC_CTYPE"))
        ADD_FAILURE() << "localedef could not make " << lang << " (the locales package has its sources)";
    settings.push_back("LOCPATH=" + made.path.string());
    return settings;
}

struct names_case {
    const char* lang;
    lines ansi;    // the console under wine, through a pipe: the code page's bytes
    e2e_case run;  // the console on Linux is the names' own UTF-8
};

void PrintTo(const names_case& c, std::ostream* os)
{
    *os << c.run.name;
}

class Names : public testing::TestWithParam<names_case> {};

TEST_P(Names, FoundOpenedAndShown)
{
    const names_case& c = GetParam();
    scratch_dir dir;
    make_tree(dir.path, c.run.files);
    run_options options;
    options.args = c.run.args;
    options.keys = c.run.keys;
    options.environment = settings_for(c.lang);
    const run_result result = run_converter(dir.path, options);

    EXPECT_EQ(escaped(result.console), escaped(console_of(under_wine() ? c.ansi : c.run.console))) << describe(result);
    EXPECT_EQ(result.exit_status, 0);
    tree expected = c.run.files;
    for (const auto& [name, content] : c.run.changed)
        expected[name] = content;
    EXPECT_EQ(shown(read_tree(dir.path)), shown(expected));
}

const names_case names_cases[] = {
    names_case{"C.UTF-8",
               per_file({"caj.zib --> caj.txt", "?aj.zib --> ?aj.txt", "\x9A??.zib --> \x9A??.txt"}),
               e2e_case{"letters that the code page lacks name files of their own",
                        {"*.zib"},
                        {{"čaj.zib", cast_zib}, {"caj.zib", ruze_zib}, {"ščř.zib", pes_zib}},
                        per_file({"caj.zib --> caj.txt", "čaj.zib --> čaj.txt", "ščř.zib --> ščř.txt"}),
                        {{"čaj.txt", cast_txt}, {"caj.txt", ruze_txt}, {"ščř.txt", pes_txt}}}},
    names_case{"C.UTF-8",
               merged("v\xFDsledek.txt",
                      {"caj.zib --> v\xFDsledek.txt", "?aj.zib --> v\xFDsledek.txt", "\x9A??.zib --> v\xFDsledek.txt"}),
               e2e_case{"merged into one output with a Czech name",
                        {"*.zib", "výsledek.txt"},
                        {{"čaj.zib", cast_zib}, {"caj.zib", ruze_zib}, {"ščř.zib", pes_zib}},
                        merged("výsledek.txt",
                               {"caj.zib --> výsledek.txt", "čaj.zib --> výsledek.txt", "ščř.zib --> výsledek.txt"}),
                        {{"výsledek.txt", ruze_txt + separator + cast_txt + separator + pes_txt}}}},
    names_case{"C.UTF-8",
               per_file(lines{"?aj.zib --> ?aj.txt"} + question("?aj.txt", "Prepsat.")),
               e2e_case{"the question is about the output of that very name",
                        {"čaj.zib"},
                        {{"čaj.zib", cast_zib}, {"čaj.txt", "old"}, {"caj.txt", "other"}},
                        per_file(lines{"čaj.zib --> čaj.txt"} + question("čaj.txt", "Prepsat.")),
                        {{"čaj.txt", cast_txt}},
                        {"1"}}},
    // The folder's name shows in the message about a source that does not open.
    names_case{"cs_CZ.UTF-8",
               per_file({"dopis pan\xED \x8E"
                         "ofii.zib --> dopis pan\xED \x8E"
                         "ofii.txt",
                         "\xE8"
                         "aj.zib --> \xE8"
                         "aj.txt",
                         "Vstupni soubor slo\x9E"
                         "ka\\\xEF\xE1"
                         "bel.zib nelze otevrit."},
                        false),
               e2e_case{"Czech code page bytes, in the folder's name too",
                        {"složka\\*.zib"},
                        {{"složka", "<dir>"},
                         {"složka/dopis paní Žofii.zib", cast_zib},
                         {"složka/čaj.zib", ruze_zib},
                         {"složka/ďábel.zib", "<dir>"}},
                        per_file({"dopis paní Žofii.zib --> dopis paní Žofii.txt",
                                  "čaj.zib --> čaj.txt",
                                  "Vstupni soubor složka\\ďábel.zib nelze otevrit."},
                                 false),
                        {{"složka/dopis paní Žofii.txt", cast_txt}, {"složka/čaj.txt", ruze_txt}}}},
    names_case{
        "cs_CZ.UTF-8",
        per_file({"????????.zib --> ????????.txt", "??????.zib --> ??????.txt", "??.zib --> ??.txt"}),
        e2e_case{"other scripts are converted and shown as the default character",
                 {"*.zib"},
                 {{"Привет.zib", cast_zib}, {"Ελληνικά.zib", ruze_zib}, {"中文.zib", pes_zib}},
                 per_file({"Ελληνικά.zib --> Ελληνικά.txt", "Привет.zib --> Привет.txt", "中文.zib --> 中文.txt"}),
                 {{"Привет.txt", cast_txt}, {"Ελληνικά.txt", ruze_txt}, {"中文.txt", pes_txt}}}},
};

INSTANTIATE_TEST_SUITE_P(AnyScript, Names, testing::ValuesIn(names_cases),
                         [](const testing::TestParamInfo<names_case>& tested) {
                             return case_name(tested.param.run.name);
                         });

// On a console the names keep their letters, also those that the code page
// lacks. Wine's console on a pseudo-terminal writes UTF-8 to it.
TEST(NamesOnTheConsole, ShownInTheirOwnLetters)
{
    scratch_dir dir;
    make_tree(dir.path, {{"čaj.zib", cast_zib}, {"中文.zib", ruze_zib}});
    run_options options;
    options.args = {"*.zib"};
    options.output_to_terminal = true;
    options.environment = settings_for("C.UTF-8");
    const run_result result = run_converter(dir.path, options);
    for (const std::string line : {"čaj.zib --> čaj.txt", "中文.zib --> 中文.txt"})
        EXPECT_NE(result.terminal.find(line), std::string::npos) << line << "\n" << escaped(result.terminal);
    EXPECT_EQ(read_bytes(dir.path / "čaj.txt"), cast_txt);
    EXPECT_EQ(read_bytes(dir.path / "中文.txt"), ruze_txt);
}

}  // namespace
