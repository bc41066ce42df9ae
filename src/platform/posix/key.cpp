// The key read on a POSIX terminal. /dev/tty is the console: it stays the
// user's keyboard when standard input is redirected.
#include "platform/key.hpp"
#include "platform/posix/retry.hpp"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int escape = 0x1B;
// Bytes of one escape sequence arrive together; a lone Escape key is
// followed by nothing for longer than this.
constexpr int sequence_gap_ms = 100;

int terminal = -1;
struct termios saved_modes;
struct termios key_modes;
volatile std::sig_atomic_t reading = 0;  // the terminal is in key_modes

// The signals whose default action ends the process (the terminal is put
// back first, and then the signal acts as it would have), and the stop and
// the continue (the terminal is the shell's while stopped).
constexpr int caught_signals[] = {
    SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU, SIGTSTP, SIGCONT};
constexpr int caught_count = sizeof caught_signals / sizeof caught_signals[0];
struct sigaction previous_actions[caught_count];

void set_modes(const struct termios& modes)
{
    retry_on_interrupt([&] { return ::tcsetattr(terminal, TCSANOW, &modes); });
}

// Only the foreground may set the terminal's modes: from the background the
// call would stop the process again and again. A process in the background
// has not switched them, or has given them back when it was stopped.
bool in_foreground()
{
    return ::tcgetpgrp(terminal) == ::getpgrp();
}

void restore_modes()
{
    if (reading && in_foreground())
        set_modes(saved_modes);
    reading = 0;
}

int index_of(int signal)
{
    for (int i = 0; i < caught_count; ++i)
        if (caught_signals[i] == signal)
            return i;
    return 0;
}

void on_ending(int signal)
{
    restore_modes();
    ::sigaction(signal, &previous_actions[index_of(signal)], nullptr);
    // Blocked until this handler returns; then it acts as it always would.
    ::raise(signal);
}

void on_stop(int)
{
    const int saved_errno = errno;
    const bool was_reading = reading != 0;
    if (was_reading && in_foreground())
        set_modes(saved_modes);
    struct sigaction stop {};
    stop.sa_handler = SIG_DFL;
    struct sigaction mine {};
    ::sigaction(SIGTSTP, &stop, &mine);
    sigset_t only_stop;
    sigset_t before;
    ::sigemptyset(&only_stop);
    ::sigaddset(&only_stop, SIGTSTP);
    ::sigprocmask(SIG_UNBLOCK, &only_stop, &before);
    ::raise(SIGTSTP);  // stopped here until continued
    ::sigprocmask(SIG_SETMASK, &before, nullptr);
    ::sigaction(SIGTSTP, &mine, nullptr);
    if (was_reading && in_foreground())
        set_modes(key_modes);
    errno = saved_errno;
}

// The shell has put its own modes back while the process was stopped. Sent
// on into the background, the key read stops at the terminal until fg, and
// this comes again then.
void on_continue(int)
{
    const int saved_errno = errno;
    if (reading && in_foreground())
        set_modes(key_modes);
    errno = saved_errno;
}

// Signals that the process ignores (under nohup, say) stay ignored.
void catch_signals()
{
    struct sigaction action {};
    ::sigemptyset(&action.sa_mask);
    for (const int signal : caught_signals)
        ::sigaddset(&action.sa_mask, signal);
    for (int i = 0; i < caught_count; ++i) {
        const int signal = caught_signals[i];
        ::sigaction(signal, nullptr, &previous_actions[i]);
        if (previous_actions[i].sa_handler == SIG_IGN && signal != SIGCONT)
            continue;
        action.sa_handler = signal == SIGTSTP ? on_stop : signal == SIGCONT ? on_continue : on_ending;
        ::sigaction(signal, &action, nullptr);
    }
}

void release_signals()
{
    for (int i = 0; i < caught_count; ++i)
        ::sigaction(caught_signals[i], &previous_actions[i], nullptr);
}

int open_terminal()
{
    if (terminal < 0)
        terminal = retry_on_interrupt([] { return ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC); });
    return terminal >= 0;
}

// Every kind of input processing off; TCSANOW keeps what was typed ahead.
int switch_modes()
{
    if (::tcgetattr(terminal, &saved_modes) != 0)
        return 0;
    key_modes = saved_modes;
    key_modes.c_iflag &=
        ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY);
    key_modes.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ECHOE | ECHOK | ECHONL | ISIG | IEXTEN);
    key_modes.c_cc[VMIN] = 1;
    key_modes.c_cc[VTIME] = 0;
    catch_signals();
    reading = 1;
    if (retry_on_interrupt([] { return ::tcsetattr(terminal, TCSANOW, &key_modes); }) != 0) {
        reading = 0;
        release_signals();
        return 0;
    }
    return 1;
}

// One byte; -1 on a failed read, or when `wait_ms` passes first (a negative
// wait has no limit).
int read_byte(int wait_ms)
{
    struct pollfd ready = {terminal, POLLIN, 0};
    if (retry_on_interrupt([&] { return ::poll(&ready, 1, wait_ms); }) <= 0)
        return -1;
    unsigned char byte;
    return retry_on_interrupt([&] { return ::read(terminal, &byte, 1); }) == 1 ? byte : -1;
}

// Takes the rest of an escape sequence off the input: ESC [ parameters and a
// final byte, ESC [ [ x (Linux console F1-F5), ESC O x, or ESC x (Alt with a
// key).
void consume_sequence(int second)
{
    if (second == 'O') {
        read_byte(sequence_gap_ms);
    } else if (second == '[') {
        int byte = read_byte(sequence_gap_ms);
        if (byte == '[') {
            read_byte(sequence_gap_ms);
            return;
        }
        while (byte >= 0 && !(byte >= 0x40 && byte <= 0x7E))
            byte = read_byte(sequence_gap_ms);
    }
}

}  // namespace

int read_console_key()
{
    if (!open_terminal() || !switch_modes())
        return key_no_console;
    int key = read_byte(-1);
    if (key >= 0xC2 && key <= 0xF4) {
        // A UTF-8 terminal sends one letter as several bytes: take them all.
        const int continuations = key >= 0xF0 ? 3 : key >= 0xE0 ? 2 : 1;
        for (int i = 0; i < continuations; ++i)
            read_byte(sequence_gap_ms);
    } else if (key == escape) {
        const int second = read_byte(sequence_gap_ms);
        if (second >= 0) {
            consume_sequence(second);
            key = key_extended;
        }
    }
    restore_modes();
    release_signals();
    return key;
}
