// Messages: calling window procedures, posting to the queue, and taking messages from it
// in the order Windows takes them (see GetMessageA in win_user.h). Nothing here allocates
// when no trace is kept, so that the notifications of the mixer service cost no memory.
#pragma once

#include <cstdint>

#include "win_user.h"

namespace sim {

class Machine;

// Calls the window's procedure; the trace shows the delivery as
// "# 0x00000104 <- WM_LBUTTONDOWN(0x00000001, 0x000A0005)". 0 for a window that does not exist.
LRESULT deliver(Machine& m, std::uintptr_t window, unsigned message, WPARAM wParam, LPARAM lParam);
inline LRESULT deliver(Machine& m, HWND window, unsigned message, WPARAM wParam, LPARAM lParam) {
    return deliver(m, reinterpret_cast<std::uintptr_t>(window), message, wParam, lParam);
}

// Puts a message at the end of the queue: false for a window that does not exist (0
// posts to the thread).
bool post(Machine& m, std::uintptr_t window, unsigned message, WPARAM wParam, LPARAM lParam);

// The mixer service posts its notifications to the queue.
void connect_mixer_notifications(Machine& m);

// The next message that passes the filter, taken (remove) or only looked at; when there is
// none, with `wait` the machine takes the input's next command and looks again, without it
// the result is false. A WM_QUIT is given with message WM_QUIT.
bool next_message(Machine& m, MSG& msg, HWND filter, UINT first, UINT last, bool remove, bool wait);

// TranslateMessage and DispatchMessageA, as the system itself uses them.
bool translate(Machine& m, const MSG& msg);
LRESULT dispatch(Machine& m, const MSG& msg);

}  // namespace sim
