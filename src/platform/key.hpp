// One key press read straight from the console, also when standard input is
// redirected: no echo, no Enter, no time-out.
#pragma once

// What the read gives besides a character code (1 to 255).
constexpr int key_no_console = -1;        // no console, or the read failed
constexpr int key_without_character = 0;  // a function key and the like
constexpr int key_extended = 224;         // grey arrows, Home, End, Insert, Delete, Page Up/Down

// The key's character code, or one of the values above. Keys typed ahead are
// read first. The console's modes are restored before the call returns.
int read_console_key();
