#include "machine_ini.h"

#include "drive.h"
#include "error.h"
#include "error_text.h"
#include "text.h"

namespace sim {

namespace {

// The longest directory path Windows can give, its terminator not counted.
constexpr std::size_t kLongestDirectory = 259;

std::string directory_value(const IniFile::Entry& e, const std::string& file_name) {
    if (e.value.empty()) throw InputError(file_name, e.line, e.key + " is empty");
    if (e.value.size() > kLongestDirectory) {
        throw InputError(file_name, e.line, e.key + " is longer than 259 characters");
    }
    for (unsigned char c : e.value) {
        if (c < 0x20) throw InputError(file_name, e.line, e.key + " holds a control character");
    }
    std::string value = e.value;
    while (value.size() > 3 && (value.back() == '\\' || value.back() == '/')) value.pop_back();
    return value;
}

}  // namespace

MachineSettings read_machine_settings(const IniFile& ini, const std::string& file_name) {
    MachineSettings settings;
    // [Mixer<n>] are read by the mixer service.
    for (const auto& [name, line] : ini.sections()) {
        bool mixer = name.size() > 5 && equal_ascii_nocase(name.substr(0, 5), "Mixer") &&
                     name.find_first_not_of("0123456789", 5) == std::string::npos &&
                     (name.size() == 6 || name[5] != '0');
        if (!equal_ascii_nocase(name, "System") && !equal_ascii_nocase(name, "Files") &&
            !equal_ascii_nocase(name, "Display") && !mixer) {
            throw InputError(file_name, line, "unknown section [" + printable(name) + "]");
        }
    }
    for (const IniFile::Entry& e : ini.entries()) {
        if (equal_ascii_nocase(e.section, "System")) {
            if (equal_ascii_nocase(e.key, "WindowsDirectory")) {
                settings.windows_directory = directory_value(e, file_name);
            } else if (equal_ascii_nocase(e.key, "SystemDirectory")) {
                settings.system_directory = directory_value(e, file_name);
            } else if (equal_ascii_nocase(e.key, "UserLanguage")) {
                std::optional<std::uint32_t> id = parse_u32(e.value);
                if (!id || *id == 0 || *id > 0xFFFF) {
                    throw InputError(file_name, e.line,
                                     "UserLanguage " + shown(e.value) + " is not a language identifier from 0x0001 to 0xFFFF");
                }
                settings.user_language = static_cast<std::uint16_t>(*id);
            } else {
                throw InputError(file_name, e.line, "unknown entry " + shown(e.key) + " in [System]");
            }
        } else if (equal_ascii_nocase(e.section, "Display")) {
            bool width = equal_ascii_nocase(e.key, "Width");
            if (!width && !equal_ascii_nocase(e.key, "Height")) {
                throw InputError(file_name, e.line, "unknown entry " + shown(e.key) + " in [Display]");
            }
            std::optional<std::uint32_t> pixels = parse_u32(e.value);
            if (!pixels || *pixels == 0 || *pixels > 16384) {
                throw InputError(file_name, e.line,
                                 e.key + " " + shown(e.value) + " is not a number of pixels from 1 to 16384");
            }
            (width ? settings.display_width : settings.display_height) = static_cast<int>(*pixels);
        } else if (equal_ascii_nocase(e.section, "Files")) {
            std::optional<std::string> path = Drive::normal_form(e.key);
            if (!path) throw InputError(file_name, e.line, shown(e.key) + " is not a path of drive C:");
            if (equal_ascii_nocase(e.value, "in-use")) {
                settings.locked_files[*path] = FileLock::InUse;
            } else if (equal_ascii_nocase(e.value, "read-only")) {
                settings.locked_files[*path] = FileLock::ReadOnly;
            } else {
                throw InputError(file_name, e.line, shown(e.value) + " is neither in-use nor read-only");
            }
        }
    }
    return settings;
}

}  // namespace sim
