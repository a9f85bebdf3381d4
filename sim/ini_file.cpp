#include "ini_file.h"

#include "error.h"
#include "error_text.h"
#include "text.h"

namespace sim {

IniFile IniFile::parse(std::string_view text, const std::string& file_name) {
    IniFile ini;
    if (starts_as_utf16(text)) {
        throw InputError(file_name, 1, "the file is UTF-16 text; it must be plain text in code page 1252");
    }
    std::size_t first_lf = text.find('\n');
    ini.line_end_ = (first_lf != std::string_view::npos && first_lf > 0 && text[first_lf - 1] == '\r') ? "\r\n" : "\n";
    ini.final_line_end_ = text.empty() || text.back() == '\n';
    std::string section;
    bool in_section = false;
    int number = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        std::string_view raw = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        pos = end == std::string_view::npos ? text.size() : end + 1;
        number++;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        if (raw.find('\0') != std::string_view::npos) throw InputError(file_name, number, "line holds a NUL byte");
        Line line{std::string(raw), -1};
        std::string_view body = trim(raw);
        if (body.empty() || body.front() == ';' || body.front() == '#') {
            ini.lines_.push_back(std::move(line));
            continue;
        }
        if (body.front() == '[') {
            if (body.back() != ']') throw InputError(file_name, number, "section header has no closing ']'");
            std::string_view name = trim(body.substr(1, body.size() - 2));
            if (name.empty()) throw InputError(file_name, number, "section header has no name");
            for (const auto& [seen, seen_line] : ini.sections_) {
                if (equal_ascii_nocase(seen, name)) {
                    throw InputError(file_name, number,
                                     "section [" + printable(name) + "] was given already on line " +
                                         std::to_string(seen_line));
                }
            }
            section = std::string(name);
            in_section = true;
            ini.sections_.emplace_back(section, number);
            ini.lines_.push_back(std::move(line));
            continue;
        }
        std::size_t equals = body.find('=');
        if (equals == std::string_view::npos) {
            throw InputError(file_name, number, "expected 'name=value' or '[section]', found " + shown(body));
        }
        if (!in_section) throw InputError(file_name, number, "entry stands before any section");
        std::string_view key = trim(body.substr(0, equals));
        if (key.empty()) throw InputError(file_name, number, "entry has no name before '='");
        for (const Entry& e : ini.entries_) {
            if (equal_ascii_nocase(e.section, section) && equal_ascii_nocase(e.key, key)) {
                throw InputError(file_name, number,
                                 "entry " + shown(key) + " was given already on line " + std::to_string(e.line));
            }
        }
        line.entry = static_cast<int>(ini.entries_.size());
        ini.entries_.push_back({section, std::string(key), std::string(trim(body.substr(equals + 1))), number});
        ini.lines_.push_back(std::move(line));
    }
    return ini;
}

std::optional<std::string> IniFile::get(std::string_view section, std::string_view key) const {
    for (const Entry& e : entries_) {
        if (equal_ascii_nocase(e.section, section) && equal_ascii_nocase(e.key, key)) return e.value;
    }
    return std::nullopt;
}

void IniFile::set(std::string_view section, std::string_view key, std::string_view value) {
    for (std::size_t i = 0; i < lines_.size(); i++) {
        int index = lines_[i].entry;
        if (index < 0) continue;
        Entry& e = entries_[static_cast<std::size_t>(index)];
        if (equal_ascii_nocase(e.section, section) && equal_ascii_nocase(e.key, key)) {
            e.value = std::string(value);
            lines_[i].text = e.key + "=" + e.value;
            return;
        }
    }
    // A new entry goes after the last line of its section that is not blank.
    std::size_t insert_at = lines_.size();
    bool found = false;
    std::string current;
    for (std::size_t i = 0; i < lines_.size(); i++) {
        std::string_view body = trim(lines_[i].text);
        if (!body.empty() && body.front() == '[') {
            current = std::string(trim(body.substr(1, body.size() - 2)));
            continue;
        }
        if (equal_ascii_nocase(current, section) && !body.empty()) {
            insert_at = i + 1;
            found = true;
        }
    }
    if (!found) {
        bool has_header = false;
        for (const auto& s : sections_) has_header = has_header || equal_ascii_nocase(s.first, section);
        if (!has_header) {
            lines_.push_back({"[" + std::string(section) + "]", -1});
            sections_.emplace_back(std::string(section), 0);
            insert_at = lines_.size();
        } else {
            for (std::size_t i = 0; i < lines_.size(); i++) {
                std::string_view body = trim(lines_[i].text);
                if (!body.empty() && body.front() == '[' &&
                    equal_ascii_nocase(trim(body.substr(1, body.size() - 2)), section)) {
                    insert_at = i + 1;
                }
            }
        }
    }
    entries_.push_back({std::string(section), std::string(key), std::string(value), 0});
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert_at),
                  Line{std::string(key) + "=" + std::string(value), static_cast<int>(entries_.size() - 1)});
}

std::string IniFile::text() const {
    std::string out;
    for (std::size_t i = 0; i < lines_.size(); i++) {
        out += lines_[i].text;
        if (i + 1 < lines_.size() || final_line_end_) out += line_end_;
    }
    return out;
}

}  // namespace sim
