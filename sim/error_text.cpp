#include "error_text.h"

namespace sim {

std::string printable(std::string_view text) {
    constexpr std::size_t kMaxShown = 60;
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < text.size() && i < kMaxShown; i++) {
        auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x20 || b >= 0x7F) {
            out += "\\x";
            out += kDigits[b >> 4];
            out += kDigits[b & 15];
        } else {
            out += static_cast<char>(b);
        }
    }
    if (text.size() > kMaxShown)
        out += "...";
    return out;
}

std::string shown(std::string_view text) {
    return "'" + printable(text) + "'";
}

bool starts_as_utf16(std::string_view text) {
    return text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF");
}

}  // namespace sim
