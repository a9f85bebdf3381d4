// The registry file: REGEDIT4 text, as the registry editor of Windows 95 exports it.
#pragma once

#include <string>
#include <string_view>

#include "registry.h"

namespace sim {

// Reads REGEDIT4 text. `file_name` is used in errors, which name the line:
// "registry.reg:41: hex byte '0g' is not hexadecimal". Throws InputError.
Registry load_reg_file(std::string_view text, const std::string& file_name);

// Writes the registry back in the same form: the header, then every live key in key
// order with its values in order, a blank line after each key. A key or value that was
// not changed since load is written exactly as it was read.
std::string save_reg_file(const Registry& registry);

}  // namespace sim
