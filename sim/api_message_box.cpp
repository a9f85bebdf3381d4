// The message box calls.
#include "machine.h"
#include "message_box.h"
#include "platform_api.h"
#include "text.h"
#include "trace_text.h"

using sim::machine;

namespace {

std::string owner_text(HWND owner) {
    return owner ? sim::hex(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(owner))) : "NULL";
}

}  // namespace

int WINAPI MessageBoxExA(HWND owner, LPCSTR text, LPCSTR caption, UINT style, WORD language) {
    sim::Machine& m = machine();
    int result = sim::run_message_box(m, text ? text : "", caption ? caption : "Error", style, language);
    m.trace.call("MessageBoxExA",
                 {owner_text(owner), sim::trace_string(text), sim::trace_string(caption), sim::box_style_text(style),
                  sim::hex(language, 4)},
                 sim::box_result_text(result));
    return result;
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
    sim::Machine& m = machine();
    int result =
        sim::run_message_box(m, text ? text : "", caption ? caption : "Error", style, m.settings.user_language);
    m.trace.call("MessageBoxA",
                 {owner_text(owner), sim::trace_string(text), sim::trace_string(caption), sim::box_style_text(style)},
                 sim::box_result_text(result));
    return result;
}
