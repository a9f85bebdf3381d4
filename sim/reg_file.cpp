#include "reg_file.h"

#include <stdexcept>
#include <unordered_map>
#include <utility>
#include <vector>

#include "error.h"
#include "error_text.h"

namespace sim {

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
// A hex list's line is broken after the comma that takes it past this many characters.
constexpr std::size_t kHexLineWidth = 76;
constexpr std::string_view kHexIndent = "  ";

int hex_digit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool is_blank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

class Loader {
public:
    Loader(std::string_view text, const std::string& file_name) : file_name_(file_name) { split(text); }

    Registry run() {
        if (lines_.empty())
            fail(0, "the file is empty; a registry file starts with the line REGEDIT4");
        if (starts_as_utf16(lines_[0])) {
            fail(1, "the file is UTF-16 text; a registry file is REGEDIT4 text in code page 1252");
        }
        check_line(0);
        if (lines_[0] != kHeader) {
            fail(1, "the first line must be exactly REGEDIT4, found " + shown(lines_[0]));
        }
        for (index_ = 1; index_ < lines_.size(); index_++) {
            check_line(index_);
            std::string_view line = lines_[index_];
            if (is_blank(line))
                continue;
            if (line.front() == '[') {
                key_line(line);
            } else if (line.front() == '"' || line.front() == '@') {
                value_line(line);
            } else {
                fail(number(),
                     "expected a key line '[...]', a value line or a blank line, found " + shown(line));
            }
        }
        registry_.line_end = line_end_;
        registry_.mark_saved();
        return std::move(registry_);
    }

private:
    // Cuts the text into physical lines without their line ends; the first line's end is
    // the file's.
    void split(std::string_view text) {
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t lf = text.find('\n', pos);
            std::size_t end = lf == std::string_view::npos ? text.size() : lf;
            bool crlf = lf != std::string_view::npos && end > pos && text[end - 1] == '\r';
            if (lines_.empty() && lf != std::string_view::npos)
                line_end_ = crlf ? "\r\n" : "\n";
            lines_.push_back(text.substr(pos, end - pos - (crlf ? 1 : 0)));
            pos = lf == std::string_view::npos ? text.size() : lf + 1;
        }
    }

    int number() const { return static_cast<int>(index_) + 1; }

    [[noreturn]] void fail(int line, const std::string& what) const {
        throw InputError(file_name_, line, what);
    }

    void check_line(std::size_t index) const {
        std::string_view line = lines_[index];
        int n = static_cast<int>(index) + 1;
        if (line.find('\0') != std::string_view::npos) {
            fail(n, "the line holds a NUL byte; a registry file is plain text");
        }
        if (line.find('\r') != std::string_view::npos) {
            fail(n, "the line holds a carriage return that does not end it");
        }
    }

    void key_line(std::string_view line) {
        std::size_t close = line.rfind(']');
        if (close == std::string_view::npos)
            fail(number(), "key line " + shown(line) + " has no closing ']'");
        if (close + 1 != line.size()) {
            fail(number(), "unexpected text " + shown(line.substr(close + 1)) + " after ']' of the key line");
        }
        std::string_view path = line.substr(1, close - 1);
        std::size_t slash = path.find('\\');
        std::string_view root_part = path.substr(0, slash);
        std::optional<Root> root = root_from_name(root_part);
        if (!root) {
            fail(number(), "unknown root key " + shown(root_part) +
                               "; a key path starts with HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, "
                               "HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG or HKEY_DYN_DATA");
        }
        std::string_view rest = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
        if (slash != std::string_view::npos &&
            (rest.empty() || rest.front() == '\\' || rest.back() == '\\' ||
             rest.find("\\\\") != std::string_view::npos)) {
            fail(number(), "key path " + shown(path) + " has an empty key name (a doubled or trailing '\\')");
        }
        RegKey* key = registry_.create(registry_.root(*root), rest);
        if (!key->listed)
            registry_.mark_listed(*key, std::string(line));
        key_ = key;
    }

    // Reads a quoted string starting at line[pos] == '"'; leaves pos after the closing quote.
    std::string quoted(std::string_view line, std::size_t& pos) const {
        std::string text;
        pos++;
        while (true) {
            if (pos >= line.size())
                fail(number(), "unterminated string: no closing '\"' on the line");
            char c = line[pos];
            if (c == '"') {
                pos++;
                return text;
            }
            if (c == '\\') {
                if (pos + 1 >= line.size())
                    fail(number(), "unterminated string: the line ends after '\\'");
                char next = line[pos + 1];
                if (next != '\\' && next != '"') {
                    fail(number(), "bad escape '\\" + printable(std::string_view(&next, 1)) +
                                       "' in string; only \\\\ and \\\" may follow a backslash");
                }
                text += next;
                pos += 2;
                continue;
            }
            text += c;
            pos++;
        }
    }

