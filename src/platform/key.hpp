// One key press read straight from the console, also when standard input is
// redirected: no echo, no Enter, no time-out.
#pragma once

// The key's character code (1 to 255); 0 or 224 for a key without a
// character; -1 when there is no console or the read fails. Keys typed ahead
// are read first. The console's modes are restored before the call returns.
int read_console_key();
