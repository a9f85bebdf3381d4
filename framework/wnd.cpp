// Windows of the framework: the objects attached to windows, the window procedure that
// routes messages through the message maps, and the standard handling of what the maps
// send to CWnd.
#include <vector>

#include "framework.h"

namespace {

// Which object stands for which window, while the window exists.
struct Attached {
    HWND hWnd;
    CWnd* pWnd;
};

std::vector<Attached>& attached() {
    static std::vector<Attached> list;
    return list;
}

// The message that the window procedure handles at this moment, for Default.
struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
CurrentMessage current = {0, 0, 0};

}  // namespace

CWnd::CWnd() : m_hWnd(NULL), m_nFlags(0), m_nModalResult(0), m_pfnSuper(NULL) {}

CWnd::~CWnd() {
    // An object that goes before its window leaves the window to its own procedure.
    if (m_hWnd != NULL)
        Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (hWnd == NULL)
        return NULL;
    for (const Attached& a : attached()) {
        if (a.hWnd == hWnd)
            return a.pWnd;
    }
    return NULL;
}

void CWnd::Attach(HWND hWnd) {
    m_hWnd = hWnd;
    attached().push_back({hWnd, this});
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    std::vector<Attached>& list = attached();
    for (std::size_t i = 0; i < list.size(); i++) {
        if (list[i].pWnd == this) {
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    m_hWnd = NULL;
    return hWnd;
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    return ::SetWindowPos(m_hWnd, pWndInsertAfter != NULL ? pWndInsertAfter->m_hWnd : NULL, x, y, cx, cy,
                          nFlags);
}

CWnd* CWnd::SetCapture() {
    return FromHandlePermanent(::SetCapture(m_hWnd));
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    return ::ShowWindow(m_hWnd, nCmdShow);
}

BOOL CWnd::IsIconic() const {
    return ::IsIconic(m_hWnd);
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    ::GetClientRect(m_hWnd, lpRect);
}

DWORD CWnd::GetStyle() const {
    return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE));
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == NULL)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

LRESULT CWnd::Default() {
    return DefWindowProc(current.message, current.wParam, current.lParam);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 0;
        return TRUE;
    }
    const MessageMapEntry* entry = FindMessageEntry(message, 0);
    if (entry == NULL)
        return FALSE;
    *pResult = entry->call(this, wParam, lParam);
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != NULL)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) {
    // Menu and accelerator commands and button clicks; other notifications are not commands.
    if (HIWORD(wParam) > 1)
        return FALSE;
    UINT nID = LOWORD(wParam);
    if (OnCmdMsg(nID))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp != NULL && pApp->OnCmdMsg(nID);
}

void CWnd::OnPaint() {
    Default();
}

void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}

void CWnd::OnNcDestroy() {
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pMainWnd == this) {
        // The main window's end is the end of the program's message loops.
        ::PostQuitMessage(0);
        pApp->m_pMainWnd = NULL;
    }
    Default();
    Detach();
    PostNcDestroy();
}

LRESULT CWnd::OnHelpRequest(WPARAM, LPARAM) {
    if (GetStyle() & WS_CHILD)
        return Default();
    SendMessage(WM_COMMAND, ID_HELP);
    return TRUE;
}

void CWnd::PostNcDestroy() {}

// clang-format off
BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_MESSAGE(WM_HELP, OnHelpRequest)
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()
// clang-format on

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == NULL)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    CurrentMessage outer = current;
    current = {message, wParam, lParam};
    LRESULT lResult = pWnd->WindowProc(message, wParam, lParam);
    current = outer;
    return lResult;
}
