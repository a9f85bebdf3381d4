// The simulated Windows 95 machine, as the programs see it.
//
// Each group below is a service of the machine with its contract: what the caller passes,
// what it may rely on, and which results it can see. Results are Windows' own codes.
// Every call is written to the trace when the machine has one (see the README).
#pragma once

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

// ---------------------------------------------------------------------------------------
// Types. Widths are those of 32-bit Windows.
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef int BOOL;
typedef char CHAR;
typedef WORD LANGID;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;
typedef void* LPVOID;
typedef DWORD REGSAM;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef UINT_PTR DWORD_PTR;

typedef struct HKEY__* HKEY;
typedef HKEY* PHKEY;
typedef struct HWND__* HWND;
typedef struct HINSTANCE__* HINSTANCE;

#define WINAPI
#define CALLBACK
#define TRUE 1
#define FALSE 0
#define MAX_PATH 260

// ---------------------------------------------------------------------------------------
// Program entry. The program defines WinMain; the machine's start-up calls it with the
// command line less the program name (quoted or not) and the blanks and tabs after it.
// When WinMain returns, its result is the exit status.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// ---------------------------------------------------------------------------------------
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

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_SHARING_VIOLATION 32L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_MORE_DATA 234L
#define ERROR_KEY_DELETED 1018L

// ---------------------------------------------------------------------------------------
// C runtime, as Microsoft's runtime offers it on Windows.
// _unlink deletes a file through DeleteFileA: 0 on success, -1 on failure.
int _unlink(const char* path);

// ---------------------------------------------------------------------------------------
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

// ---------------------------------------------------------------------------------------
// Message boxes. The box is answered from the machine's input (see the README); the result
// is the button pressed, or 0 when the box cannot be shown.
#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_ICONHAND 0x00000010L
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style);
int WINAPI MessageBoxExA(HWND owner, LPCSTR text, LPCSTR caption, UINT style, WORD language);
