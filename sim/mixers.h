// The machine's mixer devices, read from the [Mixer0], [Mixer1], ... sections of
// machine.ini: Name=<device name> and one Control<id>=<value>[,<value>] a control, the
// values giving its channels in order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ini_file.h"

namespace sim {

struct Command;

struct MixerControl {
    std::uint32_t id;
    std::vector<std::uint32_t> values;  // one a channel: 1 or 2
    std::string key;                    // the machine.ini entry, as written
    bool hex = false;                   // written as 0x numbers
    bool changed = false;
};

struct MixerDevice {
    std::string name;
    std::string section;  // "Mixer3", as written
    std::vector<MixerControl> controls;

    MixerControl* control(std::uint32_t id);
};

struct MixerHandle {
    std::size_t device;
    std::uintptr_t window;  // 0: no notifications
};

class Mixers {
public:
    // Reads the mixer sections. Throws InputError naming the file and the line.
    static Mixers from_ini(const IniFile& ini, const std::string& file_name);

    std::vector<MixerDevice> devices;

    // Opens a handle on a device; the value is distinct from every other and never 0.
    std::uintptr_t open(std::size_t device, std::uintptr_t window);
    const MixerHandle* handle(std::uintptr_t value) const;

    // The control's channels take these values (one value for every channel when a single
    // value is given for a control with more), and every handle on the device with a
    // window is told. Nothing is checked here: the caller has found the control.
    void change(std::size_t device, MixerControl& control, const std::uint32_t* values, std::size_t count);

    // A person moves a control: the input command "set <mixer> <control> <value> [<value>]".
    // Throws InputError naming the command's line for a mixer or control that does not
    // exist, or more values than the control has channels.
    void apply_set_command(const Command& command, const std::string& input_name);

    // How a change reaches a window: set by the machine's window manager.
    // (window, message, wParam, lParam)
    std::function<void(std::uintptr_t, unsigned, std::uintptr_t, std::intptr_t)> post;

    // Writes the values that changed back into the settings.
    void store(IniFile& ini) const;

private:
    std::vector<MixerHandle> handles_;
};

// The handle values of the mixer service start here.
constexpr std::uintptr_t kFirstMixerHandle = 0x2000;

}  // namespace sim
