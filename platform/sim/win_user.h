// User services on the simulated machine: message boxes, help, windows, messages, dialogs,
// painting, icons and the program's resources.
#pragma once

#include "win_types.h"
#include "winresrc.h"

// ---------------------------------------------------------------------------------------
// Types. Handles are small numbers the machine gives out in order, never reused.
typedef intptr_t INT_PTR;
typedef uintptr_t ULONG_PTR;
typedef short SHORT;
typedef void* HANDLE;
typedef struct HICON__* HICON;
typedef struct HDC__* HDC;
typedef struct HFONT__* HFONT;
typedef struct HMENU__* HMENU;
typedef struct HRSRC__* HRSRC;
typedef void* HGLOBAL;
typedef HINSTANCE HMODULE;

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT, *LPPOINT;

typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT, *LPRECT;

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *LPMSG;

typedef struct tagPAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
} PAINTSTRUCT, *LPPAINTSTRUCT;

typedef struct tagHELPINFO {
    UINT cbSize;
    int iContextType;
    int iCtrlId;
    HANDLE hItemHandle;
    DWORD_PTR dwContextId;
    POINT MousePos;
} HELPINFO, *LPHELPINFO;

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

// The fixed part of a dialog template as it stands in a dialog resource, WORD-aligned. The
// menu, the class, the title and (with DS_SETFONT) the font follow as WORD arrays, then
// the items, each DWORD-aligned. The extended form begins with the WORDs 1 and 0xFFFF.
#pragma pack(push, 2)
typedef struct {
    DWORD style;
    DWORD dwExtendedStyle;
    WORD cdit;
    short x;
    short y;
    short cx;
    short cy;
} DLGTEMPLATE;
typedef struct {
    DWORD style;
    DWORD dwExtendedStyle;
    short x;
    short y;
    short cx;
    short cy;
    WORD id;
} DLGITEMTEMPLATE;
#pragma pack(pop)
typedef const DLGTEMPLATE* LPCDLGTEMPLATEA;

#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xFFFF))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xFFFF))
#define MAKELONG(a, b) \
    ((LONG)(((WORD)(((DWORD_PTR)(a)) & 0xFFFF)) | ((DWORD)((WORD)(((DWORD_PTR)(b)) & 0xFFFF))) << 16))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKELRESULT(l, h) ((LRESULT)(DWORD)MAKELONG(l, h))
#define MAKELANGID(p, s) ((((WORD)(s)) << 10) | (WORD)(p))

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
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUERYENDSESSION 0x0011
#define WM_QUIT 0x0012
#define WM_QUERYOPEN 0x0013
#define WM_ERASEBKGND 0x0014
#define WM_ENDSESSION 0x0016
#define WM_SHOWWINDOW 0x0018
#define WM_CANCELMODE 0x001F
#define WM_ICONERASEBKGND 0x0027
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_HELP 0x0053
#define WM_GETICON 0x007F
#define WM_SETICON 0x0080
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_GETDLGCODE 0x0087
#define WM_KEYFIRST 0x0100
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_KEYLAST 0x0108
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_ENTERIDLE 0x0121
#define WM_MOUSEFIRST 0x0200
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_RBUTTONDBLCLK 0x0206
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
#define WM_MBUTTONDBLCLK 0x0209
#define WM_MOUSELAST 0x0209
#define WM_CAPTURECHANGED 0x0215
#define WM_USER 0x0400

#define MK_LBUTTON 0x0001
#define SC_CLOSE 0xF060
#define ICON_SMALL 0
#define ICON_BIG 1
#define HELPINFO_WINDOW 0x0001
#define MSGF_DIALOGBOX 0

#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_F1 0x70

// The thread's queue. Posted messages are taken in the order they were posted; the
// quit message of PostQuitMessage once no posted message is left; then the hardware input
// (mouse presses and keys, each given to a window when it is taken: a press to the window
// holding the capture, else to the visible, enabled window under the point, in client
// coordinates; a key to the active window); then WM_PAINT for a visible window whose
// contents are not valid. Taking a key-down of F1 posts the help request that
// DefWindowProcA turns into WM_HELP. With hwnd given, only messages for that window and
// its children are taken; with a range given, only messages in it, but WM_QUIT always.
//
// GetMessageA waits when nothing is there: that is when the machine takes the next
// command of its input (see the README); when the input has ended the machine shuts down,
// after each top-level window has had WM_QUERYENDSESSION and WM_ENDSESSION (their answers
// change nothing). It returns FALSE for WM_QUIT, and -1 for an hwnd that is no window.
// PeekMessageA never waits and never takes a command. The commands typed ahead stand in
// the hardware input before the program looks at its queue for the first time.
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT first, UINT last);
BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT first, UINT last, UINT remove);
// Posts WM_CHAR for the character keys among key-downs (tab, enter, escape, space);
// TRUE when it posted one.
BOOL WINAPI TranslateMessage(const MSG* msg);
// Calls the procedure of the message's window; 0 for a thread message.
LRESULT WINAPI DispatchMessageA(const MSG* msg);
// FALSE for a window that does not exist.
BOOL WINAPI PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Calls the window's procedure at once and gives its result; 0 for a window that does not exist.
LRESULT WINAPI SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void WINAPI PostQuitMessage(int exit_code);

