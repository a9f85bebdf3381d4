// Errors of the simulated machine that a person must be able to act on.
#pragma once

#include <stdexcept>
#include <string>

namespace sim {

// Bad input at the machine's edge: a machine file, a registry file or an input script
// that cannot be taken. The text names the file and, where there is one, the line:
// "registry.reg:41: hex byte '0g' is not hexadecimal".
class InputError : public std::runtime_error {
public:
    InputError(const std::string& file, int line, const std::string& what)
        : std::runtime_error(file + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + what),
          file_(file), line_(line) {}

    const std::string& file() const { return file_; }
    int line() const { return line_; }

private:
    std::string file_;
    int line_;
};

}  // namespace sim
