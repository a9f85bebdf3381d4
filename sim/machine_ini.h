// machine.ini: the machine's own settings.
//
//   [System]   WindowsDirectory, SystemDirectory, UserLanguage
//   [Files]    <windows path>=in-use | read-only, for files the machine refuses to delete
//   [Display]  Width, Height: the screen in pixels, 640 by 480 unless given
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "ini_file.h"

namespace sim {

enum class FileLock { InUse, ReadOnly };

struct MachineSettings {
    std::string windows_directory = "C:\\WINDOWS";
    std::string system_directory = "C:\\WINDOWS\\SYSTEM";
    std::uint16_t user_language = 0x0409;
    int display_width = 640;
    int display_height = 480;
    // By the path's normal form (see Drive::normal_form).
    std::map<std::string, FileLock> locked_files;
};

// Reads the settings from the parsed file; every section and entry must be known and every
// value in range. Throws InputError naming the file and the line.
MachineSettings read_machine_settings(const IniFile& ini, const std::string& file_name);

}  // namespace sim
