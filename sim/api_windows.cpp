// The window calls, over the machine's windows. The trace shows after each call that moves,
// shows or hides a window the window's state: "2000,2000 1x1 visible active".
#include "dialogs.h"
#include "machine.h"
#include "message_names.h"
#include "messages.h"
#include "platform_api.h"
#include "text.h"
#include "trace_text.h"
#include "window_ops.h"

using sim::machine;

namespace {

sim::Window* window_or_error(HWND hwnd) {
    sim::Window* w = machine().windows.find(hwnd);
    if (!w)
        machine().last_error = ERROR_INVALID_WINDOW_HANDLE;
    return w;
}

std::string state_of(HWND hwnd) {
    sim::Machine& m = machine();
    sim::Window* w = m.windows.find(hwnd);
    return w ? m.windows.state_text(*w) : "";
}

std::string procedure_text(WNDPROC procedure) {
    if (!procedure)
        return "NULL";
    if (procedure == sim::dialog_class_procedure)
        return "#32770 procedure";
    if (procedure == sim::button_class_procedure)
        return "Button procedure";
    return "procedure";
}

// The trace writes program data (pointers) as a word, so that runs compare.
std::string long_value_text(int index, LONG_PTR value) {
    switch (index) {
        case GWLP_WNDPROC:
            return procedure_text(reinterpret_cast<WNDPROC>(value));
        case static_cast<int>(DWLP_DLGPROC):
            return value ? "procedure" : "NULL";
        case GWLP_USERDATA:
        case static_cast<int>(DWLP_USER):
        case static_cast<int>(DWLP_MSGRESULT):
            return value >= 0 && value < 0x10000 ? sim::hex(static_cast<std::uint32_t>(value)) : "data";
        default:
            return sim::hex(static_cast<std::uint32_t>(value));
    }
}

std::string insert_after_text(HWND after) {
    switch (reinterpret_cast<std::intptr_t>(after)) {
        case 0:
            return "NULL";
        case 1:
            return "HWND_BOTTOM";
        case -1:
            return "HWND_TOPMOST";
        case -2:
            return "HWND_NOTOPMOST";
        default:
            return sim::window_text(after);
    }
}

void trace_query(const char* name, HWND hwnd, const std::string& result) {
    sim::Machine& m = machine();
    if (m.trace.on())
        m.trace.call(name, {sim::window_text(hwnd)}, result);
}

}  // namespace

BOOL WINAPI ShowWindow(HWND hwnd, int command) {
    sim::Machine& m = machine();
    BOOL result = FALSE;
    if (sim::Window* w = window_or_error(hwnd))
        result = sim::show_window(m, *w, command);
    if (m.trace.on()) {
        m.trace.call("ShowWindow", {sim::window_text(hwnd), sim::show_command_text(command)},
                     sim::bool_text(result), state_of(hwnd));
    }
    return result;
}

BOOL WINAPI SetWindowPos(HWND hwnd, HWND insert_after, int x, int y, int cx, int cy, UINT flags) {
    sim::Machine& m = machine();
    sim::Window* w = window_or_error(hwnd);
    if (w)
        sim::set_window_pos(m, *w, reinterpret_cast<std::uintptr_t>(insert_after), x, y, cx, cy, flags);
    if (m.trace.on()) {
        m.trace.call("SetWindowPos",
                     {sim::window_text(hwnd), insert_after_text(insert_after), std::to_string(x),
                      std::to_string(y), std::to_string(cx), std::to_string(cy), sim::swp_flags_text(flags)},
                     sim::bool_text(w != nullptr), state_of(hwnd));
    }
    return w != nullptr;
}

BOOL WINAPI UpdateWindow(HWND hwnd) {
    sim::Machine& m = machine();
    if (m.trace.on())
        m.trace.call_no_return("UpdateWindow", {sim::window_text(hwnd)});
    sim::Window* w = window_or_error(hwnd);
    if (!w)
        return FALSE;
    if (w->needs_paint && m.windows.really_visible(*w))
        sim::deliver(m, hwnd, WM_PAINT, 0, 0);
    return TRUE;
}

