// A machine folder made for one test, and runs of the built programs against it.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "registry.h"

namespace e2e {

class MachineFolder {
public:
    // An empty machine: no machine.ini, no registry, an empty drive C:.
    MachineFolder();
    // A copy of one of the sample machines in examples/machines.
    static MachineFolder copy_of(const std::string& example);
    MachineFolder(MachineFolder&& other) noexcept;
    MachineFolder& operator=(MachineFolder&&) = delete;
    ~MachineFolder();

    const std::filesystem::path& path() const { return machine_; }

    void write(const std::string& relative, const std::string& text) const;
    std::string read(const std::string& relative) const;
    bool exists(const std::string& relative) const;
    void remove(const std::string& relative) const;

    // Every file of the machine folder by its relative path, with its bytes.
    std::map<std::string, std::string> files() const;
    // The machine's registry as it stands in registry.reg.
    sim::Registry registry() const;

    struct Run {
        int status = -1;         // the exit status, or -1 when the program did not exit
        std::string errors;      // what it wrote on standard error
        std::vector<std::string> trace;  // the trace's lines
        std::string trace_text;
    };
    // Runs bin/<program> with these arguments on the machine, the input script given as
    // text, and more environment entries (an empty value removes the entry).
    Run run(const std::string& program, const std::vector<std::string>& args, const std::string& input,
            const std::map<std::string, std::string>& environment = {}) const;

private:
    std::filesystem::path base_;     // the test's own temporary folder
    std::filesystem::path machine_;  // base_/machine
};

// Lines of the trace that are calls of the program (not the machine's own "#" lines).
std::vector<std::string> calls(const MachineFolder::Run& run);

}  // namespace e2e
