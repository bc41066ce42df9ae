// File-name patterns as Windows matches them, for systems that lack it.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// A pattern made ready to match many names. * matches any run of characters
// and ? any one character. As on Windows, ? also matches nothing before a dot
// or at the end, a dot before * or ? (or ending the pattern) may match the
// end of the name, and a * before a dot stops at the name's last dot: so *.*
// matches every name and *. the names without a dot. ASCII letter case is
// ignored. The work is linear in the pattern for each name, and matching
// allocates nothing once the longest name has been seen.
struct wildcard {
    std::vector<int> tokens;
    // Scratch for one name: sets of its positions, one bit per position.
    std::vector<std::uint64_t> by_letter;  // 256 sets: where each letter stands
    std::vector<std::uint64_t> sets;       // the reached positions, dots, ends
    std::size_t words = 0;
};

void wildcard_prepare(wildcard& pattern, std::string_view text);

// 1 when `name` matches the prepared pattern.
int wildcard_matches(wildcard& pattern, std::string_view name);

// The same, for one name.
int wildcard_match(std::string_view pattern, std::string_view name);

// Negative, 0 or positive as `a` sorts before, with or after `b` in the order
// of an NTFS directory: letter case ignored, ties broken by the raw bytes.
int directory_order(std::string_view a, std::string_view b);
