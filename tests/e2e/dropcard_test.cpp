// The uninstaller, run as a person would run it on a machine, and the machine looked at
// afterwards: the registry file, the files of drive C: and the trace.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "machine_folder.h"
#include "reg_file.h"

namespace {

using e2e::MachineFolder;

// What a full removal takes from the sample machine.
const std::vector<std::string> card_keys = {
    "HKEY_LOCAL_MACHINE\\Enum\\ISAPNP\\ESS1868_DEV0000",
    "HKEY_LOCAL_MACHINE\\Enum\\ISAPNP\\ESS1868_DEV0001",
    "HKEY_LOCAL_MACHINE\\Enum\\ISAPNP\\ESS1868_DEV0002",
    "HKEY_LOCAL_MACHINE\\Enum\\ISAPNP\\ESS1868_DEV0003",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\MEDIA\\0000",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\MEDIA\\0001",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaResources\\aux\\es1868.drv<0001>",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaResources\\mixer\\es1868.drv<0001>",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaResources\\wave\\es1868.drv<0001>",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaResources\\midi\\esfm.drv<0001>",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaResources\\midi\\essmpu.drv<0001>",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\MEDIA\\0002",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaResources\\joystick\\msjstick.drv<0002>",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\MEDIA\\0003",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaResources\\midi\\dream95.drv<0003>",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaResources\\mixer\\dream95.drv<0003>",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaResources\\wave\\dream95.drv<0003>",
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaResources\\Dream",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora",
};
const char* const run_key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const startup_value = "VelmoraDk";

const std::vector<std::string> card_files = {
    "drive_c/WINDOWS/BANK5120.BIN",         "drive_c/WINDOWS/LOADBANK.EXE",
    "drive_c/WINDOWS/FXSETUP.EXE",          "drive_c/WINDOWS/SYSTEM/ES1868.DRV",
    "drive_c/WINDOWS/SYSTEM/ES1868.VXD",    "drive_c/WINDOWS/SYSTEM/ESFM.DRV",
    "drive_c/WINDOWS/SYSTEM/ESSFM.DRV",     "drive_c/WINDOWS/SYSTEM/ESSMPORT.DRV",
    "drive_c/WINDOWS/SYSTEM/ESSMPU.DRV",    "drive_c/WINDOWS/SYSTEM/DREAM95.DRV",
    "drive_c/WINDOWS/SYSTEM/DREAM95.VXD",   "drive_c/WINDOWS/SYSTEM/MIXTWIN.EXE",
    "drive_c/WINDOWS/SYSTEM/MIXTWIN.INI",   "drive_c/WINDOWS/INF/OTHER/VELMORA.INF",
};

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

}  // namespace
