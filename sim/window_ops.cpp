#include "window_ops.h"

#include <algorithm>
#include <cstring>

#include "machine.h"
#include "message_names.h"
#include "messages.h"

namespace sim {

namespace {

void make_visible(Window& w) {
    if (!w.visible_style())
        w.needs_paint = true;
    w.style |= WS_VISIBLE;
}

void activate_if_top_level(Machine& m, Window& w) {
    if (!w.child())
        m.windows.activate(w);
}

// WM_DESTROY to the window and then to its children as they go; WM_NCDESTROY to each
// after its children have gone.
void destroy_tree(Machine& m, std::uintptr_t window) {
    deliver(m, window, WM_DESTROY, 0, 0);
    if (Window* w = m.windows.find(window)) {
        std::vector<std::uintptr_t> children = w->children;
        for (std::uintptr_t c : children) {
            if (Window* child = m.windows.find(c); child && !child->destroying) {
                child->destroying = true;
                destroy_tree(m, c);
            }
        }
    }
    deliver(m, window, WM_NCDESTROY, 0, 0);
    m.queue.forget_window(window);
    if (Window* w = m.windows.find(window))
        m.windows.bury(*w);
}

// The help request of F1: WM_HELP to the active window (the machine keeps no keyboard
// focus among controls), or to the window that had the key when none is active.
void request_help(Machine& m, HWND hwnd) {
    std::uintptr_t target = m.windows.active ? m.windows.active : reinterpret_cast<std::uintptr_t>(hwnd);
    Window* w = m.windows.find(target);
    if (!w)
        return;
    HELPINFO info;
    std::memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_WINDOW;
    info.iCtrlId = w->child() ? static_cast<int>(w->id) : 0;
    info.hItemHandle = reinterpret_cast<HANDLE>(target);
    info.MousePos.x = m.windows.cursor_x;
    info.MousePos.y = m.windows.cursor_y;
    deliver(m, target, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace

void hide_window(Machine& m, Window& w) {
    if (!w.visible_style())
        return;
    w.style &= ~static_cast<std::uint32_t>(WS_VISIBLE);
    w.needs_paint = false;
    m.windows.deactivate(w);
}

bool show_window(Machine& m, Window& w, int command) {
    bool was_visible = w.visible_style();
    switch (command) {
        case SW_HIDE:
            hide_window(m, w);
            break;
        case SW_SHOWNORMAL:
        case SW_RESTORE:
        case SW_SHOWDEFAULT:
        case SW_SHOWMAXIMIZED:
            w.minimized = false;
            make_visible(w);
            activate_if_top_level(m, w);
            break;
        case SW_SHOW:
            make_visible(w);
            activate_if_top_level(m, w);
            break;
        case SW_SHOWNOACTIVATE:
            w.minimized = false;
            make_visible(w);
            break;
        case SW_SHOWNA:
            make_visible(w);
            break;
        case SW_SHOWMINIMIZED:
            w.minimized = true;
            make_visible(w);
            activate_if_top_level(m, w);
            break;
        case SW_MINIMIZE:
            // Minimizing hands activation to the next window.
            w.minimized = true;
            make_visible(w);
            m.windows.deactivate(w);
            break;
        case SW_SHOWMINNOACTIVE:
            w.minimized = true;
            make_visible(w);
            break;
        default:
            break;
    }
    return was_visible;
}

void set_window_pos(Machine& m, Window& w, std::uintptr_t insert_after, int x, int y, int cx, int cy,
                    unsigned flags) {
    if (!(flags & SWP_NOMOVE)) {
        w.x = x;
        w.y = y;
    }
    if (!(flags & SWP_NOSIZE)) {
        w.width = std::max(0, cx);
        w.height = std::max(0, cy);
        if (w.visible_style())
            w.needs_paint = true;
    }
    if (!(flags & SWP_NOZORDER)) {
        std::intptr_t after = static_cast<std::intptr_t>(insert_after);
        if (after == 1) {
            m.windows.send_to_bottom(w);
        } else if (after == 0 || after == -1 || after == -2) {
            m.windows.bring_to_top(w);
        } else {
            m.windows.place_after(w, insert_after);
        }
    }
    if (flags & SWP_SHOWWINDOW)
        make_visible(w);
    if (flags & SWP_HIDEWINDOW)
        hide_window(m, w);
    if (!(flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW)) && w.visible_style())
        activate_if_top_level(m, w);
}

bool enable_window(Machine& m, Window& w, bool enable) {
    (void)m;
    bool was_disabled = !w.enabled();
    if (enable) {
        w.style &= ~static_cast<std::uint32_t>(WS_DISABLED);
    } else {
        w.style |= WS_DISABLED;
    }
    return was_disabled;
}

bool destroy_window(Machine& m, std::uintptr_t window) {
    Window* w = m.windows.find(window);
    if (!w)
        return false;
    if (w->destroying)
        return true;
    w->destroying = true;
    // The windows it owns go first.
    for (std::uintptr_t owned : m.windows.top_level_in_creation_order()) {
        Window* o = m.windows.find(owned);
        if (o && o->owner == window)
            destroy_window(m, owned);
    }
    w = m.windows.find(window);
    if (!w)
        return true;
    hide_window(m, *w);
    if (m.windows.capture && m.windows.within(window, m.windows.capture))
        m.windows.capture = 0;
    destroy_tree(m, window);
    return true;
}

void validate(Window& w) {
    w.needs_paint = false;
}

void beep(Machine& m) {
    m.windows.beeps++;
    m.trace.event("beep");
}

LRESULT default_window_processing(Machine& m, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = m.windows.find(hwnd);
    if (!w)
        return 0;
    switch (message) {
        case WM_CLOSE:
            destroy_window(m, w->handle);
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_CLOSE)
                deliver(m, hwnd, WM_CLOSE, 0, 0);
            return 0;
        case kKeyF1Message:
            request_help(m, hwnd);
            return 0;
        case WM_HELP: {
            std::uintptr_t up = w->child() ? w->parent : w->owner;
            if (up)
                deliver(m, up, WM_HELP, wParam, lParam);
            return TRUE;
        }
        case WM_PAINT:
            validate(*w);
            return 0;
        case WM_ERASEBKGND:
        case WM_ICONERASEBKGND:
            return 1;
        case WM_SETICON: {
            std::uintptr_t& slot = wParam == ICON_BIG ? w->big_icon : w->small_icon;
            std::uintptr_t old = slot;
            slot = static_cast<std::uintptr_t>(lParam);
            return static_cast<LRESULT>(old);
        }
        case WM_GETICON:
            return static_cast<LRESULT>(wParam == ICON_BIG ? w->big_icon : w->small_icon);
        case WM_SETTEXT:
            w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
            return TRUE;
        case WM_GETTEXT: {
            if (wParam == 0 || !lParam)
                return 0;
            std::size_t n = std::min<std::size_t>(w->text.size(), wParam - 1);
            std::memcpy(reinterpret_cast<char*>(lParam), w->text.data(), n);
            reinterpret_cast<char*>(lParam)[n] = '\0';
            return static_cast<LRESULT>(n);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(w->text.size());
        case WM_QUERYENDSESSION:
        case WM_QUERYOPEN:
            return TRUE;
        default:
            return 0;
    }
}

}  // namespace sim
