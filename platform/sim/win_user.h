// User services on the simulated machine: message boxes, help, windows and messages.
#pragma once

#include "win_types.h"

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

// ---------------------------------------------------------------------------------------
// Help. The machine has no help viewer and no help files: WinHelpA always gives FALSE.
#define HELP_CONTEXT 0x0001
#define HELP_QUIT 0x0002
#define HELP_FINDER 0x000B
BOOL WINAPI WinHelpA(HWND owner, LPCSTR help_file, UINT command, DWORD_PTR data);

// ---------------------------------------------------------------------------------------
// Messages.
#define WM_NULL 0x0000
#define WM_COMMAND 0x0111
