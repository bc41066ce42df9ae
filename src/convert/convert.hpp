// The conversion pass: one source stream into one output stream.
#pragma once

#include "platform/stream.hpp"

// Reads `source` to its end and writes its text, translated, after whatever
// `output` holds. Never fails: returns 1. A failed write leaves the output
// in its failed state, and the source is still read to the end.
int convert_file(source_stream& source, output_stream& output);
