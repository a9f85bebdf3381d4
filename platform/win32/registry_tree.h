// Key deletion as the Windows 95 family does it, on any Windows.
#pragma once

#include <windows.h>

namespace platform {

// Removes the key `path` below `parent` together with every key below it: the subkeys
// first, depth first, then the key itself. The result is that of the key's own deletion
// (ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ...); a subkey that cannot
// be removed leaves its parent in place, so the key's deletion then fails.
LONG delete_key_tree(HKEY parent, LPCSTR path);

}  // namespace platform
