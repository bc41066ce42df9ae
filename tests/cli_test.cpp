// Splitting the first argument and naming the outputs.
#include "cli/run.hpp"

#include <gtest/gtest.h>

namespace {

TEST(SplitArgument, AtTheLastSeparatorOfEitherKind)
{
    struct row {
        const char* argument;
        const char* directory;
        const char* pattern;
    };
    for (const row r : {row{"texty/*.zib", "texty/", "*.zib"},
                        row{"a/b\\*.zib", "a/b\\", "*.zib"},
                        row{"a\\b/*.zib", "a\\b/", "*.zib"},
                        row{"c:\\*.zib", "c:\\", "*.zib"},
                        row{"zdroj.zib", "", "zdroj.zib"},
                        row{"texty\\", "texty\\", ""}}) {
        std::string directory, pattern;
        split_argument(r.argument, directory, pattern);
        EXPECT_EQ(directory, r.directory) << r.argument;
        EXPECT_EQ(pattern, r.pattern) << r.argument;
    }
}

TEST(OutputName, ExtensionBecomesLowerCaseTxt)
{
    struct row {
        const char* entry;
        const char* output;
    };
    for (const row r : {row{"ZDROJ.ZIB", "ZDROJ.txt"},
                        row{"dopis", "dopis.txt"},
                        row{"dopis.", "dopis.txt"},
                        row{"a.b.zib", "a.b.txt"},
                        row{".zib", ".txt"},
                        row{".", ".txt"},
                        row{"a.TXT", "a.txt"}})
        EXPECT_EQ(output_name_for(r.entry), r.output) << r.entry;
}

}  // namespace
