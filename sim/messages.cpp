#include "messages.h"

#include "machine.h"
#include "message_names.h"
#include "user_input.h"

namespace sim {

namespace {

std::uintptr_t value(HWND hwnd) {
    return reinterpret_cast<std::uintptr_t>(hwnd);
}

bool passes(Machine& m, std::uintptr_t window, unsigned message, HWND filter, UINT first, UINT last) {
    if (filter && !m.windows.within(value(filter), window))
        return false;
    if ((first || last) && (message < first || message > last))
        return false;
    return true;
}

void fill(MSG& msg, const PostedMessage& p, int x, int y) {
    msg.hwnd = reinterpret_cast<HWND>(p.window);
    msg.message = p.message;
    msg.wParam = p.wparam;
    msg.lParam = p.lparam;
    msg.time = 0;
    msg.pt.x = x;
    msg.pt.y = y;
}

bool take_posted(Machine& m, MSG& msg, HWND filter, UINT first, UINT last, bool remove) {
    Ring<PostedMessage>& posted = m.queue.posted;
    for (std::size_t i = 0; i < posted.size(); i++) {
        const PostedMessage& p = posted[i];
        if (!passes(m, p.window, p.message, filter, first, last))
            continue;
        fill(msg, p, m.windows.cursor_x, m.windows.cursor_y);
        if (remove)
            posted.erase(i);
        return true;
    }
    return false;
}

// Gives an input event its window and message: a press of the mouse goes to the window
// holding the capture, else to the window under the point, in that window's client
// coordinates; a key goes to the active window.
void place(Machine& m, InputEvent& e) {
    e.placed = true;
    PostedMessage& p = e.message;
    p.window = 0;
    bool down = e.kind == InputEvent::Kind::ButtonDown || e.kind == InputEvent::Kind::KeyDown;
    if (e.kind == InputEvent::Kind::ButtonDown || e.kind == InputEvent::Kind::ButtonUp) {
        Window* w =
            m.windows.capture ? m.windows.find(m.windows.capture) : m.windows.window_from_point(e.x, e.y);
        if (!w)
            return;
        Rect client = m.windows.client_on_screen(*w);
        p = {w->handle, down ? static_cast<unsigned>(WM_LBUTTONDOWN) : static_cast<unsigned>(WM_LBUTTONUP),
             down ? static_cast<WPARAM>(MK_LBUTTON) : 0, MAKELPARAM(e.x - client.left, e.y - client.top)};
    } else {
        Window* w = m.windows.find(m.windows.active);
        if (!w)
            return;
        DWORD bits = 1u | (e.scan << 16) | (down ? 0u : 0xC0000000u);
        p = {w->handle, down ? static_cast<unsigned>(WM_KEYDOWN) : static_cast<unsigned>(WM_KEYUP), e.key,
             static_cast<LPARAM>(bits)};
    }
}

bool take_input(Machine& m, MSG& msg, HWND filter, UINT first, UINT last, bool remove) {
    Ring<InputEvent>& input = m.queue.input;
    for (std::size_t i = 0; i < input.size();) {
        InputEvent& e = input[i];
        if (!e.placed)
            place(m, e);
        if (!m.windows.find(e.message.window)) {
            if (m.trace.on()) {
                bool mouse = e.kind == InputEvent::Kind::ButtonDown || e.kind == InputEvent::Kind::ButtonUp;
                m.trace.event(std::string("input: ") + (mouse ? "the press at " + std::to_string(e.x) + "," +
                                                                    std::to_string(e.y) + " reaches no window"
                                                              : "the key reaches no window: none is active"));
            }
            input.erase(i);
            continue;
        }
        const PostedMessage p = e.message;
        if (!passes(m, p.window, p.message, filter, first, last)) {
            i++;
            continue;
        }
        bool mouse = p.message == WM_LBUTTONDOWN || p.message == WM_LBUTTONUP;
        int x = mouse ? e.x : m.windows.cursor_x, y = mouse ? e.y : m.windows.cursor_y;
        fill(msg, p, x, y);
        if (remove) {
            input.erase(i);
            if (mouse) {
                m.windows.cursor_x = x;
                m.windows.cursor_y = y;
            }
            // Taking the key-down of F1 is a request for help.
            if (p.message == WM_KEYDOWN && p.wparam == VK_F1)
                post(m, p.window, kKeyF1Message, 0, 0);
        }
        return true;
    }
    return false;
}

bool take_paint(Machine& m, MSG& msg, HWND filter, UINT first, UINT last) {
    for (std::size_t i = 0; i < m.windows.count(); i++) {
        Window* w = m.windows.find(kFirstWindowHandle + i);
        if (!w || !w->needs_paint || !m.windows.really_visible(*w))
            continue;
        if (!passes(m, w->handle, WM_PAINT, filter, first, last))
            continue;
        // WM_PAINT stays until the window is painted.
        fill(msg, {w->handle, WM_PAINT, 0, 0}, m.windows.cursor_x, m.windows.cursor_y);
        return true;
    }
    return false;
}

}  // namespace

LRESULT deliver(Machine& m, std::uintptr_t window, unsigned message, WPARAM wParam, LPARAM lParam) {
    Window* target = m.windows.find(window);
    if (!target || !target->procedure)
        return 0;
    WNDPROC procedure = target->procedure;
    if (m.trace.on())
        m.trace.event(window_text(window) + " <- " + message_text(message, wParam, lParam));
    return procedure(reinterpret_cast<HWND>(window), message, wParam, lParam);
}

bool post(Machine& m, std::uintptr_t window, unsigned message, WPARAM wParam, LPARAM lParam) {
    if (window != 0 && !m.windows.find(window))
        return false;
    m.queue.posted.push_back({window, message, wParam, lParam});
    return true;
}

void connect_mixer_notifications(Machine& m) {
    m.mixers.post = [&m](std::uintptr_t window, unsigned message, std::uintptr_t wParam,
                         std::intptr_t lParam) { post(m, window, message, wParam, lParam); };
}

bool next_message(Machine& m, MSG& msg, HWND filter, UINT first, UINT last, bool remove, bool wait) {
    deliver_typed_ahead(m);
    for (;;) {
        if (take_posted(m, msg, filter, first, last, remove))
            return true;
        if (m.queue.quit) {
            fill(msg, {0, WM_QUIT, static_cast<WPARAM>(m.queue.quit_code), 0}, m.windows.cursor_x,
                 m.windows.cursor_y);
            if (remove)
                m.queue.quit = false;
            return true;
        }
        if (take_input(m, msg, filter, first, last, remove))
            return true;
        if (take_paint(m, msg, filter, first, last))
            return true;
        if (!wait)
            return false;
        wait_for_input(m);
    }
}

bool translate(Machine& m, const MSG& msg) {
    if (msg.message != WM_KEYDOWN)
        return false;
    WPARAM c;
    switch (msg.wParam) {
        case VK_TAB:
            c = '\t';
            break;
        case VK_RETURN:
            c = '\r';
            break;
        case VK_ESCAPE:
            c = 0x1B;
            break;
        case VK_SPACE:
            c = ' ';
            break;
        default:
            return false;
    }
    return post(m, value(msg.hwnd), WM_CHAR, c, msg.lParam);
}

LRESULT dispatch(Machine& m, const MSG& msg) {
    if (!msg.hwnd)
        return 0;
    return deliver(m, value(msg.hwnd), msg.message, msg.wParam, msg.lParam);
}

}  // namespace sim
