#include "cli/run.hpp"

#include "convert/convert.hpp"
#include "output/open_output.hpp"
#include "platform/console.hpp"
#include "platform/dir_search.hpp"
#include "platform/stream.hpp"

#include <string_view>

int files_done = 0;

namespace {

constexpr std::string_view banner[] = {
    "",
    "ZODIDEZI 1.0 (Zibol --> Win1250)",
    "(c) 2026 Autori programu zodidezi",
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

// True when `path` names the very file that `source` reads, whatever the
// spelling: such an output would destroy its own source.
bool is_source_itself(const source_stream& source, const std::string& path)
{
    file_identity read{};
    file_identity written{};
    return file_identity_of(source.file, read) && path_identity(path, written) && same_file(read, written);
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
    if (argc < 2 || argc > 3 || (argc == 2 && asks_for_help(argv[1]))) {
        print_lines(usage);
        return 0;
    }

    const std::string argument = argv[1];
    std::string directory;
    std::string pattern;
    split_argument(argument, directory, pattern);

    console_line("Vystupni soubor(y) maji automaticky koncovku .txt");
    console_line("");

    output_stream output;
    for (const std::string& entry : find_entries(argument)) {
        const std::string source_path = directory + entry;
        source_stream source;
        if (!source_open(source, source_path)) {
            print_message("Vstupni soubor ", source_path, " nelze otevrit.");
            return 0;
        }
        const std::string output_name = output_name_for(entry);
        const std::string output_path = directory + output_name;
        const bool own_output = is_source_itself(source, output_path);
        if (!own_output)
            ++files_done;

        console_text(entry);
        console_text(" --> ");
        console_text(output_name);
        console_end_line();
        if (own_output) {
            console_line("Vystupni soubor je totozny se vstupnim, preskakuji.");
            continue;
        }

        if (!open_output(output, output_path))
            return 0;
        convert_file(source, output);
        source_close(source);
        if (!output_close(output)) {
            print_message("Chyba pri zapisu do vystupniho souboru ", output_path, ".");
            return 0;
        }
    }

    console_line("");
    console_line("Ok.");
    return 0;
}
