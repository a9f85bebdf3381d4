// The host dialog: the application's main window, never shown. Its initialisation ends its
// own modal state and runs the link dialog, whose modal loop is then the program's message
// loop for the rest of its life.
#pragma once

#include "framework.h"
#include "resource.h"

class CHostDlg : public CDialog {
public:
    explicit CHostDlg(CWnd* pParent = NULL);

    enum { IDD = IDD_HOST_DIALOG };

protected:
    HICON m_hIcon;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnPaint();

    DECLARE_MESSAGE_MAP()
};
