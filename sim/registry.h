// The simulated registry: six root trees of keys, each key with named values.
//
// Key and value names match without regard to case (ASCII and the Latin-1 letters of
// code page 1252) and keep the case they were created with. Every key keeps the order
// in which its section first appeared in the registry file, so a saved file lists the
// keys in the order it was loaded in. A deleted key is kept, marked dead, for as long as
// the registry lives, so a handle to it can be told from a handle to a live key.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text.h"

namespace sim {

enum class Root { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig, DynData };

// "HKEY_LOCAL_MACHINE" and the other five names, matched without regard to case.
std::optional<Root> root_from_name(std::string_view name);
const char* root_name(Root root);

// Value types as the registry stores them.
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;


struct RegValue {
    std::string name;      // "" is the key's default value
    std::uint32_t type = kRegSz;
    std::string data;      // the stored bytes; a string value holds its terminating zero
    std::string raw;       // the value's text as it stood in the file (lines joined by
                           // "\n"); empty once the value was changed, so it is formatted anew
};

struct RegKey {
    std::string name;      // this key's own name, as created
    std::string raw;       // the "[...]" line as it stood in the file; empty if none
    RegKey* parent = nullptr;
    bool alive = true;
    bool listed = false;   // had a section of its own in the file
    std::vector<RegValue> values;  // in file order
    std::map<std::string, std::unique_ptr<RegKey>> children;  // by folded name

    std::string path() const;  // full path from the root's name: "HKEY_LOCAL_MACHINE\Enum\..."
};

class Registry {
public:
    Registry();
    Registry(Registry&&) noexcept;
    Registry& operator=(Registry&&) noexcept;
    ~Registry();

    RegKey* root(Root root);
    const RegKey* root(Root root) const;

    // The key at a backslash-separated path below `parent`; an empty path is `parent`
    // itself. nullptr when any part is missing.
    RegKey* find(RegKey* parent, std::string_view path);
    // As find, creating the missing keys, each placed in the key order at this moment.
    RegKey* create(RegKey* parent, std::string_view path);

    const RegValue* value(const RegKey& key, std::string_view name) const;
    void set_value(RegKey& key, std::string_view name, std::uint32_t type, std::string data);
    bool delete_value(RegKey& key, std::string_view name);
    // Removes the key with every key below it. A root cannot be removed.
    void delete_tree(RegKey& key);

    // Live keys in key order, roots excluded.
    std::vector<const RegKey*> keys_in_order() const;

    // The sections a registry file holds, in key order: the live keys, and each root that
    // was listed in the file or was given a value.
    std::vector<const RegKey*> sections_in_order() const;
    // The loader's step for a section line: marks `key` listed with `raw` as its line and
    // moves it to the end of the key order, where its section first appeared.
    void mark_listed(RegKey& key, std::string raw);

    // True once anything was created, set or removed since load (or since mark_saved).
    bool changed() const { return changed_; }
    void mark_saved() { changed_ = false; }

    // File form details the saver needs to give back what the loader read.
    std::string line_end = "\r\n";

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    bool changed_ = false;
};

}  // namespace sim
