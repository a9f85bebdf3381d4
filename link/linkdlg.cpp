// The link dialog.
#include "linkdlg.h"

#include "link.h"

CLinkDlg::CLinkDlg(CWnd* pParent) : CDialog(CLinkDlg::IDD, pParent) {}

void CLinkDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}

// clang-format off
BEGIN_MESSAGE_MAP(CLinkDlg, CDialog)
    ON_MESSAGE(MM_MIXM_CONTROL_CHANGE, OnMixerControlChange)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()
// clang-format on

BOOL CLinkDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    // The source mixer tells this window of every change of its controls; the target mixer
    // is only written.
    mixerOpen(&hSourceMixer, SourceMixerId, reinterpret_cast<DWORD_PTR>(m_hWnd), 0, CALLBACK_WINDOW);
    mixerOpen(&hTargetMixer, TargetMixerId, 0, 0, CALLBACK_NULL);

    // Out of sight, and every press of the mouse comes here.
    SetWindowPos(NULL, 2000, 2000, 1, 1, SWP_HIDEWINDOW);
    SetCapture();
    return TRUE;
}

// A press moves the window to the top-left corner and hides it.
void CLinkDlg::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/) {
    SetWindowPos(NULL, 0, 0, 1, 1, SWP_HIDEWINDOW);
    Default();
}
