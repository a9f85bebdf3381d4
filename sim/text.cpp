#include "text.h"

#include <array>
#include <cctype>

namespace sim {

std::string c_literal(std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (unsigned char c : bytes) {
        if (c == '\\' || c == '"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    out += '"';
    return out;
}

std::string cp1252_to_utf8(std::string_view bytes) {
    // Code points of 0x80..0x9F; 0 where code page 1252 leaves the byte undefined.
    static const std::array<char16_t, 32> high = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    std::string out;
    for (unsigned char c : bytes) {
        char32_t cp = c;
        if (c >= 0x80 && c < 0xA0) cp = high[c - 0x80] ? high[c - 0x80] : U'?';
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::string hex(std::uint32_t value, int digits) {
    static const char chars[] = "0123456789ABCDEF";
    std::string out;
    for (; value != 0 || static_cast<int>(out.size()) < digits; value >>= 4) out.insert(out.begin(), chars[value & 15]);
    return "0x" + out;
}

std::optional<std::uint32_t> parse_u32(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

bool equal_ascii_nocase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); i++) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace sim

namespace sim {

namespace {

constexpr std::array<unsigned char, 256> make_fold_table() {
    std::array<unsigned char, 256> table{};
    for (int b = 0; b < 256; b++) table[b] = static_cast<unsigned char>(b);
    for (int b = 'a'; b <= 'z'; b++) table[b] = static_cast<unsigned char>(b - 0x20);
    for (int b = 0xE0; b <= 0xFE; b++) {
        if (b != 0xF7) table[b] = static_cast<unsigned char>(b - 0x20);
    }
    table[0x9A] = 0x8A;
    table[0x9C] = 0x8C;
    table[0x9E] = 0x8E;
    table[0xFF] = 0x9F;
    return table;
}

constexpr std::array<unsigned char, 256> kFold = make_fold_table();

}  // namespace

unsigned char fold_byte(char c) { return kFold[static_cast<unsigned char>(c)]; }

std::string fold_case(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = static_cast<char>(fold_byte(c));
    return folded;
}

bool same_folded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); i++) {
        if (fold_byte(a[i]) != fold_byte(b[i])) return false;
    }
    return true;
}

}  // namespace sim
