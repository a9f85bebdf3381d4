// What a full removal of the card takes from the sample machine, read from the table
// card_expectations.txt beside this header, which the Wine tests of the Win32 program
// read too: one list of cases for both platforms.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "error.h"

namespace e2e {

struct CardExpectations {
    std::vector<std::string> keys;  // the keys that go with everything below them, in order
    std::string value_key;          // the key of the value that goes; the key stays
    std::string value_name;
    std::vector<std::string> files;  // the files that go, as paths in the sample's machine folder
};

// The table, read once. A line that cannot be taken is a sim::InputError naming it.
inline const CardExpectations& card_expectations() {
    static const CardExpectations table = [] {
        const std::filesystem::path path =
            std::filesystem::path(__FILE__).parent_path() / "card_expectations.txt";
        const std::string name = path.filename().string();
        std::ifstream in(path);
        if (!in)
            throw sim::InputError(path.string(), 0, "cannot be read");
        // The sample machine's directories (its machine.ini), as folders of the machine folder.
        const std::string windows = "drive_c/WINDOWS/";
        const std::string system = "drive_c/WINDOWS/SYSTEM/";
        CardExpectations t;
        int values = 0;
        std::string line;
        for (int number = 1; std::getline(in, line); number++) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            std::istringstream fields(line);
            std::vector<std::string> f;
            for (std::string word; fields >> word;)
                f.push_back(word);
            if (f.empty() || f[0][0] == '#')
                continue;
            if (f[0] == "key" && f.size() == 2) {
                t.keys.push_back(f[1]);
            } else if (f[0] == "value" && f.size() == 3) {
                if (++values > 1)
                    throw sim::InputError(name, number, "a second value; the table has one");
                t.value_key = f[1];
                t.value_name = f[2];
            } else if (f[0] == "file" && f.size() == 3 && (f[1] == "windows" || f[1] == "system")) {
                std::string file = f[2];
                for (char& c : file) {
                    if (c == '\\')
                        c = '/';
                }
                t.files.push_back((f[1] == "windows" ? windows : system) + file);
            } else {
                throw sim::InputError(
                    name, number,
                    "want 'key KEY', 'value KEY NAME' or 'file windows|system PATH', not '" + line + "'");
            }
        }
        if (values == 0)
            throw sim::InputError(name, 0, "the table names no value");
        return t;
    }();
    return table;
}

}  // namespace e2e
