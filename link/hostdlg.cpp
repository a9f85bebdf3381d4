// The host dialog.
#include "hostdlg.h"

#include "linkdlg.h"

CHostDlg::CHostDlg(CWnd* pParent) : CDialog(CHostDlg::IDD, pParent) {
    m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

void CHostDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}

// clang-format off
BEGIN_MESSAGE_MAP(CHostDlg, CDialog)
    ON_WM_PAINT()
END_MESSAGE_MAP()
// clang-format on

BOOL CHostDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    // The host's own modal state ends here, before it could be shown; the link dialog's
    // run, inside this creation, is the program's working life.
    {
        CLinkDlg dlg;
        EndDialog(0);
        dlg.DoModal();
    }
    return TRUE;
}

// Drawn only when minimized: the icon, centred in the client area.
void CHostDlg::OnPaint() {
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        int cxIcon = GetSystemMetrics(SM_CXICON);
        int cyIcon = GetSystemMetrics(SM_CYICON);
        CRect rect;
        GetClientRect(&rect);
        int x = (rect.Width() - cxIcon + 1) / 2;
        int y = (rect.Height() - cyIcon + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
    } else {
        Default();
    }
}
