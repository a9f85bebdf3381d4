#include "dialogs.h"

#include <algorithm>

#include "machine.h"
#include "messages.h"
#include "text.h"
#include "window_ops.h"

namespace sim {

namespace {

std::uintptr_t value(HWND hwnd) {
    return reinterpret_cast<std::uintptr_t>(hwnd);
}

// The predefined control classes of dialog templates, by their numbers.
std::string class_name_of(const NameOrOrdinal& c) {
    if (!c.is_ordinal())
        return c.name;
    switch (c.ordinal) {
        case 0x0080:
            return "Button";
        case 0x0081:
            return "Edit";
        case 0x0082:
            return "Static";
        case 0x0083:
            return "ListBox";
        case 0x0084:
            return "ScrollBar";
        case 0x0085:
            return "ComboBox";
        default:
            return "#" + std::to_string(c.ordinal);
    }
}

// Messages whose result the DLGPROC gives itself rather than through DWLP_MSGRESULT.
bool result_given_directly(UINT message) {
    switch (message) {
        case WM_INITDIALOG:
        case 0x0037:  // WM_QUERYDRAGICON
        case 0x0039:  // WM_COMPAREITEM
        case 0x002E:  // WM_VKEYTOITEM
        case 0x002F:  // WM_CHARTOITEM
            return true;
        default:
            return message >= 0x0132 && message <= 0x0138;  // WM_CTLCOLOR...
    }
}

// A control of a class the machine does not draw: it keeps its font, and the rest is
// default processing.
LRESULT CALLBACK control_class_procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Machine& m = machine();
    Window* w = m.windows.find(hwnd);
    if (!w)
        return 0;
    if (message == WM_SETFONT) {
        w->font = wParam;
        return 0;
    }
    if (message == WM_GETFONT)
        return static_cast<LRESULT>(w->font);
    return default_window_processing(m, hwnd, message, wParam, lParam);
}

// Enter: the default button's command, unless that button is disabled.
void press_default(Machine& m, std::uintptr_t dialog) {
    LRESULT answer = deliver(m, dialog, DM_GETDEFID, 0, 0);
    std::uintptr_t id = HIWORD(answer) == DC_HASDEFID ? LOWORD(answer) : IDOK;
    Window* button = dialog_item(m, dialog, id);
    if (button && !button->enabled()) {
        beep(m);
        return;
    }
    deliver(m, dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
            button ? static_cast<LPARAM>(button->handle) : 0);
}

// Escape: IDCANCEL, unless the dialog has a Cancel button that is disabled.
void press_cancel(Machine& m, std::uintptr_t dialog) {
    Window* button = dialog_item(m, dialog, IDCANCEL);
    if (button && !button->enabled()) {
        beep(m);
        return;
    }
    deliver(m, dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
            button ? static_cast<LPARAM>(button->handle) : 0);
}

}  // namespace

BaseUnits base_units(const DialogTemplate& t) {
    // The system font's, when the template names no font.
    if (!t.font)
        return {8, 16};
    // 8-point MS Sans Serif on Windows 95 at 96 dots an inch averages 6 pixels a character
    // and is 13 pixels high; other fonts and sizes are taken as that font scaled.
    int points = t.font->point_size ? t.font->point_size : 8;
    return {std::max(1, mul_div(6, points, 8)), std::max(1, mul_div(13, points, 8))};
}

int mul_div(int a, int b, int c) {
    long long product = static_cast<long long>(a) * b;
    long long half = c / 2;
    long long q = product >= 0 ? (product + half) / c : (product - half) / c;
    return static_cast<int>(q);
}

