#pragma once

// The command line of the k7rdump console tool: `k7rdump input-file [output-file]`.

#include <iosfwd>
#include <span>
#include <string>

namespace k7rdump {

// Runs the tool on its arguments (without the program name) and returns the exit
// status. Messages, and the dump when no output file is given, go to `console`.
//   - no input path: "No input file", status 1;
//   - the output file cannot be written: "No output file", status 1, and no output
//     file is left behind (an existing one is kept unchanged);
//   - otherwise status 0, also when the input cannot be opened (the dump then holds
//     "Can't open file ..."). Extra arguments are ignored.
// The output file is written to a temporary file in the same folder and renamed over
// the output only when complete, so a reader never sees a half-written dump.
int RunK7rDump(std::span<const std::string> args, std::ostream& console);

}  // namespace k7rdump
