// The simulated machine: one object owns all of its state for the life of the process.
// The platform's entry points are thin forwarders to it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "crt_files.h"
#include "drive.h"
#include "ini_file.h"
#include "input.h"
#include "machine_ini.h"
#include "mixers.h"
#include "queue.h"
#include "registry.h"
#include "resources.h"
#include "trace.h"
#include "windows.h"

namespace sim {

class Machine {
public:
    // Reads the machine folder: machine.ini, registry.reg and drive_c/, each optional.
    // Throws InputError for a file that cannot be parsed; nothing is changed then.
    static std::unique_ptr<Machine> load(const std::filesystem::path& folder, Input input);

    // Writes back, each atomically, the files whose content changed.
    void save();

    // The input has ended while the program waits for it: save, say so on standard error
    // and end the process with status 0.
    [[noreturn]] void shut_down(const std::string& why);
    // A command of the input that cannot be carried out: say which, end the process with a
    // non-zero status, and save nothing.
    [[noreturn]] void stop(const std::string& why);
    bool shutting_down() const { return shutting_down_; }

    const std::filesystem::path& folder() const { return folder_; }

    MachineSettings settings;
    IniFile ini;
    Registry registry;
    Drive drive{""};
    Input input = Input::none();
    Trace trace;
    Mixers mixers;
    CrtFiles crt_files;
    Windows windows;
    MessageQueue queue;
    ModuleResources resources;
    // When set, called instead of taking a command of the input when the program waits for
    // one: it changes the machine (a benchmark's or a test's stand-in for a person) and
    // gives false when it has nothing more, which ends the input.
    std::function<bool()> on_wait;

    // Open registry keys by handle value.
    std::unordered_map<std::uintptr_t, RegKey*> open_keys;
    std::uintptr_t next_key_handle = 0x100;
    std::uint32_t last_error = 0;
    std::string program_name;  // the program's file name without folder and extension

private:
    std::filesystem::path folder_;
    std::string ini_text_;  // machine.ini as read, to see whether it changed
    bool shutting_down_ = false;
};

// The machine this process runs on; set by the start-up (or by a test).
Machine& machine();
void set_machine(std::unique_ptr<Machine> m);

}  // namespace sim
