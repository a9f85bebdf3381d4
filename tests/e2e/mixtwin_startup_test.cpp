// The volume link's startup, run as built against machines made for each case: which
// settings and mixer devices let it go on, and which end it quietly.
#include <gtest/gtest.h>

#include <algorithm>

#include "machine_folder.h"

namespace {

using e2e::MachineFolder;

const char* const settings_68 = "[mixtwin]\r\nChip=68\r\nA=1\r\nB=2\r\nC=3\r\nD=4\r\nE=5\r\nF=6\r\nG=7\r\nH=8\r\n"
                                "I=9\r\nJ=10\r\nK=11\r\nL=12\r\n";

std::string mixers(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t n = 0; n < names.size(); n++) {
        text += "[Mixer" + std::to_string(n) + "]\r\nName=" + names[n] + "\r\nControl1=0,0\r\n";
    }
    return text;
}

bool has_line(const MachineFolder::Run& run, const std::string& start) {
    return std::any_of(run.trace.begin(), run.trace.end(), [&](const std::string& l) { return l.rfind(start, 0) == 0; });
}

// Startup went past the mixer search when the program's initialisation came back to the
// framework instead of ending the process itself.
bool went_on(const MachineFolder::Run& run) { return has_line(run, "# machine: WinMain returned 0"); }

TEST(MixtwinStartup, AMissingSettingsFileIsReportedAndEndsTheProgram) {
    struct Case {
        const char* name;
        std::vector<std::string> devices;
        const char* settings_dir;  // where the machine says the system directory is
    };
    const Case cases[] = {
        {"both mixers present", {"ESS AudioDrive Mixer", "Dream Sound Studio Mixer"}, nullptr},
        {"no mixer devices at all", {}, nullptr},
        {"the file lies in another folder", {"ESS AudioDrive Mixer", "Dream Sound Studio Mixer"}, "C:\\WIN95\\SYSTEM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MachineFolder machine;
        std::string ini = mixers(c.devices);
        if (c.settings_dir) ini = "[System]\r\nSystemDirectory=" + std::string(c.settings_dir) + "\r\n" + ini;
        machine.write("machine.ini", ini);
        if (c.settings_dir) machine.write("drive_c/WINDOWS/SYSTEM/MIXTWIN.INI", settings_68);
        auto run = machine.run("mixtwin", {}, "ok\n");
        EXPECT_EQ(run.status, 0) << run.errors;
        auto calls = e2e::calls(run);
        ASSERT_GE(calls.size(), 3u);
        EXPECT_EQ(calls[calls.size() - 2],
                  "MessageBoxA(NULL, \"mixtwin.ini not found !\", \"Velmora Deck\", MB_OK|MB_ICONINFORMATION) = IDOK");
        EXPECT_EQ(calls.back(), "exit(0)");
        for (const std::string& line : calls) EXPECT_NE(line.rfind("mixer", 0), 0u) << "no mixer is asked: " << line;
    }
}

TEST(MixtwinStartup, TheChipCodeAndTheDeviceNamesDecide) {
    struct Case {
        const char* name;
        const char* settings;
        std::vector<std::string> devices;
        bool goes_on;
    };
    const Case cases[] = {
        {"chip 68 with both mixers", settings_68, {"ESS AudioDrive Mixer", "Dream Sound Studio Mixer"}, true},
        {"chip 36 with both mixers, in any order",
         "Chip=36", {"Dream Sound Studio Mixer", "Other", "Windows Sound System"}, true},
        {"chip 360 reads as 36", "Chip=360", {"Windows Sound System", "Dream Sound Studio Mixer"}, true},
        {"chip 68 on a machine whose base mixer is the other one",
         settings_68, {"Windows Sound System", "Dream Sound Studio Mixer"}, false},
        {"names that only begin with the mixer names match",
         settings_68, {"ESS AudioDrive Mixer (2)", "Dream Sound Studio Mixer II"}, true},
        {"a name that is only the beginning of the target's does not",
         settings_68, {"ESS AudioDrive Mixer", "Dream Sound Studio"}, false},
        {"only the source mixer", settings_68, {"ESS AudioDrive Mixer"}, false},
        {"only the target mixer", settings_68, {"Dream Sound Studio Mixer"}, false},
        {"no mixer devices", settings_68, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MachineFolder machine;
        machine.write("machine.ini", mixers(c.devices));
        machine.write("drive_c/WINDOWS/SYSTEM/MIXTWIN.INI", c.settings);
        auto run = machine.run("mixtwin", {}, "quit\n");
        EXPECT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(went_on(run), c.goes_on) << run.trace_text;
        EXPECT_FALSE(has_line(run, "MessageBox")) << "only a missing file is reported";
        // Every device is asked for its name, in ascending order.
        for (std::size_t n = 0; n < c.devices.size(); n++) {
            EXPECT_TRUE(has_line(run, "mixerGetDevCapsA(" + std::to_string(n) + ", &caps, 48) = MMSYSERR_NOERROR"));
        }
    }
}

TEST(MixtwinStartup, AnotherChipCodeEndsTheProgramBeforeAnyMixerIsAsked) {
    for (const char* settings : {"Chip=12", "Chip=x68", "no entries at all", "Chip=\t 36"}) {
        SCOPED_TRACE(settings);
        MachineFolder machine;
        machine.write("machine.ini", mixers({"ESS AudioDrive Mixer", "Windows Sound System", "Dream Sound Studio Mixer"}));
        machine.write("drive_c/WINDOWS/SYSTEM/MIXTWIN.INI", settings);
        auto run = machine.run("mixtwin", {}, "quit\n");
        EXPECT_EQ(run.status, 0) << run.errors;
        auto calls = e2e::calls(run);
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back(), "exit(0)");
        for (const std::string& line : calls) EXPECT_NE(line.rfind("mixer", 0), 0u) << line;
    }
}

TEST(MixtwinStartup, TheHighestNumberedMatchWinsAndNumber100IsNotFound) {
    struct Case {
        const char* name;
        std::size_t devices;
        std::size_t target_at;  // the only device named as the target
        bool goes_on;
    };
    const Case cases[] = {
        {"the target at 99 of 101", 101, 99, true},
        {"the target at 100 of 101 counts as not found", 101, 100, false},
        {"the target at 101 of 120", 120, 101, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> names(c.devices, "Spare Mixer");
        names[0] = "ESS AudioDrive Mixer";
        names[c.target_at] = "Dream Sound Studio Mixer";
        MachineFolder machine;
        machine.write("machine.ini", mixers(names));
        machine.write("drive_c/WINDOWS/SYSTEM/MIXTWIN.INI", settings_68);
        auto run = machine.run("mixtwin", {}, "quit\n");
        EXPECT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(went_on(run), c.goes_on);
    }
}

}  // namespace
