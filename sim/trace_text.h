// How the trace writes the platform's values: strings as C literals, handles and roots by
// name, results by their Windows names.
#pragma once

#include <cstdint>
#include <string>

namespace sim {

std::string trace_string(const char* text);         // C literal, or NULL
std::string trace_pointer(const void* p, const char* what);  // NULL, or the word for it
std::string trace_error(long code);                  // ERROR_SUCCESS, ERROR_MORE_DATA, ...

}  // namespace sim
