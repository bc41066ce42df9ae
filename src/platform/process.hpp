// What the process sets up before it writes anything.
#pragma once

// A closed console pipe and a file-size limit make writes fail, to be
// reported, instead of ending the process.
void process_start();
