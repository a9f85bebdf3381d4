// The dialog calls, over the machine's dialog manager.
#include <limits>

#include "byte_reader.h"
#include "dialogs.h"
#include "machine.h"
#include "message_names.h"
#include "platform_api.h"
#include "text.h"
#include "trace_text.h"

using sim::machine;

namespace {

// A template from the program's resources is named by its resource.
std::string template_text(const void* dialog_template) {
    if (!dialog_template)
        return "NULL";
    const sim::Resource* r = machine().resources.holding(dialog_template);
    return r ? "dialog " + r->name.trace_text() : "template";
}

}  // namespace

HWND WINAPI CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialog_template, HWND owner,
                                       DLGPROC procedure, LPARAM param) {
    sim::Machine& m = machine();
    auto trace = [&](const std::string& result, const std::string& outs) {
        if (!m.trace.on())
            return;
        m.trace.call("CreateDialogIndirectParamA",
                     {sim::hex(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(instance))),
                      template_text(dialog_template), sim::window_text(owner),
                      procedure ? "procedure" : "NULL", param ? "param" : "0"},
                     result, outs);
    };
    if (!dialog_template) {
        m.last_error = ERROR_INVALID_PARAMETER;
        trace("NULL", "");
        return NULL;
    }
    if (owner && !m.windows.find(owner)) {
        m.last_error = ERROR_INVALID_WINDOW_HANDLE;
        trace("NULL", "");
        return NULL;
    }
    // A template of the program's resources ends with its resource; one elsewhere in
    // memory is read as far as it goes, as Windows reads it.
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(dialog_template);
    std::size_t size = std::numeric_limits<std::size_t>::max() / 2;
    if (const sim::Resource* r = m.resources.holding(bytes))
        size = static_cast<std::size_t>(r->data + r->size - bytes);
    sim::DialogTemplate t;
    try {
        t = sim::parse_dialog_template(bytes, size);
    } catch (const sim::FormatError& error) {
        m.last_error = ERROR_INVALID_PARAMETER;
        trace("NULL", std::string("the template cannot be read: ") + error.what());
        return NULL;
    }
    sim::Window& w = sim::make_dialog_window(m, reinterpret_cast<std::uintptr_t>(instance), t,
                                             reinterpret_cast<std::uintptr_t>(owner), procedure);
    std::uintptr_t handle = w.handle;
    trace(sim::window_text(handle), m.windows.state_text(w));
    return sim::finish_dialog(m, handle, t, param) ? reinterpret_cast<HWND>(handle) : NULL;
}

LRESULT WINAPI DefDlgProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    sim::Machine& m = machine();
    if (m.trace.on()) {
        m.trace.call_no_return("DefDlgProcA", {sim::window_text(hwnd), sim::message_name(message),
                                               sim::hex(static_cast<std::uint32_t>(wParam)),
                                               sim::hex(static_cast<std::uint32_t>(lParam))});
    }
    return sim::default_dialog_processing(m, hwnd, message, wParam, lParam);
}

BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG msg) {
    sim::Machine& m = machine();
    sim::Window* d = m.windows.find(dialog);
    bool taken = d && msg && m.windows.within(d->handle, reinterpret_cast<std::uintptr_t>(msg->hwnd));
    // Written before the dialog manager acts, so that what it sends follows.
    if (m.trace.on()) {
        m.trace.call("IsDialogMessageA", {sim::window_text(dialog), msg ? sim::msg_text(*msg) : "NULL"},
                     sim::bool_text(taken));
    }
    if (!taken)
        return FALSE;
    sim::dialog_message(m, dialog, *msg);
    return TRUE;
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
    sim::Machine& m = machine();
    BOOL ok = sim::end_dialog(m, reinterpret_cast<std::uintptr_t>(dialog), result);
    if (!ok)
        m.last_error = ERROR_INVALID_WINDOW_HANDLE;
    if (m.trace.on()) {
        sim::Window* w = m.windows.find(dialog);
        m.trace.call("EndDialog", {sim::window_text(dialog), std::to_string(result)}, sim::bool_text(ok),
                     w ? m.windows.state_text(*w) : "");
    }
    return ok;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
    sim::Machine& m = machine();
    sim::Window* item =
        sim::dialog_item(m, reinterpret_cast<std::uintptr_t>(dialog), static_cast<std::uint32_t>(id));
    std::uintptr_t result = item ? item->handle : 0;
    if (m.trace.on())
        m.trace.call("GetDlgItem", {sim::window_text(dialog), std::to_string(id)}, sim::window_text(result));
    return reinterpret_cast<HWND>(result);
}
