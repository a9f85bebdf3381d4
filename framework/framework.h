// The application framework: an application object, command targets with message maps,
// windows and modal dialogs, written over the platform's user calls so that one program
// source serves the simulated machine and real Windows alike.
#pragma once

#include "platform.h"

class CCmdTarget;
class CWnd;
class CWinApp;

// ---------------------------------------------------------------------------------------
// Message maps. A class declares its map with DECLARE_MESSAGE_MAP() and defines it between
// BEGIN_MESSAGE_MAP(theClass, baseClass) and END_MESSAGE_MAP(); a message that the map
// does not hold is looked up in the base class's map, and so on up to CCmdTarget.

// One entry: the message (and for WM_COMMAND the command id) and the handler, called
// through a small function that turns the message's parameters into the handler's own.
struct MessageMapEntry {
    UINT message;
    UINT id;
    LRESULT (*call)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);
};

struct MessageMap {
    const MessageMap* (*base)();
    const MessageMapEntry* entries;  // ends with an entry whose `call` is null
};

// A point, as the mouse messages' handlers receive it.
struct CPoint : public POINT {
    CPoint() {
        x = 0;
        y = 0;
    }
    CPoint(int initX, int initY) {
        x = initX;
        y = initY;
    }
};

// A rectangle with its width and height.
struct CRect : public RECT {
    CRect() { left = top = right = bottom = 0; }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    operator LPRECT() { return this; }
};

namespace framework {

// The calls through which map entries reach handlers of each form.
template <class T, LRESULT (T::*F)(WPARAM, LPARAM)>
LRESULT call_message(CCmdTarget* target, WPARAM wParam, LPARAM lParam) {
    return (static_cast<T*>(target)->*F)(wParam, lParam);
}

template <class T, auto F>
LRESULT call_command(CCmdTarget* target, WPARAM, LPARAM) {
    (static_cast<T*>(target)->*F)();
    return 0;
}

// A handler with no arguments, such as OnPaint.
template <class T, auto F>
LRESULT call_void(CCmdTarget* target, WPARAM, LPARAM) {
    (static_cast<T*>(target)->*F)();
    return 0;
}

// A mouse message's handler: the key flags and the point in client coordinates.
template <class T, auto F>
LRESULT call_mouse(CCmdTarget* target, WPARAM wParam, LPARAM lParam) {
    (static_cast<T*>(target)->*F)(static_cast<UINT>(wParam), CPoint(static_cast<short>(LOWORD(lParam)),
                                                                    static_cast<short>(HIWORD(lParam))));
    return 0;
}

}  // namespace framework

// clang-format off
#define DECLARE_MESSAGE_MAP()                          \
protected:                                             \
    static const MessageMap* GetThisMessageMap();      \
    const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                              \
    const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); }       \
    const MessageMap* theClass::GetThisMessageMap() {                                       \
        typedef theClass ThisClass [[maybe_unused]];                                        \
        typedef baseClass TheBaseClass;                                                     \
        static const MessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                   \
            {0, 0, nullptr}};                                               \
        static const MessageMap map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                        \
    }
// clang-format on

// A user message to a handler `LRESULT Handler(WPARAM, LPARAM)`.
#define ON_MESSAGE(message, memberFxn) \
    {static_cast<UINT>(message), 0, &framework::call_message<ThisClass, &ThisClass::memberFxn>},

// A command (WM_COMMAND with this id) to a handler `void Handler()`; the handler may be
// a member of a base class, named with its class: ON_COMMAND(ID_HELP, CWinApp::OnHelp).
#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, static_cast<UINT>(id), &framework::call_command<ThisClass, &ThisClass::memberFxn>},

// WM_LBUTTONDOWN to `void OnLButtonDown(UINT nFlags, CPoint point)`.
#define ON_WM_LBUTTONDOWN() {WM_LBUTTONDOWN, 0, &framework::call_mouse<ThisClass, &ThisClass::OnLButtonDown>},

// WM_PAINT to `void OnPaint()`.
#define ON_WM_PAINT() {WM_PAINT, 0, &framework::call_void<ThisClass, &ThisClass::OnPaint>},

// WM_NCDESTROY to `void OnNcDestroy()`.
#define ON_WM_NCDESTROY() {WM_NCDESTROY, 0, &framework::call_void<ThisClass, &ThisClass::OnNcDestroy>},

// ---------------------------------------------------------------------------------------
// Command targets: objects that messages and commands are routed to through their maps.
class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // The entry of this object's map, or of a base class's map, for the message (and for
    // WM_COMMAND, the command id); null when none holds it.
    const MessageMapEntry* FindMessageEntry(UINT message, UINT id) const;
    // Routes a command to this object's handler; FALSE when it has none.
    virtual BOOL OnCmdMsg(UINT id);

protected:
    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;
};

// ---------------------------------------------------------------------------------------
// The application: one static object of a class derived from CWinApp. The framework's
// entry point runs its InitInstance; when that returns FALSE the framework calls
// ExitInstance and ends the process with its result, without a message loop.
#define ID_HELP 0xE146

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCSTR lpszAppName = NULL);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // Asks the platform's help viewer for the program's help file (the program's file
    // name with the extension ".HLP").
    void OnHelp();
    // Commands that no window handles come to the application.
    BOOL OnCmdMsg(UINT id) override;

    // The icon of the program's resources with this id (an icon group).
    HICON LoadIcon(UINT nIDResource) const;

    LPCSTR m_pszAppName;
    // The main window: destroying it ends the program's message loops with a quit message.
    CWnd* m_pMainWnd;
    // The program's instance, as WinMain received it; its resources are the program's.
    HINSTANCE m_hInstance = NULL;

