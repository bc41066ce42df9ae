#include "output/open_output.hpp"

#include "platform/console.hpp"
#include "platform/key.hpp"

#include <string_view>

int collision_answer = 0;

namespace {

constexpr int key_overwrite = '1';
constexpr int key_append = '2';
constexpr int key_overwrite_all = '3';
constexpr int key_append_all = '4';

int open_as_decided(output_stream& output, const folder& in, const std::string& name, open_way way,
                    std::string_view decision, std::string_view failure)
{
    console_line(decision);
    output_clear(output);
    if (output_open(output, in, name, way))
        return 1;
    console_line(failure);
    return 0;
}

}  // namespace

int open_output(output_stream& output, const folder& in, const std::string& name, const std::string& shown)
{
    if (output_open(output, in, name, open_way::create_new))
        return 1;

    console_text("Nelze vytvorit vystupni soubor ");
    console_text(shown);
    console_text(" nebo takovy soubor jiz existuje.");
    console_end_line();
    console_line("(1) Prepsat, (2) Pripojit na konec, (3) Prepsat vsechny, (4) Pripojit vsechny");

    int key = collision_answer != 0 ? collision_answer : read_console_key();
    if (key == key_overwrite_all)
        key = collision_answer = key_overwrite;
    else if (key == key_append_all)
        key = collision_answer = key_append;

    if (key == key_overwrite)
        return open_as_decided(output, in, name, open_way::overwrite, "Prepsat.", "Chyba. Nelze prepsat.");
    if (key == key_append)
        return open_as_decided(
            output, in, name, open_way::append, "Pripojit na konec.", "Chyba. Nelze pripojit na konec.");
    console_line("");
    console_line("Ukonceno.");
    return 0;
}