// ---------------------------------------------------------------------------------------
// Windows. A window has a procedure, a rectangle (in screen coordinates for a top-level
// window, in its parent's client coordinates for a child), a style, an owner (top-level)
// or a parent (child), and is visible, enabled, active and minimized or not. The client
// area is the rectangle less the frame: 4 pixels a side for WS_THICKFRAME, 3 for
// WS_DLGFRAME or WS_EX_DLGMODALFRAME, 1 for WS_BORDER, and the caption's 19 pixels for
// WS_CAPTION; never less than nothing. The machine takes sizes as asked, with no minimum.
// The screen is [Display] Width by Height of machine.ini, 640 by 480 unless given.
// The machine sends no creation, position, activation, focus or non-client messages
// (WM_CREATE, WM_WINDOWPOSCHANGED, WM_ACTIVATE, WM_SETFOCUS, WM_NCPAINT, ...), which the
// programs here leave to default processing anyway.
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10

#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOREDRAW 0x0008
#define SWP_NOACTIVATE 0x0010
#define SWP_FRAMECHANGED 0x0020
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080
#define SWP_NOCOPYBITS 0x0100
#define SWP_NOOWNERZORDER 0x0200

#define HWND_TOP ((HWND)0)
#define HWND_BOTTOM ((HWND)1)
#define HWND_TOPMOST ((HWND)-1)
#define HWND_NOTOPMOST ((HWND)-2)

#define GWLP_WNDPROC (-4)
#define GWLP_HINSTANCE (-6)
#define GWLP_HWNDPARENT (-8)
#define GWLP_ID (-12)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWLP_USERDATA (-21)
#define DWLP_MSGRESULT 0
#define DWLP_DLGPROC (DWLP_MSGRESULT + sizeof(LRESULT))
#define DWLP_USER (DWLP_DLGPROC + sizeof(DLGPROC))

// Shows, hides, minimizes or restores; the commands that show and do not say otherwise
// activate a top-level window and bring it to the top. Hiding the active window leaves
// the next visible top-level window active, or none. TRUE when it was visible before.
BOOL WINAPI ShowWindow(HWND hwnd, int command);
// Moves, sizes, orders, shows or hides the window as the SWP_ flags say; a visible
// top-level window that is not hidden is also activated unless SWP_NOACTIVATE is given.
BOOL WINAPI SetWindowPos(HWND hwnd, HWND insert_after, int x, int y, int cx, int cy, UINT flags);
// Sends WM_PAINT at once when the window's contents are not valid.
BOOL WINAPI UpdateWindow(HWND hwnd);
// Every press of the mouse goes to the window holding the capture, wherever it is, until
// it is released or the window is destroyed. The window that held it before, or NULL.
HWND WINAPI SetCapture(HWND hwnd);
BOOL WINAPI ReleaseCapture(void);
HWND WINAPI GetCapture(void);
HWND WINAPI GetActiveWindow(void);
// TRUE when the window was disabled before.
BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable);
BOOL WINAPI IsWindowEnabled(HWND hwnd);
BOOL WINAPI IsWindowVisible(HWND hwnd);
BOOL WINAPI IsWindow(HWND hwnd);
BOOL WINAPI IsIconic(HWND hwnd);
// The owner of a top-level window, the parent of a child.
HWND WINAPI GetParent(HWND hwnd);
BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect);
BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect);
// Destroys the windows it owns, then hides it, releases the capture it holds, sends it
// WM_DESTROY, destroys its children, and sends it WM_NCDESTROY. Its posted messages go.
BOOL WINAPI DestroyWindow(HWND hwnd);
// GWLP_WNDPROC, GWLP_ID, GWL_STYLE, GWL_EXSTYLE, GWLP_USERDATA, GWLP_HWNDPARENT and, for
// dialogs, DWLP_MSGRESULT, DWLP_DLGPROC and DWLP_USER. The set call gives the old value.
LONG_PTR WINAPI GetWindowLongPtrA(HWND hwnd, int index);
LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value);
LRESULT WINAPI CallWindowProcA(WNDPROC procedure, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Default processing: WM_CLOSE destroys the window; WM_SYSCOMMAND SC_CLOSE sends WM_CLOSE;
// the help request of F1 sends WM_HELP to the active window; WM_HELP goes on to the parent
// of a child or the owner of a top-level window; WM_PAINT validates; WM_SETICON keeps the
// icon and gives the old one; WM_QUERYENDSESSION and WM_QUERYOPEN give TRUE; others 0.
LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// ---------------------------------------------------------------------------------------
// Dialogs. CreateDialogIndirectParamA makes a hidden dialog (class "#32770") from a
// template, client area sized in dialog units; with an owner and without DS_ABSALIGN its
// position is taken from the owner's client area. Dialog units become pixels by the
// font's base units: 6 by 13 for 8-point "MS Sans Serif" (Windows 95 at 96 dots an inch),
// scaled by the point size for other sizes and faces, 8 by 16 for the system font without
// DS_SETFONT; x pixels = units * base x / 4 and y pixels = units * base y / 8, rounded as
// MulDiv rounds. It then sends WM_SETFONT (with DS_SETFONT), makes the controls
// (buttons, class "Button") and sends WM_INITDIALOG with `param`; it shows the dialog only
// when the template has WS_VISIBLE. NULL for a template that cannot be read or a dialog
// destroyed during WM_INITDIALOG.
//
// The dialog's procedure is the dialog manager's: it calls the DLGPROC first and does the
// default processing of DefDlgProcA when that returns FALSE. Default processing: DM_GETDEFID
// gives the default button (the template's BS_DEFPUSHBUTTON, else IDOK) with DC_HASDEFID;
// WM_CLOSE posts WM_COMMAND IDCANCEL (BN_CLICKED, the Cancel button's handle or NULL),
// unless the dialog has a Cancel button that is disabled, when it only beeps.
//
// IsDialogMessageA takes the messages for the dialog and its controls: Enter sends
// WM_COMMAND with the default button's id unless that button is disabled (a beep), Escape
// sends WM_COMMAND IDCANCEL unless the Cancel button is disabled (a beep), Tab does
// nothing (the machine keeps no focus among controls); every other message is translated
// and dispatched. FALSE for a message of another window.
//
// EndDialog records the result, marks the dialog ended, hides it and enables its owner; it
// destroys nothing.
#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DC_HASDEFID 0x534B
#define BN_CLICKED 0
#define BM_GETSTATE 0x00F2
#define BM_CLICK 0x00F5
#define DLGC_WANTARROWS 0x0001
#define DLGC_WANTTAB 0x0002
#define DLGC_WANTALLKEYS 0x0004
#define DLGC_DEFPUSHBUTTON 0x0010
#define DLGC_UNDEFPUSHBUTTON 0x0020
#define DLGC_BUTTON 0x2000

HWND WINAPI CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialog_template, HWND owner,
                                       DLGPROC procedure, LPARAM param);
