// The framework's modal loop.
#include "framework.h"

namespace {

// Messages after which the loop is idle again when the queue is empty: all but painting
// and the system's timer.
BOOL IsIdleMessage(const MSG& msg) {
    return msg.message != WM_PAINT && msg.message != 0x0118;
}

}  // namespace

BOOL CWnd::ContinueModal() {
    return (m_nFlags & WF_CONTINUEMODAL) != 0;
}

void CWnd::EndModalLoop(int nResult) {
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        // The loop may be waiting in GetMessageA: a message lets it see the end.
        PostMessage(WM_NULL);
    }
}

int CWnd::RunModalLoop(DWORD dwFlags) {
    BOOL bIdle = TRUE;
    BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;
    MSG msg;
    for (;;) {
        // The queue is empty: the moment to show a window that waits for it.
        while (bIdle && !::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE)) {
            if (bShowIdle) {
                ShowWindow(SW_SHOWNORMAL);
                ::UpdateWindow(m_hWnd);
                bShowIdle = FALSE;
            }
            bIdle = FALSE;
        }
        // Every message of the thread, while there are any.
        do {
            if (!::GetMessageA(&msg, NULL, 0, 0)) {
                // A quit message ends the loop and stays for the loops outside.
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return -1;
            }
            // The window the message is for, or this one, sees it before it is dispatched.
            CWnd* pTarget = CWnd::FromHandlePermanent(msg.hwnd);
            if (pTarget == NULL)
                pTarget = this;
            if (!pTarget->PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
            if (!ContinueModal() || m_hWnd == NULL) {
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return m_nModalResult;
            }
            if (IsIdleMessage(msg))
                bIdle = TRUE;
        } while (::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
    }
}
