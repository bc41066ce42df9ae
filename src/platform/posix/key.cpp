// The key read on a POSIX terminal. /dev/tty is the console: it stays the
// user's keyboard when standard input is redirected.
#include "platform/key.hpp"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int no_console = -1;
constexpr int escape = 0x1B;
constexpr int key_without_character = 224;
// Bytes of one escape sequence arrive together; a lone Escape key is
// followed by nothing for longer than this.
constexpr int sequence_gap_ms = 100;

int terminal = -1;
struct termios saved_modes;
volatile std::sig_atomic_t modes_switched = 0;

constexpr int restoring_signals[] = {SIGTERM, SIGHUP, SIGQUIT};
struct sigaction previous_actions[3];

void restore_modes()
{
    if (modes_switched) {
        ::tcsetattr(terminal, TCSANOW, &saved_modes);
        modes_switched = 0;
    }
}

// The signal then acts as it would have, but with the terminal as it was
// found.
void restore_and_die(int signal)
{
    restore_modes();
    for (int i = 0; i < 3; ++i)
        if (restoring_signals[i] == signal)
            ::sigaction(signal, &previous_actions[i], nullptr);
    ::raise(signal);
}

// Signals that the process ignores (under nohup, say) stay ignored.
void catch_signals()
{
    struct sigaction action {};
    action.sa_handler = restore_and_die;
    ::sigemptyset(&action.sa_mask);
    for (int i = 0; i < 3; ++i) {
        ::sigaction(restoring_signals[i], nullptr, &previous_actions[i]);
        if (previous_actions[i].sa_handler != SIG_IGN)
            ::sigaction(restoring_signals[i], &action, nullptr);
    }
}

void release_signals()
{
    for (int i = 0; i < 3; ++i)
        ::sigaction(restoring_signals[i], &previous_actions[i], nullptr);
}

int open_terminal()
{
    if (terminal < 0)
        terminal = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    return terminal >= 0;
}

// Every kind of input processing off; TCSANOW keeps what was typed ahead.
int switch_modes()
{
    if (::tcgetattr(terminal, &saved_modes) != 0)
        return 0;
    struct termios raw = saved_modes;
    raw.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY);
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ECHOE | ECHOK | ECHONL | ISIG | IEXTEN);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    catch_signals();
    modes_switched = 1;
    if (::tcsetattr(terminal, TCSANOW, &raw) != 0) {
        modes_switched = 0;
        release_signals();
        return 0;
    }
    return 1;
}

// One byte; -1 on a failed read, or when `wait_ms` passes first (a negative
// wait has no limit).
int read_byte(int wait_ms)
{
    for (;;) {
        struct pollfd ready = {terminal, POLLIN, 0};
        const int polled = ::poll(&ready, 1, wait_ms);
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            return -1;
        unsigned char byte;
        const ssize_t got = ::read(terminal, &byte, 1);
        if (got < 0 && errno == EINTR)
            continue;
        return got == 1 ? byte : -1;
    }
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
        return no_console;
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
            key = key_without_character;
        }
    }
    restore_modes();
    release_signals();
    return key;
}
