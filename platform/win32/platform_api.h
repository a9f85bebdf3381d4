// The real platform: the Windows SDK headers and the Microsoft C runtime.
#pragma once

#include <windows.h>

// The multimedia calls, which need the types of windows.h.
#include <mmsystem.h>

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <stdlib.h>
#include <string.h>

#include "registry_tree.h"

// Registry key deletion removes the key with everything below it, as RegDeleteKeyA does
// on the Windows 95 family, which the uninstaller relies on. The NT family's (and Wine's)
// RegDeleteKeyA refuses a key that has subkeys, so the programs' calls go to a deletion
// that removes the subkeys first; on the Windows 95 family it gives the same result.
#define RegDeleteKeyA platform::delete_key_tree