LRESULT WINAPI DefDlgProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG msg);
BOOL WINAPI EndDialog(HWND dialog, INT_PTR result);
HWND WINAPI GetDlgItem(HWND dialog, int id);

// ---------------------------------------------------------------------------------------
// Painting and metrics. The machine draws nothing: a device context only marks a paint.
// BeginPaint validates the window's contents; its rectangle is the client area.
HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT paint);
BOOL WINAPI EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
BOOL WINAPI DrawIcon(HDC dc, int x, int y, HICON icon);
void WINAPI MessageBeep(UINT type);

// Windows 95's values at 96 dots an inch, with the screen of [Display].
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CYCAPTION 4
#define SM_CXBORDER 5
#define SM_CYBORDER 6
#define SM_CXDLGFRAME 7
#define SM_CYDLGFRAME 8
#define SM_CXICON 11
#define SM_CYICON 12
#define SM_CXFRAME 32
#define SM_CYFRAME 33
#define SM_CXSMICON 49
#define SM_CYSMICON 50
int WINAPI GetSystemMetrics(int index);

// ---------------------------------------------------------------------------------------
// The program's resources: the .res file built from its resource script, which the program
// carries. `module` is the program's instance handle or NULL. A name or type is a string
// or a number made with MAKEINTRESOURCEA; names match without regard to case. Of several
// languages, the user's language is taken first, then the neutral ones, then the first.
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define IS_INTRESOURCE(r) ((((ULONG_PTR)(r)) >> 16) == 0)
#define RT_ICON MAKEINTRESOURCEA(3)
#define RT_DIALOG MAKEINTRESOURCEA(5)
#define RT_GROUP_ICON MAKEINTRESOURCEA(14)
#define RT_VERSION MAKEINTRESOURCEA(16)
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)

HRSRC WINAPI FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
// The resource's bytes; LockResource gives them back as a pointer.
HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource);
LPVOID WINAPI LockResource(HGLOBAL data);
DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource);
// The icon of a group icon resource whose size is SM_CXICON by SM_CYICON (else its first);
// loading the same group again gives the same handle. A NULL module with IDI_APPLICATION
// gives the system's application icon.
HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name);

// ---------------------------------------------------------------------------------------
// The errors that GetLastError gives after these calls.
#define ERROR_INVALID_WINDOW_HANDLE 1400L
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812L
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813L
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L
