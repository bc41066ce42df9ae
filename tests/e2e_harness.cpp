#include "e2e_harness.hpp"

#include "test_files.hpp"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using clock_type = std::chrono::steady_clock;

namespace {

constexpr const char* choice_line = "(1) Prepsat, (2) Pripojit na konec, (3) Prepsat vsechny, (4) Pripojit vsechny\r\n";

std::chrono::seconds run_limit()
{
    return std::chrono::seconds(under_wine() ? 60 : 15);
}

std::size_t occurrences(const std::string& text, const std::string& piece)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + piece.size()))
        ++count;
    return count;
}

void write_all(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            throw std::runtime_error("cannot write to the terminal");
        done += static_cast<std::size_t>(put);
    }
}

// The program has switched its terminal out of line mode: it is reading a key.
bool reading_a_key(int master)
{
    struct termios modes;
    return ::tcgetattr(master, &modes) == 0 && (modes.c_lflag & ICANON) == 0;
}

void wait_for_key_read(int master)
{
    const auto until = clock_type::now() + std::chrono::seconds(5);
    while (!reading_a_key(master) && clock_type::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

// The small shell of a job-control run: the program goes into a process
// group of its own in the foreground, its process id goes to the test, and
// each stop of the job is told; the shell ends as the job did.
[[noreturn]] void run_as_job(char* const* argv, int report, bool foreground)
{
    const pid_t job = ::fork();
    if (job == 0) {
        ::close(report);
        ::setpgid(0, 0);
        // Only a job in the foreground may change the terminal's modes.
        while (foreground && ::tcgetpgrp(STDIN_FILENO) != ::getpid())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ::execvp(argv[0], argv);
        ::_exit(127);
    }
    ::setpgid(job, job);
    ::signal(SIGTTOU, SIG_IGN);
    if (foreground)
        ::tcsetpgrp(STDIN_FILENO, job);
    (void)!::write(report, &job, sizeof job);
    for (;;) {
        int status = 0;
        if (::waitpid(job, &status, WUNTRACED) != job)
            ::_exit(122);
        if (WIFSTOPPED(status)) {
            (void)!::write(report, "S", 1);
            continue;
        }
        if (WIFEXITED(status))
            ::_exit(WEXITSTATUS(status));
        ::signal(WTERMSIG(status), SIG_DFL);
        ::raise(WTERMSIG(status));
        ::_exit(121);
    }
}

[[noreturn]] void start_child(const fs::path& folder, const run_options& options, const char* terminal_name,
                              int stdin_read, int stdout_write, int stderr_write, int report_write)
{
    ::setsid();
    if (options.console != console_kind::none) {
        const int terminal = ::open(terminal_name, O_RDWR);
        if (terminal < 0 || ::ioctl(terminal, TIOCSCTTY, 0) != 0)
            ::_exit(126);
        ::dup2(options.console == console_kind::terminal ? terminal : stdin_read, STDIN_FILENO);
        ::dup2(options.output_to_terminal ? terminal : stdout_write, STDOUT_FILENO);
        ::close(terminal);
    } else {
        const int nothing = ::open("/dev/null", O_RDONLY);
        ::dup2(nothing, STDIN_FILENO);
        ::dup2(stdout_write, STDOUT_FILENO);
    }
    ::dup2(stderr_write, STDERR_FILENO);
    if (report_write >= 0)
        ::dup2(report_write, 3);
    for (int fd = report_write >= 0 ? 4 : 3; fd < 256; ++fd)
        ::close(fd);
    if (::chdir(folder.c_str()) != 0)
        ::_exit(125);
    std::vector<std::string> words = command_under_test();
    words.insert(words.end(), options.args.begin(), options.args.end());
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    ::signal(SIGPIPE, SIG_DFL);
    if (options.ignored_signal != 0)
        ::signal(options.ignored_signal, SIG_IGN);
    for (const std::string& setting : options.environment) {
        const std::size_t equals = setting.find('=');
        ::setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
    }
    if (options.file_size_limit != 0) {
        const struct rlimit limit = {options.file_size_limit, options.file_size_limit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (options.user != -1
        && (::setgid(static_cast<gid_t>(options.user)) != 0 || ::setuid(static_cast<uid_t>(options.user)) != 0))
        ::_exit(124);
    if (options.stop_at_question || options.background_job)
        run_as_job(argv.data(), 3, !options.background_job);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
}

// Adds what the terminal showed (echoes, and output sent to it) to `shown`;
// false when nothing came.
bool read_shown(int master, std::string& shown)
{
    char bytes[256];
    const ssize_t got = ::read(master, bytes, sizeof bytes);
    if (got <= 0)
        return false;
    shown.append(bytes, static_cast<std::size_t>(got));
    return true;
}

std::string drain_terminal(int terminal)
{
    struct termios modes;
    ::tcgetattr(terminal, &modes);
    modes.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    modes.c_cc[VMIN] = 0;
    modes.c_cc[VTIME] = 0;
    ::tcsetattr(terminal, TCSANOW, &modes);
    // Wine's console may put line mode back as it goes, after a killed run.
    ::fcntl(terminal, F_SETFL, ::fcntl(terminal, F_GETFL) | O_NONBLOCK);
    std::string left;
    char buffer[256];
    for (ssize_t got; (got = ::read(terminal, buffer, sizeof buffer)) > 0;)
        left.append(buffer, static_cast<std::size_t>(got));
    return left;
}

}  // namespace

std::vector<std::string> command_under_test()
{
    const char* chosen = std::getenv("ZODIDEZI_UNDER_TEST");
    std::istringstream words(chosen != nullptr && *chosen != '\0' ? chosen : ZODIDEZI_BINARY);
    std::vector<std::string> command;
    for (std::string word; words >> word;)
        command.push_back(word);
    return command;
}

bool under_wine()
{
    const std::vector<std::string> command = command_under_test();
    return !command.empty() && fs::path(command.front()).filename().string().rfind("wine", 0) == 0;
}

run_result run_converter(const fs::path& folder, const run_options& options)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        throw std::runtime_error("no pseudo-terminal");
    const std::string terminal_name = ::ptsname(master);
    // Held open here too, so that unread input can be collected afterwards.
    const int terminal = ::open(terminal_name.c_str(), O_RDWR | O_NOCTTY);
    struct termios modes_before;
    ::tcgetattr(terminal, &modes_before);

    int in_pipe[2], out_pipe[2], err_pipe[2];
    int report[2] = {-1, -1};
    if (::pipe(in_pipe) != 0 || ::pipe(out_pipe) != 0 || ::pipe(err_pipe) != 0
        || ((options.stop_at_question || options.background_job) && ::pipe(report) != 0))
        throw std::runtime_error("no pipes");
    if (!options.typed_ahead.empty())
        write_all(master, options.typed_ahead);

    const pid_t child = ::fork();
    if (child == 0)
        start_child(folder, options, terminal_name.c_str(), in_pipe[0], out_pipe[1], err_pipe[1], report[1]);
    ::close(in_pipe[0]);
    pid_t job = child;
    if (options.stop_at_question || options.background_job) {
        ::close(report[1]);
        if (::read(report[0], &job, sizeof job) != sizeof job)
            throw std::runtime_error("the job did not start");
    }
    ::close(out_pipe[1]);
    ::close(err_pipe[1]);
    ::signal(SIGPIPE, SIG_IGN);
    write_all(in_pipe[1], options.stdin_bytes);
    ::close(in_pipe[1]);
    if (options.console_closed) {
        ::close(out_pipe[0]);
        out_pipe[0] = -1;
    }

    run_result result;
    const auto deadline = clock_type::now() + run_limit();
    std::size_t keys_sent = 0;
    bool signalled = false;
    int open_pipes = (out_pipe[0] >= 0 ? 1 : 0) + 1;
    int status = 0;
    bool exited = false;
    auto read_until = deadline;
    while (open_pipes > 0) {
        // Helpers of the program (wine's) may hold the pipes open after it
        // ends; what it wrote has arrived shortly after.
        if (!exited && ::waitpid(child, &status, WNOHANG) == child) {
            exited = true;
            read_until = clock_type::now() + std::chrono::milliseconds(500);
        }
        if (exited && clock_type::now() > read_until)
            break;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock_type::now());
        if (left.count() <= 0) {
            result.timed_out = true;
            break;
        }
        struct pollfd watched[3] = {{out_pipe[0], POLLIN, 0}, {err_pipe[0], POLLIN, 0}, {master, POLLIN, 0}};
        if (::poll(watched, 3, static_cast<int>(left.count() < 50 ? left.count() : 50)) < 0 && errno != EINTR)
            break;
        std::string* sinks[2] = {&result.console, &result.errors};
        int* fds[2] = {&out_pipe[0], &err_pipe[0]};
        for (int i = 0; i < 2; ++i) {
            if (*fds[i] < 0 || (watched[i].revents & (POLLIN | POLLHUP)) == 0)
                continue;
            char buffer[4096];
            const ssize_t got = ::read(*fds[i], buffer, sizeof buffer);
            if (got > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(got));
            } else {
                ::close(*fds[i]);
                *fds[i] = -1;
                --open_pipes;
            }
        }
        if (watched[2].revents & POLLIN)
            read_shown(master, result.terminal);
        const std::size_t questions = occurrences(result.console, choice_line);
        if (options.background_job && questions > 0 && !signalled) {
            struct pollfd told = {report[0], POLLIN, 0};
            char what = 0;
            result.stopped = ::poll(&told, 1, 5000) == 1 && ::read(report[0], &what, 1) == 1 && what == 'S';
            ::kill(job, options.signal_at_question);
            ::kill(job, SIGCONT);
            signalled = true;
        }
        if (options.signal_at_question != 0 && !options.background_job && questions > 0 && !signalled) {
            wait_for_key_read(master);
            ::kill(child, options.signal_at_question);
            signalled = true;
        }
        if (options.stop_at_question && questions > 0 && !signalled) {
            wait_for_key_read(master);
            ::kill(job, SIGTSTP);
            signalled = true;
            struct pollfd told = {report[0], POLLIN, 0};
            char what = 0;
            result.stopped = ::poll(&told, 1, 5000) == 1 && ::read(report[0], &what, 1) == 1 && what == 'S';
            struct termios while_stopped;
            ::tcgetattr(terminal, &while_stopped);
            result.modes_restored_while_stopped =
                while_stopped.c_lflag == modes_before.c_lflag && while_stopped.c_iflag == modes_before.c_iflag;
            // As a shell does on fg: its own modes back, then the job goes on.
            ::tcsetattr(terminal, TCSANOW, &modes_before);
            ::kill(job, SIGCONT);
        }
        const bool waits_for_signal =
            options.signal_at_question != 0 || options.stop_at_question || options.background_job;
        while ((!waits_for_signal || signalled) && keys_sent < options.keys.size() && keys_sent < questions) {
            wait_for_key_read(master);
            write_all(master, options.keys[keys_sent++]);
        }
    }

    while (!exited && !result.timed_out && ::waitpid(child, &status, WNOHANG) == 0) {
        if (clock_type::now() > deadline)
            result.timed_out = true;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (result.timed_out && !exited) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
    }
    result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    // The last of what the terminal showed may still wait when the pipes close.
    struct pollfd left_shown = {master, POLLIN, 0};
    while (::poll(&left_shown, 1, 0) > 0 && (left_shown.revents & POLLIN) != 0 && read_shown(master, result.terminal))
        left_shown.revents = 0;

    struct termios modes_after;
    ::tcgetattr(terminal, &modes_after);
    result.modes_restored = modes_after.c_lflag == modes_before.c_lflag && modes_after.c_iflag == modes_before.c_iflag;
    result.unread_keys = drain_terminal(terminal);
    for (int fd : {out_pipe[0], err_pipe[0], master, terminal, report[0]})
        if (fd >= 0)
            ::close(fd);
    return result;
}

