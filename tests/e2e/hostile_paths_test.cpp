// Paths that try to leave drive C:, through every way a path reaches the platform: the
// directories of machine.ini, the INF name in the registry, [Files] entries, and symbolic
// links inside drive_c/. The programs run, and no file outside drive_c/ is read, written
// or deleted: canary files beside the machine's own files, above the machine folder and
// in a sibling folder stay as they were, and every file open outside drive C: fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "machine_folder.h"

namespace {

using e2e::MachineFolder;
namespace fs = std::filesystem;

const char* const settings_68 = "[mixtwin]\r\nChip=68\r\nA=1\r\nB=2\r\nC=3\r\n";

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void put(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Every file below `top` that is not below `machine`/drive_c, nor the machine's registry
// (which the uninstaller rewrites), nor the run's own files, by its path, with its bytes.
// Links are not followed.
std::map<std::string, std::string> outside_files(const fs::path& top, const fs::path& machine) {
    std::map<std::string, std::string> out;
    for (auto it = fs::recursive_directory_iterator(top); it != fs::recursive_directory_iterator(); ++it) {
        const fs::path& p = it->path();
        if (p == machine / "drive_c") {
            it.disable_recursion_pending();
            continue;
        }
        if (p == machine / "registry.reg" || it->is_symlink() || !it->is_regular_file())
            continue;
        // The run's own input, trace and error output lie beside the machine folder.
        if (p.parent_path() == top && p.extension() == ".txt")
            continue;
        out[fs::relative(p, top).string()] = slurp(p);
    }
    return out;
}

std::size_t regular_files_below(const fs::path& folder) {
    std::size_t n = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        n += !entry.is_symlink() && entry.is_regular_file();
    return n;
}

// Canaries: files named as the card's files and the volume link's settings, outside
// drive C: in the machine folder itself, above it, and in a sibling folder of it.
void plant_canaries(const fs::path& top, const fs::path& machine) {
    const fs::path sibling = top / "sibling";
    for (const fs::path& folder : {machine, top, sibling / "WINDOWS"}) {
        put(folder / "BANK5120.BIN", "canary bank");
        put(folder / "MIXTWIN.INI", settings_68);
        put(folder / "INF" / "VELMORA.INF", "canary inf");
        put(folder / "INF" / "OTHER" / "VELMORA.INF", "canary inf");
        put(folder / "SYSTEM" / "ES1868.DRV", "canary driver");
        put(folder / "SYSTEM" / "MIXTWIN.INI", settings_68);
    }
}

struct Link {
    const char* at;      // below the machine folder
    std::string target;  // "{top}" stands for the folder above the machine folder
};

std::string expand(std::string text, const fs::path& top) {
    for (auto at = text.find("{top}"); at != std::string::npos; at = text.find("{top}")) {
        text.replace(at, 5, top.string());
    }
    return text;
}

TEST(HostilePaths, NoFileOutsideDriveCIsReadWrittenOrDeleted) {
    struct Case {
        const char* name;
        const char* program;
        std::string ini;          // machine.ini; "{top}" as in Link
        std::vector<Link> links;  // each replaces what stood there
        std::string inf_path;     // the INF name in the registry, when the case sets it
        int status;
    };
    const std::string windows = "[System]\r\nWindowsDirectory=";
    const std::string system = "\r\nSystemDirectory=";
    const Case cases[] = {
        {"directories that climb out with ..",
         "dropcard",
         windows + "C:\\..\\..\\sibling\\WINDOWS" + system +
             "C:\\WINDOWS\\..\\..\\..\\sibling\\WINDOWS\\SYSTEM\r\n",
         {},
         "",
         0},
        {"directories of the machine folder itself",
         "dropcard",
         windows + "C:\\.." + system + "C:\\..\\SYSTEM\r\n",
         {},
         "",
         0},
        {"directories on another drive",
         "dropcard",
         windows + "D:\\WINDOWS" + system + "D:\\WINDOWS\\SYSTEM\r\n",
         {},
         "",
         0},
        {"UNC directories",
         "dropcard",
         windows + "\\\\localhost\\share\\WINDOWS" + system + "\\\\?\\C:\\..\\SYSTEM\r\n",
         {},
         "",
         0},
        {"host paths",
         "dropcard",
         windows + "{top}/sibling/WINDOWS" + system + "{top}/sibling/WINDOWS/SYSTEM\r\n",
         {},
         "",
         0},
        {"host paths spelled as drive C:",
         "dropcard",
         windows + "C:{top}/sibling/WINDOWS" + system + "C:/../SYSTEM\r\n",
         {},
         "",
         0},
        {"relative directories",
         "dropcard",
         windows + "..\\sibling\\WINDOWS" + system + "WINDOWS\\SYSTEM\r\n",
         {},
         "",
         0},
        {"the system folder is a link to the sibling's",
         "dropcard",
         "",
         {{"drive_c/WINDOWS/SYSTEM", "{top}/sibling/WINDOWS/SYSTEM"}},
         "",
         0},
        {"the Windows folder is a link to the machine folder",
         "dropcard",
         "",
         {{"drive_c/WINDOWS", ".."}},
         "",
         0},
        {"a card file is a link to a canary",
         "dropcard",
         "",
         {{"drive_c/WINDOWS/BANK5120.BIN", "{top}/BANK5120.BIN"},
          {"drive_c/WINDOWS/SYSTEM/ES1868.DRV", "../../../SYSTEM/ES1868.DRV"}},
         "",
         0},
        {"the INF folder is a link to the machine folder and names registry.reg",
         "dropcard",
         "",
         {{"drive_c/WINDOWS/INF", "../.."}},
         "registry.reg",
         0},
        {"the INF folder is a link to the machine folder and names machine.ini",
         "dropcard",
         "",
         {{"drive_c/WINDOWS/INF", "../.."}},
         "machine.ini",
         0},
        {"drive C: itself is a link", "dropcard", "", {{"drive_c", "{top}/sibling"}}, "", 0},
        {"an INF name that climbs out", "dropcard", "", {}, "..\\..\\..\\BANK5120.BIN", 0},
        {"a locked file outside drive C:",
         "dropcard",
         "[Files]\r\nC:\\..\\registry.reg=in-use\r\n",
         {},
         "",
         2},
        {"a locked file on a host path",
         "dropcard",
         "[Files]\r\n{top}/BANK5120.BIN=read-only\r\n",
         {},
         "",
         2},
        {"settings in a sibling folder",
         "mixtwin",
         "[System]\r\nSystemDirectory=C:\\..\\..\\sibling\\WINDOWS\\SYSTEM\r\n",
         {},
         "",
         0},
        {"settings beside the machine's files",
         "mixtwin",
         "[System]\r\nSystemDirectory=C:\\..\r\n",
         {},
         "",
         0},
        {"settings on a host path", "mixtwin", "[System]\r\nSystemDirectory={top}\r\n", {}, "", 0},
        {"settings on another drive", "mixtwin", "[System]\r\nSystemDirectory=D:\\\r\n", {}, "", 0},
        {"settings through a linked system folder",
         "mixtwin",
         "",
         {{"drive_c/WINDOWS/SYSTEM", "{top}/sibling/WINDOWS/SYSTEM"}},
         "",
         0},
        {"settings file that is a link",
         "mixtwin",
         "",
         {{"drive_c/WINDOWS/SYSTEM/MIXTWIN.INI", "{top}/MIXTWIN.INI"}},
         "",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MachineFolder machine = MachineFolder::copy_of("sample");
        const fs::path top = machine.path().parent_path();
        plant_canaries(top, machine.path());
        if (!c.ini.empty())
            machine.write("machine.ini", expand(c.ini, top));
        for (const Link& link : c.links) {
            fs::remove_all(machine.path() / link.at);
            fs::create_symlink(expand(link.target, top), machine.path() / link.at);
        }
        if (!c.inf_path.empty()) {
            std::string reg = machine.read("registry.reg");
            const std::string from = "\"InfPath\"=\"VELMORA.INF\"";
            ASSERT_NE(reg.find(from), std::string::npos);
            std::string escaped;
            for (char ch : c.inf_path)
                escaped += ch == '\\' ? std::string("\\\\") : std::string(1, ch);
            reg.replace(reg.find(from), from.size(), "\"InfPath\"=\"" + escaped + "\"");
            machine.write("registry.reg", reg);
        }
        const auto outside_before = outside_files(top, machine.path());
        const std::size_t drive_files_before = regular_files_below(machine.path() / "drive_c");

        auto run = machine.run(c.program, {"x"}, "ok\n");
        EXPECT_EQ(run.status, c.status) << run.errors;
        EXPECT_EQ(outside_files(top, machine.path()), outside_before);
        for (const Link& link : c.links) {
            EXPECT_TRUE(fs::is_symlink(fs::symlink_status(machine.path() / link.at)))
                << "a link is never removed: " << link.at;
        }

        // Each file a deletion reports as gone was a file of drive C: that is gone now.
        std::size_t deleted = 0;
        for (const std::string& line : e2e::calls(run)) {
            if (line.rfind("_unlink(", 0) == 0 && line.size() > 4 &&
                line.compare(line.size() - 4, 4, " = 0") == 0)
                deleted++;
            // No file is opened outside drive C: (mixtwin finds no settings in any case).
            if (line.rfind("_sopen(", 0) == 0) {
                EXPECT_EQ(line.substr(line.size() - 5), " = -1") << line;
            }
            EXPECT_EQ(line.rfind("_read(", 0), std::string::npos) << line;
        }
        EXPECT_EQ(deleted, drive_files_before - regular_files_below(machine.path() / "drive_c"));
        if (std::string(c.program) == "mixtwin") {
            EXPECT_NE(run.trace_text.find("\"mixtwin.ini not found !\""), std::string::npos)
                << run.trace_text;
        }
    }
}

}  // namespace
