// The command line as Windows keeps it: one text, the program name first.
#pragma once

#include <string>
#include <string_view>

namespace sim {

// The text Windows would hold for these arguments: the program's own name, then each
// argument after a blank, quoted when it is empty or holds blanks or quotes.
std::string join_command_line(int argc, const char* const* argv);

// What the start-up hands to WinMain: the command line less the program name (quoted or
// not) and the blanks and tabs that follow it.
std::string arguments_of(std::string_view command_line);

}  // namespace sim
