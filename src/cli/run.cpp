#include "cli/run.hpp"

#include "convert/convert.hpp"
#include "output/open_output.hpp"
#include "platform/console.hpp"
#include "platform/dir_search.hpp"
#include "platform/stream.hpp"
#include "zodidezi_version.h"

#include <string_view>

int files_done = 0;

namespace {

constexpr std::string_view banner[] = {
    "",
    "ZODIDEZI " ZODIDEZI_VERSION " (Zibol --> Win1250)",
    ZODIDEZI_COPYRIGHT,
    "",
};

constexpr std::string_view usage[] = {
    "ZODIDEZI ZDROJ.ZIB [CIL.TXT]",
    "",
    "Priklady:",
    "zodidezi zdroj.zib            ..vytvori zdroj.txt",
    "zodidezi zdroj.zib cil.txt    ..vytvori cil.txt",
    "zodidezi *.zib                ..zpracuje vsechny *.zib na *.txt",
    "zodidezi *.zib cil.txt        ..zpracuje vsechny *.zib a spoji je do cil.txt",
    "",
};

template <std::size_t count>
void print_lines(const std::string_view (&lines)[count])
{
    for (std::string_view line : lines)
        console_line(line);
}

bool asks_for_help(std::string_view argument)
{
    return argument == "--help" || argument == "-h" || argument == "/?";
}

void print_message(std::string_view before, const std::string& path, std::string_view after)
{
    console_text(before);
    console_text(path);
    console_text(after);
    console_end_line();
}

// The bytes written before every source of a merged output but the first:
// three line ends, 32 hyphens, three line ends.
constexpr std::string_view merge_separator = "\r\n\r\n\r\n--------------------------------\r\n\r\n\r\n";

constexpr std::string_view same_file_message = "Vystupni soubor je totozny se vstupnim, preskakuji.";

// Opens the output of one source in per-file mode: 1 when it is open, 0 when
// the run ends, -1 when the output is the source itself (a .txt source, a
// link), which would be destroyed. A file created new cannot be the source,
// so only an existing one is looked at, before the question.
int open_per_file_output(output_stream& output, const std::string& path, const source_stream& source)
{
    if (output_open(output, path, open_way::create_new))
        return 1;
    output_clear(output);
    file_identity existing{};
    if (path_identity(path, existing) && same_file(existing, source.id))
        return -1;
    return open_output(output, path);
}

}  // namespace

void split_argument(const std::string& argument, std::string& directory, std::string& pattern)
{
    const std::size_t cut = argument.find_last_of("\\/");
    const std::size_t split = cut == std::string::npos ? 0 : cut + 1;
    directory = argument.substr(0, split);
    pattern = argument.substr(split);
}

std::string output_name_for(const std::string& entry)
{
    const std::size_t dot = entry.rfind('.');
    return (dot == std::string::npos ? entry + "." : entry.substr(0, dot + 1)) + "txt";
}

int run(int argc, const char* const* argv)
{
    print_lines(banner);
    // The banner's second line names the version.
    if (argc == 2 && std::string_view(argv[1]) == "--version")
        return 0;
    if (argc < 2 || argc > 3 || (argc == 2 && asks_for_help(argv[1]))) {
        print_lines(usage);
        return 0;
    }

    const std::string argument = argv[1];
    std::string directory;
    std::string pattern;
    split_argument(argument, directory, pattern);

    const bool merged = argc == 3;
    if (merged)
        print_message("Vystup bude spojen do jednoho souboru ", argv[2], "");
    else
        console_line("Vystupni soubor(y) maji automaticky koncovku .txt");
    console_line("");

    output_stream output;
    file_identity merged_output{};
    if (merged && !open_output(output, argv[2]))
        return 0;
    if (merged)
        file_identity_of(output.file, merged_output);
    for (const std::string& entry : find_entries(argument)) {
        const std::string source_path = directory + entry;
        source_stream source;
        if (!source_open(source, source_path)) {
            print_message("Vstupni soubor ", source_path, " nelze otevrit.");
            return 0;
        }
        const std::string output_name = merged ? argv[2] : output_name_for(entry);
        const std::string output_path = merged ? output_name : directory + output_name;
        console_text(entry);
        console_text(" --> ");
        console_text(output_name);
        console_end_line();

        const int opened = merged ? (same_file(source.id, merged_output) ? -1 : 1)
                                  : open_per_file_output(output, output_path, source);
        if (opened == 0)
            return 0;
        if (opened < 0) {
            console_line(same_file_message);
            continue;
        }
        ++files_done;
        if (merged && files_done >= 2)
            output_write(output, merge_separator);
        convert_file(source, output);
        source_close(source);
        // A merged output stays open; its failures are known once the buffer is written.
        if (merged ? output.failed : !output_close(output)) {
            print_message("Chyba pri zapisu do vystupniho souboru ", output_path, ".");
            return 0;
        }
    }
    if (merged && !output_close(output)) {
        print_message("Chyba pri zapisu do vystupniho souboru ", argv[2], ".");
        return 0;
    }

    console_line("");
    console_line("Ok.");
    return 0;
}
