// The text of an INI file that is read, changed in place and written back: every line is
// kept as it stood, so a file that is saved after a change differs only in the entries
// that changed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

class IniFile {
public:
    struct Entry {
        std::string section;  // as written, without brackets
        std::string key;      // as written
        std::string value;    // blanks around it removed
        int line;             // 1-based
    };

    // Parses the text: "[section]" lines, "key=value" lines inside a section, blank lines
    // and comments (";" or "#" first). Throws InputError naming `file_name` and the line.
    static IniFile parse(std::string_view text, const std::string& file_name);

    const std::vector<Entry>& entries() const { return entries_; }
    // Sections in file order, each with the line of its header.
    const std::vector<std::pair<std::string, int>>& sections() const { return sections_; }

    // The entry's value, sections and keys matched without regard to ASCII case.
    std::optional<std::string> get(std::string_view section, std::string_view key) const;
    // Changes an entry's value in place, or adds the entry at the end of its section (and
    // the section at the end of the file when it is missing).
    void set(std::string_view section, std::string_view key, std::string_view value);

    std::string text() const;

private:
    struct Line {
        std::string text;
        int entry = -1;  // index into entries_, or -1
    };
    std::vector<Line> lines_;
    std::vector<Entry> entries_;
    std::vector<std::pair<std::string, int>> sections_;
    std::string line_end_ = "\r\n";
    bool final_line_end_ = true;
};

}  // namespace sim
