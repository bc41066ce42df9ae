// File-name patterns as Windows matches them, for systems that lack it.
#pragma once

#include <string_view>

// 1 when `name` matches `pattern`, ASCII letter case ignored. * matches any
// run of characters and ? any one character. As on Windows, ? also matches
// nothing before a dot or at the end, a dot before * or ? (or ending the
// pattern) may match the end of the name, and a * before a dot stops at the
// name's last dot: so *.* matches every name and *. the names without a dot.
int wildcard_match(std::string_view pattern, std::string_view name);

// Negative, 0 or positive as `a` sorts before, with or after `b` in the order
// of an NTFS directory: letter case ignored, ties broken by the raw bytes.
int directory_order(std::string_view a, std::string_view b);
