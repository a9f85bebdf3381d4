// Machine files and input scripts that cannot be taken: the run stops before the program
// does anything, with one line on standard error that names the file, the line and what
// is wrong, a non-zero status, and the machine folder exactly as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "machine_folder.h"

namespace {

using e2e::MachineFolder;

const std::string utf16_bom = "\xFF\xFE";

// The text as UTF-16 (little-endian, with its byte order mark), as a "Unicode" save gives it.
std::string utf16(const std::string& text) {
    std::string out = utf16_bom;
    for (char c : text) {
        out += c;
        out += '\0';
    }
    return out;
}

const std::string huge(200000, 'A');
const std::string junk("\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR\x01\xff\xfe\x7f", 20);

TEST(MalformedInput, EachStopsTheRunWithOneLineNamingFileAndLine) {
    struct Case {
        const char* name;
        const char* file;  // machine.ini, registry.reg or input.txt (the input script)
        std::string text;
        std::string message;  // what the line says after "simwin: ...<file>"
    };
    const std::string reg = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\X]\r\n";
    const Case cases[] = {
        // machine.ini
        {"ini: a truncated section header", "machine.ini", "[System]\r\nUserLanguage=0x0407\r\n[Mix",
         "machine.ini:3: section header has no closing ']'"},
        {"ini: a truncated entry", "machine.ini", "[System]\r\nUserLanguage",
         "machine.ini:2: expected 'name=value'"},
        {"ini: an unknown section", "machine.ini", "; mine\r\n[Sound]\r\n",
         "machine.ini:2: unknown section [Sound]"},
        {"ini: an unknown entry", "machine.ini", "[System]\r\nWindows=C:\\WIN\r\n",
         "machine.ini:2: unknown entry 'Windows' in [System]"},
        {"ini: a control value out of range", "machine.ini", "[Mixer0]\r\nName=A\r\nControl1=4294967296\r\n",
         "machine.ini:3: '4294967296' is not an unsigned 32-bit number"},
        {"ini: a language out of range", "machine.ini", "[System]\r\nUserLanguage=0x10000\r\n",
         "machine.ini:2: UserLanguage '0x10000' is not a language identifier"},
        {"ini: a mixer name too long", "machine.ini", "[Mixer0]\r\nName=" + std::string(32, 'N') + "\r\n",
         "machine.ini:2: a mixer's Name must have 1 to 31 characters"},
        {"ini: a gap in the mixers", "machine.ini", "[Mixer0]\r\nName=A\r\n[Mixer2]\r\nName=C\r\n",
         "machine.ini:3: [Mixer2] leaves a gap"},
        {"ini: a locked file off drive C:", "machine.ini", "[Files]\r\nD:\\X.DRV=in-use\r\n",
         "machine.ini:2: 'D:\\X.DRV' is not a path of drive C:"},
        {"ini: binary junk", "machine.ini", junk,
         "machine.ini:1: expected 'name=value' or '[section]', found '\\x89PNG'"},
        {"ini: a NUL byte", "machine.ini", std::string("[System]\r\nUser\0Language=1\r\n", 27),
         "machine.ini:2: line holds a NUL byte"},
        {"ini: UTF-16 text", "machine.ini", utf16("[System]\r\nUserLanguage=0x0407\r\n"),
         "machine.ini:1: the file is UTF-16 text"},
        {"ini: a huge line of junk", "machine.ini", "[System]\r\n" + huge + "\r\n",
         "machine.ini:2: expected 'name=value' or '[section]', found 'AAAA"},
        {"ini: a huge directory", "machine.ini", "[System]\r\nWindowsDirectory=C:\\" + huge + "\r\n",
         "machine.ini:2: WindowsDirectory is longer than 259 characters"},

        // registry.reg
        {"reg: an empty file", "registry.reg", "", "registry.reg: the file is empty"},
        {"reg: a truncated string", "registry.reg", reg + "\"a\"=\"abc",
         "registry.reg:4: unterminated string"},
        {"reg: a truncated key line", "registry.reg", reg + "\r\n[HKEY_LOCAL_MACHINE\\SOFT",
         "registry.reg:5: key line '[HKEY_LOCAL_MACHINE\\SOFT' has no closing ']'"},
        {"reg: a bad escape", "registry.reg", reg + "\"a\"=\"C:\\WINDOWS\"\r\n",
         "registry.reg:4: bad escape '\\W' in string"},
        {"reg: a bad escape of a control character", "registry.reg", reg + "\"a\"=\"x\\\x01\"\r\n",
         "registry.reg:4: bad escape '\\\\x01' in string"},
        {"reg: an unknown root", "registry.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL\\SOFTWARE]\r\n",
         "registry.reg:3: unknown root key 'HKEY_LOCAL'"},
        {"reg: a dword out of range", "registry.reg", reg + "\"a\"=dword:100000000\r\n",
         "registry.reg:4: dword value needs exactly 8 hex digits"},
        {"reg: a value type out of range", "registry.reg", reg + "\"a\"=hex(100000000):00\r\n",
         "registry.reg:4: value type in 'hex(...)' must be a hex number of 1 to 8 digits"},
        {"reg: a missing continuation", "registry.reg", reg + "\"a\"=hex:00,01,\\\r\n",
         "registry.reg:4: missing continuation line after '\\'"},
        {"reg: a continuation that is not hex", "registry.reg",
         reg + "\"a\"=hex:00,01,\\\r\n[HKEY_USERS]\r\n",
         "registry.reg:5: hex byte '[HKEY_USERS]' is not two hex digits"},
        {"reg: binary junk", "registry.reg", junk,
         "registry.reg:1: the first line must be exactly REGEDIT4, found '\\x89PNG'"},
        {"reg: a NUL byte", "registry.reg", reg + std::string("\"a\"=\"x\0y\"\r\n", 11),
         "registry.reg:4: the line holds a NUL byte"},
        {"reg: UTF-16 text", "registry.reg", utf16("REGEDIT4\r\n\r\n[HKEY_USERS]\r\n"),
         "registry.reg:1: the file is UTF-16 text"},
        {"reg: a huge line", "registry.reg", reg + "\"a\"=" + huge + "\r\n",
         "registry.reg:4: unknown value data 'AAAA"},
        {"reg: a huge string that does not end", "registry.reg", reg + "\"a\"=\"" + huge + "\r\n",
         "registry.reg:4: unterminated string"},

        // the input script
        {"input: a truncated command", "input.txt", "# answers\nset 0 1\n",
         "input.txt:2: 'set' takes the form 'set <mixer> <control> <value> [<value>]'"},
        {"input: an unknown command", "input.txt", "yes\njump\n", "input.txt:2: unknown command 'jump'"},
        {"input: a value out of range", "input.txt", "set 0 1 4294967296\n",
         "input.txt:1: '4294967296' is not an unsigned 32-bit number"},
        {"input: a point out of range", "input.txt", "click 1 9999999999\n",
         "input.txt:1: '9999999999' is not a whole number"},
        {"input: binary junk", "input.txt", junk, "input.txt:1: unknown command '\\x89PNG'"},
        {"input: control characters", "input.txt", "yes\n\x1b[2Jno\n",
         "input.txt:2: unknown command '\\x1b[2Jno'"},
        {"input: a NUL byte", "input.txt", std::string("yes\n\0\n", 6), "input.txt:2: line holds a NUL byte"},
        {"input: UTF-16 text", "input.txt", utf16("yes\r\n"), "input.txt:1: the script is UTF-16 text"},
        {"input: a huge word", "input.txt", "yes\n" + huge + "\n", "input.txt:2: unknown command 'AAAA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MachineFolder machine = MachineFolder::copy_of("sample");
        const bool script = std::string(c.file) == "input.txt";
        if (!script)
            machine.write(c.file, c.text);
        const auto before = machine.files();
        auto run = machine.run("dropcard", {"x"}, script ? c.text : "");
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
        EXPECT_LT(run.errors.size(), 400u) << "the line stays short";
        EXPECT_EQ(run.errors.rfind("simwin: ", 0), 0u) << run.errors;
        EXPECT_NE(run.errors.find("/" + c.message), std::string::npos) << run.errors;
        EXPECT_TRUE(e2e::calls(run).empty()) << "the program never ran";
        EXPECT_EQ(machine.files(), before);
    }
}

}  // namespace
