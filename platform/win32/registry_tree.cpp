#include "registry_tree.h"

namespace platform {

namespace {

// Key names have at most 255 characters.
constexpr DWORD name_capacity = 256;

// Removes every key below `key`, depth first. Subkeys are taken from the front of the
// enumeration, which a deletion shifts down; one that cannot be removed is stepped over.
void delete_subkeys(HKEY key) {
    DWORD index = 0;
    for (;;) {
        char name[name_capacity];
        DWORD length = name_capacity;
        LONG found = RegEnumKeyExA(key, index, name, &length, NULL, NULL, NULL, NULL);
        if (found == ERROR_MORE_DATA) {
            index++;
            continue;
        }
        if (found != ERROR_SUCCESS)
            return;
        if (delete_key_tree(key, name) != ERROR_SUCCESS)
            index++;
    }
}

}  // namespace

LONG delete_key_tree(HKEY parent, LPCSTR path) {
    // An empty path names `parent` itself, a handle the caller holds: it is handed on as it is.
    if (path != NULL && path[0] != '\0') {
        HKEY key;
        if (RegOpenKeyExA(parent, path, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            delete_subkeys(key);
            RegCloseKey(key);
        }
    }
    return RegDeleteKeyA(parent, path);
}

}  // namespace platform
