// What the window calls do to a window, and the default processing of DefWindowProcA.
#pragma once

#include <cstdint>

#include "win_user.h"
#include "windows.h"

namespace sim {

class Machine;

// ShowWindow: true when the window was visible before.
bool show_window(Machine& m, Window& w, int command);
// SetWindowPos.
void set_window_pos(Machine& m, Window& w, std::uintptr_t insert_after, int x, int y, int cx, int cy,
                    unsigned flags);
// Hides the window; the active window hands activation on.
void hide_window(Machine& m, Window& w);
// EnableWindow: true when the window was disabled before.
bool enable_window(Machine& m, Window& w, bool enable);
// DestroyWindow; false for a window that does not exist.
bool destroy_window(Machine& m, std::uintptr_t window);
// BeginPaint's validation: the window's contents count as painted.
void validate(Window& w);
// The beep of the dialog manager and of MessageBeep; the trace shows "# beep".
void beep(Machine& m);

// DefWindowProcA.
LRESULT default_window_processing(Machine& m, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace sim
