#include "windows.h"

#include <algorithm>

namespace sim {

namespace {

constexpr int kThickFrame = 4;   // SM_CXFRAME
constexpr int kDialogFrame = 3;  // SM_CXDLGFRAME
constexpr int kBorder = 1;       // SM_CXBORDER
constexpr int kCaption = 19;     // SM_CYCAPTION

}  // namespace

Frame frame_of(std::uint32_t style, std::uint32_t ex_style) {
    Frame f;
    if (style & WS_THICKFRAME) {
        f.x = f.y = kThickFrame;
    } else if ((ex_style & WS_EX_DLGMODALFRAME) || (style & WS_DLGFRAME)) {
        f.x = f.y = kDialogFrame;
    } else if (style & WS_BORDER) {
        f.x = f.y = kBorder;
    }
    if ((style & WS_CAPTION) == WS_CAPTION)
        f.caption = kCaption;
    return f;
}

Window* Windows::find(std::uintptr_t handle) {
    if (handle < kFirstWindowHandle || handle - kFirstWindowHandle >= table_.size())
        return nullptr;
    Window* w = table_[handle - kFirstWindowHandle].get();
    return w->alive ? w : nullptr;
}

Window& Windows::create(std::string class_name, std::uint32_t style, std::uint32_t ex_style, int x, int y,
                        int width, int height, std::uintptr_t parent_or_owner, WNDPROC procedure) {
    auto w = std::make_unique<Window>();
    w->handle = kFirstWindowHandle + table_.size();
    w->class_name = std::move(class_name);
    w->style = style;
    w->ex_style = ex_style;
    w->x = x;
    w->y = y;
    w->width = std::max(0, width);
    w->height = std::max(0, height);
    w->procedure = procedure;
    Window& made = *w;
    table_.push_back(std::move(w));
    if (made.child()) {
        made.parent = parent_or_owner;
        if (Window* parent = find(parent_or_owner))
            parent->children.push_back(made.handle);
    } else {
        // A top-level window is owned by the top-level window of the one given.
        if (Window* owner = find(parent_or_owner))
            made.owner = top_level(*owner).handle;
        z_order_.insert(z_order_.begin(), made.handle);
    }
    made.needs_paint = made.visible_style();
    return made;
}

void Windows::bury(Window& window) {
    window.alive = false;
    z_order_.erase(std::remove(z_order_.begin(), z_order_.end(), window.handle), z_order_.end());
    if (window.child()) {
        if (Window* parent = find(window.parent)) {
            auto& c = parent->children;
            c.erase(std::remove(c.begin(), c.end(), window.handle), c.end());
        }
    }
    if (active == window.handle)
        active = 0;
    if (capture == window.handle)
        capture = 0;
}

std::vector<std::uintptr_t> Windows::top_level_in_creation_order() const {
    std::vector<std::uintptr_t> out;
    for (const auto& w : table_) {
        if (w->alive && !w->child())
            out.push_back(w->handle);
    }
    return out;
}

void Windows::bring_to_top(Window& window) {
    if (window.child())
        return;
    z_order_.erase(std::remove(z_order_.begin(), z_order_.end(), window.handle), z_order_.end());
    z_order_.insert(z_order_.begin(), window.handle);
}

void Windows::send_to_bottom(Window& window) {
    if (window.child())
        return;
    z_order_.erase(std::remove(z_order_.begin(), z_order_.end(), window.handle), z_order_.end());
    z_order_.push_back(window.handle);
}

void Windows::place_after(Window& window, std::uintptr_t other) {
    if (window.child() || other == window.handle)
        return;
    z_order_.erase(std::remove(z_order_.begin(), z_order_.end(), window.handle), z_order_.end());
    auto at = std::find(z_order_.begin(), z_order_.end(), other);
    z_order_.insert(at == z_order_.end() ? z_order_.begin() : at + 1, window.handle);
}

Rect Windows::window_on_screen(const Window& window) {
    int x = window.x, y = window.y;
    if (window.child()) {
        if (Window* parent = find(window.parent)) {
            Rect origin = client_on_screen(*parent);
            x += origin.left;
            y += origin.top;
        }
    }
    return {x, y, x + window.width, y + window.height};
}

Rect Windows::client_on_screen(const Window& window) {
    Rect outer = window_on_screen(window);
    Rect client = client_rect(window);
    Frame f = frame_of(window.style, window.ex_style);
    int left = outer.left + f.x, top = outer.top + f.y + f.caption;
    return {left, top, left + client.width(), top + client.height()};
}

Rect Windows::client_rect(const Window& window) const {
    Frame f = frame_of(window.style, window.ex_style);
    return {0, 0, std::max(0, window.width - 2 * f.x), std::max(0, window.height - 2 * f.y - f.caption)};
}

bool Windows::really_visible(const Window& window) {
    const Window* w = &window;
    while (w) {
        if (!w->visible_style())
            return false;
        if (!w->child())
            return true;
        w = find(w->parent);
    }
    return false;
}

Window& Windows::top_level(Window& window) {
    Window* w = &window;
    while (w->child()) {
        Window* parent = find(w->parent);
        if (!parent)
            break;
        w = parent;
    }
    return *w;
}

bool Windows::within(std::uintptr_t outer, std::uintptr_t inner) {
    for (Window* w = find(inner); w; w = w->child() ? find(w->parent) : nullptr) {
        if (w->handle == outer)
            return true;
    }
    return false;
}

Window* Windows::window_from_point(int x, int y) {
    for (std::uintptr_t h : z_order_) {
        Window* top = find(h);
        if (!top || !top->visible_style() || !window_on_screen(*top).contains(x, y))
            continue;
        if (!top->enabled())
            return nullptr;
        Window* hit = top;
        for (bool deeper = true; deeper;) {
            deeper = false;
            for (std::uintptr_t c : hit->children) {
                Window* child = find(c);
                if (child && child->visible_style() && window_on_screen(*child).contains(x, y)) {
                    if (child->enabled()) {
                        hit = child;
                        deeper = true;
                    }
                    break;
                }
            }
        }
        return hit;
    }
    return nullptr;
}

void Windows::activate(Window& window) {
    Window& top = top_level(window);
    active = top.handle;
    bring_to_top(top);
}

void Windows::deactivate(Window& window) {
    if (active != window.handle)
        return;
    active = 0;
    for (std::uintptr_t h : z_order_) {
        Window* other = find(h);
        if (other && other != &window && other->visible_style() && other->enabled()) {
            active = other->handle;
            return;
        }
    }
}

std::string Windows::state_text(const Window& window) {
    std::string out = std::to_string(window.x) + "," + std::to_string(window.y) + " " +
                      std::to_string(window.width) + "x" + std::to_string(window.height) +
                      (window.visible_style() ? " visible" : " hidden");
    if (window.minimized)
        out += " minimized";
    if (!window.enabled())
        out += " disabled";
    if (active == window.handle)
        out += " active";
    return out;
}

}  // namespace sim