HWND WINAPI SetCapture(HWND hwnd) {
    sim::Machine& m = machine();
    std::uintptr_t before = m.windows.capture;
    if (window_or_error(hwnd))
        m.windows.capture = reinterpret_cast<std::uintptr_t>(hwnd);
    if (m.trace.on())
        m.trace.call("SetCapture", {sim::window_text(hwnd)}, sim::window_text(before));
    return reinterpret_cast<HWND>(before);
}

BOOL WINAPI ReleaseCapture(void) {
    sim::Machine& m = machine();
    m.windows.capture = 0;
    if (m.trace.on())
        m.trace.call("ReleaseCapture", {}, "TRUE");
    return TRUE;
}

HWND WINAPI GetCapture(void) {
    sim::Machine& m = machine();
    if (m.trace.on())
        m.trace.call("GetCapture", {}, sim::window_text(m.windows.capture));
    return reinterpret_cast<HWND>(m.windows.capture);
}

HWND WINAPI GetActiveWindow(void) {
    sim::Machine& m = machine();
    if (m.trace.on())
        m.trace.call("GetActiveWindow", {}, sim::window_text(m.windows.active));
    return reinterpret_cast<HWND>(m.windows.active);
}

BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable) {
    sim::Machine& m = machine();
    BOOL result = FALSE;
    if (sim::Window* w = window_or_error(hwnd))
        result = sim::enable_window(m, *w, enable != FALSE);
    if (m.trace.on()) {
        m.trace.call("EnableWindow", {sim::window_text(hwnd), sim::bool_text(enable)}, sim::bool_text(result),
                     state_of(hwnd));
    }
    return result;
}

BOOL WINAPI IsWindowEnabled(HWND hwnd) {
    sim::Window* w = window_or_error(hwnd);
    BOOL result = w && w->enabled();
    trace_query("IsWindowEnabled", hwnd, sim::bool_text(result));
    return result;
}

BOOL WINAPI IsWindowVisible(HWND hwnd) {
    sim::Window* w = window_or_error(hwnd);
    BOOL result = w && machine().windows.really_visible(*w);
    trace_query("IsWindowVisible", hwnd, sim::bool_text(result));
    return result;
}

BOOL WINAPI IsWindow(HWND hwnd) {
    BOOL result = machine().windows.find(hwnd) != nullptr;
    trace_query("IsWindow", hwnd, sim::bool_text(result));
    return result;
}

BOOL WINAPI IsIconic(HWND hwnd) {
    sim::Window* w = window_or_error(hwnd);
    BOOL result = w && w->minimized;
    trace_query("IsIconic", hwnd, sim::bool_text(result));
    return result;
}

HWND WINAPI GetParent(HWND hwnd) {
    sim::Window* w = window_or_error(hwnd);
    std::uintptr_t result = !w ? 0 : w->child() ? w->parent : w->owner;
    trace_query("GetParent", hwnd, sim::window_text(result));
    return reinterpret_cast<HWND>(result);
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
    sim::Machine& m = machine();
    sim::Window* w = window_or_error(hwnd);
    if (w && rect) {
        sim::Rect r = m.windows.window_on_screen(*w);
        *rect = {r.left, r.top, r.right, r.bottom};
    }
    if (m.trace.on()) {
        m.trace.call("GetWindowRect", {sim::window_text(hwnd), sim::trace_pointer(rect, "&rect")},
                     sim::bool_text(w && rect), w && rect ? sim::rect_text(*rect) : "");
    }
    return w && rect;
}

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect) {
    sim::Machine& m = machine();
    sim::Window* w = window_or_error(hwnd);
    if (w && rect) {
        sim::Rect r = m.windows.client_rect(*w);
        *rect = {r.left, r.top, r.right, r.bottom};
    }
    if (m.trace.on()) {
        m.trace.call("GetClientRect", {sim::window_text(hwnd), sim::trace_pointer(rect, "&rect")},
                     sim::bool_text(w && rect), w && rect ? sim::rect_text(*rect) : "");
    }
    return w && rect;
}

