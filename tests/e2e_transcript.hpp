// The end-to-end cases as rows: a command line, the folder before, the
// console after the banner, and what the run changes in the folder. Each
// topic file instantiates Transcript with a table of its own.
#pragma once

#include "e2e_harness.hpp"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

using lines = std::vector<std::string>;

inline const lines banner = {"", "ZODIDEZI 1.0 (Zibol --> Win1250)", "(c) 2026 Autori programu zodidezi", ""};
inline const lines usage = {
    "ZODIDEZI ZDROJ.ZIB [CIL.TXT]",
    "",
    "Priklady:",
    "zodidezi zdroj.zib            ..vytvori zdroj.txt",
    "zodidezi zdroj.zib cil.txt    ..vytvori cil.txt",
    "zodidezi *.zib                ..zpracuje vsechny *.zib na *.txt",
    "zodidezi *.zib cil.txt        ..zpracuje vsechny *.zib a spoji je do cil.txt",
    "",
};
inline const std::string choices = "(1) Prepsat, (2) Pripojit na konec, (3) Prepsat vsechny, (4) Pripojit vsechny";
inline const std::string same_file = "Vystupni soubor je totozny se vstupnim, preskakuji.";

// Sources and what they convert to. Hex escapes are cut short where a hex
// digit follows.
inline const std::string cast_zib = "\x27\x2A\x26"
                                    "t\x9B";  // "část" and a line end
inline const std::string cast_txt = "\xE8\xE1\x9A"
                                    "t\r\n";
inline const std::string ruze_zib = "R\x2B\x28"
                                    "e";  // "Růže", no line end
inline const std::string ruze_txt = "R\xF9\x9E"
                                    "e";
inline const std::string pes_zib = "Pes\x9B\x9B";
inline const std::string pes_txt = "Pes\r\n\r\n";

// Together longer than the 255 characters that fixed path buffers hold.
inline const std::string long_folder(200, 'f');
inline const std::string long_name = std::string(200, 'n');

// What stands between two sources in a merged output, as the file holds it.
inline const std::string separator = "\r\n\r\n\r\n" + std::string(32, '-') + "\r\n\r\n\r\n";

// The whole console of a run: the banner, then `body`.
std::string console_of(const lines& body);

// A per-file run: its mode line, the body, and the finish when it gets there.
lines per_file(const lines& body, bool finished = true);

// A merged run into `name`: its mode line, the body, and the finish.
lines merged(const std::string& name, const lines& body, bool finished = true);

// The existing-file question about `path`, then the answer line, or the
// decline when `then` is "decline".
lines question(const std::string& path, const std::string& then);

lines operator+(lines a, const lines& b);

struct e2e_case {
    std::string name;
    std::vector<std::string> args;
    tree files;     // the folder before the run
    lines console;  // after the banner
    tree changed;   // entries new or different afterwards
    std::vector<std::string> keys = {};
    bool posix_only = false;  // needs what wine does not offer (FIFOs, links, devices)
    console_kind console_is = console_kind::terminal;
    std::string typed_ahead{};
    std::string stdin_bytes{};
    std::vector<std::string> faults = {};  // set for the fault library, which is then preloaded
    unsigned long file_size_limit = 0;     // RLIMIT_FSIZE for the program
};

void PrintTo(const e2e_case& c, std::ostream* os);

// The files with their bytes in a readable form, for comparing trees.
tree shown(const tree& files);

class Transcript : public testing::TestWithParam<e2e_case> {};

// The test name of a row, from its description.
std::string name_of(const testing::TestParamInfo<e2e_case>& tested);
