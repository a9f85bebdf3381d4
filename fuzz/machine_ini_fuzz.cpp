// machine.ini's reader: the INI text, the machine's settings and its mixer devices. Bad
// text is an InputError that names the file and a line, never a crash or another error.
// A file that reads keeps its entries when written back, and mixer values that change
// read back as changed.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "error.h"
#include "ini_file.h"
#include "machine_ini.h"
#include "mixers.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "machine_ini_fuzz: %s\n", what);
    std::abort();
}

std::string entries(const sim::IniFile& ini) {
    std::string out;
    for (const sim::IniFile::Entry& e : ini.entries())
        out += e.section + '\n' + e.key + '\n' + e.value + '\n';
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string name = "machine.ini";
    sim::IniFile ini;
    sim::Mixers mixers;
    try {
        ini = sim::IniFile::parse(text, name);
        sim::read_machine_settings(ini, name);
        mixers = sim::Mixers::from_ini(ini, name);
    } catch (const sim::InputError& error) {
        if (error.file() != name || error.line() < 1)
            fail("an error without the file or a line");
        return 0;
    }

    // Written back unchanged, the file reads to the same entries.
    if (entries(sim::IniFile::parse(ini.text(), name)) != entries(ini))
        fail("the text read back differs");

    // Every control moves to another value; the file written back holds the new values.
    for (std::size_t d = 0; d < mixers.devices.size(); d++) {
        for (sim::MixerControl& control : mixers.devices[d].controls) {
            std::uint32_t values[2] = {control.values[0] ^ 0x80000001u, control.values.back() + 1};
            mixers.change(d, control, values, control.values.size());
        }
    }
    mixers.store(ini);
    sim::Mixers reread;
    try {
        sim::IniFile changed = sim::IniFile::parse(ini.text(), name);
        reread = sim::Mixers::from_ini(changed, name);
    } catch (const sim::InputError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        fail("a file written back does not read");
    }
    for (std::size_t d = 0; d < mixers.devices.size(); d++) {
        for (const sim::MixerControl& control : mixers.devices[d].controls) {
            const sim::MixerControl* now = reread.devices[d].control(control.id);
            if (!now || now->values != control.values)
                fail("a changed mixer value does not read back");
        }
    }
    return 0;
}