BOOL WINAPI DestroyWindow(HWND hwnd) {
    sim::Machine& m = machine();
    if (m.trace.on())
        m.trace.call_no_return("DestroyWindow", {sim::window_text(hwnd)});
    if (!window_or_error(hwnd))
        return FALSE;
    return sim::destroy_window(m, reinterpret_cast<std::uintptr_t>(hwnd));
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hwnd, int index) {
    sim::Machine& m = machine();
    LONG_PTR result = 0;
    if (sim::Window* w = window_or_error(hwnd)) {
        switch (index) {
            case GWLP_WNDPROC:
                result = reinterpret_cast<LONG_PTR>(w->procedure);
                break;
            case GWLP_HINSTANCE:
                result = static_cast<LONG_PTR>(w->instance);
                break;
            case GWLP_HWNDPARENT:
                result = static_cast<LONG_PTR>(w->child() ? w->parent : w->owner);
                break;
            case GWLP_ID:
                result = static_cast<LONG_PTR>(w->id);
                break;
            case GWL_STYLE:
                result = static_cast<LONG_PTR>(w->style);
                break;
            case GWL_EXSTYLE:
                result = static_cast<LONG_PTR>(w->ex_style);
                break;
            case GWLP_USERDATA:
                result = w->user_data;
                break;
            default:
                if (w->dialog && index == static_cast<int>(DWLP_MSGRESULT))
                    result = w->message_result;
                if (w->dialog && index == static_cast<int>(DWLP_DLGPROC)) {
                    result = reinterpret_cast<LONG_PTR>(w->dialog_procedure);
                }
                if (w->dialog && index == static_cast<int>(DWLP_USER))
                    result = w->dialog_user;
                break;
        }
    }
    if (m.trace.on()) {
        m.trace.call("GetWindowLongPtrA", {sim::window_text(hwnd), sim::long_index_text(index)},
                     long_value_text(index, result));
    }
    return result;
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
    sim::Machine& m = machine();
    LONG_PTR old = 0;
    if (sim::Window* w = window_or_error(hwnd)) {
        auto swap = [&old, value](auto& slot) {
            old = static_cast<LONG_PTR>(slot);
            slot = static_cast<std::remove_reference_t<decltype(slot)>>(value);
        };
        switch (index) {
            case GWLP_WNDPROC:
                old = reinterpret_cast<LONG_PTR>(w->procedure);
                w->procedure = reinterpret_cast<WNDPROC>(value);
                break;
            case GWLP_ID:
                swap(w->id);
                break;
            case GWL_STYLE:
                swap(w->style);
                break;
            case GWL_EXSTYLE:
                swap(w->ex_style);
                break;
            case GWLP_USERDATA:
                swap(w->user_data);
                break;
            default:
                if (w->dialog && index == static_cast<int>(DWLP_MSGRESULT))
                    swap(w->message_result);
                if (w->dialog && index == static_cast<int>(DWLP_DLGPROC)) {
                    old = reinterpret_cast<LONG_PTR>(w->dialog_procedure);
                    w->dialog_procedure = reinterpret_cast<DLGPROC>(value);
                }
                if (w->dialog && index == static_cast<int>(DWLP_USER))
                    swap(w->dialog_user);
                break;
        }
    }
    if (m.trace.on()) {
        m.trace.call("SetWindowLongPtrA",
                     {sim::window_text(hwnd), sim::long_index_text(index), long_value_text(index, value)},
                     long_value_text(index, old));
    }
    return old;
}

LRESULT WINAPI CallWindowProcA(WNDPROC procedure, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    sim::Machine& m = machine();
    if (m.trace.on()) {
        m.trace.call_no_return(
            "CallWindowProcA",
            {procedure_text(procedure), sim::window_text(hwnd), sim::message_name(message),
             sim::hex(static_cast<std::uint32_t>(wParam)), sim::hex(static_cast<std::uint32_t>(lParam))});
    }
    return procedure ? procedure(hwnd, message, wParam, lParam) : 0;
}

LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    sim::Machine& m = machine();
    if (m.trace.on()) {
        m.trace.call_no_return("DefWindowProcA", {sim::window_text(hwnd), sim::message_name(message),
                                                  sim::hex(static_cast<std::uint32_t>(wParam)),
                                                  sim::hex(static_cast<std::uint32_t>(lParam))});
    }
    return sim::default_window_processing(m, hwnd, message, wParam, lParam);
}
