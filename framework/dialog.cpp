// Modal dialogs of the framework.
#include "framework.h"

// clang-format off
BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()
// clang-format on

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_pParentWnd(pParentWnd) {}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG)
        return FALSE;
    // The object came with the creation; from now on the framework's window procedure
    // takes the window's messages first.
    CDialog* pDlg = reinterpret_cast<CDialog*>(lParam);
    pDlg->Attach(hWnd);
    pDlg->m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    return pDlg->OnInitDialog();
}

int CDialog::DoModal() {
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceA(hInst, m_lpszTemplateName, RT_DIALOG);
    HGLOBAL hTemplate = ::LoadResource(hInst, hResource);
    LPCDLGTEMPLATEA lpTemplate = static_cast<LPCDLGTEMPLATEA>(::LockResource(hTemplate));
    if (lpTemplate == NULL)
        return -1;

    // The owner: the parent given, else the main window. It takes no input during the run.
    CWnd* pOwner = m_pParentWnd != NULL ? m_pParentWnd : AfxGetMainWnd();
    HWND hWndOwner = pOwner != NULL ? pOwner->m_hWnd : NULL;
    BOOL bEnableOwner = FALSE;
    if (hWndOwner != NULL && ::IsWindowEnabled(hWndOwner)) {
        ::EnableWindow(hWndOwner, FALSE);
        bEnableOwner = TRUE;
    }

    // The window is made hidden; OnInitDialog runs inside its creation, and may already end
    // the modal state there.
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpTemplate, hWndOwner, AfxDlgProc,
                                             reinterpret_cast<LPARAM>(this));
    if (hWnd != NULL) {
        if (m_nFlags & WF_CONTINUEMODAL) {
            DWORD dwFlags = MLF_SHOWONIDLE;
            if (GetStyle() & DS_NOIDLEMSG)
                dwFlags |= MLF_NOIDLEMSG;
            RunModalLoop(dwFlags);
        }
        if (m_hWnd != NULL)
            SetWindowPos(NULL, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_nFlags &= ~WF_CONTINUEMODAL;
    if (bEnableOwner)
        ::EnableWindow(hWndOwner, TRUE);
    DestroyWindow();
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
    EndModalLoop(nResult);
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    BOOL input = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                 (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
    return input && ::IsDialogMessageA(m_hWnd, pMsg);
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}
