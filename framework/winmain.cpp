// The framework's entry point: the program's one static application object was made
// before this runs; its InitInstance does the program's work.
#include "framework.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    (void)hPrevInstance;
    (void)lpCmdLine;
    (void)nCmdShow;
    CWinApp* app = AfxGetApp();
    if (app == NULL) return 0;
    app->m_hInstance = hInstance;
    // This framework runs no message loop of its own: a program does its whole work
    // inside InitInstance, which returns FALSE when the work is done.
    app->InitInstance();
    return app->ExitInstance();
}
