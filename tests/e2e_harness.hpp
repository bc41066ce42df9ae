// Runs the built converter as a user would: in a folder of its own, with a
// pseudo-terminal as its controlling terminal (the console keyboard) and its
// standard output and error captured through pipes.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

enum class console_kind {
    terminal,          // the terminal is the controlling terminal and standard input
    stdin_redirected,  // the terminal is the controlling terminal; standard input is a pipe
    none,              // no controlling terminal at all
};

struct run_options {
    std::vector<std::string> args;
    console_kind console = console_kind::terminal;
    // Key i is written to the terminal once the i-th existing-file question
    // stands on the console and the program reads the keyboard.
    std::vector<std::string> keys;
    std::string typed_ahead;               // written to the terminal before the start
    std::string stdin_bytes;               // for stdin_redirected
    bool console_closed = false;           // the reader of standard output goes away at once
    int signal_at_question = 0;            // sent at the first question, before any key
    int ignored_signal = 0;                // the program starts with this signal ignored
    int user = -1;                         // the program runs as this user id, when not -1
    std::vector<std::string> environment;  // NAME=value, set for the program only
    unsigned long file_size_limit = 0;     // RLIMIT_FSIZE in bytes for the program, when not 0
    // Job control: the program runs as a job of a small shell in its
    // session. At the first question it is stopped with SIGTSTP; once it has
    // stopped, the terminal is given the shell's modes and the job continued.
    bool stop_at_question = false;
    // The program runs as a job in the background of that shell: at the
    // question it stops at the terminal, and signal_at_question is then sent
    // with a SIGCONT, as a shell's kill does.
    bool background_job = false;
    bool output_to_terminal = false;  // standard output is the terminal too (console terminal)
};

struct run_result {
    std::string console;   // every byte of standard output
    std::string errors;    // every byte of standard error
    int exit_status = -1;  // the exit code, or 128 + the signal that ended it
    bool timed_out = false;
    std::string unread_keys;     // what the program left in the terminal's input
    bool modes_restored = true;  // the terminal's modes are as before the run
    bool stopped = false;        // the job stopped at the question
    bool modes_restored_while_stopped = false;
    std::string terminal;  // what the terminal showed: echoes, and the output sent to it
};

// The command under test: ZODIDEZI_UNDER_TEST (split at blanks) when set.
std::vector<std::string> command_under_test();
bool under_wine();

run_result run_converter(const std::filesystem::path& folder, const run_options& options);

// Everything in a folder: relative path -> content. Folders show as "<dir>",
// FIFOs as "<fifo>", symbolic links as "-> target".
using tree = std::map<std::string, std::string>;
tree read_tree(const std::filesystem::path& folder);

// Makes the entries of `files` in `folder`, with the same notation, and
// "=> name" for a hard link to the entry `name` made before it.
void make_tree(const std::filesystem::path& folder, const tree& files);

// The settings that preload the fault library into the program, followed by
// the faults chosen (see fault_shim.cpp).
std::vector<std::string> with_faults(const std::vector<std::string>& faults);

// A readable dump of a run for failure messages.
std::string describe(const run_result& result);
