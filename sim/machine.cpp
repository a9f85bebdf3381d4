#include "machine.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#include "atomic_file.h"
#include "error.h"
#include "messages.h"
#include "reg_file.h"

namespace sim {

namespace {

// The machine lives until the process ends: the program's static objects are destroyed
// after the exit handlers have run, and their destructors may still call the platform.
// So the holder is never destroyed.
std::unique_ptr<Machine>& holder() {
    alignas(std::unique_ptr<Machine>) static unsigned char storage[sizeof(std::unique_ptr<Machine>)];
    static std::unique_ptr<Machine>* h = ::new (storage) std::unique_ptr<Machine>();
    return *h;
}

}  // namespace

Machine& machine() { return *holder(); }

void set_machine(std::unique_ptr<Machine> m) { holder() = std::move(m); }

std::unique_ptr<Machine> Machine::load(const std::filesystem::path& folder, Input input) {
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        throw InputError(folder.string(), 0, "there is no machine folder here");
    }
    auto m = std::make_unique<Machine>();
    m->folder_ = folder;
    const std::string ini_name = (folder / "machine.ini").string();
    if (auto text = read_whole_file(folder / "machine.ini")) {
        m->ini = IniFile::parse(*text, ini_name);
        m->ini_text_ = m->ini.text();
    }
    m->settings = read_machine_settings(m->ini, ini_name);
    m->mixers = Mixers::from_ini(m->ini, ini_name);
    m->windows.screen_width = m->settings.display_width;
    m->windows.screen_height = m->settings.display_height;
    connect_mixer_notifications(*m);
    if (auto text = read_whole_file(folder / "registry.reg")) {
        m->registry = load_reg_file(*text, (folder / "registry.reg").string());
    }
    m->drive = Drive(folder / "drive_c");
    m->input = std::move(input);
    return m;
}

void Machine::save() {
    if (registry.changed()) {
        write_file_atomically(folder_ / "registry.reg", save_reg_file(registry));
        registry.mark_saved();
        trace.event("machine: registry.reg saved");
    }
    mixers.store(ini);
    std::string text = ini.text();
    if (text != ini_text_) {
        write_file_atomically(folder_ / "machine.ini", text);
        ini_text_ = std::move(text);
        trace.event("machine: machine.ini saved");
    }
}

void Machine::shut_down(const std::string& why) {
    shutting_down_ = true;
    trace.event("machine: shut down: " + why);
    std::fprintf(stderr, "simwin: %s: the machine shuts down and saves what changed\n", why.c_str());
    std::exit(0);
}

void Machine::stop(const std::string& why) {
    trace.event("machine: stopped: " + why);
    std::fprintf(stderr, "simwin: %s\n", why.c_str());
    std::fflush(nullptr);
    std::_Exit(2);
}

}  // namespace sim
