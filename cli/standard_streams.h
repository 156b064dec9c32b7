#pragma once
// The tool's arguments and output streams, the same bytes on every platform.

#include <string>
#include <vector>

namespace tally::cli {

// The arguments after the program name as UTF-8. On Windows they are taken from the UTF-16 command
// line, so that a path with characters outside the 8-bit code page arrives whole.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// On Windows: standard output and standard error become binary, so that every output format is the
// same bytes as elsewhere (the text mode would turn each "\n" into "\r\n" and the report's "\r\n" into
// "\r\r\n"). A stream that is a console gets the UTF-8 text as characters instead, whatever the
// console's code page. Elsewhere nothing changes.
void PrepareStandardStreams();

}  // namespace tally::cli
