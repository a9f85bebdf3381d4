// How the trace writes windows, messages and the window calls' arguments: handles as
// 0x-numbers, messages by their names, flags and commands by their names' parts.
#pragma once

#include <cstdint>
#include <string>

#include "win_user.h"

namespace sim {

// The help request that the machine posts when the program takes a key-down of F1, and
// that default processing turns into WM_HELP.
constexpr unsigned kKeyF1Message = 0x004D;

std::string window_text(std::uintptr_t window);  // "0x00000104", or "NULL"
inline std::string window_text(HWND hwnd) {
    return window_text(reinterpret_cast<std::uintptr_t>(hwnd));
}
std::string message_name(unsigned message);  // "WM_LBUTTONDOWN", or "0x0401"
// "WM_LBUTTONDOWN(0x00000001, 0x000A0005)"
std::string message_text(unsigned message, std::uintptr_t wparam, std::intptr_t lparam);
// "{0x00000104, WM_LBUTTONDOWN, 0x00000001, 0x000A0005}"
std::string msg_text(const MSG& msg);
std::string swp_flags_text(unsigned flags);  // "SWP_NOSIZE|SWP_HIDEWINDOW", or "0"
std::string show_command_text(int command);  // "SW_SHOWNORMAL"
std::string long_index_text(int index);      // "GWLP_WNDPROC"
std::string bool_text(bool value);           // "TRUE", "FALSE"
std::string rect_text(const RECT& rect);     // "{0, 0, 30, 33}"

}  // namespace sim
