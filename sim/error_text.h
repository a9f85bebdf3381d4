// Text from a bad input file, made fit for an error message of one line.
#pragma once

#include <string>
#include <string_view>

namespace sim {

// The text with every byte outside printable ASCII shown as \xNN, and cut short (with
// "...") past 60 characters, so that junk, control characters or a huge line in a file
// still give a short message on one line.
std::string printable(std::string_view text);

// The same in single quotes: 'text'.
std::string shown(std::string_view text);

// True when the text starts with a UTF-16 byte order mark: a file saved as "Unicode",
// which the machine's readers, made for code page 1252 text, cannot take.
bool starts_as_utf16(std::string_view text);

}  // namespace sim
