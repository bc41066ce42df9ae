// The console: the process's standard output, the one place every message
// goes. Lines end in CR LF and are flushed when complete. After a failed
// write every later message is dropped and the run goes on.
#pragma once

#include <cstddef>
#include <string_view>

// Adds text to the line being built; nothing is written yet.
void console_text(std::string_view text);

// Ends the line being built with CR LF and writes it out.
void console_end_line();

// A whole line: its text, CR LF, written out at once.
void console_line(std::string_view text);

// The OS part: writes every byte to standard output, 1 on success.
int console_write(const char* bytes, std::size_t size);
