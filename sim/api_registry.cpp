// The registry calls, over the machine's registry and its table of open keys.
#include <string>

#include "machine.h"
#include "platform_api.h"
#include "text.h"
#include "trace_text.h"

using sim::machine;

namespace {

std::uintptr_t handle_value(HKEY key) { return reinterpret_cast<std::uintptr_t>(key); }

std::optional<sim::Root> predefined(HKEY key) {
    switch (handle_value(key)) {
        case 0x80000000u: return sim::Root::ClassesRoot;
        case 0x80000001u: return sim::Root::CurrentUser;
        case 0x80000002u: return sim::Root::LocalMachine;
        case 0x80000003u: return sim::Root::Users;
        case 0x80000005u: return sim::Root::CurrentConfig;
        case 0x80000006u: return sim::Root::DynData;
        default: return std::nullopt;
    }
}

std::string key_text(HKEY key) {
    if (auto root = predefined(key)) return sim::root_name(*root);
    return sim::hex(static_cast<std::uint32_t>(handle_value(key)));
}

std::string access_text(REGSAM access) {
    switch (access) {
        case KEY_READ: return "KEY_READ";
        case KEY_WRITE: return "KEY_WRITE";
        case KEY_SET_VALUE: return "KEY_SET_VALUE";
        case KEY_QUERY_VALUE: return "KEY_QUERY_VALUE";
        case KEY_ALL_ACCESS: return "KEY_ALL_ACCESS";
        default: return sim::hex(access);
    }
}

std::string type_text(DWORD type) {
    switch (type) {
        case REG_SZ: return "REG_SZ";
        case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
        case REG_BINARY: return "REG_BINARY";
        case REG_DWORD: return "REG_DWORD";
        default: return std::to_string(type);
    }
}

// The key a handle stands for, or the error the call gives.
sim::RegKey* key_of(HKEY key, LONG& error) {
    sim::Machine& m = machine();
    if (auto root = predefined(key)) return m.registry.root(*root);
    auto open = m.open_keys.find(handle_value(key));
    if (open == m.open_keys.end()) {
        error = ERROR_INVALID_HANDLE;
        return nullptr;
    }
    if (!open->second->alive) {
        error = ERROR_KEY_DELETED;
        return nullptr;
    }
    return open->second;
}

// A key path as the registry takes it: one backslash at the end is passed over, as
// Windows does, so "Class\\" names the key "Class" itself.
std::string_view key_path(LPCSTR path) {
    std::string_view p = path ? path : "";
    if (!p.empty() && p.back() == '\\') p.remove_suffix(1);
    return p;
}

}  // namespace

LONG WINAPI RegOpenKeyExA(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY result) {
    sim::Machine& m = machine();
    LONG error = ERROR_SUCCESS;
    HKEY opened = nullptr;
    if (!result) {
        error = ERROR_INVALID_PARAMETER;
    } else if (sim::RegKey* parent = key_of(root, error)) {
        sim::RegKey* key = m.registry.find(parent, key_path(path));
        if (!key) {
            error = ERROR_FILE_NOT_FOUND;
        } else {
            std::uintptr_t value = m.next_key_handle++;
            m.open_keys[value] = key;
            opened = reinterpret_cast<HKEY>(value);
        }
    }
    if (result) *result = opened;
    m.trace.call("RegOpenKeyExA",
                 {key_text(root), sim::trace_string(path), std::to_string(options), access_text(access),
                  sim::trace_pointer(result, "&key")},
                 sim::trace_error(error), opened ? key_text(opened) : "");
    return error;
}

LONG WINAPI RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
    sim::Machine& m = machine();
    LONG error = ERROR_SUCCESS;
    DWORD size_in = size ? *size : 0;
    std::string outs;
    const sim::RegValue* value = nullptr;
    if (reserved || (data && !size)) {
        error = ERROR_INVALID_PARAMETER;
    } else if (sim::RegKey* k = key_of(key, error)) {
        value = m.registry.value(*k, name ? name : "");
        if (!value) error = ERROR_FILE_NOT_FOUND;
    }
    if (value) {
        DWORD needed = static_cast<DWORD>(value->data.size());
        if (type) *type = value->type;
        if (data && needed > size_in) {
            error = ERROR_MORE_DATA;
        } else if (data) {
            memcpy(data, value->data.data(), needed);
        }
        if (size) *size = needed;
        outs = (type ? type_text(value->type) + " " : std::string()) +
               (data && error == ERROR_SUCCESS ? sim::c_literal(value->data) + ", " : std::string()) +
               (size ? "size " + std::to_string(needed) : std::string());
    }
    m.trace.call("RegQueryValueExA",
                 {key_text(key), sim::trace_string(name), sim::trace_pointer(reserved, "reserved"),
                  sim::trace_pointer(type, "&type"), sim::trace_pointer(data, "buffer"),
                  size ? std::to_string(size_in) : "NULL"},
                 sim::trace_error(error), outs);
    return error;
}

LONG WINAPI RegCloseKey(HKEY key) {
    sim::Machine& m = machine();
    LONG error = ERROR_SUCCESS;
    if (!predefined(key) && m.open_keys.erase(handle_value(key)) == 0) error = ERROR_INVALID_HANDLE;
    m.trace.call("RegCloseKey", {key_text(key)}, sim::trace_error(error));
    return error;
}

LONG WINAPI RegDeleteKeyA(HKEY root, LPCSTR path) {
    sim::Machine& m = machine();
    LONG error = ERROR_SUCCESS;
    if (!path) {
        error = ERROR_INVALID_PARAMETER;
    } else if (sim::RegKey* parent = key_of(root, error)) {
        sim::RegKey* key = m.registry.find(parent, key_path(path));
        if (!key) {
            error = ERROR_FILE_NOT_FOUND;
        } else if (!key->parent) {
            error = ERROR_ACCESS_DENIED;  // a root stays
        } else {
            m.registry.delete_tree(*key);
        }
    }
    m.trace.call("RegDeleteKeyA", {key_text(root), sim::trace_string(path)}, sim::trace_error(error));
    return error;
}

LONG WINAPI RegDeleteValueA(HKEY key, LPCSTR name) {
    sim::Machine& m = machine();
    LONG error = ERROR_SUCCESS;
    if (sim::RegKey* k = key_of(key, error)) {
        if (!m.registry.delete_value(*k, name ? name : "")) error = ERROR_FILE_NOT_FOUND;
    }
    m.trace.call("RegDeleteValueA", {key_text(key), sim::trace_string(name)}, sim::trace_error(error));
    return error;
}
