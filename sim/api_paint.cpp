// Painting, the beep and the system's metrics. The machine has no picture of its screen:
// painting only marks a window's contents as valid.
#include "machine.h"
#include "message_names.h"
#include "platform_api.h"
#include "text.h"
#include "trace_text.h"
#include "window_ops.h"

using sim::machine;

namespace {

// A window's device context while it paints.
constexpr std::uintptr_t kFirstDcHandle = 0x800;

std::string dc_text(HDC dc) {
    return dc ? sim::hex(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(dc))) : "NULL";
}

struct Metric {
    int index;
    const char* name;
    int value;  // -1: the screen's width, -2: its height
};

// Windows 95 at 96 dots an inch, small fonts.
const Metric metrics[] = {
    {SM_CXSCREEN, "SM_CXSCREEN", -1},    {SM_CYSCREEN, "SM_CYSCREEN", -2},
    {SM_CYCAPTION, "SM_CYCAPTION", 19},  {SM_CXBORDER, "SM_CXBORDER", 1},
    {SM_CYBORDER, "SM_CYBORDER", 1},     {SM_CXDLGFRAME, "SM_CXDLGFRAME", 3},
    {SM_CYDLGFRAME, "SM_CYDLGFRAME", 3}, {SM_CXICON, "SM_CXICON", 32},
    {SM_CYICON, "SM_CYICON", 32},        {SM_CXFRAME, "SM_CXFRAME", 4},
    {SM_CYFRAME, "SM_CYFRAME", 4},       {SM_CXSMICON, "SM_CXSMICON", 16},
    {SM_CYSMICON, "SM_CYSMICON", 16},
};

}  // namespace

HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
    sim::Machine& m = machine();
    sim::Window* w = m.windows.find(hwnd);
    HDC dc = NULL;
    if (w && paint) {
        dc = reinterpret_cast<HDC>(kFirstDcHandle + (w->handle - sim::kFirstWindowHandle));
        sim::Rect client = m.windows.client_rect(*w);
        memset(paint, 0, sizeof *paint);
        paint->hdc = dc;
        paint->rcPaint = {client.left, client.top, client.right, client.bottom};
        sim::validate(*w);
    }
    if (!w)
        m.last_error = ERROR_INVALID_WINDOW_HANDLE;
    if (m.trace.on()) {
        m.trace.call("BeginPaint", {sim::window_text(hwnd), sim::trace_pointer(paint, "&paint")}, dc_text(dc),
                     dc ? "rcPaint " + sim::rect_text(paint->rcPaint) : "");
    }
    return dc;
}

BOOL WINAPI EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
    sim::Machine& m = machine();
    if (m.trace.on())
        m.trace.call("EndPaint", {sim::window_text(hwnd), sim::trace_pointer(paint, "&paint")}, "TRUE");
    return TRUE;
}

BOOL WINAPI DrawIcon(HDC dc, int x, int y, HICON icon) {
    sim::Machine& m = machine();
    BOOL result = dc != NULL && icon != NULL;
    if (m.trace.on()) {
        m.trace.call(
            "DrawIcon",
            {dc_text(dc), std::to_string(x), std::to_string(y),
             icon ? sim::hex(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(icon))) : "NULL"},
            sim::bool_text(result));
    }
    return result;
}

void WINAPI MessageBeep(UINT type) {
    sim::Machine& m = machine();
    if (m.trace.on())
        m.trace.call_no_return("MessageBeep", {sim::hex(type)});
    sim::beep(m);
}

int WINAPI GetSystemMetrics(int index) {
    sim::Machine& m = machine();
    int result = 0;
    const char* name = nullptr;
    for (const Metric& metric : metrics) {
        if (metric.index != index)
            continue;
        result = metric.value == -1   ? m.windows.screen_width
                 : metric.value == -2 ? m.windows.screen_height
                                      : metric.value;
        name = metric.name;
    }
    if (m.trace.on())
        m.trace.call("GetSystemMetrics", {name ? name : std::to_string(index)}, std::to_string(result));
    return result;
}
