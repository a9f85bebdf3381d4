#include "drive.h"

#include <system_error>
#include <vector>

#include "text.h"

namespace sim {

namespace {

bool forbidden_in_name(unsigned char c) {
    return c < 0x20 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|' || c == '?' || c == '*';
}

}  // namespace

std::optional<std::string> Drive::normal_form(std::string_view path) {
    if (path.size() < 3 || (path[0] != 'C' && path[0] != 'c') || path[1] != ':' ||
        (path[2] != '\\' && path[2] != '/')) {
        return std::nullopt;
    }
    std::vector<std::string> parts;
    std::size_t pos = 3;
    while (pos <= path.size()) {
        std::size_t end = path.find_first_of("\\/", pos);
        if (end == std::string_view::npos) end = path.size();
        std::string_view part = path.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (parts.empty()) return std::nullopt;
            parts.pop_back();
            continue;
        }
        while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.remove_suffix(1);
        if (part.empty()) return std::nullopt;
        for (unsigned char c : part) {
            if (forbidden_in_name(c)) return std::nullopt;
        }
        parts.push_back(fold_case(part));
    }
    std::string out = "C:";
    for (const std::string& part : parts) out += "\\" + part;
    if (parts.empty()) out += "\\";
    return out;
}

std::optional<Drive::Found> Drive::find(std::string_view windows_path, Missing* missing) const {
    if (missing) *missing = Missing::File;
    std::optional<std::string> normal = normal_form(windows_path);
    if (!normal) return std::nullopt;
    std::error_code ec;
    std::filesystem::path current = folder_;
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(current, ec))) {
        if (missing) *missing = Missing::Path;
        return std::nullopt;
    }
    std::string_view rest = std::string_view(*normal).substr(2);
    bool is_folder = true;
    while (!rest.empty() && rest != "\\") {
        rest.remove_prefix(1);
        std::size_t end = rest.find('\\');
        std::string_view part = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
        if (!is_folder) {
            if (missing) *missing = Missing::Path;
            return std::nullopt;
        }
        // The entry whose folded name matches; of several, the first in name order, so
        // the choice does not depend on the order the host lists a folder in.
        std::optional<std::filesystem::path> match;
        for (const auto& entry : std::filesystem::directory_iterator(current, ec)) {
            std::string name = entry.path().filename().string();
            if (fold_case(name) == part && (!match || name < match->filename().string())) match = entry.path();
        }
        if (!match) {
            if (missing) *missing = rest.empty() ? Missing::File : Missing::Path;
            return std::nullopt;
        }
        auto status = std::filesystem::symlink_status(*match, ec);
        if (ec || std::filesystem::is_symlink(status)) {
            if (missing) *missing = rest.empty() ? Missing::File : Missing::Path;
            return std::nullopt;
        }
        is_folder = std::filesystem::is_directory(status);
        if (!is_folder && !std::filesystem::is_regular_file(status)) return std::nullopt;
        current = *match;
    }
    return Found{current, is_folder};
}

}  // namespace sim
