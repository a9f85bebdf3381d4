// The help viewer's call. The machine has neither a help viewer nor help files.
#include "machine.h"
#include "platform_api.h"
#include "text.h"
#include "trace_text.h"

BOOL WINAPI WinHelpA(HWND owner, LPCSTR help_file, UINT command, DWORD_PTR data) {
    sim::machine().trace.call(
        "WinHelpA",
        {owner ? sim::hex(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(owner))) : "NULL",
         sim::trace_string(help_file), sim::hex(command, 4), std::to_string(data)},
        "FALSE");
    return FALSE;
}
