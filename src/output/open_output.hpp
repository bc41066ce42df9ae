// Opening an output without ever replacing or extending an existing file
// unasked.
#pragma once

#include "platform/stream.hpp"

#include <string>

// The remembered answer of the existing-file question: 0 until the user
// answers "all", then the key ('1' overwrite, '2' append) it repeats.
extern int collision_answer;

// 1 when `output` (closed, failure state clear) is open for writing on
// `name` in `in`: created new, or after the question overwritten or appended
// to. 0 when it is not open; the reason has been printed. `shown` is the
// path as the messages show it.
int open_output(output_stream& output, const folder& in, const std::string& name, const std::string& shown);
