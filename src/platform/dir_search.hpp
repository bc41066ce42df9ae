// The wildcard directory search: the names in one directory that match a
// pattern, as the platform matches them, in the platform's order.
#pragma once

#include "platform/file.hpp"

#include <string>
#include <vector>

// The bare names in `in` that match `pattern` (which may hold * and ?),
// unfiltered: subdirectories, "." and ".." included when they match. Empty
// when the search cannot start, for whatever reason. The directory is read
// once, so files created afterwards are not delivered.
std::vector<std::string> find_entries(const folder& in, const std::string& pattern);
