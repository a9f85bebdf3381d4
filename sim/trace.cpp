#include "trace.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace sim {

Trace::~Trace() {
    if (file_) std::fclose(file_);
}

void Trace::open(const std::filesystem::path& path) {
    if (file_) std::fclose(file_);
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) throw std::runtime_error(path.string() + ": cannot write the trace: " + std::strerror(errno));
}

namespace {

std::string call_text(std::string_view name, std::initializer_list<std::string_view> args) {
    std::string line(name);
    line += '(';
    bool first = true;
    for (std::string_view a : args) {
        if (!first) line += ", ";
        line += a;
        first = false;
    }
    line += ')';
    return line;
}

}  // namespace

void Trace::call(std::string_view name, std::initializer_list<std::string_view> args, std::string_view result,
                 std::string_view outs) {
    if (!file_) return;
    std::string line = call_text(name, args);
    line += " = ";
    line += result;
    if (!outs.empty()) {
        line += " -> ";
        line += outs;
    }
    write(line);
}

void Trace::call_no_return(std::string_view name, std::initializer_list<std::string_view> args) {
    if (file_) write(call_text(name, args));
}

void Trace::event(std::string_view what) {
    if (file_) write("# " + std::string(what));
}

void Trace::write(const std::string& line) {
    // Each line is flushed as it is written, so a trace shows everything up to a crash.
    std::fputs(line.c_str(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
}

}  // namespace sim
