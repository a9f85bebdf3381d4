#include "mixers.h"

#include "error.h"
#include "error_text.h"
#include "input.h"
#include "text.h"

namespace sim {

namespace {

constexpr unsigned kControlChange = 0x3D1;  // MM_MIXM_CONTROL_CHANGE

// The device number of a "Mixer<n>" section, or -1 for another section.
long mixer_number(std::string_view section) {
    if (section.size() < 6 || !equal_ascii_nocase(section.substr(0, 5), "Mixer")) return -1;
    std::string_view digits = section.substr(5);
    if (digits.size() > 1 && digits[0] == '0') return -1;
    auto n = parse_u32(digits);
    if (!n || digits.find_first_not_of("0123456789") != std::string_view::npos || *n > 100000) return -1;
    return static_cast<long>(*n);
}

std::string value_list(const MixerControl& control) {
    std::string out;
    for (std::uint32_t v : control.values) {
        if (!out.empty()) out += ",";
        // Four hex digits as the file writes them, eight for a value that needs more.
        out += control.hex ? hex(v, v > 0xFFFF ? 8 : 4) : std::to_string(v);
    }
    return out;
}

}  // namespace

MixerControl* MixerDevice::control(std::uint32_t id) {
    for (MixerControl& c : controls) {
        if (c.id == id) return &c;
    }
    return nullptr;
}

Mixers Mixers::from_ini(const IniFile& ini, const std::string& file_name) {
    Mixers mixers;
    std::vector<std::pair<long, int>> numbered;  // device number, header line
    for (const auto& [section, line] : ini.sections()) {
        long n = mixer_number(section);
        if (n < 0) continue;
        numbered.emplace_back(n, line);
    }
    mixers.devices.resize(numbered.size());
    for (const auto& [n, line] : numbered) {
        if (static_cast<std::size_t>(n) >= numbered.size()) {
            throw InputError(file_name, line,
                             "[Mixer" + std::to_string(n) + "] leaves a gap: mixers are numbered from 0 without gaps");
        }
    }
    std::vector<int> header_line(numbered.size());
    for (const auto& [n, line] : numbered) {
        header_line[static_cast<std::size_t>(n)] = line;
        for (const auto& [section, l] : ini.sections()) {
            if (l == line) mixers.devices[static_cast<std::size_t>(n)].section = section;
        }
    }
    std::vector<bool> named(mixers.devices.size(), false);
    for (const IniFile::Entry& e : ini.entries()) {
        long n = mixer_number(e.section);
        if (n < 0) continue;
        MixerDevice& device = mixers.devices[static_cast<std::size_t>(n)];
        if (equal_ascii_nocase(e.key, "Name")) {
            if (e.value.empty() || e.value.size() > 31) {
                throw InputError(file_name, e.line, "a mixer's Name must have 1 to 31 characters");
            }
            device.name = e.value;
            named[static_cast<std::size_t>(n)] = true;
            continue;
        }
        if (e.key.size() <= 7 || !equal_ascii_nocase(e.key.substr(0, 7), "Control")) {
            throw InputError(file_name, e.line, "unknown entry " + shown(e.key) + " in [" + e.section + "]");
        }
        std::string_view id_text = std::string_view(e.key).substr(7);
        auto id = id_text.find_first_not_of("0123456789") == std::string_view::npos ? parse_u32(id_text) : std::nullopt;
        if (!id) {
            throw InputError(file_name, e.line,
                             shown(e.key) + ": the control identifier must be an unsigned 32-bit decimal number");
        }
        if (device.control(*id)) throw InputError(file_name, e.line, "control " + std::to_string(*id) + " is given twice");
        MixerControl control{*id, {}, e.key, false, false};
        std::string_view rest = e.value;
        while (true) {
            std::size_t comma = rest.find(',');
            std::string_view item = trim(rest.substr(0, comma));
            auto value = parse_u32(item);
            if (!value) {
                throw InputError(file_name, e.line,
                                 shown(item) + " is not an unsigned 32-bit number (decimal or 0x hex)");
            }
            if (item.size() > 1 && (item[1] == 'x' || item[1] == 'X')) control.hex = true;
            control.values.push_back(*value);
            if (comma == std::string_view::npos) break;
            rest = rest.substr(comma + 1);
        }
        if (control.values.size() > 2) {
            throw InputError(file_name, e.line, "a control has one value (one channel) or two (stereo)");
        }
        device.controls.push_back(std::move(control));
    }
    for (std::size_t n = 0; n < named.size(); n++) {
        if (!named[n]) throw InputError(file_name, header_line[n], "[Mixer" + std::to_string(n) + "] has no Name");
    }
    return mixers;
}

std::uintptr_t Mixers::open(std::size_t device, std::uintptr_t window) {
    handles_.push_back({device, window});
    return kFirstMixerHandle + handles_.size() - 1;
}

const MixerHandle* Mixers::handle(std::uintptr_t value) const {
    if (value < kFirstMixerHandle || value - kFirstMixerHandle >= handles_.size()) return nullptr;
    return &handles_[value - kFirstMixerHandle];
}

void Mixers::change(std::size_t device, MixerControl& control, const std::uint32_t* values, std::size_t count) {
    for (std::size_t ch = 0; ch < control.values.size(); ch++) control.values[ch] = count == 1 ? values[0] : values[ch];
    control.changed = true;
    if (!post) return;
    for (std::size_t i = 0; i < handles_.size(); i++) {
        if (handles_[i].device == device && handles_[i].window != 0) {
            post(handles_[i].window, kControlChange, kFirstMixerHandle + i, static_cast<std::intptr_t>(control.id));
        }
    }
}

void Mixers::apply_set_command(const Command& command, const std::string& input_name) {
    auto device = parse_u32(command.args[0]);
    if (!device || *device >= devices.size()) {
        throw InputError(input_name, command.line, "there is no mixer " + command.args[0]);
    }
    auto id = parse_u32(command.args[1]);
    MixerControl* control = devices[*device].control(*id);
    if (!control) {
        throw InputError(input_name, command.line,
                         "mixer " + command.args[0] + " has no control " + command.args[1]);
    }
    std::uint32_t values[2];
    std::size_t count = command.args.size() - 2;
    if (count > control->values.size()) {
        throw InputError(input_name, command.line,
                         "control " + command.args[1] + " has " + std::to_string(control->values.size()) +
                             " channel(s), not " + std::to_string(count));
    }
    for (std::size_t i = 0; i < count; i++) values[i] = *parse_u32(command.args[2 + i]);
    change(*device, *control, values, count);
}

void Mixers::store(IniFile& ini) const {
    for (const MixerDevice& device : devices) {
        for (const MixerControl& control : device.controls) {
            if (control.changed) ini.set(device.section, control.key, value_list(control));
        }
    }
}

}  // namespace sim
