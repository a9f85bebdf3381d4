#include "command_line.h"

#include <filesystem>

namespace sim {

namespace {

std::string quote_argument(std::string_view arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string_view::npos) return std::string(arg);
    // Backslashes are literal unless they stand before a quote; those are doubled, and
    // each quote is escaped, so the runtime splits the text back into the same argument.
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            backslashes++;
            continue;
        }
        if (c == '"') backslashes = backslashes * 2 + 1;
        out.append(backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    out += '"';
    return out;
}

}  // namespace

std::string join_command_line(int argc, const char* const* argv) {
    std::string line = argc > 0 ? quote_argument(std::filesystem::path(argv[0]).filename().string()) : "";
    for (int i = 1; i < argc; i++) line += " " + quote_argument(argv[i]);
    return line;
}

std::string arguments_of(std::string_view line) {
    std::size_t pos = 0;
    if (!line.empty() && line[0] == '"') {
        std::size_t close = line.find('"', 1);
        pos = close == std::string_view::npos ? line.size() : close + 1;
    } else {
        while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t') pos++;
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) pos++;
    return std::string(line.substr(pos));
}

}  // namespace sim
