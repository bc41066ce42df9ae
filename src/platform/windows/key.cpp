// The key read on the Windows console. "CONIN$" is the keyboard even when
// standard input is redirected.
#include "platform/key.hpp"

#include <windows.h>

namespace {

HANDLE console_input = INVALID_HANDLE_VALUE;

bool is_lone_modifier(WORD key)
{
    switch (key) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_CAPITAL:
    case VK_NUMLOCK:
    case VK_SCROLL:
    case VK_LWIN:
    case VK_RWIN: return true;
    default: return false;
    }
}

int key_code(const KEY_EVENT_RECORD& key)
{
    const DWORD alt = LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED;
    const DWORD ctrl = LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED;
    const auto character = static_cast<unsigned char>(key.uChar.AsciiChar);
    // Alt with a key is no character, as the old console read had it and as
    // on a terminal; AltGr (Alt and Ctrl together) types characters.
    const bool alt_only = (key.dwControlKeyState & alt) && !(key.dwControlKeyState & ctrl);
    if (character != 0 && !alt_only)
        return character;
    return (key.dwControlKeyState & ENHANCED_KEY) ? key_extended : key_without_character;
}

}  // namespace

int read_console_key()
{
    if (console_input == INVALID_HANDLE_VALUE)
        console_input = ::CreateFileA("CONIN$",
                                      GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr,
                                      OPEN_EXISTING,
                                      0,
                                      nullptr);
    DWORD saved_mode = 0;
    if (console_input == INVALID_HANDLE_VALUE || !::GetConsoleMode(console_input, &saved_mode))
        return key_no_console;
    // With input processing off, Ctrl+C is the key 3 and interrupts nothing.
    ::SetConsoleMode(console_input, 0);
    int result = key_no_console;
    for (;;) {
        INPUT_RECORD event;
        DWORD count = 0;
        if (!::ReadConsoleInputA(console_input, &event, 1, &count) || count == 0)
            break;
        if (event.EventType != KEY_EVENT || !event.Event.KeyEvent.bKeyDown
            || is_lone_modifier(event.Event.KeyEvent.wVirtualKeyCode))
            continue;
        result = key_code(event.Event.KeyEvent);
        break;
    }
    ::SetConsoleMode(console_input, saved_mode);
    return result;
}
