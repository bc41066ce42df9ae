#include "cli/run.hpp"

#include "convert/convert.hpp"
#include "output/open_output.hpp"
#include "platform/console.hpp"
#include "platform/dir_search.hpp"
#include "platform/process.hpp"
#include "platform/stream.hpp"
#include "zodidezi_version.h"

#include <algorithm>
#include <string_view>
#include <vector>

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
constexpr std::string_view write_failed = "Chyba pri zapisu do vystupniho souboru ";
constexpr std::string_view read_failed = "Chyba pri cteni vstupniho souboru ";

// What the steps of one run share.
struct run_state {
    bool merged = false;
    std::string directory;  // the first argument's directory part, as typed
    folder sources;         // that directory, opened
    output_stream output;
    // Merged mode: the one output, as typed, and where and which file it is.
    std::string merged_shown;
    std::string merged_name;
    folder merged_folder;
    file_identity merged_file;
    // Per-file mode: the identity of every matched source that is a regular
    // file, taken before the walk, so that no output is ever written into
    // one. Sorted.
    std::vector<file_identity> source_files;

    ~run_state()
    {
        folder_close(sources);
        folder_close(merged_folder);
    }
};

bool identity_order(const file_identity& a, const file_identity& b)
{
    return a.volume != b.volume ? a.volume < b.volume : a.index < b.index;
}

void note_source_files(run_state& run, const std::vector<std::string>& entries)
{
    for (const std::string& entry : entries) {
        file_identity id{};
        if (name_identity(run.sources, entry, id))
            run.source_files.push_back(id);
    }
    std::sort(run.source_files.begin(), run.source_files.end(), identity_order);
}

// Opens the output of one source in per-file mode: 1 when it is open, 0 when
// the run ends, -1 when the output is one of the sources (a .txt source, a
// link), which would be destroyed. A file created new cannot be a source, so
// only an existing one is looked at, before the question.
int open_per_file_output(run_state& run, const std::string& name, const std::string& shown)
{
    if (output_open(run.output, run.sources, name, open_way::create_new))
        return 1;
    output_clear(run.output);
    file_identity existing{};
    if (name_identity(run.sources, name, existing)
        && std::binary_search(run.source_files.begin(), run.source_files.end(), existing, identity_order))
        return -1;
    return open_output(run.output, run.sources, name, shown);
}

// The output in hand failed, or its source did: it goes back to what it was,
// and the line that says why ends the run.
int end_with_failure(run_state& run, std::string_view message, const std::string& path)
{
    output_abandon(run.output);
    print_message(message, path, ".");
    return 0;
}

// Writes out and closes the merged output: 1 when all of it reached the
// file. Its last bytes wait in the buffer to the end, however the run ends;
// a write that fails then is reported and undone like any other.
int close_merged_output(run_state& run)
{
    if (!output_flush(run.output))
        return end_with_failure(run, write_failed, run.merged_shown);
    if (!output_close(run.output)) {
        print_message(write_failed, run.merged_shown, ".");
        return 0;
    }
    return 1;
}

// One source of the walk, in either mode: 1 when the walk goes on, 0 when the
// run ends.
int convert_entry(run_state& run, const std::string& entry)
{
    const std::string source_path = run.directory + entry;
    source_stream source;
    if (!source_open(source, run.sources, entry)) {
        print_message("Vstupni soubor ", source_path, " nelze otevrit.");
        if (run.merged)
            close_merged_output(run);
        return 0;
    }
    const std::string output_name = run.merged ? run.merged_shown : output_name_for(entry);
    const std::string output_path = run.merged ? run.merged_shown : run.directory + output_name;
    console_text(entry);
    console_text(" --> ");
    console_text(output_name);
    console_end_line();

    const int opened = run.merged ? (same_file(source.id, run.merged_file) ? -1 : 1)
                                  : open_per_file_output(run, output_name, output_path);
    if (opened == 0)
        return 0;
    if (opened < 0) {
        console_line(same_file_message);
        return 1;
    }
    ++files_done;
    if (run.merged && files_done >= 2)
        output_write(run.output, merge_separator);
    convert_file(source, run.output);
    if (source.failed)
        return end_with_failure(run, read_failed, source_path);
    // A merged output stays open: its failures are known once its buffer is
    // written.
    if (run.merged ? run.output.failed : !output_flush(run.output))
        return end_with_failure(run, write_failed, output_path);
    if (!run.merged && !output_close(run.output)) {
        print_message(write_failed, output_path, ".");
        return 0;
    }
    return 1;
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
    process_start();
    print_lines(banner);
    // The banner's second line names the version.
    if (argc == 2 && std::string_view(argv[1]) == "--version")
        return 0;
    if (argc < 2 || argc > 3 || (argc == 2 && asks_for_help(argv[1]))) {
        print_lines(usage);
        return 0;
    }

    run_state run;
    run.merged = argc == 3;
    std::string pattern;
    split_argument(argv[1], run.directory, pattern);
    if (run.merged)
        print_message("Vystup bude spojen do jednoho souboru ", argv[2], "");
    else
        console_line("Vystupni soubor(y) maji automaticky koncovku .txt");
    console_line("");

    if (run.merged) {
        run.merged_shown = argv[2];
        std::string merged_directory;
        split_argument(run.merged_shown, merged_directory, run.merged_name);
        // A folder that does not open makes every open of the output fail.
        folder_open(merged_directory, run.merged_folder);
        if (!open_output(run.output, run.merged_folder, run.merged_name, run.merged_shown))
            return 0;
        std::uint64_t length = 0;
        file_identity_of(run.output.file, run.merged_file, length);
    }

    folder_open(run.directory, run.sources);
    const std::vector<std::string> entries = find_entries(run.sources, pattern);
    if (!run.merged)
        note_source_files(run, entries);
    for (const std::string& entry : entries)
        if (!convert_entry(run, entry))
            return 0;
    if (run.merged && !close_merged_output(run))
        return 0;

    console_line("");
    console_line("Ok.");
    return 0;
}