    void value_line(std::string_view line) {
        if (!key_)
            fail(number(), "value line stands before any key line");
        std::size_t pos = 0;
        std::string name;
        if (line.front() == '@') {
            pos = 1;
        } else {
            name = quoted(line, pos);
        }
        if (pos >= line.size() || line[pos] != '=') {
            fail(number(),
                 line.front() == '@' ? "expected '=' after '@'" : "expected '=' after the value name");
        }
        pos++;
        std::string raw(line);
        std::string_view data_text = line.substr(pos);
        std::uint32_t type = kRegSz;
        std::string data;
        if (data_text.starts_with('"')) {
            data = quoted(line, pos);
            if (pos != line.size()) {
                fail(number(), "unexpected text " + shown(line.substr(pos)) + " after the closing quote");
            }
            data += '\0';
        } else if (data_text.starts_with("dword:")) {
            std::string_view digits = data_text.substr(6);
            std::uint32_t n = 0;
            bool ok = digits.size() == 8;
            for (char c : digits) {
                int d = hex_digit(c);
                if (d < 0)
                    ok = false;
                n = n << 4 | static_cast<std::uint32_t>(d < 0 ? 0 : d);
            }
            if (!ok)
                fail(number(), "dword value needs exactly 8 hex digits, found " + shown(digits));
            type = kRegDword;
            for (int i = 0; i < 4; i++)
                data += static_cast<char>(n >> (8 * i) & 0xFF);
        } else if (data_text.starts_with("hex:")) {
            type = kRegBinary;
            data = hex_list(line, pos + 4, raw);
        } else if (data_text.starts_with("hex(")) {
            std::size_t close = data_text.find(')');
            std::string_view digits = data_text.substr(4, close == std::string_view::npos ? 0 : close - 4);
            bool ok = close != std::string_view::npos && !digits.empty() && digits.size() <= 8;
            type = 0;
            for (char c : digits) {
                int d = hex_digit(c);
                if (d < 0)
                    ok = false;
                type = type << 4 | static_cast<std::uint32_t>(d < 0 ? 0 : d);
            }
            if (!ok)
                fail(number(), "value type in 'hex(...)' must be a hex number of 1 to 8 digits");
            if (close + 1 >= data_text.size() || data_text[close + 1] != ':') {
                fail(number(), "expected ':' after 'hex(" + printable(digits) + ")'");
            }
            data = hex_list(line, pos + close + 2, raw);
        } else {
            fail(number(), "unknown value data " + shown(data_text) +
                               "; expected \"text\", dword:XXXXXXXX, hex: or hex(N):");
        }
        store(RegValue{std::move(name), type, std::move(data), std::move(raw)});
    }

    // Reads comma-separated hex bytes from line[pos] on, following '\' continuations onto
    // the next lines, whose text is added to `raw`.
    std::string hex_list(std::string_view line, std::size_t pos, std::string& raw) {
        std::string data;
        bool first = true;  // nothing read yet: an empty list may end here
        while (true) {
            // Here the list is at its start or just past a comma.
            if (pos == line.size()) {
                if (first)
                    return data;
                fail(number(), "hex list ends with ',' but the line has no '\\' to continue it");
            }
            if (line.substr(pos) == "\\") {
                if (index_ + 1 >= lines_.size())
                    fail(number(), "missing continuation line after '\\'");
                index_++;
                check_line(index_);
                line = lines_[index_];
                raw += '\n';
                raw += line;
                pos = line.find_first_not_of(" \t");
                if (pos == std::string_view::npos)
                    fail(number(), "continuation line is empty; expected hex bytes");
                first = false;
                continue;
            }
            std::size_t comma = line.find(',', pos);
            std::string_view token =
                line.substr(pos, comma == std::string_view::npos ? line.npos : comma - pos);
            if (token.empty())
                fail(number(), "missing hex byte between commas");
            int high = hex_digit(token[0]);
            int low = token.size() >= 2 ? hex_digit(token[1]) : -1;
            if (token.size() >= 2 && high >= 0 && low >= 0) {
                if (token.size() > 2) {
                    if (token.size() == 3 && token[2] == '\\') {
                        fail(number(), "'\\' continues a hex list only after a comma");
                    }
                    fail(number(), "unexpected text " + shown(token.substr(2)) + " after hex byte " +
                                       shown(token.substr(0, 2)));
                }
            } else if (token.size() == 2) {
                fail(number(), "hex byte " + shown(token) + " is not hexadecimal");
            } else {
                fail(number(), "hex byte " + shown(token) + " is not two hex digits");
            }
            data += static_cast<char>(high << 4 | low);
            if (comma == std::string_view::npos)
                return data;
            pos = comma + 1;
            first = false;
        }
    }

