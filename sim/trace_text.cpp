#include "trace_text.h"

#include "text.h"

namespace sim {

std::string trace_string(const char* text) { return text ? c_literal(text) : "NULL"; }

std::string trace_pointer(const void* p, const char* what) { return p ? what : "NULL"; }

std::string trace_error(long code) {
    switch (code) {
        case 0: return "ERROR_SUCCESS";
        case 2: return "ERROR_FILE_NOT_FOUND";
        case 3: return "ERROR_PATH_NOT_FOUND";
        case 5: return "ERROR_ACCESS_DENIED";
        case 6: return "ERROR_INVALID_HANDLE";
        case 32: return "ERROR_SHARING_VIOLATION";
        case 87: return "ERROR_INVALID_PARAMETER";
        case 234: return "ERROR_MORE_DATA";
        case 1018: return "ERROR_KEY_DELETED";
        default: return std::to_string(code);
    }
}

}  // namespace sim
