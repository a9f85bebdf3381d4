// The machine's own files and inputs: machine.ini, the input script, the command line and
// the Windows paths of drive C:.
#include <gtest/gtest.h>

#include <optional>

#include "command_line.h"
#include "drive.h"
#include "error.h"
#include "ini_file.h"
#include "input.h"
#include "machine_ini.h"
#include "mixers.h"

namespace {

// The message of the InputError that `f` throws, or "" when it throws none.
template <class F>
std::string error_of(F f) {
    try {
        f();
    } catch (const sim::InputError& e) {
        return e.what();
    }
    return "";
}

TEST(MachineIni, BadSettingsNameTheirLine) {
    struct Case {
        const char* name;
        std::string text;
        const char* error;  // "" when the text is good
    };
    const Case cases[] = {
        {"defaults", "", ""},
        {"all settings", "[System]\nWindowsDirectory=C:\\W\nSystemDirectory=C:\\W\\S\nUserLanguage=1031\n", ""},
        {"a section without its bracket", "[System\n", "machine.ini:1: section header has no closing ']'"},
        {"an unknown section", "; comment\n[Sytem]\n", "machine.ini:2: unknown section [Sytem]"},
        {"an entry before any section", "UserLanguage=1\n", "machine.ini:1: entry stands before any section"},
        {"a line that is no entry", "[System]\nUserLanguage\n", "machine.ini:2: expected 'name=value'"},
        {"an unknown entry", "[System]\nLanguage=1\n", "machine.ini:2: unknown entry 'Language' in [System]"},
        {"a language of 17 bits", "[System]\nUserLanguage=0x10000\n", "machine.ini:2: UserLanguage '0x10000'"},
        {"a language that is no number", "[System]\nUserLanguage=German\n", "machine.ini:2: UserLanguage 'German'"},
        {"a directory too long for Windows", "[System]\nWindowsDirectory=C:\\" + std::string(257, 'W') + "\n",
         "machine.ini:2: WindowsDirectory is longer than 259"},
        {"an entry given twice", "[System]\nUserLanguage=1\nuserlanguage=2\n",
         "machine.ini:3: entry 'userlanguage' was given already on line 2"},
        {"a section given twice", "[Files]\n[files]\n", "machine.ini:2: section [files] was given already on line 1"},
        {"a lock that is no path of drive C:", "[Files]\nD:\\X=in-use\n", "machine.ini:2: 'D:\\X' is not a path"},
        {"a lock of another kind", "[Files]\nC:\\X=hidden\n", "machine.ini:2: 'hidden' is neither in-use nor read-only"},
        {"a NUL byte", std::string("[System]\n\0\n", 11), "machine.ini:2: line holds a NUL byte"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error = error_of([&] {
            sim::IniFile ini = sim::IniFile::parse(c.text, "machine.ini");
            sim::read_machine_settings(ini, "machine.ini");
        });
        if (*c.error == '\0') {
            EXPECT_EQ(error, "");
        } else {
            EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        }
    }
}

TEST(MachineIni, ChangedEntriesAreWrittenInPlace) {
    const std::string text = "; my machine\r\n[Mixer0]\r\nName=A\r\nControl1=5\r\n\r\n[Mixer1]\r\nName=B\r\n";
    sim::IniFile ini = sim::IniFile::parse(text, "machine.ini");
    EXPECT_EQ(ini.text(), text) << "an unchanged file is given back byte for byte";
    ini.set("mixer0", "CONTROL1", "7");
    ini.set("Mixer1", "Control2", "1,2");
    ini.set("Display", "Width", "800");
    EXPECT_EQ(ini.text(),
              "; my machine\r\n[Mixer0]\r\nName=A\r\nControl1=7\r\n\r\n[Mixer1]\r\nName=B\r\nControl2=1,2\r\n"
              "[Display]\r\nWidth=800\r\n");
}

TEST(MixerSections, ChangedValuesAreWrittenBackWhole) {
    struct Case {
        const char* name;
        const char* control;
        std::vector<std::uint32_t> values;
        const char* written;
    };
    const Case cases[] = {
        {"hex of four digits", "Control7=0x10,0x20", {0x8000, 0xFFFF}, "Control7=0x8000,0xFFFF"},
        {"hex past four digits", "Control7=0x10,0x20", {0x10000, 0xFFFFFFFF}, "Control7=0x00010000,0xFFFFFFFF"},
        {"decimal", "Control7=16", {4294967295u}, "Control7=4294967295"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::IniFile ini = sim::IniFile::parse(std::string("[Mixer0]\r\nName=A\r\n") + c.control + "\r\n", "machine.ini");
        sim::Mixers mixers = sim::Mixers::from_ini(ini, "machine.ini");
        mixers.change(0, mixers.devices[0].controls[0], c.values.data(), c.values.size());
        mixers.store(ini);
        EXPECT_EQ(ini.text(), std::string("[Mixer0]\r\nName=A\r\n") + c.written + "\r\n");
        sim::Mixers again = sim::Mixers::from_ini(sim::IniFile::parse(ini.text(), "machine.ini"), "machine.ini");
        EXPECT_EQ(again.devices[0].controls[0].values, c.values);
    }
}

TEST(MixerSections, DevicesAreNumberedWithoutGaps) {
    struct Case {
        const char* name;
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"two devices", "[Mixer0]\nName=A\nControl1=1,2\n[Mixer1]\nName=B\nControl4294967295=0xFFFFFFFF\n", ""},
        {"a gap", "[Mixer0]\nName=A\n[Mixer2]\nName=C\n", "machine.ini:3: [Mixer2] leaves a gap"},
        {"no device 0", "[Mixer1]\nName=B\n", "machine.ini:1: [Mixer1] leaves a gap"},
        {"no name", "[Mixer0]\nControl1=1\n", "machine.ini:1: [Mixer0] has no Name"},
        {"a name of 32 characters", "[Mixer0]\nName=ABCDEFGHIJKLMNOPQRSTUVWXYZ012345\n", "machine.ini:2: a mixer's Name"},
        {"three channels", "[Mixer0]\nName=A\nControl1=1,2,3\n", "machine.ini:3: a control has one value"},
        {"a value of 33 bits", "[Mixer0]\nName=A\nControl1=4294967296\n", "machine.ini:3: '4294967296' is not"},
        {"a negative value", "[Mixer0]\nName=A\nControl1=-1\n", "machine.ini:3: '-1' is not"},
        {"an identifier that is no number", "[Mixer0]\nName=A\nControlX=1\n", "machine.ini:3: 'ControlX'"},
        {"an empty value", "[Mixer0]\nName=A\nControl1=\n", "machine.ini:3: '' is not"},
        {"an unknown entry", "[Mixer0]\nName=A\nVolume=1\n", "machine.ini:3: unknown entry 'Volume'"},
        {"a device number with a leading zero", "[Mixer01]\nName=A\n", "machine.ini:1: unknown section [Mixer01]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error = error_of([&] {
            sim::IniFile ini = sim::IniFile::parse(c.text, "machine.ini");
            sim::read_machine_settings(ini, "machine.ini");
            sim::Mixers::from_ini(ini, "machine.ini");
        });
        if (*c.error == '\0') {
            EXPECT_EQ(error, "");
        } else {
            EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        }
    }
}

TEST(MixerSections, AMachineWithMoreThanAHundredMixers) {
    std::string text;
    for (int n = 0; n < 120; n++) text += "[Mixer" + std::to_string(n) + "]\nName=Mixer number " + std::to_string(n) + "\n";
    sim::IniFile ini = sim::IniFile::parse(text, "machine.ini");
    sim::Mixers mixers = sim::Mixers::from_ini(ini, "machine.ini");
    ASSERT_EQ(mixers.devices.size(), 120u);
    EXPECT_EQ(mixers.devices[100].name, "Mixer number 100");
}

TEST(InputScript, CommandsAreCheckedBeforeTheProgramRuns) {
    struct Case {
        const char* name;
        const char* line;
        const char* error;
    };
    const Case cases[] = {
        {"a box answer", "yes", ""},
        {"a comment after a command", "no   # the question", ""},
        {"a comment line", "  # nothing", ""},
        {"a stereo set", "set 0 7 0x8000 65535", ""},
        {"a click", "click -5 2000", ""},
        {"typed ahead", "ahead click 1 1", ""},
        {"an unknown command", "press ok", "input:1: unknown command 'press'"},
        {"too many arguments", "yes please", "input:1: 'yes' takes the form 'yes'"},
        {"a set without a value", "set 0 7", "input:1: 'set' takes the form"},
        {"a value of 33 bits", "set 0 7 0x100000000", "input:1: '0x100000000' is not an unsigned 32-bit number"},
        {"a click at no number", "click x 1", "input:1: 'x' is not a whole number"},
        {"ahead alone", "ahead", "input:1: 'ahead' needs a command"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error = error_of([&] { sim::Input::script(c.line, "input"); });
        if (*c.error == '\0') {
            EXPECT_EQ(error, "");
        } else {
            EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        }
    }
    sim::Input input = sim::Input::script("ahead click 1 2\nahead key enter\n\nyes\n", "input");
    auto ahead = input.take_typed_ahead();
    ASSERT_EQ(ahead.size(), 2u);
    EXPECT_EQ(ahead[1].name, "key");
    EXPECT_EQ(ahead[1].args, std::vector<std::string>{"enter"});
    auto next = input.next("");
    ASSERT_TRUE(next);
    EXPECT_EQ(next->name, "yes");
    EXPECT_EQ(next->line, 4);
    EXPECT_FALSE(input.next(""));
}

TEST(CommandLine, WinMainGetsWhatFollowsTheProgramName) {
    struct Case {
        const char* line;
        const char* arguments;
    };
    const Case cases[] = {
        {"dropcard", ""},
        {"dropcard   \t", ""},
        {"dropcard x", "x"},
        {"dropcard  /s  y ", "/s  y "},
        {"dropcard \"\"", "\"\""},
        {"\"C:\\Program Files\\dropcard.exe\" x", "x"},
        {"\"C:\\Program Files\\dropcard.exe\"", ""},
        {"\"unclosed", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(sim::arguments_of(c.line), c.arguments);
    }
    const char* argv[] = {"/usr/bin/dropcard", "", "a b", "say \"hi\"", "c:\\dir\\"};
    EXPECT_EQ(sim::join_command_line(5, argv), "dropcard \"\" \"a b\" \"say \\\"hi\\\"\" c:\\dir\\");
}

TEST(DrivePaths, EveryPathOfDriveCHasOneNormalForm) {
    struct Case {
        const char* path;
        std::optional<std::string> normal;
    };
    const Case cases[] = {
        {"C:\\WINDOWS\\system\\Es1868.drv", "C:\\WINDOWS\\SYSTEM\\ES1868.DRV"},
        {"c:/windows//system/", "C:\\WINDOWS\\SYSTEM"},
        {"C:\\WINDOWS\\.\\INF\\..\\INF\\OTHER", "C:\\WINDOWS\\INF\\OTHER"},
        {"C:\\bank5120.bin. ", "C:\\BANK5120.BIN"},
        {"C:\\caf\xE9", "C:\\CAF\xC9"},
        {"C:\\", "C:\\"},
        {"C:\\..", std::nullopt},
        {"C:\\WINDOWS\\..\\..\\etc", std::nullopt},
        {"C:WINDOWS", std::nullopt},
        {"D:\\WINDOWS", std::nullopt},
        {"\\\\SERVER\\SHARE\\FILE", std::nullopt},
        {"\\WINDOWS\\FILE", std::nullopt},
        {"/etc/passwd", std::nullopt},
        {"WINDOWS\\FILE", std::nullopt},
        {"C:\\A:B", std::nullopt},
        {"C:\\WHAT?", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(sim::Drive::normal_form(c.path), c.normal);
    }
}

}  // namespace
