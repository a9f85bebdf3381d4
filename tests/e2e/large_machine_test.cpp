// The uninstaller on a large machine: 40000 registry keys of many devices, driver classes,
// multimedia resources, programs and users. Exactly the card's entries go; every other
// key and value is written back byte for byte as it stood.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "card_expectations.h"
#include "large_machine.h"
#include "machine_folder.h"
#include "text.h"

namespace {

using e2e::MachineFolder;

bool below(const std::string& path, const std::string& top) {
    return path.size() >= top.size() && sim::fold_case(path.substr(0, top.size())) == sim::fold_case(top) &&
           (path.size() == top.size() || path[top.size()] == '\\');
}

// The registry text without the sections of the keys below `gone`, and without the value
// lines of `value_name` in the section of `value_key`: what a save must give when just
// these went. Sections and value lines are cut as they stand, line ends and all.
std::string without_sections(const std::string& text, const std::vector<std::string>& gone,
                             const std::string& value_key, const std::string& value_name) {
    std::string out;
    bool dropping = false;
    bool in_value_key = false;
    bool dropping_value = false;
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t end = text.find("\r\n", pos);
        end = end == std::string::npos ? text.size() : end + 2;
        const std::string line = text.substr(pos, end - pos);
        pos = end;
        if (line.front() == '[') {
            const std::string path = line.substr(1, line.rfind(']') - 1);
            dropping =
                std::any_of(gone.begin(), gone.end(), [&](const std::string& g) { return below(path, g); });
            in_value_key = sim::fold_case(path) == sim::fold_case(value_key);
            dropping_value = false;
        } else if (line.front() == '"') {
            dropping_value =
                in_value_key && sim::fold_case(line).rfind(sim::fold_case("\"" + value_name + "\"="), 0) == 0;
        } else if (line.front() != ' ') {
            dropping_value = false;  // a blank line ends a section; continuations keep their value's fate
        }
        if (!dropping && !dropping_value)
            out += line;
    }
    return out;
}

TEST(LargeMachine, OnlyTheCardsEntriesGoAndEverythingElseIsWrittenAsItStood) {
    const auto& card = e2e::card_expectations();
    MachineFolder machine;
    const large_machine::Machine large = large_machine::make(40000);
    ASSERT_GE(large.keys, 40000u);
    large_machine::write(large, machine.path());
    const auto files_before = machine.files();

    auto run = machine.run("dropcard", {"x"}, "");
    ASSERT_EQ(run.status, 0) << run.errors;

    const std::string want = without_sections(large.registry, card.keys, card.value_key, card.value_name);
    ASSERT_LT(want.size(), large.registry.size());
    const std::string saved = machine.read("registry.reg");
    EXPECT_EQ(saved.size(), want.size());
    EXPECT_TRUE(saved == want) << "the first difference is at byte "
                               << std::mismatch(saved.begin(), saved.end(), want.begin(), want.end()).first -
                                      saved.begin();
    for (const std::string& key : card.keys) {
        EXPECT_EQ(saved.find("[" + key + "]"), std::string::npos) << key;
    }

    auto files_after = machine.files();
    for (const auto& [path, bytes] : files_before) {
        if (path == "registry.reg")
            continue;
        bool gone = std::find(card.files.begin(), card.files.end(), path) != card.files.end();
        EXPECT_EQ(files_after.count(path), gone ? 0u : 1u) << path;
        if (!gone && files_after.count(path)) {
            EXPECT_EQ(files_after[path], bytes) << path;
        }
    }
}

}  // namespace
