// A large, realistic machine for the scale tests and the benchmarks: a registry of tens of
// thousands of keys in the registry editor's own REGEDIT4 form (CR LF), with the sound
// card's entries among many other devices, driver classes, multimedia resources, programs
// and users, and a drive C: with the card's files among many others. The same size always
// gives the same machine.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace large_machine {

struct Machine {
    std::string registry;     // registry.reg
    std::string machine_ini;  // machine.ini
    // The files of drive C:, by their path below drive_c/ ("WINDOWS/SYSTEM/ES1868.DRV").
    std::vector<std::pair<std::string, std::string>> files;
    std::size_t keys = 0;  // the registry's keys, roots not counted
};

// A machine whose registry holds at least `keys` keys.
Machine make(std::size_t keys = 40000);

// Writes the machine into `folder` (made when missing): registry.reg, machine.ini, drive_c/.
void write(const Machine& machine, const std::filesystem::path& folder);

}  // namespace large_machine