Window& make_dialog_window(Machine& m, std::uintptr_t instance, const DialogTemplate& t, std::uintptr_t owner,
                           DLGPROC procedure) {
    BaseUnits units = base_units(t);
    std::uint32_t ex_style = t.ex_style | ((t.style & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0);
    std::uint32_t style = t.style & ~static_cast<std::uint32_t>(WS_VISIBLE);
    // The template gives the client area; the frame goes around it.
    Frame frame = frame_of(style, ex_style);
    int width = mul_div(t.cx, units.x, 4) + 2 * frame.x;
    int height = mul_div(t.cy, units.y, 8) + 2 * frame.y + frame.caption;
    int x = mul_div(t.x, units.x, 4);
    int y = mul_div(t.y, units.y, 8);
    // A dialog with an owner stands where the template says in the owner's client area.
    if (Window* o = m.windows.find(owner); o && !(t.style & DS_ABSALIGN) && !(t.style & WS_CHILD)) {
        Rect client = m.windows.client_on_screen(m.windows.top_level(*o));
        x += client.left;
        y += client.top;
    }
    Window& w =
        m.windows.create("#32770", style, ex_style, x, y, width, height, owner, dialog_class_procedure);
    w.dialog = true;
    w.instance = instance;
    w.text = t.title;
    w.dialog_procedure = procedure;
    return w;
}

bool finish_dialog(Machine& m, std::uintptr_t dialog, const DialogTemplate& t, LPARAM param) {
    std::uintptr_t font = 0;
    if (t.font) {
        font = kFirstFontHandle + (dialog - kFirstWindowHandle);
        deliver(m, dialog, WM_SETFONT, font, FALSE);
    }
    BaseUnits units = base_units(t);
    std::uintptr_t focus = 0;
    for (const DialogItem& item : t.items) {
        Window* d = m.windows.find(dialog);
        if (!d)
            return false;
        std::string name = class_name_of(item.window_class);
        bool button = equal_ascii_nocase(name, "Button");
        Window& c = m.windows.create(name, item.style | WS_CHILD, item.ex_style | WS_EX_NOPARENTNOTIFY,
                                     mul_div(item.x, units.x, 4), mul_div(item.y, units.y, 8),
                                     mul_div(item.cx, units.x, 4), mul_div(item.cy, units.y, 8), dialog,
                                     button ? button_class_procedure : control_class_procedure);
        c.id = item.id;
        c.instance = d->instance;
        c.text = item.title.is_ordinal() || item.title.none ? "" : item.title.name;
        if (button && (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            d->default_id = item.id;
        if (!focus && (item.style & WS_TABSTOP) && (item.style & WS_VISIBLE) && !(item.style & WS_DISABLED)) {
            focus = c.handle;
        }
        if (font)
            deliver(m, c.handle, WM_SETFONT, font, FALSE);
    }
    deliver(m, dialog, WM_INITDIALOG, focus, param);
    Window* d = m.windows.find(dialog);
    if (!d)
        return false;
    if ((t.style & WS_VISIBLE) && !d->ended)
        show_window(m, *d, SW_SHOWNORMAL);
    return true;
}

LRESULT CALLBACK dialog_class_procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Machine& m = machine();
    Window* w = m.windows.find(hwnd);
    if (!w)
        return 0;
    if (DLGPROC procedure = w->dialog_procedure) {
        INT_PTR handled = procedure(hwnd, message, wParam, lParam);
        if (handled) {
            if (result_given_directly(message))
                return handled;
            Window* again = m.windows.find(hwnd);
            return again ? again->message_result : 0;
        }
        if (!m.windows.find(hwnd))
            return 0;
    }
    return default_dialog_processing(m, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK button_class_procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Machine& m = machine();
    Window* w = m.windows.find(hwnd);
    if (!w)
        return 0;
    switch (message) {
        case WM_GETDLGCODE: {
            std::uint32_t type = w->style & BS_TYPEMASK;
            return DLGC_BUTTON | (type == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON
                                  : type == BS_PUSHBUTTON  ? DLGC_UNDEFPUSHBUTTON
                                                           : 0);
        }
        case WM_SETFONT:
            w->font = wParam;
            return 0;
        case WM_GETFONT:
            return static_cast<LRESULT>(w->font);
        case WM_LBUTTONUP:
        case BM_CLICK:
            // A click tells the parent.
            if (w->enabled()) {
                std::uintptr_t parent = w->parent, id = w->id, self = w->handle;
                deliver(m, parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), static_cast<LPARAM>(self));
            }
            return 0;
        default:
            return default_window_processing(m, hwnd, message, wParam, lParam);
    }
}

LRESULT default_dialog_processing(Machine& m, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = m.windows.find(hwnd);
    if (!w)
        return 0;
    switch (message) {
        case DM_GETDEFID:
            return w->default_id ? MAKELRESULT(w->default_id, DC_HASDEFID) : 0;
        case DM_SETDEFID:
            w->default_id = static_cast<unsigned>(wParam);
            return TRUE;
        case WM_CLOSE: {
            // A close request becomes the Cancel command, unless the Cancel button is disabled.
            Window* cancel = dialog_item(m, w->handle, IDCANCEL);
            if (cancel && !cancel->enabled()) {
                beep(m);
                return 0;
            }
            post(m, w->handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 cancel ? static_cast<LPARAM>(cancel->handle) : 0);
            return 0;
        }
        case WM_SETFONT:
            w->font = wParam;
            return 0;
        case WM_GETFONT:
            return static_cast<LRESULT>(w->font);
        case WM_INITDIALOG:
            return 0;
        case WM_ERASEBKGND:
            return 1;
        default:
            return default_window_processing(m, hwnd, message, wParam, lParam);
    }
}

bool dialog_message(Machine& m, HWND dialog, const MSG& msg) {
    Window* d = m.windows.find(dialog);
    if (!d || !m.windows.within(d->handle, value(msg.hwnd)))
        return false;
    std::uintptr_t handle = d->handle;
    if (msg.message == WM_KEYDOWN) {
        switch (msg.wParam) {
            case VK_RETURN:
                press_default(m, handle);
                return true;
            case VK_ESCAPE:
                press_cancel(m, handle);
                return true;
            case VK_TAB:
                return true;  // would move the focus among the controls
            default:
                break;
        }
    }
    if (msg.message == WM_CHAR && (msg.wParam == '\r' || msg.wParam == 0x1B || msg.wParam == '\t'))
        return true;
    translate(m, msg);
    dispatch(m, msg);
    return true;
}

bool end_dialog(Machine& m, std::uintptr_t dialog, INT_PTR result) {
    Window* d = m.windows.find(dialog);
    if (!d || !d->dialog)
        return false;
    d->ended = true;
    d->end_result = result;
    hide_window(m, *d);
    if (Window* owner = m.windows.find(d->owner))
        enable_window(m, *owner, true);
    return true;
}

Window* dialog_item(Machine& m, std::uintptr_t dialog, std::uintptr_t id) {
    Window* d = m.windows.find(dialog);
    if (!d)
        return nullptr;
    for (std::uintptr_t c : d->children) {
        Window* child = m.windows.find(c);
        if (child && child->id == id)
            return child;
    }
    return nullptr;
}

}  // namespace sim
