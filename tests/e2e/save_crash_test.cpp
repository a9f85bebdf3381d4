// The uninstaller killed while it writes registry.reg, at points spread over the whole
// save: the file is always the old one or the new one, whole, and the next run carries on.
#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include "machine_folder.h"

namespace {

using e2e::MachineFolder;

std::size_t temporaries(const MachineFolder& machine) {
    std::size_t n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(machine.path())) {
        n += entry.path().filename().string().find(".saving-") != std::string::npos;
    }
    return n;
}

TEST(SaveCrash, DropcardKilledDuringItsSaveLeavesTheOldOrTheNewRegistry) {
    MachineFolder reference = MachineFolder::copy_of("sample");
    const std::string old_registry = reference.read("registry.reg");
    ASSERT_EQ(reference.run("dropcard", {"x"}, "").status, 0);
    const std::string new_registry = reference.read("registry.reg");
    ASSERT_NE(new_registry, old_registry);

    // Every byte near the start and the end of the file and its rename, and points spread
    // evenly between them.
    const std::size_t size = new_registry.size();
    std::vector<std::size_t> points;
    for (std::size_t n = 0; n <= size + 1; n++) {
        if (n < 20 || n + 20 > size || n % (size / 100 + 1) == 0)
            points.push_back(n);
    }
    for (std::size_t bytes : points) {
        SCOPED_TRACE("killed after " + std::to_string(bytes) + " of " + std::to_string(size) + " bytes");
        MachineFolder machine = MachineFolder::copy_of("sample");
        auto killed = machine.run("dropcard", {"x"}, "", {{"SIMWIN_DIE_AFTER_BYTES", std::to_string(bytes)}});
        EXPECT_EQ(killed.status, -1) << "the switch kills the process: " << killed.errors;
        std::string registry = machine.read("registry.reg");
        EXPECT_EQ(registry, bytes <= size ? old_registry : new_registry);
        EXPECT_LE(temporaries(machine), 1u);

        auto again = machine.run("dropcard", {"x"}, "");
        EXPECT_EQ(again.status, 0) << again.errors;
        EXPECT_EQ(machine.read("registry.reg"), new_registry);
        EXPECT_EQ(temporaries(machine), 0u) << "the next save removes what the killed one left";
    }
}

}  // namespace
