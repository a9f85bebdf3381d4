// The dialog manager: dialogs made from templates with their button controls, the dialog
// class's procedure with its default processing, the keyboard interface of
// IsDialogMessageA, and EndDialog. What each does is told in win_user.h under Dialogs.
#pragma once

#include <cstdint>

#include "dialog_template.h"
#include "win_user.h"
#include "windows.h"

namespace sim {

class Machine;

// Dialog base units: the average character width and the height of the dialog's font.
struct BaseUnits {
    int x = 8, y = 16;
};
BaseUnits base_units(const DialogTemplate& t);
// a * b / c rounded half away from zero, as MulDiv does.
int mul_div(int a, int b, int c);

// The dialog window, hidden, with no controls yet and no message sent.
Window& make_dialog_window(Machine& m, std::uintptr_t instance, const DialogTemplate& t, std::uintptr_t owner,
                           DLGPROC procedure);
// Sends WM_SETFONT, makes the controls and sends WM_INITDIALOG; shows the dialog when the
// template says WS_VISIBLE. False when the dialog was destroyed meanwhile.
bool finish_dialog(Machine& m, std::uintptr_t dialog, const DialogTemplate& t, LPARAM param);

// The window procedures of the dialog class "#32770" and the button class "Button".
LRESULT CALLBACK dialog_class_procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK button_class_procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// DefDlgProcA's processing of what the dialog's DLGPROC left alone.
LRESULT default_dialog_processing(Machine& m, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// IsDialogMessageA.
bool dialog_message(Machine& m, HWND dialog, const MSG& msg);
// EndDialog: false for a window that is not a dialog.
bool end_dialog(Machine& m, std::uintptr_t dialog, INT_PTR result);
// The dialog's control with this id, or null.
Window* dialog_item(Machine& m, std::uintptr_t dialog, std::uintptr_t id);

constexpr std::uintptr_t kFirstFontHandle = 0x700;

}  // namespace sim
