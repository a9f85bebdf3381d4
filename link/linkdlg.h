// The link dialog: opens both mixers, the source mixer with its notifications aimed at this
// window, parks itself out of sight at (2000, 2000) with the mouse capture, and hands each
// control-change notification to change mirroring.
#pragma once

#include "framework.h"
#include "resource.h"

class CLinkDlg : public CDialog {
public:
    explicit CLinkDlg(CWnd* pParent = NULL);

    enum { IDD = IDD_LINK_DIALOG };

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Change mirroring (mirror.cpp): wParam the mixer handle, lParam the control identifier.
    LRESULT OnMixerControlChange(WPARAM wParam, LPARAM lParam);
    void OnLButtonDown(UINT nFlags, CPoint point);

    DECLARE_MESSAGE_MAP()
};