    // A value named again in the same key replaces the earlier one in its place. Most keys
    // hold a few values and are scanned; a key with many gets an index by folded name.
    void store(RegValue value) {
        std::vector<RegValue>& values = key_->values;
        if (values.size() < kScanLimit) {
            if (const RegValue* same = registry_.value(*key_, value.name)) {
                values[static_cast<std::size_t>(same - values.data())] = std::move(value);
            } else {
                values.push_back(std::move(value));
            }
            return;
        }
        auto [entry, new_index] = value_index_.try_emplace(key_);
        auto& names = entry->second;
        if (new_index) {
            for (std::size_t i = 0; i < values.size(); i++) {
                names.emplace(fold_case(values[i].name), i);
            }
        }
        auto [slot, fresh] = names.try_emplace(fold_case(value.name), values.size());
        if (fresh) {
            values.push_back(std::move(value));
        } else {
            values[slot->second] = std::move(value);
        }
    }

    static constexpr std::size_t kScanLimit = 32;

    const std::string& file_name_;
    std::vector<std::string_view> lines_;
    std::string line_end_ = "\r\n";
    std::size_t index_ = 0;
    Registry registry_;
    RegKey* key_ = nullptr;
    // Where each value name stands in its key's values, by folded name, for the keys with
    // many values.
    std::unordered_map<const RegKey*, std::unordered_map<std::string, std::size_t>> value_index_;
};

// Names and text that the file cannot hold: a line break or NUL would end or break a line.
void check_writable(std::string_view text, const RegKey& key, const char* what) {
    if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
        throw std::invalid_argument(std::string("cannot write the registry file: ") + what + " in key " +
                                    key.path() + " holds a line break or NUL byte");
    }
}

std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

// A string value is written as "text" when its data is text ending in its zero and the
// text can stand on one line.
bool fits_string_form(std::string_view data) {
    if (data.empty() || data.back() != '\0')
        return false;
    return data.substr(0, data.size() - 1).find_first_of(std::string_view("\r\n\0", 3)) ==
           std::string_view::npos;
}

void append_hex_number(std::string& out, std::uint32_t n, int min_digits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    char buffer[8];
    int count = 0;
    do {
        buffer[count++] = kDigits[n & 15];
        n >>= 4;
    } while (n != 0 || count < min_digits);
    while (count > 0)
        out += buffer[--count];
}

void append_value(std::string& out, const RegValue& v, const std::string& line_end) {
    std::size_t line_start = out.size();
    if (v.name.empty()) {
        out += '@';
    } else {
        out += escaped(v.name);
    }
    out += '=';
    if (v.type == kRegSz && fits_string_form(v.data)) {
        out += escaped(std::string_view(v.data).substr(0, v.data.size() - 1));
        return;
    }
    if (v.type == kRegDword && v.data.size() == 4) {
        std::uint32_t n = 0;
        for (int i = 3; i >= 0; i--)
            n = n << 8 | static_cast<unsigned char>(v.data[static_cast<std::size_t>(i)]);
        out += "dword:";
        append_hex_number(out, n, 8);
        return;
    }
    if (v.type == kRegBinary) {
        out += "hex:";
    } else {
        out += "hex(";
        append_hex_number(out, v.type, 1);
        out += "):";
    }
    for (std::size_t i = 0; i < v.data.size(); i++) {
        append_hex_number(out, static_cast<unsigned char>(v.data[i]), 2);
        if (i + 1 == v.data.size())
            break;
        out += ',';
        if (out.size() - line_start > kHexLineWidth) {
            out += '\\';
            out += line_end;
            line_start = out.size();
            out += kHexIndent;
        }
    }
}

// Near the saved file's size, so the text is not copied again and again as it grows.
std::size_t estimated_size(const Registry& registry) {
    std::size_t size = 64;
    for (const RegKey* key : registry.sections_in_order()) {
        size += (key->raw.empty() ? 64 : key->raw.size()) + 6;
        for (const RegValue& v : key->values) {
            size += v.raw.empty() ? v.name.size() + v.data.size() * 3 + 32 : v.raw.size() + 2;
        }
    }
    return size;
}

}  // namespace

Registry load_reg_file(std::string_view text, const std::string& file_name) {
    return Loader(text, file_name).run();
}

std::string save_reg_file(const Registry& registry) {
    const std::string& le = registry.line_end;
    std::string out;
    out.reserve(estimated_size(registry));
    out += kHeader;
    out += le;
    out += le;
    for (const RegKey* key : registry.sections_in_order()) {
        if (key->raw.empty()) {
            std::string path = key->path();
            check_writable(path, *key, "the key path");
            out += '[';
            out += path;
            out += ']';
        } else {
            out += key->raw;
        }
        out += le;
        for (const RegValue& v : key->values) {
            if (v.raw.empty()) {
                check_writable(v.name, *key, "a value name");
                append_value(out, v, le);
            } else {
                for (char c : v.raw) {
                    if (c == '\n') {
                        out += le;
                    } else {
                        out += c;
                    }
                }
            }
            out += le;
        }
        out += le;
    }
    return out;
}

}  // namespace sim
