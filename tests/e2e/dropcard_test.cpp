// The uninstaller, run as a person would run it on a machine, and the machine looked at
// afterwards: the registry file, the files of drive C: and the trace.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "card_expectations.h"
#include "machine_folder.h"
#include "reg_file.h"
#include "text.h"

namespace {

using e2e::MachineFolder;

// What a full removal takes from the sample machine: the table that the Wine tests of the
// Win32 program check as well (card_expectations.txt).
const std::vector<std::string>& card_keys = e2e::card_expectations().keys;
const std::string& run_key = e2e::card_expectations().value_key;
const std::string& startup_value = e2e::card_expectations().value_name;
const std::vector<std::string>& card_files = e2e::card_expectations().files;

bool below(const std::string& path, const std::string& top) {
    return path.size() >= top.size() && sim::fold_case(path.substr(0, top.size())) == sim::fold_case(top) &&
           (path.size() == top.size() || path[top.size()] == '\\');
}

// Every key and value of `before` is in `after` unchanged, but those below `gone_keys`,
// which are missing, and the values named in `gone_values`; `after` has nothing more.
void expect_registry(const sim::Registry& before, const sim::Registry& after, const std::vector<std::string>& gone_keys,
                     const std::set<std::pair<std::string, std::string>>& gone_values) {
    std::set<std::string> seen_after;
    for (const sim::RegKey* key : after.keys_in_order()) seen_after.insert(sim::fold_case(key->path()));
    sim::Registry& lookup = const_cast<sim::Registry&>(after);
    for (const sim::RegKey* key : before.keys_in_order()) {
        std::string path = key->path();
        bool gone = std::any_of(gone_keys.begin(), gone_keys.end(), [&](const std::string& g) { return below(path, g); });
        std::string folded = sim::fold_case(path);
        if (gone) {
            EXPECT_EQ(seen_after.count(folded), 0u) << "key should be gone: " << path;
            continue;
        }
        EXPECT_EQ(seen_after.count(folded), 1u) << "key should remain: " << path;
        seen_after.erase(folded);
        auto root_end = path.find('\\');
        const sim::RegKey* kept = lookup.find(lookup.root(*sim::root_from_name(path.substr(0, root_end))),
                                              root_end == std::string::npos ? "" : path.substr(root_end + 1));
        if (!kept) continue;
        for (const sim::RegValue& v : key->values) {
            const sim::RegValue* now = after.value(*kept, v.name);
            if (gone_values.count({sim::fold_case(path), sim::fold_case(v.name)})) {
                EXPECT_EQ(now, nullptr) << "value should be gone: " << path << " " << v.name;
            } else if (!now) {
                ADD_FAILURE() << "value should remain: " << path << " " << v.name;
            } else {
                EXPECT_EQ(now->data, v.data) << path << " " << v.name;
            }
        }
    }
    for (const std::string& extra : seen_after) ADD_FAILURE() << "key appeared: " << extra;
}

void expect_files(const std::map<std::string, std::string>& before, const std::map<std::string, std::string>& after,
                  const std::vector<std::string>& gone) {
    for (const auto& [path, bytes] : before) {
        if (path == "registry.reg" || path == "machine.ini") continue;
        bool should_go = std::find(gone.begin(), gone.end(), path) != gone.end();
        auto now = after.find(path);
        if (should_go) {
            EXPECT_EQ(now, after.end()) << "file should be gone: " << path;
        } else if (now == after.end()) {
            ADD_FAILURE() << "file should remain: " << path;
        } else {
            EXPECT_EQ(now->second, bytes) << "file changed: " << path;
        }
    }
    for (const auto& [path, bytes] : after) {
        EXPECT_TRUE(before.count(path)) << "file appeared: " << path;
    }
}

std::set<std::pair<std::string, std::string>> startup_value_gone() {
    return {{sim::fold_case(run_key), sim::fold_case(startup_value)}};
}

// The message boxes a run showed, from its trace.
std::vector<std::string> boxes(const MachineFolder::Run& run) {
    std::vector<std::string> out;
    for (const std::string& line : e2e::calls(run)) {
        if (line.rfind("MessageBox", 0) == 0) out.push_back(line);
    }
    return out;
}

const char* const question_box =
    "MessageBoxExA(NULL, \"Do you really want to uninstall your sound card ?\", \"Velmora\", "
    "MB_YESNO|MB_ICONSTOP|MB_SYSTEMMODAL, 0x0409)";
const char* const completion_box =
    "MessageBoxExA(NULL, \"    Uninstall complete.    \", \"Velmora\", MB_OK|MB_ICONINFORMATION|MB_SYSTEMMODAL, "
    "0x0409)";

// How the run was started and answered, and what the person sees and the machine loses.
struct RunCase {
    const char* name;
    std::vector<std::string> args;
    const char* command_line;  // the whole command line, when the case needs it as typed
    const char* input;
    std::vector<std::string> want_boxes;
    bool removes;
};

TEST(DropcardRun, AsksOrNotAndRemovesOnTheSampleMachine) {
    const RunCase cases[] = {
        {"any argument runs silently", {"x"}, nullptr, "", {}, true},
        {"a switch runs silently", {"/q"}, nullptr, "", {}, true},
        {"a quoted empty pair runs silently", {""}, nullptr, "", {}, true},
        {"yes removes and reports", {}, nullptr, "yes\nok\n", {std::string(question_box) + " = IDYES",
                                                              std::string(completion_box) + " = IDOK"}, true},
        {"no changes nothing", {}, nullptr, "no\n", {std::string(question_box) + " = IDNO"}, false},
        {"a box that cannot be shown counts as consent", {}, nullptr, "fail\nfail\n",
         {std::string(question_box) + " = 0", std::string(completion_box) + " = 0"}, true},
        {"only blanks after the name ask", {}, "dropcard   \t ", "no\n", {std::string(question_box) + " = IDNO"},
         false},
        {"a quoted program name and blanks ask", {}, "\"C:\\WINDOWS\\SYSTEM\\DROPCARD.EXE\"  ", "no\n",
         {std::string(question_box) + " = IDNO"}, false},
        {"text after a quoted program name is silent", {}, "\"DROPCARD.EXE\" /s", "", {}, true},
    };
    for (const RunCase& c : cases) {
        SCOPED_TRACE(c.name);
        MachineFolder machine = MachineFolder::copy_of("sample");
        auto files_before = machine.files();
        sim::Registry before = machine.registry();
        std::map<std::string, std::string> env;
        if (c.command_line) env["SIMWIN_COMMAND_LINE"] = c.command_line;
        auto run = machine.run("dropcard", c.args, c.input, env);
        EXPECT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(boxes(run), c.want_boxes);
        if (c.removes) {
            expect_registry(before, machine.registry(), card_keys, startup_value_gone());
            expect_files(files_before, machine.files(), card_files);
        } else {
            EXPECT_EQ(machine.files(), files_before) << "nothing may change, registry.reg included";
        }
    }
}


// The texts of each language, byte for byte in code page 1252.
struct Language {
    const char* question;
    const char* completion;
    const char* box_language;
};
const Language english = {"Do you really want to uninstall your sound card ?", "    Uninstall complete.    ", "0x0409"};
const Language german = {"Sind Sie sicher, da\xDF Sie Ihre Soundkarte deinstallieren wollen ?",
                         "     Deinstallation beendet.    ", "0x0407"};
const Language spanish = {"\xBFQuieres realmente desinstalar tu tarjeta de sonido ?",
                          "     Desinstalaci\xF3n completa.     ", "0x040A"};
const Language french = {"Voulez-vous r\xE9" "ellement d\xE9" "sinstaller votre carte son ?",
                         "    D\xE9" "sinstallation achev\xE9" "e.    ", "0x040C"};
const Language dutch = {"Weet u zeker dat u de geluidskaart wilt de-installeren ?", "    De-installatie voltooid.   ",
                        "0x0413"};

std::vector<std::string> expected_boxes(const Language& l) {
    return {"MessageBoxExA(NULL, " + sim::c_literal(l.question) + ", \"Velmora\", MB_YESNO|MB_ICONSTOP|MB_SYSTEMMODAL, " +
                l.box_language + ") = IDYES",
            "MessageBoxExA(NULL, " + sim::c_literal(l.completion) +
                ", \"Velmora\", MB_OK|MB_ICONINFORMATION|MB_SYSTEMMODAL, " + l.box_language + ") = IDOK"};
}

TEST(DropcardLanguage, TheUserLanguageChoosesTheTextsAndTheBoxLanguage) {
    struct Case {
        const char* name;
        const char* user_language;
        const Language& want;
    };
    const Case cases[] = {
        {"US English", "0x0409", english},
        {"English, sublanguage 2", "0x0809", english},
        {"German", "0x0407", german},
        {"German, sublanguage 5", "0x1407", german},
        {"German, sublanguage 6 is not in the list", "0x1807", english},
        {"Spanish, sublanguage 3", "0x0C0A", spanish},
        {"Spanish, sublanguage 20", "0x500A", spanish},
        {"Spanish, sublanguage 21 is not in the list", "0x540A", english},
        {"French", "0x040C", french},
        {"French, sublanguage 5", "0x140C", french},
        {"French, sublanguage 6 is not in the list", "0x180C", english},
        {"Dutch", "0x0413", dutch},
        {"Dutch, sublanguage 2", "0x0813", dutch},
        {"Dutch, sublanguage 3 is not in the list", "0x0C13", english},
        {"a primary language without texts", "0x0410", english},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MachineFolder machine = MachineFolder::copy_of("sample");
        machine.write("machine.ini", std::string("[System]\r\nUserLanguage=") + c.user_language + "\r\n");
        auto run = machine.run("dropcard", {}, "yes\nok\n");
        EXPECT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(boxes(run), expected_boxes(c.want));
    }
}

// A change of the registry's text for one case: every `from` becomes `to`.
struct Change {
    std::string from;
    std::string to;
};

void change_registry(const MachineFolder& machine, const std::vector<Change>& changes) {
    std::string text = machine.read("registry.reg");
    for (const Change& c : changes) {
        auto at = text.find(c.from);
        ASSERT_NE(at, std::string::npos) << "the sample registry has no " << c.from;
        for (; at != std::string::npos; at = text.find(c.from, at + c.to.size())) text.replace(at, c.from.size(), c.to);
    }
    machine.write("registry.reg", text);
}

std::vector<std::string> without(std::vector<std::string> list, const std::vector<std::string>& drop) {
    for (const std::string& d : drop) list.erase(std::remove(list.begin(), list.end(), d), list.end());
    return list;
}

std::vector<std::string> with(std::vector<std::string> list, const std::vector<std::string>& add) {
    list.insert(list.end(), add.begin(), add.end());
    return list;
}

const std::string hklm = "HKEY_LOCAL_MACHINE\\";
const std::string media_class = hklm + "System\\CurrentControlSet\\Services\\Class\\MEDIA";
const std::string resources = hklm + "System\\CurrentControlSet\\Control\\MediaResources\\";
const std::vector<std::string> device1_resources = {
    resources + "aux\\es1868.drv<0001>", resources + "mixer\\es1868.drv<0001>", resources + "wave\\es1868.drv<0001>",
    resources + "midi\\esfm.drv<0001>", resources + "midi\\essmpu.drv<0001>"};
const std::string driver1 = "\"Driver\"=\"MEDIA\\\\0001\"";
const std::string driver0 = "\"Driver\"=\"MEDIA\\\\0000\"";
const std::string infpath0 = "\"InfPath\"=\"VELMORA.INF\"\r\n\"InfSection\"";

// The silent run on the sample machine with its registry changed and files added: exactly
// `gone_keys` (with the start-up value) and `gone_files` go, everything else stays.
void expect_silent_removal(const std::vector<Change>& changes, const std::vector<std::string>& extra_files,
                           const std::vector<std::string>& gone_keys, const std::vector<std::string>& gone_files) {
    MachineFolder machine = MachineFolder::copy_of("sample");
    change_registry(machine, changes);
    for (const std::string& f : extra_files) machine.write(f, "inf");
    auto files_before = machine.files();
    sim::Registry before = machine.registry();
    auto run = machine.run("dropcard", {"x"}, "");
    EXPECT_EQ(run.status, 0) << run.errors;
    expect_registry(before, machine.registry(), gone_keys, startup_value_gone());
    expect_files(files_before, machine.files(), gone_files);
}

// Hostile or odd registry data: what the uninstaller still removes, and what it must leave.
TEST(DropcardRegistryData, OnlyAWellFormedDriverOrInfNameIsUsed) {
    struct Case {
        const char* name;
        std::vector<Change> changes;
        std::vector<std::string> gone_keys;
        std::vector<std::string> gone_files;
    };
    const Case cases[] = {
        {"a bare class name counts as not read",
         {{driver1, "\"Driver\"=\"MEDIA\""}},
         without(card_keys, with(device1_resources, {media_class + "\\0001"})),
         card_files},
        {"an empty Driver counts as not read",
         {{driver1, "\"Driver\"=\"\""}},
         without(card_keys, with(device1_resources, {media_class + "\\0001"})),
         card_files},
        {"an empty instance name counts as not read",
         {{driver1, "\"Driver\"=\"MEDIA\\\\\""}},
         without(card_keys, with(device1_resources, {media_class + "\\0001"})),
         card_files},
        {"an empty class name counts as not read",
         {{driver1, "\"Driver\"=\"\\\\0001\""}},
         without(card_keys, with(device1_resources, {media_class + "\\0001"})),
         card_files},
        {"two backslashes count as not read",
         {{driver1, "\"Driver\"=\"MEDIA\\\\0001\\\\X\""}},
         without(card_keys, with(device1_resources, {media_class + "\\0001"})),
         card_files},
        {"binary data without a terminator counts as not read",
         {{driver1, "\"Driver\"=hex:4d,45,44,49,41,5c,30,30,30,31"}},
         without(card_keys, with(device1_resources, {media_class + "\\0001"})),
         card_files},
        {"a dword counts as not read",
         {{driver1, "\"Driver\"=dword:00000001"}},
         without(card_keys, with(device1_resources, {media_class + "\\0001"})),
         card_files},
        {"terminated binary data naming an instance is read",
         {{driver1, "\"Driver\"=hex:4d,45,44,49,41,5c,30,30,30,31,00"}},
         card_keys,
         card_files},
        {"a 20-character Driver does not fit and counts as not read",
         {{driver1, "\"Driver\"=\"MEDIA\\\\00010000000000\""}},
         without(card_keys, with(device1_resources, {media_class + "\\0001"})),
         card_files},
        {"a 19-character Driver is read: its class key goes",
         {{driver1, "\"Driver\"=\"MEDIA\\\\0001000000000\""},
          {"[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\MEDIA\\0002]",
           "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\MEDIA\\0001000000000]\r\n"
           "\"DriverDesc\"=\"long\"\r\n\r\n"
           "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\MEDIA\\0002]"}},
         without(with(card_keys, {media_class + "\\0001000000000"}), {media_class + "\\0001"}),
         card_files},
        {"a Driver shorter than 10 characters has no suffix: resource keys stay",
         {{driver1, "\"Driver\"=\"MEDIA\\\\01\""},
          {"[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\MEDIA\\0002]",
           "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\MEDIA\\01]\r\n\r\n"
           "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\MEDIA\\0002]"}},
         without(with(card_keys, {media_class + "\\01"}), with(device1_resources, {media_class + "\\0001"})),
         card_files},
        {"a device enumerated without a Driver loses only its enumeration key",
         {{driver1 + "\r\n", ""}},
         without(card_keys, with(device1_resources, {media_class + "\\0001"})),
         card_files},
        {"device 0 not read: InfPath is not asked and the INF file stays",
         {{driver0 + "\r\n", ""}},
         without(card_keys, {media_class + "\\0000"}),
         without(card_files, {"drive_c/WINDOWS/INF/OTHER/VELMORA.INF"})},
        {"an InfPath that climbs out of the INF folder is not used",
         {{infpath0, "\"InfPath\"=\"..\\\\SYSTEM\\\\KERNEL32.DLL\"\r\n\"InfSection\""}},
         card_keys,
         without(card_files, {"drive_c/WINDOWS/INF/OTHER/VELMORA.INF"})},
        {"an InfPath with a drive is not used",
         {{infpath0, "\"InfPath\"=\"C:AUTOEXEC.BAT\"\r\n\"InfSection\""}},
         card_keys,
         without(card_files, {"drive_c/WINDOWS/INF/OTHER/VELMORA.INF"})},
        {"an InfPath of '..' is not used",
         {{infpath0, "\"InfPath\"=\"..\"\r\n\"InfSection\""}},
         card_keys,
         without(card_files, {"drive_c/WINDOWS/INF/OTHER/VELMORA.INF"})},
        {"an empty InfPath is not used",
         {{infpath0, "\"InfPath\"=\"\"\r\n\"InfSection\""}},
         card_keys,
         without(card_files, {"drive_c/WINDOWS/INF/OTHER/VELMORA.INF"})},
        {"an INF file in the INF folder itself is removed",
         {{infpath0, "\"InfPath\"=\"OTHER.INF\"\r\n\"InfSection\""}},
         card_keys,
         with(without(card_files, {"drive_c/WINDOWS/INF/OTHER/VELMORA.INF"}), {"drive_c/WINDOWS/INF/OTHER.INF"})},
        {"device 0 not enumerated: its class key and the INF file stay",
         {{"ESS1868_DEV0000", "OLD_DEV0000"}},
         without(card_keys, {hklm + "Enum\\ISAPNP\\ESS1868_DEV0000", media_class + "\\0000"}),
         without(card_files, {"drive_c/WINDOWS/INF/OTHER/VELMORA.INF"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expect_silent_removal(c.changes, {}, c.gone_keys, c.gone_files);
    }
}

// Registry values of other types, without their zero, at the edge of the 20-byte buffers,
// and names with bytes 0x80-0xFF and control characters: the uninstaller reads no byte
// past the data it was given, and removes nothing but the card's entries.
TEST(DropcardRegistryData, OddTypesLengthsAndNamesReachNothingElse) {
    struct Case {
        const char* name;
        std::vector<Change> changes;
        std::vector<std::string> gone_keys;
        std::vector<std::string> gone_files;
        std::vector<std::string> extra_files;  // made below drive_c/ for the case
    };
    const std::string other_device = "[HKEY_LOCAL_MACHINE\\Enum\\ISAPNP\\OTH0031]";
    const std::string inf_folder = "drive_c/WINDOWS/INF/OTHER/";
    const std::vector<std::string> device1_not_read = without(card_keys, with(device1_resources, {media_class + "\\0001"}));
    const std::vector<std::string> inf_not_used = without(card_files, {inf_folder + "VELMORA.INF"});
    const Case cases[] = {
        {"an expandable string Driver is read",
         {{driver1, "\"Driver\"=hex(2):4d,45,44,49,41,5c,30,30,30,31,00"}}, card_keys, card_files, {}},
        {"a multi-string Driver is read up to its first zero",
         {{driver1, "\"Driver\"=hex(7):4d,45,44,49,41,5c,30,30,30,31,00,58,00,00"}}, card_keys, card_files, {}},
        {"a Driver of type none without a zero counts as not read",
         {{driver1, "\"Driver\"=hex(0):4d,45,44,49,41,5c,30,30,30,31"}}, device1_not_read, card_files, {}},
        {"a Driver of 20 bytes without a zero fills the buffer and counts as not read",
         {{driver1, "\"Driver\"=hex:4d,45,44,49,41,5c,30,30,30,31,30,30,30,30,30,30,30,30,30,30"}},
         device1_not_read, card_files, {}},
        {"a Driver of 21 bytes does not fit",
         {{driver1, "\"Driver\"=hex:4d,45,44,49,41,5c,30,30,30,31,30,30,30,30,30,30,30,30,30,30,00"}},
         device1_not_read, card_files, {}},
        {"an empty binary Driver counts as not read", {{driver1, "\"Driver\"=hex:"}}, device1_not_read, card_files, {}},
        {"a Driver with control characters names no key of the card",
         {{driver1, "\"Driver\"=hex:4d,45,44,49,41,5c,30,30,01,7f,00"}}, device1_not_read, card_files, {}},
        {"a Driver with bytes above 0x7F names its own class key and resources",
         {{driver1, "\"Driver\"=\"MEDIA\\\\\xE9\xFF\x80\x81\""},
          {other_device, "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\MEDIA\\\xC9\x9F\x80\x81]\r\n"
                         "\"DriverDesc\"=\"odd\"\r\n\r\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\"
                         "MEDIA\\\xE9\xFF\x80\x81\xA0]\r\n\r\n" + other_device}},
         without(with(card_keys, {media_class + "\\\xC9\x9F\x80\x81"}), with(device1_resources, {media_class + "\\0001"})),
         card_files, {}},
        {"a dword InfPath names no file", {{infpath0, "\"InfPath\"=dword:00000001\r\n\"InfSection\""}}, card_keys,
         inf_not_used, {}},
        {"an InfPath of 20 bytes without a zero is not used",
         {{infpath0, "\"InfPath\"=hex:41,42,43,44,45,46,47,48,49,4a,4b,4c,4d,4e,4f,2e,49,4e,46,46\r\n\"InfSection\""}},
         card_keys, inf_not_used, {inf_folder + "ABCDEFGHIJKLMNO.INFF", inf_folder + "ABCDEFGHIJKLMNO.INF"}},
        {"an InfPath of 19 characters is used",
         {{infpath0, "\"InfPath\"=\"ABCDEFGHIJKLMNO.INF\"\r\n\"InfSection\""}}, card_keys,
         with(inf_not_used, {inf_folder + "ABCDEFGHIJKLMNO.INF"}), {inf_folder + "ABCDEFGHIJKLMNO.INF"}},
        {"an InfPath of 20 characters does not fit, and its first 19 name nothing",
         {{infpath0, "\"InfPath\"=\"ABCDEFGHIJKLMNOP.INF\"\r\n\"InfSection\""}}, card_keys, inf_not_used,
         {inf_folder + "ABCDEFGHIJKLMNOP.INF", inf_folder + "ABCDEFGHIJKLMNOP.IN"}},
        {"an InfPath with a control character names no file",
         {{infpath0, "\"InfPath\"=\"VELMORA\x01.INF\"\r\n\"InfSection\""}}, card_keys, inf_not_used, {}},
        {"keys and values whose names differ from the card's by odd bytes stay",
         {{other_device, "[HKEY_LOCAL_MACHINE\\Enum\\ISAPNP\\ESS1868_DEV0000\xA0]\r\n\"Driver\"=\"MEDIA\\\\0004\"\r\n\r\n"
                         "[HKEY_LOCAL_MACHINE\\Enum\\ISAPNP\\ESS1868_DEV000\x01]\r\n\r\n"
                         "[HKEY_LOCAL_MACHINE\\Enum\\ISAPNP\\\xC9SS1868_DEV0001]\r\n\r\n"
                         "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaResources\\Dream\x7F]\r\n\r\n"
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora\xFF]\r\n\r\n" +
                             other_device},
          {"\"VelmoraDk\"=", "\"VelmoraDk\x80\"=\"kept\"\r\n\"Velmora\x01\x44k\"=\"kept\"\r\n\"VelmoraDk\"="}},
         card_keys, card_files, {}},
        {"a Driver value whose name has a control character is not the Driver",
         {{driver1, "\"Driver\x01\"=\"MEDIA\\\\0001\""}}, device1_not_read, card_files, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expect_silent_removal(c.changes, c.extra_files, c.gone_keys, c.gone_files);
    }
}

TEST(DropcardFiles, FilesInUseStayAndLongDirectoriesWork) {
    struct Case {
        const char* name;
        std::string settings;
        std::vector<std::pair<std::string, std::string>> moves;  // folders renamed for the case
        std::vector<std::string> gone_files;
    };
    const Case cases[] = {
        {"the running volume link stays, its settings go",
         "[Files]\r\nC:\\WINDOWS\\SYSTEM\\mixtwin.exe=in-use\r\n",
         {},
         without(card_files, {"drive_c/WINDOWS/SYSTEM/MIXTWIN.EXE"})},
        {"a read-only driver file stays",
         "[Files]\r\nC:\\windows\\system\\DREAM95.VXD=read-only\r\n",
         {},
         without(card_files, {"drive_c/WINDOWS/SYSTEM/DREAM95.VXD"})},
        {"directories longer than 19 characters",
         "[System]\r\nWindowsDirectory=C:\\OPERATING SYSTEM\\WINDOWS 95\r\n"
         "SystemDirectory=C:\\OPERATING SYSTEM\\WINDOWS 95\\SYSTEM\r\n",
         {{"drive_c/WINDOWS", "drive_c/OPERATING SYSTEM/WINDOWS 95"}},
         {}},
        {"a Windows directory on another drive reaches no file",
         "[System]\r\nWindowsDirectory=D:\\WINDOWS\r\nSystemDirectory=\\\\SERVER\\SHARE\\SYSTEM\r\n",
         {},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MachineFolder machine = MachineFolder::copy_of("sample");
        machine.write("machine.ini", c.settings);
        for (const auto& [from, to] : c.moves) {
            std::filesystem::create_directories((machine.path() / to).parent_path());
            std::filesystem::rename(machine.path() / from, machine.path() / to);
        }
        auto files_before = machine.files();
        std::vector<std::string> gone = c.gone_files;
        if (!c.moves.empty()) {
            for (std::string f : card_files) gone.push_back(f.replace(0, std::string("drive_c/WINDOWS").size(),
                                                                       "drive_c/OPERATING SYSTEM/WINDOWS 95"));
        }
        auto run = machine.run("dropcard", {"x"}, "");
        EXPECT_EQ(run.status, 0) << run.errors;
        expect_files(files_before, machine.files(), gone);
    }
}

TEST(DropcardRuns, ASecondRunFindsNothingAndChangesNothing) {
    MachineFolder machine = MachineFolder::copy_of("sample");
    auto first = machine.run("dropcard", {"x"}, "");
    ASSERT_EQ(first.status, 0) << first.errors;
    auto after_first = machine.files();
    auto second = machine.run("dropcard", {}, "yes\nok\n");
    EXPECT_EQ(second.status, 0) << second.errors;
    EXPECT_EQ(boxes(second), (std::vector<std::string>{std::string(question_box) + " = IDYES",
                                                         std::string(completion_box) + " = IDOK"}));
    EXPECT_EQ(machine.files(), after_first) << "registry.reg is not even written again";
    // Only the start-up key, which other programs keep, is still found.
    const std::string run_key_open = "RegOpenKeyExA(HKEY_LOCAL_MACHINE, \"SOFTWARE\\\\Microsoft";
    for (const std::string& line : e2e::calls(second)) {
        if (line.rfind(run_key_open, 0) == 0) continue;
        EXPECT_EQ(line.find("= ERROR_SUCCESS -> "), std::string::npos) << "nothing may be found: " << line;
        if (line.rfind("_unlink", 0) == 0) {
            EXPECT_NE(line.find("= -1"), std::string::npos) << line;
        }
    }
}

TEST(DropcardRuns, AMachineWithoutTheCardStillAsksAndReports) {
    MachineFolder machine;
    machine.write("registry.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\"Kept\"=\"yes\"\r\n\r\n");
    machine.write("drive_c/WINDOWS/SYSTEM/KERNEL32.DLL", "kernel");
    auto before = machine.files();
    auto run = machine.run("dropcard", {}, "yes\nok\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(boxes(run).size(), 2u);
    EXPECT_EQ(machine.files(), before);
    // Without device 0's driver key name there is no INF name, so no INF deletion is tried.
    for (const std::string& line : e2e::calls(run)) {
        EXPECT_EQ(line.find("InfPath"), std::string::npos) << line;
        EXPECT_EQ(line.find("\\\\inf\\\\"), std::string::npos) << line;
    }
}

// The whole course of the silent run on the sample machine, call by call.
TEST(DropcardRuns, TheSilentRunMakesItsCallsInOrder) {
    MachineFolder machine = MachineFolder::copy_of("sample");
    auto run = machine.run("dropcard", {"x"}, "");
    ASSERT_EQ(run.status, 0) << run.errors;
    std::vector<std::string> want = {"GetUserDefaultLangID() = 0x0409"};
    const char* devices[] = {"0", "1", "2", "3"};
    for (int n = 0; n < 4; n++) {
        std::string handle = "0x0000010" + std::to_string(n);
        want.push_back("RegOpenKeyExA(HKEY_LOCAL_MACHINE, \"Enum\\\\ISAPNP\\\\ESS1868_DEV000" + std::string(devices[n]) +
                       "\\\\FFFFFFFF\", 0, KEY_READ, &key) = ERROR_SUCCESS -> " + handle);
        want.push_back("RegQueryValueExA(" + handle + ", \"Driver\", NULL, NULL, buffer, 20) = ERROR_SUCCESS -> \"MEDIA\\\\000" +
                       devices[n] + "\\x00\", size 11");
        want.push_back("RegCloseKey(" + handle + ") = ERROR_SUCCESS");
    }
    want.push_back("RegOpenKeyExA(HKEY_LOCAL_MACHINE, \"System\\\\CurrentControlSet\\\\Services\\\\Class\\\\MEDIA\\\\0000\", 0, "
                   "KEY_READ, &key) = ERROR_SUCCESS -> 0x00000104");
    want.push_back("RegQueryValueExA(0x00000104, \"InfPath\", NULL, NULL, buffer, 20) = ERROR_SUCCESS -> "
                   "\"VELMORA.INF\\x00\", size 12");
    want.push_back("RegCloseKey(0x00000104) = ERROR_SUCCESS");
    for (const std::string& key : card_keys) {
        if (key.find("Uninstall") != std::string::npos) continue;
        std::string relative = sim::c_literal(key.substr(hklm.size()));
        want.push_back("RegDeleteKeyA(HKEY_LOCAL_MACHINE, " + relative + ") = ERROR_SUCCESS");
    }
    want.push_back("RegOpenKeyExA(HKEY_LOCAL_MACHINE, \"SOFTWARE\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Run\", 0, "
                   "KEY_SET_VALUE, &key) = ERROR_SUCCESS -> 0x00000105");
    want.push_back("RegDeleteValueA(0x00000105, \"VelmoraDk\") = ERROR_SUCCESS");
    want.push_back("RegCloseKey(0x00000105) = ERROR_SUCCESS");
    want.push_back("RegDeleteKeyA(HKEY_LOCAL_MACHINE, "
                   "\"SOFTWARE\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Velmora\") = ERROR_SUCCESS");
    const char* files[][2] = {
        {"W", "bank5120.bin"}, {"W", "loadbank.exe"}, {"W", "fxsetup.exe"}, {"S", "es1868.drv"}, {"S", "es1868.vxd"},
        {"S", "esfm.drv"}, {"S", "essfm.drv"}, {"S", "essmport.drv"}, {"S", "essmpu.drv"}, {"S", "dream95.drv"},
        {"S", "dream95.vxd"}, {"S", "mixtwin.exe"}, {"S", "mixtwin.ini"}, {"W", "inf\\VELMORA.INF"},
        {"W", "inf\\other\\VELMORA.INF"}};
    for (const auto& f : files) {
        bool windows = f[0][0] == 'W';
        std::string dir = windows ? "C:\\WINDOWS" : "C:\\WINDOWS\\SYSTEM";
        want.push_back(std::string(windows ? "GetWindowsDirectoryA" : "GetSystemDirectoryA") + "(buffer, 260) = " +
                       std::to_string(dir.size()) + " -> " + sim::c_literal(dir));
        bool missing = std::string(f[1]) == "inf\\VELMORA.INF";
        want.push_back("_unlink(" + sim::c_literal(dir + "\\" + f[1]) + ") = " +
                       (missing ? "-1 -> ERROR_FILE_NOT_FOUND" : "0"));
    }
    want.push_back("exit(0)");
    EXPECT_EQ(e2e::calls(run), want);
}

TEST(DropcardRuns, BadMachineInputStopsBeforeTheProgramRuns) {
    struct Case {
        const char* name;
        const char* file;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"a registry without its header", "registry.reg", "[HKEY_LOCAL_MACHINE\\X]\r\n", "registry.reg:1: "},
        {"a bad hex byte", "registry.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\X]\r\n\"a\"=hex:0g\r\n",
         "registry.reg:4: "},
        {"an unknown section", "machine.ini", "[Sytem]\r\n", "machine.ini:1: unknown section [Sytem]"},
        {"a language out of range", "machine.ini", "[System]\r\nUserLanguage=0x10000\r\n", "machine.ini:2: "},
        {"a file lock of another kind", "machine.ini", "[Files]\r\nC:\\A.TXT=hidden\r\n", "machine.ini:2: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MachineFolder machine = MachineFolder::copy_of("sample");
        machine.write(c.file, c.text);
        auto before = machine.files();
        auto run = machine.run("dropcard", {"x"}, "");
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.errors.find(c.message), std::string::npos) << run.errors;
        EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
        EXPECT_EQ(machine.files(), before);
        EXPECT_TRUE(e2e::calls(run).empty());
    }
}

TEST(DropcardRuns, InputThatCannotAnswerTheBoxStopsTheRun) {
    struct Case {
        const char* name;
        const char* input;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"a button the box does not have", "ok\n", 2, "input.txt:1: 'ok' does not answer a box with the buttons yes/no"},
        {"an unknown command", "# the first box\nyess\n", 2, "input.txt:2: unknown command 'yess'"},
        {"the input ends while the box waits", "", 0, "shuts down"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MachineFolder machine = MachineFolder::copy_of("sample");
        auto before = machine.files();
        auto run = machine.run("dropcard", {}, c.input);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.errors.find(c.message), std::string::npos) << run.errors;
        EXPECT_EQ(machine.files(), before);
    }
}

}  // namespace
