#include "platform/console.hpp"

#include <string>

namespace {

std::string pending_line;
bool console_lost = false;

}  // namespace

void console_text(std::string_view text)
{
    pending_line += text;
}

void console_end_line()
{
    pending_line += "\r\n";
    if (!console_lost && !console_write(pending_line.data(), pending_line.size()))
        console_lost = true;
    pending_line.clear();
}

void console_line(std::string_view text)
{
    console_text(text);
    console_end_line();
}
