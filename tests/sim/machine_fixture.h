// A machine in a temporary folder, made the process's machine for the length of a test, so
// that the platform's calls can be made directly.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "error.h"
#include "machine.h"

class MachineTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "simwin-unit-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        std::filesystem::create_directories(folder_ / "drive_c");
    }
    void TearDown() override {
        sim::set_machine(nullptr);
        std::filesystem::remove_all(folder_);
    }

    void write(const std::string& relative, const std::string& text) {
        std::filesystem::create_directories((folder_ / relative).parent_path());
        std::ofstream(folder_ / relative, std::ios::binary) << text;
    }
    bool exists(const std::string& relative) const { return std::filesystem::exists(folder_ / relative); }

    // Loads the folder as it stands now and makes it the process's machine.
    sim::Machine& start(const std::string& input = "") {
        sim::set_machine(sim::Machine::load(folder_, sim::Input::script(input, "input")));
        return sim::machine();
    }

    std::filesystem::path folder_;
};