protected:
    static const MessageMap* GetThisMessageMap();
    const MessageMap* GetMessageMap() const override;
};

// The one application object, its instance (where the resources are) and its main window.
CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
CWnd* AfxGetMainWnd();

// ---------------------------------------------------------------------------------------
// Dialog data exchange: what DoDataExchange is given. These programs exchange nothing.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate;  // TRUE: from the controls to the data
    CWnd* m_pDlgWnd;
};

// ---------------------------------------------------------------------------------------
// Windows. A CWnd is attached to a window while the window exists: the framework's window
// procedure takes the window's messages first and routes them through the object's message
// map; a message that the map does not hold, and a handler that calls Default, reach the
// window's own procedure (for a dialog, the dialog manager's). WM_COMMAND goes to the map's
// ON_COMMAND entries, then to the application's. WM_HELP to a top-level window becomes the
// command ID_HELP of that window. When the window is destroyed the object is detached; when
// it was the main window, a quit message is posted and m_pMainWnd cleared.
//
// F1 in a dialog reaches the application as the platform delivers help: taking the key's
// WM_KEYDOWN from the queue posts the system's help request to the window; its default
// processing sends WM_HELP to the active window; that becomes ID_HELP, which no dialog's
// map holds, so the application's map takes it (CWinApp::OnHelp).
#define WF_MODALLOOP 0x0010
#define WF_CONTINUEMODAL 0x0020

// Options of RunModalLoop: show the window the first time the queue is empty; send no
// WM_ENTERIDLE; make no idle calls.
#define MLF_SHOWONIDLE 0x0001
#define MLF_NOIDLEMSG 0x0002
#define MLF_NOKICKIDLE 0x0004

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;

    HWND m_hWnd;

    HWND GetSafeHwnd() const { return m_hWnd; }
    // The object attached to the window, or NULL.
    static CWnd* FromHandlePermanent(HWND hWnd);
    void Attach(HWND hWnd);
    HWND Detach();

    // The window calls on this window.
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    // Takes the mouse capture; the object of the window that held it, or NULL.
    CWnd* SetCapture();
    BOOL ShowWindow(int nCmdShow);
    BOOL IsIconic() const;
    void GetClientRect(LPRECT lpRect) const;
    DWORD GetStyle() const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    virtual BOOL DestroyWindow();

    // The default processing of the message being handled: the window's own procedure.
    LRESULT Default();

    // Exchanges the dialog's data through DoDataExchange; TRUE when it went well.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // The modal loop: pumps the thread's messages until EndModalLoop, a quit message (posted
    // again, result -1) or the window's end. With MLF_SHOWONIDLE a hidden window is shown
    // with SW_SHOWNORMAL the first time the queue is empty.
    int RunModalLoop(DWORD dwFlags = 0);
    BOOL ContinueModal();
    void EndModalLoop(int nResult);

    // A message the loop took, before it is translated and dispatched; TRUE when it is dealt with.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // The framework's window procedure for this window.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);

    // The standard handling of messages that the maps route here.
    void OnPaint();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnNcDestroy();
    LRESULT OnHelpRequest(WPARAM wParam, LPARAM lParam);

    UINT m_nFlags;
    int m_nModalResult;
    WNDPROC m_pfnSuper;  // the window's own procedure

protected:
    virtual void PostNcDestroy();

    DECLARE_MESSAGE_MAP()
};

// The framework's window procedure, which every attached window has.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// ---------------------------------------------------------------------------------------
// Modal dialogs made from dialog-template resources.
//
// DoModal takes the template from the program's resources and an owner: the parent given,
// else the main window; an enabled owner is disabled for the run. The window is made
// hidden, and OnInitDialog runs inside its creation. When the modal state was ended
// during that (EndDialog inside OnInitDialog) no loop runs; otherwise the modal loop runs
// with MLF_SHOWONIDLE. At the end the window is hidden, the owner enabled again and the
// window destroyed; the result is EndDialog's, or -1 after a quit message.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);

    virtual int DoModal();
    // Records the result, ends the modal state (a WM_NULL is posted so that the loop sees
    // it) and ends the dialog for the system.
    void EndDialog(int nResult);
    // The base initialisation: the data goes to the controls. TRUE.
    virtual BOOL OnInitDialog();
    // Keyboard and mouse messages for the dialog and its controls go to the dialog manager.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // IDOK: the data is taken from the controls, then the dialog ends with IDOK.
    virtual void OnOK();
    // IDCANCEL: the dialog ends with IDCANCEL.
    virtual void OnCancel();

    LPCSTR m_lpszTemplateName;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()
};

// The dialog procedure of the framework's dialogs: it attaches the object at WM_INITDIALOG
// and runs OnInitDialog; all else is the framework's window procedure's.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// ---------------------------------------------------------------------------------------
// Device contexts. CPaintDC paints a window: BeginPaint when made, EndPaint when destroyed.
class CDC {
public:
    CDC() : m_hDC(NULL) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC() = default;

    HDC GetSafeHdc() const { return m_hDC; }
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }

    HDC m_hDC;
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;
};
