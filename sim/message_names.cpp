#include "message_names.h"

#include "text.h"

namespace sim {

namespace {

struct Named {
    unsigned value;
    const char* name;
};

const Named messages[] = {
    {WM_NULL, "WM_NULL"},
    {WM_CREATE, "WM_CREATE"},
    {WM_DESTROY, "WM_DESTROY"},
    {WM_MOVE, "WM_MOVE"},
    {WM_SIZE, "WM_SIZE"},
    {WM_ACTIVATE, "WM_ACTIVATE"},
    {WM_SETFOCUS, "WM_SETFOCUS"},
    {WM_KILLFOCUS, "WM_KILLFOCUS"},
    {WM_ENABLE, "WM_ENABLE"},
    {WM_SETTEXT, "WM_SETTEXT"},
    {WM_GETTEXT, "WM_GETTEXT"},
    {WM_GETTEXTLENGTH, "WM_GETTEXTLENGTH"},
    {WM_PAINT, "WM_PAINT"},
    {WM_CLOSE, "WM_CLOSE"},
    {WM_QUERYENDSESSION, "WM_QUERYENDSESSION"},
    {WM_QUIT, "WM_QUIT"},
    {WM_QUERYOPEN, "WM_QUERYOPEN"},
    {WM_ERASEBKGND, "WM_ERASEBKGND"},
    {WM_ENDSESSION, "WM_ENDSESSION"},
    {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
    {WM_CANCELMODE, "WM_CANCELMODE"},
    {WM_ICONERASEBKGND, "WM_ICONERASEBKGND"},
    {WM_SETFONT, "WM_SETFONT"},
    {WM_GETFONT, "WM_GETFONT"},
    {kKeyF1Message, "WM_KEYF1"},
    {WM_HELP, "WM_HELP"},
    {WM_GETICON, "WM_GETICON"},
    {WM_SETICON, "WM_SETICON"},
    {WM_NCCREATE, "WM_NCCREATE"},
    {WM_NCDESTROY, "WM_NCDESTROY"},
    {WM_GETDLGCODE, "WM_GETDLGCODE"},
    {BM_GETSTATE, "BM_GETSTATE"},
    {BM_CLICK, "BM_CLICK"},
    {WM_KEYDOWN, "WM_KEYDOWN"},
    {WM_KEYUP, "WM_KEYUP"},
    {WM_CHAR, "WM_CHAR"},
    {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
    {WM_SYSKEYUP, "WM_SYSKEYUP"},
    {WM_SYSCHAR, "WM_SYSCHAR"},
    {WM_INITDIALOG, "WM_INITDIALOG"},
    {WM_COMMAND, "WM_COMMAND"},
    {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
    {WM_TIMER, "WM_TIMER"},
    {WM_ENTERIDLE, "WM_ENTERIDLE"},
    {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
    {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
    {WM_LBUTTONUP, "WM_LBUTTONUP"},
    {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
    {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
    {WM_RBUTTONUP, "WM_RBUTTONUP"},
    {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
    {0x03D0, "MM_MIXM_LINE_CHANGE"},
    {0x03D1, "MM_MIXM_CONTROL_CHANGE"},
    // Only dialogs hear WM_USER and the one after it, as the dialog manager's requests.
    {DM_GETDEFID, "DM_GETDEFID"},
    {DM_SETDEFID, "DM_SETDEFID"},
};

const Named swp_flags[] = {
    {SWP_NOSIZE, "SWP_NOSIZE"},         {SWP_NOMOVE, "SWP_NOMOVE"},
    {SWP_NOZORDER, "SWP_NOZORDER"},     {SWP_NOREDRAW, "SWP_NOREDRAW"},
    {SWP_NOACTIVATE, "SWP_NOACTIVATE"}, {SWP_FRAMECHANGED, "SWP_FRAMECHANGED"},
    {SWP_SHOWWINDOW, "SWP_SHOWWINDOW"}, {SWP_HIDEWINDOW, "SWP_HIDEWINDOW"},
    {SWP_NOCOPYBITS, "SWP_NOCOPYBITS"}, {SWP_NOOWNERZORDER, "SWP_NOOWNERZORDER"},
};

const char* const show_commands[] = {
    "SW_HIDE",           "SW_SHOWNORMAL", "SW_SHOWMINIMIZED", "SW_SHOWMAXIMIZED",
    "SW_SHOWNOACTIVATE", "SW_SHOW",       "SW_MINIMIZE",      "SW_SHOWMINNOACTIVE",
    "SW_SHOWNA",         "SW_RESTORE",    "SW_SHOWDEFAULT",
};

}  // namespace

std::string window_text(std::uintptr_t window) {
    return window ? hex(static_cast<std::uint32_t>(window)) : std::string("NULL");
}

std::string message_name(unsigned message) {
    for (const Named& n : messages) {
        if (n.value == message)
            return n.name;
    }
    return hex(message, 4);
}

std::string message_text(unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
    // Where lParam points at the program's or the machine's memory, a word stands for it,
    // so that the traces of two runs compare.
    std::string l;
    switch (message) {
        case WM_INITDIALOG:
            l = lparam ? "param" : "0";
            break;
        case WM_HELP:
            l = lparam ? "&helpinfo" : "NULL";
            break;
        case WM_SETTEXT:
            l = lparam ? c_literal(reinterpret_cast<const char*>(lparam)) : "NULL";
            break;
        case WM_GETTEXT:
            l = lparam ? "buffer" : "NULL";
            break;
        default:
            l = hex(static_cast<std::uint32_t>(lparam));
            break;
    }
    return message_name(message) + "(" + hex(static_cast<std::uint32_t>(wparam)) + ", " + l + ")";
}

std::string msg_text(const MSG& msg) {
    return "{" + window_text(msg.hwnd) + ", " + message_name(msg.message) + ", " +
           hex(static_cast<std::uint32_t>(msg.wParam)) + ", " + hex(static_cast<std::uint32_t>(msg.lParam)) +
           "}";
}

std::string swp_flags_text(unsigned flags) {
    std::string out;
    for (const Named& n : swp_flags) {
        if (flags & n.value) {
            if (!out.empty())
                out += "|";
            out += n.name;
            flags &= ~n.value;
        }
    }
    if (flags)
        out += (out.empty() ? "" : "|") + hex(flags, 4);
    return out.empty() ? "0" : out;
}

std::string show_command_text(int command) {
    if (command >= 0 && command <= SW_SHOWDEFAULT)
        return show_commands[command];
    return std::to_string(command);
}

std::string long_index_text(int index) {
    switch (index) {
        case GWLP_WNDPROC:
            return "GWLP_WNDPROC";
        case GWLP_HINSTANCE:
            return "GWLP_HINSTANCE";
        case GWLP_HWNDPARENT:
            return "GWLP_HWNDPARENT";
        case GWLP_ID:
            return "GWLP_ID";
        case GWL_STYLE:
            return "GWL_STYLE";
        case GWL_EXSTYLE:
            return "GWL_EXSTYLE";
        case GWLP_USERDATA:
            return "GWLP_USERDATA";
        case static_cast<int>(DWLP_MSGRESULT):
            return "DWLP_MSGRESULT";
        case static_cast<int>(DWLP_DLGPROC):
            return "DWLP_DLGPROC";
        case static_cast<int>(DWLP_USER):
            return "DWLP_USER";
        default:
            return std::to_string(index);
    }
}

std::string bool_text(bool value) {
    return value ? "TRUE" : "FALSE";
}

std::string rect_text(const RECT& rect) {
    return "{" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ", " +
           std::to_string(rect.right) + ", " + std::to_string(rect.bottom) + "}";
}

}  // namespace sim
