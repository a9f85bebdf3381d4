// The application's instance and main window, and what the framework loads from the
// program's resources.
#include "framework.h"

HINSTANCE AfxGetInstanceHandle() {
    CWinApp* pApp = AfxGetApp();
    return pApp != NULL ? pApp->m_hInstance : NULL;
}

HINSTANCE AfxGetResourceHandle() {
    return AfxGetInstanceHandle();
}

CWnd* AfxGetMainWnd() {
    CWinApp* pApp = AfxGetApp();
    return pApp != NULL ? pApp->m_pMainWnd : NULL;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}
