// Small text helpers shared by the machine's rooms.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

// A C string literal for the bytes: quotes, `\\`, `\"`, and `\xNN` for every byte outside
// printable ASCII, so a trace line shows code page 1252 text exactly.
std::string c_literal(std::string_view bytes);

// The bytes of code page 1252 text as UTF-8, for showing on a terminal.
std::string cp1252_to_utf8(std::string_view bytes);

// "0x" and upper-case hex digits: `digits` of them, more when the value needs them.
std::string hex(std::uint32_t value, int digits = 8);

// An unsigned 32-bit number written in decimal or as 0x hex; nothing else is taken.
std::optional<std::uint32_t> parse_u32(std::string_view text);

std::string_view trim(std::string_view text);

// Equal after folding ASCII letters only.
bool equal_ascii_nocase(std::string_view a, std::string_view b);

}  // namespace sim

namespace sim {

// Names compare without regard to case, in the machine's file system and registry alike:
// the lower-case letters of code page 1252 (ASCII and the Latin-1 letters) fold to their
// capitals.
unsigned char fold_byte(char c);
std::string fold_case(std::string_view name);
bool same_folded(std::string_view a, std::string_view b);

}  // namespace sim
