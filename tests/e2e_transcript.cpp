// The shared run of one end-to-end row: exact console bytes (CR LF included),
// the folder's files byte for byte afterwards, and the exit status.
#include "e2e_transcript.hpp"

#include "test_files.hpp"

namespace {

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

}  // namespace

std::string console_of(const lines& body)
{
    std::string all;
    for (const lines* part : {&banner, &body})
        for (const std::string& line : *part)
            all += line + "\r\n";
    return all;
}

lines per_file(const lines& body, bool finished)
{
    lines all = {"Vystupni soubor(y) maji automaticky koncovku .txt", ""};
    all.insert(all.end(), body.begin(), body.end());
    if (finished)
        all.insert(all.end(), {"", "Ok."});
    return all;
}

lines merged(const std::string& name, const lines& body, bool finished)
{
    lines all = {"Vystup bude spojen do jednoho souboru " + name, ""};
    all.insert(all.end(), body.begin(), body.end());
    if (finished)
        all.insert(all.end(), {"", "Ok."});
    return all;
}

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

TEST_P(Transcript, ConsoleFilesAndExitStatus)
{
    const e2e_case& c = GetParam();
    if (under_wine()
        && (c.posix_only || c.console_is == console_kind::stdin_redirected || !c.faults.empty()
            || c.file_size_limit != 0))
        GTEST_SKIP() << "needs POSIX files, faults or limits, or a console with standard input redirected, "
                        "which wine lacks";
    scratch_dir dir;
    make_tree(dir.path, c.files);
    run_options options;
    options.args = c.args;
    options.keys = c.keys;
    options.console = c.console_is;
    options.typed_ahead = c.typed_ahead;
    options.stdin_bytes = c.stdin_bytes;
    if (!c.faults.empty())
        options.environment = with_faults(c.faults);
    options.file_size_limit = c.file_size_limit;
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
