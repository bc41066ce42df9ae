// Writes code page 1250 text (from standard input) as Zibol text (to
// standard output), the inverse of the converter's table. It makes the
// example sources; a character that Zibol cannot hold stops it.
#include "convert/zibol_table.hpp"

#include <cstdio>

namespace {

int zibol_code_for(int byte)
{
    if (byte == '\n')
        return zibol_line_end;
    if (byte == ' ')
        return zibol_space;
    for (int code = 0; code < 128; ++code)
        if (zibol_table[code] == byte && zibol_table[code] != no_output)
            return code;
    return -1;
}

}  // namespace

int main()
{
    long offset = 0;
    for (int byte = std::getchar(); byte != EOF; byte = std::getchar(), ++offset) {
        if (byte == '\r')
            continue;
        const int code = zibol_code_for(byte);
        if (code < 0) {
            std::fprintf(stderr, "zibol_encode: byte 0x%02X at offset %ld has no Zibol code\n", byte, offset);
            return 1;
        }
        std::putchar(code);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
