// The trace: with SIMWIN_TRACE naming a file, every platform call the program makes is
// written there, one line each, in call order:
//     RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Enum\\ISAPNP", 0, KEY_READ, &key) = ERROR_SUCCESS -> 0x00000101
// Lines that begin with "#" are the machine's own events (start, input taken, shutdown).
#pragma once

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

namespace sim {

class Trace {
public:
    Trace() = default;
    Trace(const Trace&) = delete;
    Trace& operator=(const Trace&) = delete;
    ~Trace();

    // Starts a new trace file, replacing an old one. Throws std::runtime_error on failure.
    void open(const std::filesystem::path& path);
    bool on() const { return file_ != nullptr; }

    // "name(arg, arg) = result", then " -> outs" when the call gave something back.
    void call(std::string_view name, std::initializer_list<std::string_view> args, std::string_view result,
              std::string_view outs = {});
    // A call that does not return.
    void call_no_return(std::string_view name, std::initializer_list<std::string_view> args);
    // "# what": an event of the machine itself.
    void event(std::string_view what);

private:
    void write(const std::string& line);
    std::FILE* file_ = nullptr;
};

}  // namespace sim
