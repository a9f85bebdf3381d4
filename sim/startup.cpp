// The start of a program on the simulated machine: the machine is read from the folder
// that SIMWIN_MACHINE names, the input and the trace are set up, and the program's
// WinMain is called with its command line as Windows hands it over.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "atomic_file.h"
#include "command_line.h"
#include "error.h"
#include "machine.h"
#include "platform_api.h"

namespace {

// Runs when the process ends, whichever way: the program's exit, the end of WinMain, or
// the machine's shutdown. What changed is saved here, before any static object goes.
void end_of_process(int status, void*) {
    sim::Machine& m = sim::machine();
    if (!m.shutting_down()) m.trace.call_no_return("exit", {std::to_string(status)});
    try {
        m.save();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "simwin: %s\n", error.what());
        std::_Exit(3);
    }
}

sim::Input read_input() {
    if (const char* file = std::getenv("SIMWIN_INPUT"); file && *file) {
        auto text = sim::read_whole_file(file);
        if (!text) throw sim::InputError(file, 0, "the input file does not exist");
        return sim::Input::script(*text, file);
    }
    if (::isatty(STDIN_FILENO)) return sim::Input::terminal(stdin, stderr);
    std::string text;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) text.append(buffer, n);
    return sim::Input::script(text, "standard input");
}

}  // namespace

int main(int argc, char** argv) {
    const char* folder = std::getenv("SIMWIN_MACHINE");
    if (!folder || !*folder) {
        std::fprintf(stderr, "simwin: SIMWIN_MACHINE must name the machine folder to run on\n");
        return 2;
    }
    try {
        auto m = sim::Machine::load(folder, read_input());
        if (const char* trace = std::getenv("SIMWIN_TRACE"); trace && *trace) m->trace.open(trace);
        m->program_name = argc > 0 ? std::filesystem::path(argv[0]).stem().string() : "PROGRAM";
        sim::set_machine(std::move(m));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "simwin: %s\n", error.what());
        return 2;
    }

    std::string command_line;
    if (const char* given = std::getenv("SIMWIN_COMMAND_LINE")) {
        command_line = given;
    } else {
        command_line = sim::join_command_line(argc, argv);
    }
    std::string arguments = sim::arguments_of(command_line);
    sim::machine().trace.event("machine: start " + command_line);
    ::on_exit(end_of_process, nullptr);
    int status = WinMain(reinterpret_cast<HINSTANCE>(static_cast<UINT_PTR>(0x00400000)), nullptr, arguments.data(),
                         10 /* SW_SHOWDEFAULT */);
    sim::machine().trace.event("machine: WinMain returned " + std::to_string(status));
    std::exit(status);
}
