// The message calls, over the machine's queue. Calls that run window procedures are written
// to the trace when they begin, so that what the procedures do follows them; the others
// when they return. Nothing is formatted when no trace is kept.
#include "machine.h"
#include "message_names.h"
#include "messages.h"
#include "platform_api.h"
#include "text.h"
#include "trace_text.h"

using sim::machine;

namespace {

std::string filter_args_text(LPMSG msg, HWND hwnd, UINT first, UINT last) {
    return sim::trace_pointer(msg, "&msg") + ", " + sim::window_text(hwnd) + ", " + std::to_string(first) +
           ", " + std::to_string(last);
}

}  // namespace

BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT first, UINT last) {
    sim::Machine& m = machine();
    if (hwnd && !m.windows.find(hwnd)) {
        m.last_error = ERROR_INVALID_WINDOW_HANDLE;
        if (m.trace.on())
            m.trace.call("GetMessageA", {filter_args_text(msg, hwnd, first, last)}, "-1");
        return -1;
    }
    MSG taken;
    sim::next_message(m, taken, hwnd, first, last, true, true);
    if (msg)
        *msg = taken;
    BOOL result = taken.message != WM_QUIT;
    if (m.trace.on()) {
        m.trace.call("GetMessageA", {filter_args_text(msg, hwnd, first, last)}, sim::bool_text(result),
                     sim::msg_text(taken));
    }
    return result;
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT first, UINT last, UINT remove) {
    sim::Machine& m = machine();
    MSG seen;
    BOOL result = FALSE;
    if (hwnd && !m.windows.find(hwnd)) {
        m.last_error = ERROR_INVALID_WINDOW_HANDLE;
    } else {
        result = sim::next_message(m, seen, hwnd, first, last, (remove & PM_REMOVE) != 0, false);
    }
    if (result && msg)
        *msg = seen;
    if (m.trace.on()) {
        m.trace.call(
            "PeekMessageA",
            {filter_args_text(msg, hwnd, first, last), (remove & PM_REMOVE) ? "PM_REMOVE" : "PM_NOREMOVE"},
            sim::bool_text(result), result ? sim::msg_text(seen) : "");
    }
    return result;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    sim::Machine& m = machine();
    BOOL result = msg ? sim::translate(m, *msg) : FALSE;
    if (m.trace.on())
        m.trace.call("TranslateMessage", {msg ? sim::msg_text(*msg) : "NULL"}, sim::bool_text(result));
    return result;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    sim::Machine& m = machine();
    if (m.trace.on())
        m.trace.call_no_return("DispatchMessageA", {msg ? sim::msg_text(*msg) : "NULL"});
    return msg ? sim::dispatch(m, *msg) : 0;
}

BOOL WINAPI PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    sim::Machine& m = machine();
    BOOL result = sim::post(m, reinterpret_cast<std::uintptr_t>(hwnd), message, wParam, lParam);
    if (!result)
        m.last_error = ERROR_INVALID_WINDOW_HANDLE;
    if (m.trace.on()) {
        m.trace.call(
            "PostMessageA",
            {sim::window_text(hwnd), sim::message_name(message), sim::hex(static_cast<std::uint32_t>(wParam)),
             sim::hex(static_cast<std::uint32_t>(lParam))},
            sim::bool_text(result));
    }
    return result;
}

LRESULT WINAPI SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    sim::Machine& m = machine();
    if (m.trace.on()) {
        m.trace.call_no_return("SendMessageA", {sim::window_text(hwnd), sim::message_name(message),
                                                sim::hex(static_cast<std::uint32_t>(wParam)),
                                                sim::hex(static_cast<std::uint32_t>(lParam))});
    }
    if (!m.windows.find(hwnd)) {
        m.last_error = ERROR_INVALID_WINDOW_HANDLE;
        return 0;
    }
    return sim::deliver(m, hwnd, message, wParam, lParam);
}

void WINAPI PostQuitMessage(int exit_code) {
    sim::Machine& m = machine();
    m.queue.quit = true;
    m.queue.quit_code = exit_code;
    if (m.trace.on())
        m.trace.call_no_return("PostQuitMessage", {std::to_string(exit_code)});
}
