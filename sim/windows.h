// The machine's windows: each with its procedure, rectangle, style, owner or parent, and
// the state the window calls change (visible, enabled, minimized), and the screen's
// activation, Z order and mouse capture. Handles are given out in order from
// kFirstWindowHandle and never reused; a destroyed window stays in the table, dead, so
// that a window procedure that destroys windows never leaves a dangling reference.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "win_user.h"

namespace sim {

constexpr std::uintptr_t kFirstWindowHandle = 0x100;

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

struct Window {
    std::uintptr_t handle = 0;
    std::string class_name;  // "#32770" for a dialog, "Button", ...
    std::string text;
    std::uint32_t style = 0;
    std::uint32_t ex_style = 0;
    // Top-level: screen coordinates. Child: the parent's client coordinates.
    int x = 0, y = 0, width = 0, height = 0;
    std::uintptr_t parent = 0;  // child windows
    std::uintptr_t owner = 0;   // top-level windows
    std::uintptr_t id = 0;      // a control's identifier
    std::uintptr_t instance = 0;
    WNDPROC procedure = nullptr;
    LONG_PTR user_data = 0;
    std::vector<std::uintptr_t> children;  // the first is at the top
    bool alive = true;
    bool destroying = false;
    bool minimized = false;
    bool needs_paint = false;  // visible contents not yet painted
    std::uintptr_t font = 0;
    std::uintptr_t big_icon = 0, small_icon = 0;

    // Dialogs.
    bool dialog = false;
    DLGPROC dialog_procedure = nullptr;
    LONG_PTR message_result = 0;  // DWLP_MSGRESULT
    LONG_PTR dialog_user = 0;     // DWLP_USER
    unsigned default_id = IDOK;
    bool ended = false;
    INT_PTR end_result = 0;

    bool visible_style() const { return (style & WS_VISIBLE) != 0; }
    bool enabled() const { return (style & WS_DISABLED) == 0; }
    bool child() const { return (style & WS_CHILD) != 0; }
};

// The frame around the client area that a style gives.
struct Frame {
    int x = 0, y = 0;  // each side
    int caption = 0;   // above the client area, below the frame
};
Frame frame_of(std::uint32_t style, std::uint32_t ex_style);

class Windows {
public:
    int screen_width = 640;
    int screen_height = 480;
    std::uintptr_t active = 0;
    std::uintptr_t capture = 0;
    int cursor_x = 0, cursor_y = 0;  // where the last press of the mouse was
    int beeps = 0;                   // how often the machine beeped

    // A living window, or null.
    Window* find(std::uintptr_t handle);
    Window* find(HWND hwnd) { return find(reinterpret_cast<std::uintptr_t>(hwnd)); }
    // A new window, hidden unless its style says WS_VISIBLE; a top-level one at the top of
    // the Z order, a child at the bottom of its siblings.
    Window& create(std::string class_name, std::uint32_t style, std::uint32_t ex_style, int x, int y,
                   int width, int height, std::uintptr_t parent_or_owner, WNDPROC procedure);
    // Marks the window dead and takes it out of the Z order and its parent's children.
    void bury(Window& window);

    // Top-level windows, top first.
    const std::vector<std::uintptr_t>& z_order() const { return z_order_; }
    // Living top-level windows in the order they were made.
    std::vector<std::uintptr_t> top_level_in_creation_order() const;
    void bring_to_top(Window& window);
    void send_to_bottom(Window& window);
    // Just below `other` (at the top when `other` is not a top-level window).
    void place_after(Window& window, std::uintptr_t other);

    // The window's client area and rectangle in screen coordinates.
    Rect client_on_screen(const Window& window);
    Rect window_on_screen(const Window& window);
    // The client rectangle: 0, 0 and the client area's size.
    Rect client_rect(const Window& window) const;

    // Visible on the screen: it and every parent have WS_VISIBLE.
    bool really_visible(const Window& window);
    // The top-level window that a window belongs to.
    Window& top_level(Window& window);
    // True when `inner` is `outer` or one of its descendants.
    bool within(std::uintptr_t outer, std::uintptr_t inner);
    // The window a press at a screen point reaches: the topmost visible top-level window
    // under it, then its deepest visible child there; null when none is there, or when the
    // window found is disabled (a disabled child gives the press to its parent).
    Window* window_from_point(int x, int y);

    // Activation: the active window is a visible top-level window or none. Making another
    // active brings it to the top. Leaving it picks the next visible top-level window.
    void activate(Window& window);
    void deactivate(Window& window);

    // "2000,2000 1x1 visible active", the state the trace shows after a window call.
    std::string state_text(const Window& window);

    // Every window ever made, dead ones included, in creation order.
    std::size_t count() const { return table_.size(); }

private:
    std::vector<std::unique_ptr<Window>> table_;
    std::vector<std::uintptr_t> z_order_;
};

}  // namespace sim
