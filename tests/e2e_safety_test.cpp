// What must never happen to a user's files: a source written as its own
// output, a failed write taken for success, a run stopped by a closed console.
#include "e2e_transcript.hpp"
#include "test_files.hpp"

namespace {

const e2e_case own_output_cases[] = {
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
             true},
};

INSTANTIATE_TEST_SUITE_P(OwnOutput, Transcript, testing::ValuesIn(own_output_cases), name_of);

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

}  // namespace
