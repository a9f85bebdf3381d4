// Registry services on the simulated machine.
#pragma once

#include "win_types.h"

// Registry. Paths are relative to a predefined root or to an open key, parts separated by
// backslashes; key and value names match without regard to case. RegDeleteKeyA removes
// the key with everything below it, as the Windows 95 family does. A handle to a key that
// was deleted gives ERROR_KEY_DELETED; a handle that is not open, ERROR_INVALID_HANDLE.
#define HKEY_CLASSES_ROOT ((HKEY)(UINT_PTR)0x80000000u)
#define HKEY_CURRENT_USER ((HKEY)(UINT_PTR)0x80000001u)
#define HKEY_LOCAL_MACHINE ((HKEY)(UINT_PTR)0x80000002u)
#define HKEY_USERS ((HKEY)(UINT_PTR)0x80000003u)
#define HKEY_CURRENT_CONFIG ((HKEY)(UINT_PTR)0x80000005u)
#define HKEY_DYN_DATA ((HKEY)(UINT_PTR)0x80000006u)

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4

// Opens the key at `path` below `root`; an empty or NULL path opens `root` again.
// *result receives the handle, or NULL when the key is missing (ERROR_FILE_NOT_FOUND).
LONG WINAPI RegOpenKeyExA(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY result);
// Reads a value (NULL or "" is the key's default value). With a buffer, the data is copied
// when it fits in *size bytes; when it does not, ERROR_MORE_DATA, the buffer is left alone
// and *size receives the size needed. *size always receives the data's size on success.
LONG WINAPI RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                             LPDWORD size);
LONG WINAPI RegCloseKey(HKEY key);
LONG WINAPI RegDeleteKeyA(HKEY root, LPCSTR path);
LONG WINAPI RegDeleteValueA(HKEY key, LPCSTR name);
