// Kernel services and the C runtime on the simulated machine.
#pragma once

#include "win_types.h"

// Kernel.
// The directory calls copy the path (no trailing backslash) and its terminator into the
// buffer and return its length. When the buffer of `size` characters cannot hold both,
// the buffer is left alone and the call returns the size needed, terminator included.
UINT WINAPI GetWindowsDirectoryA(LPSTR buffer, UINT size);
UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size);
// The user's default language identifier, as the machine is set up.
LANGID WINAPI GetUserDefaultLangID(void);
// Deletes a file of the machine's drives. FALSE for a missing file, a folder, a file in
// use or a read-only file; GetLastError then tells which.
BOOL WINAPI DeleteFileA(LPCSTR path);
DWORD WINAPI GetLastError(void);
// The program's own file: the program's name, upper case, with ".EXE", in the system
// directory, where the machine's programs are installed. NULL names the program itself.
DWORD WINAPI GetModuleFileNameA(HINSTANCE module, LPSTR buffer, DWORD size);

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_SHARING_VIOLATION 32L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_MORE_DATA 234L
#define ERROR_KEY_DELETED 1018L

// C runtime, as Microsoft's runtime offers it on Windows.
// _unlink deletes a file through DeleteFileA: 0 on success, -1 on failure.
int _unlink(const char* path);

// Files of the machine's drives opened for reading. _sopen gives a file number, or -1 when
// the file cannot be opened. In text mode (_O_TEXT) _read delivers each carriage return
// and line feed pair as one line feed, keeps a lone carriage return, and ends the data at
// a Ctrl-Z byte, after which every read gives 0; it returns the bytes delivered, or -1.
#define _O_RDONLY 0x0000
#define _O_WRONLY 0x0001
#define _O_RDWR 0x0002
#define _O_TEXT 0x4000
#define _O_BINARY 0x8000
#define _SH_DENYRW 0x10
#define _SH_DENYWR 0x20
#define _SH_DENYRD 0x30
#define _SH_DENYNO 0x40
int _sopen(const char* path, int oflag, int shflag, ...);
int _read(int file, void* buffer, unsigned int count);
int _close(int file);
