#include <string.h>

#include "framework.h"

namespace {

// The one application object registers itself here when it is constructed.
CWinApp* the_app = nullptr;

}  // namespace

CWinApp* AfxGetApp() { return the_app; }

CWinApp::CWinApp(LPCSTR lpszAppName) : m_pszAppName(lpszAppName), m_pMainWnd(NULL) { the_app = this; }

CWinApp::~CWinApp() {
    if (the_app == this) the_app = nullptr;
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

BOOL CWinApp::OnCmdMsg(UINT id) { return CCmdTarget::OnCmdMsg(id); }

void CWinApp::OnHelp() {
    // The help file stands beside the program and bears its name.
    char path[MAX_PATH + 8];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    char* dot = strrchr(path, '.');
    char* slash = strrchr(path, '\\');
    if (dot != NULL && (slash == NULL || dot > slash)) *dot = '\0';
    strcat(path, ".HLP");
    WinHelpA(NULL, path, HELP_FINDER, 0);
}
