// The machine's input: what a person does at the machine, as commands, one a line.
//
// The input is the file named by SIMWIN_INPUT, else standard input. A script (a file or a
// pipe) is read and checked whole before the program starts, so a bad line stops the run
// before the program does anything. On a terminal, each command is asked for when the
// program waits for it, and a bad line is refused and asked for again.
#pragma once

#include <cstdint>
#include <cstdio>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct Command {
    std::string name;               // "yes", "click", "set", ...
    std::vector<std::string> args;  // as written
    int line = 0;                   // 1-based line of the script; 0 on a terminal
    bool ahead = false;             // typed ahead: "ahead <command>" stands in the
                                    // machine's input queue before the program starts
};

// Parses one line; nullopt for a blank or comment line. Throws InputError.
std::optional<Command> parse_command(std::string_view line, const std::string& file_name, int number);

class Input {
public:
    // A script from text (tests and the start-up use this).
    static Input script(std::string_view text, const std::string& file_name);
    // A person at a terminal: prompts go to `out`, answers come from `in`.
    static Input terminal(std::FILE* in, std::FILE* out);
    // No input at all: every wait ends the run at once.
    static Input none();

    bool interactive() const { return in_ != nullptr; }
    const std::string& name() const { return name_; }

    // The next command, or nullopt when the input has ended. On a terminal the prompt is
    // shown first and the person is asked until a line parses.
    std::optional<Command> next(std::string_view prompt);
    // Without taking it: the command that next() would give from a script.
    const Command* peek() const { return commands_.empty() ? nullptr : &commands_.front(); }
    // Takes the commands typed ahead (those written "ahead <command>") from the start of
    // the script, in order.
    std::vector<Command> take_typed_ahead();

private:
    std::string name_;
    std::deque<Command> commands_;
    std::FILE* in_ = nullptr;
    std::FILE* out_ = nullptr;
};

}  // namespace sim
