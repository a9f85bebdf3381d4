// What the windows of a unit test hear: procedures that write down every message they get,
// and a hook through which a test acts on one of them.
#pragma once

#include <functional>
#include <vector>

#include "platform_api.h"

namespace recorder {

struct Heard {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Heard&) const = default;
};

inline std::vector<Heard>& heard() {
    static std::vector<Heard> list;
    return list;
}

// Called for each message after it is written down; its result, when it gives one, is the
// procedure's.
inline std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>& hook() {
    static std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> h;
    return h;
}

inline void reset() {
    heard().clear();
    hook() = nullptr;
}

// A window procedure that leaves everything to DefWindowProcA.
inline LRESULT CALLBACK window_procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    heard().push_back({hwnd, message, wParam, lParam});
    LRESULT result = 0;
    if (hook() && hook()(hwnd, message, wParam, lParam, result))
        return result;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A dialog procedure that handles nothing.
inline INT_PTR CALLBACK dialog_procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    heard().push_back({hwnd, message, wParam, lParam});
    LRESULT result = 0;
    if (hook() && hook()(hwnd, message, wParam, lParam, result))
        return result;
    return FALSE;
}

// The messages heard, by number: all of them, or those of one window.
inline std::vector<UINT> messages(HWND hwnd = NULL) {
    std::vector<UINT> out;
    for (const Heard& h : heard()) {
        if (!hwnd || h.hwnd == hwnd)
            out.push_back(h.message);
    }
    return out;
}

}  // namespace recorder