tree read_tree(const fs::path& folder)
{
    tree found;
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) {
        const std::string name = it->path().lexically_relative(folder).generic_string();
        if (it->is_symlink())
            found[name] = "-> " + fs::read_symlink(it->path()).string();
        else if (it->is_directory())
            found[name] = "<dir>";
        else if (it->is_fifo())
            found[name] = "<fifo>";
        else
            found[name] = read_bytes(it->path());
        if (it->is_symlink())
            it.disable_recursion_pending();
    }
    return found;
}

void make_tree(const fs::path& folder, const tree& files)
{
    for (const bool links : {false, true}) {
        for (const auto& [name, content] : files) {
            const fs::path path = folder / name;
            const bool hard_link = content.rfind("=> ", 0) == 0;
            if (hard_link != links)
                continue;
            fs::create_directories(path.parent_path());
            if (hard_link)
                fs::create_hard_link(folder / content.substr(3), path);
            else if (content == "<dir>")
                fs::create_directories(path);
            else if (content == "<fifo>")
                ::mkfifo(path.c_str(), 0644);
            else if (content.rfind("-> ", 0) == 0)
                fs::create_symlink(content.substr(3), path);
            else
                write_bytes(path, content);
        }
    }
}

std::vector<std::string> with_faults(const std::vector<std::string>& faults)
{
    // The sanitizers' runtime asks to be loaded first; the fault library
    // wraps only the C library's calls, which it does not mind.
    std::vector<std::string> settings = {"LD_PRELOAD=" ZODIDEZI_FAULT_SHIM, "ASAN_OPTIONS=verify_asan_link_order=0"};
    settings.insert(settings.end(), faults.begin(), faults.end());
    return settings;
}

std::string describe(const run_result& result)
{
    std::ostringstream shown;
    shown << "console: \"" << escaped(result.console) << "\"\nerrors: \"" << escaped(result.errors)
          << "\"\nexit status: " << result.exit_status << (result.timed_out ? " (timed out)" : "")
          << "\nunread keys: \"" << escaped(result.unread_keys) << "\"\n";
    return shown.str();
}
