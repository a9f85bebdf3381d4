#include "input.h"

#include "error.h"
#include "error_text.h"
#include "text.h"

namespace sim {

namespace {

// Each command with the number of arguments it takes and what they must be.
enum class Arg { Number, UnsignedValue, Word };

struct CommandForm {
    const char* name;
    std::size_t min_args;
    std::size_t max_args;
    Arg kind;
    const char* usage;
};

const CommandForm forms[] = {
    {"yes", 0, 0, Arg::Word, "yes"},
    {"no", 0, 0, Arg::Word, "no"},
    {"ok", 0, 0, Arg::Word, "ok"},
    {"cancel", 0, 0, Arg::Word, "cancel"},
    {"fail", 0, 0, Arg::Word, "fail"},
    {"set", 3, 4, Arg::UnsignedValue, "set <mixer> <control> <value> [<value>]"},
    {"click", 2, 2, Arg::Number, "click <x> <y>"},
    {"key", 1, 1, Arg::Word, "key <name>"},
    {"close", 0, 0, Arg::Word, "close"},
    {"quit", 0, 0, Arg::Word, "quit"},
};

bool is_number(std::string_view text) {
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
    if (text.empty() || text.size() > 9) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace

std::optional<Command> parse_command(std::string_view line, const std::string& file_name, int number) {
    if (std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
    if (line.find('\0') != std::string_view::npos) throw InputError(file_name, number, "line holds a NUL byte");
    std::vector<std::string> words;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t' || line[pos] == '\r')) pos++;
        std::size_t start = pos;
        while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t' && line[pos] != '\r') pos++;
        if (pos > start) words.emplace_back(line.substr(start, pos - start));
    }
    if (words.empty()) return std::nullopt;
    bool ahead = words[0] == "ahead";
    if (ahead) {
        words.erase(words.begin());
        if (words.empty()) throw InputError(file_name, number, "'ahead' needs a command after it");
    }
    for (const CommandForm& form : forms) {
        if (words[0] != form.name) continue;
        std::size_t count = words.size() - 1;
        if (count < form.min_args || count > form.max_args) {
            throw InputError(file_name, number, shown(words[0]) + " takes the form '" + form.usage + "'");
        }
        for (std::size_t i = 1; i < words.size(); i++) {
            bool good = form.kind == Arg::Word || (form.kind == Arg::Number && is_number(words[i])) ||
                        (form.kind == Arg::UnsignedValue && parse_u32(words[i]).has_value());
            if (!good) {
                throw InputError(file_name, number,
                                 shown(words[i]) + " is not " +
                                     (form.kind == Arg::Number ? "a whole number" : "an unsigned 32-bit number") +
                                     " in '" + form.usage + "'");
            }
        }
        Command command{words[0], {words.begin() + 1, words.end()}, number, ahead};
        return command;
    }
    throw InputError(file_name, number, "unknown command " + shown(words[0]));
}

Input Input::script(std::string_view text, const std::string& file_name) {
    Input input;
    input.name_ = file_name;
    if (starts_as_utf16(text)) {
        throw InputError(file_name, 1, "the script is UTF-16 text; it must be plain text in code page 1252");
    }
    int number = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        number++;
        if (auto command = parse_command(text.substr(pos, end - pos), file_name, number)) {
            input.commands_.push_back(std::move(*command));
        }
        pos = end + 1;
    }
    return input;
}

std::vector<Command> Input::take_typed_ahead() {
    std::vector<Command> out;
    while (!commands_.empty() && commands_.front().ahead) {
        out.push_back(std::move(commands_.front()));
        commands_.pop_front();
    }
    return out;
}

Input Input::terminal(std::FILE* in, std::FILE* out) {
    Input input;
    input.name_ = "terminal";
    input.in_ = in;
    input.out_ = out;
    return input;
}

Input Input::none() {
    Input input;
    input.name_ = "no input";
    return input;
}

std::optional<Command> Input::next(std::string_view prompt) {
    if (!interactive()) {
        if (commands_.empty()) return std::nullopt;
        Command command = std::move(commands_.front());
        commands_.pop_front();
        return command;
    }
    for (;;) {
        std::fprintf(out_, "%.*s> ", static_cast<int>(prompt.size()), prompt.data());
        std::fflush(out_);
        std::string line;
        int c;
        while ((c = std::fgetc(in_)) != EOF && c != '\n') line += static_cast<char>(c);
        if (c == EOF && line.empty()) {
            std::fputc('\n', out_);
            return std::nullopt;
        }
        try {
            if (auto command = parse_command(line, name_, 0)) return command;
        } catch (const InputError& error) {
            std::fprintf(out_, "%s\n", error.what());
        }
    }
}

}  // namespace sim
