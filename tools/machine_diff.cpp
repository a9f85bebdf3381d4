// machine-diff BEFORE AFTER: what differs between two machine folders, for a person: the
// registry's keys and values, the files of drive C: and the entries of machine.ini.
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "atomic_file.h"
#include "ini_file.h"
#include "reg_file.h"
#include "text.h"

namespace fs = std::filesystem;

namespace {

sim::Registry registry_of(const fs::path& folder) {
    auto text = sim::read_whole_file(folder / "registry.reg");
    return text ? sim::load_reg_file(*text, (folder / "registry.reg").string()) : sim::Registry();
}

std::map<std::string, const sim::RegKey*> keys_by_path(const sim::Registry& registry) {
    std::map<std::string, const sim::RegKey*> out;
    for (const sim::RegKey* key : registry.keys_in_order()) out[sim::fold_case(key->path())] = key;
    return out;
}

std::string value_text(const sim::RegValue& v) {
    if (v.type == sim::kRegSz && !v.data.empty() && v.data.back() == '\0') {
        return sim::c_literal(std::string_view(v.data).substr(0, v.data.size() - 1));
    }
    return sim::c_literal(v.data);
}

std::string value_name(const sim::RegValue& v) { return v.name.empty() ? "@" : sim::c_literal(v.name); }

// Keys of `from` missing in `to`, each shown once at the top of a missing subtree.
void missing_keys(const sim::Registry& from, const std::map<std::string, const sim::RegKey*>& to, const char* what) {
    auto keys = keys_by_path(from);
    std::string top;
    int below = 0;
    auto flush = [&] {
        if (top.empty()) return;
        std::printf("registry: key %-8s %s", what, top.c_str());
        if (below) std::printf("  (and %d key%s below it)", below, below == 1 ? "" : "s");
        std::printf("\n");
        top.clear();
        below = 0;
    };
    for (const sim::RegKey* key : from.keys_in_order()) {
        std::string folded = sim::fold_case(key->path());
        if (to.count(folded)) continue;
        if (!top.empty() && folded.rfind(sim::fold_case(top) + "\\", 0) == 0) {
            below++;
            continue;
        }
        flush();
        top = key->path();
    }
    flush();
}

void compare_registries(const fs::path& before_folder, const fs::path& after_folder) {
    sim::Registry before = registry_of(before_folder);
    sim::Registry after = registry_of(after_folder);
    auto before_keys = keys_by_path(before);
    auto after_keys = keys_by_path(after);
    missing_keys(before, after_keys, "removed");
    missing_keys(after, before_keys, "added");
    for (const sim::RegKey* key : before.keys_in_order()) {
        auto kept = after_keys.find(sim::fold_case(key->path()));
        if (kept == after_keys.end()) continue;
        for (const sim::RegValue& v : key->values) {
            const sim::RegValue* now = after.value(*kept->second, v.name);
            if (!now) {
                std::printf("registry: value removed %s %s\n", key->path().c_str(), value_name(v).c_str());
            } else if (now->data != v.data || now->type != v.type) {
                std::printf("registry: value changed %s %s: %s -> %s\n", key->path().c_str(), value_name(v).c_str(),
                            value_text(v).c_str(), value_text(*now).c_str());
            }
        }
        for (const sim::RegValue& v : kept->second->values) {
            if (!before.value(*key, v.name)) {
                std::printf("registry: value added   %s %s = %s\n", key->path().c_str(), value_name(v).c_str(),
                            value_text(v).c_str());
            }
        }
    }
}

std::map<std::string, std::string> drive_files(const fs::path& folder) {
    std::map<std::string, std::string> out;
    fs::path drive = folder / "drive_c";
    std::error_code ec;
    if (!fs::is_directory(drive, ec)) return out;
    for (const auto& entry : fs::recursive_directory_iterator(drive)) {
        if (!entry.is_regular_file()) continue;
        std::string windows = "C:";
        for (const auto& part : fs::relative(entry.path(), drive)) windows += "\\" + part.string();
        out[windows] = sim::read_whole_file(entry.path()).value_or("");
    }
    return out;
}

void compare_files(const fs::path& before_folder, const fs::path& after_folder) {
    auto before = drive_files(before_folder);
    auto after = drive_files(after_folder);
    for (const auto& [path, bytes] : before) {
        auto now = after.find(path);
        if (now == after.end()) {
            std::printf("file removed            %s\n", path.c_str());
        } else if (now->second != bytes) {
            std::printf("file changed            %s\n", path.c_str());
        }
    }
    for (const auto& [path, bytes] : after) {
        if (!before.count(path)) std::printf("file added              %s\n", path.c_str());
    }
}

void compare_settings(const fs::path& before_folder, const fs::path& after_folder) {
    auto read = [](const fs::path& folder) {
        auto text = sim::read_whole_file(folder / "machine.ini");
        return text ? sim::IniFile::parse(*text, (folder / "machine.ini").string()) : sim::IniFile();
    };
    sim::IniFile before = read(before_folder);
    sim::IniFile after = read(after_folder);
    for (const auto& e : before.entries()) {
        auto now = after.get(e.section, e.key);
        if (!now) {
            std::printf("machine.ini: removed   [%s] %s\n", e.section.c_str(), e.key.c_str());
        } else if (*now != e.value) {
            std::printf("machine.ini: changed   [%s] %s: %s -> %s\n", e.section.c_str(), e.key.c_str(),
                        e.value.c_str(), now->c_str());
        }
    }
    for (const auto& e : after.entries()) {
        if (!before.get(e.section, e.key)) {
            std::printf("machine.ini: added     [%s] %s=%s\n", e.section.c_str(), e.key.c_str(), e.value.c_str());
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: machine-diff BEFORE AFTER   (two machine folders)\n");
        return 2;
    }
    try {
        compare_registries(argv[1], argv[2]);
        compare_files(argv[1], argv[2]);
        compare_settings(argv[1], argv[2]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "machine-diff: %s\n", error.what());
        return 2;
    }
    return 0;
}
