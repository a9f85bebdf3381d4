// Saves killed at every point: the machine's files are always whole, either as they were or
// as the save made them, and what a killed save leaves behind neither breaks the next load
// nor outlives the next save.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "machine.h"

namespace {

namespace fs = std::filesystem;

const std::string old_registry =
    "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Enum\\ISAPNP\\ESS1868_DEV0000]\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Enum\\ISAPNP\\ESS1868_DEV0000\\FFFFFFFF]\r\n\"Driver\"=\"MEDIA\\\\0000\"\r\n"
    "\"LogConfig\"=hex:00,04,00,00,00,20,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,\\\r\n"
    "  00,00,24,00,00,00,01,00\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\r\n\"Kept\"=\"yes\"\r\n\r\n";
const std::string old_ini =
    "; a machine\r\n[System]\r\nUserLanguage=0x0407\r\n\r\n[Mixer0]\r\nName=ESS AudioDrive Mixer\r\n"
    "Control1=0x8000,0x8000\r\nControl12=200\r\n";

std::string read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void put(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> temporaries(const fs::path& folder) {
    std::vector<std::string> out;
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        if (name.find(".saving-") != std::string::npos)
            out.push_back(name);
    }
    return out;
}

// What a program's run changes: the card's key goes, a value is added, a mixer moves.
void change_and_save(const fs::path& folder) {
    auto m = sim::Machine::load(folder, sim::Input::none());
    if (sim::RegKey* card =
            m->registry.find(m->registry.root(sim::Root::LocalMachine), "Enum\\ISAPNP\\ESS1868_DEV0000")) {
        m->registry.delete_tree(*card);
    }
    m->registry.set_value(*m->registry.create(m->registry.root(sim::Root::LocalMachine), "SOFTWARE\\Other"),
                          "Added", sim::kRegSz, std::string("1\0", 2));
    const std::uint32_t values[2] = {0x1234, 0x4321};
    m->mixers.change(0, *m->mixers.devices[0].control(1), values, 2);
    m->save();
}

class CrashSafety : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "simwin-crash-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    void reset() {
        for (const auto& name : temporaries(folder_))
            fs::remove(folder_ / name);
        put(folder_ / "registry.reg", old_registry);
        put(folder_ / "machine.ini", old_ini);
    }

    // Runs the change in a child process that the switch kills after `bytes` bytes; the
    // child's wait status.
    int run_killed_after(std::size_t bytes) {
        pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("SIMWIN_DIE_AFTER_BYTES", std::to_string(bytes).c_str(), 1);
            try {
                change_and_save(folder_);
            } catch (...) {
                ::_exit(3);
            }
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return status;
    }

    fs::path folder_;
};

TEST_F(CrashSafety, AKillAtAnyByteOfEitherSaveLeavesOldOrNewWholeFiles) {
    reset();
    change_and_save(folder_);
    const std::string new_registry = read(folder_ / "registry.reg");
    const std::string new_ini = read(folder_ / "machine.ini");
    ASSERT_NE(new_registry, old_registry);
    ASSERT_NE(new_ini, old_ini);
    // Each file's bytes, and its rename as one more: a kill at 0 to `points` bytes, and a
    // run that ends by itself after that.
    const std::size_t points = new_registry.size() + 1 + new_ini.size() + 1;

    for (std::size_t bytes = 0; bytes <= points + 1; bytes++) {
        SCOPED_TRACE("killed after " + std::to_string(bytes) + " of " + std::to_string(points));
        reset();
        int status = run_killed_after(bytes);
        if (bytes <= points) {
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
        } else {
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
        }
        std::string registry = read(folder_ / "registry.reg");
        std::string ini = read(folder_ / "machine.ini");
        EXPECT_TRUE(registry == old_registry || registry == new_registry) << registry;
        EXPECT_TRUE(ini == old_ini || ini == new_ini) << ini;
        // The registry is saved first, so a new machine.ini comes only with a new registry.
        if (ini == new_ini) {
            EXPECT_EQ(registry, new_registry);
        }
        // The registry is replaced exactly when its rename was reached.
        EXPECT_EQ(registry == new_registry, bytes > new_registry.size());
        EXPECT_LE(temporaries(folder_).size(), 1u);

        // The next run loads what it finds, and its save leaves nothing behind.
        ASSERT_NO_THROW(change_and_save(folder_));
        EXPECT_EQ(read(folder_ / "registry.reg"), new_registry);
        EXPECT_EQ(read(folder_ / "machine.ini"), new_ini);
        EXPECT_EQ(temporaries(folder_), std::vector<std::string>{});
    }
}

}  // namespace
