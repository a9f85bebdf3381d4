// The resource calls, over the resources the program carries.
#include "byte_reader.h"
#include "machine.h"
#include "platform_api.h"
#include "text.h"
#include "trace_text.h"

using sim::machine;

namespace {

// The system's own icons, IDI_APPLICATION and the five after it, have handles from here.
constexpr std::uintptr_t kFirstSystemIconHandle = 0x500;
constexpr std::uintptr_t kFirstSystemIcon = 32512;

bool program_module(HMODULE module) {
    std::uintptr_t value = reinterpret_cast<std::uintptr_t>(module);
    return value == 0 || value == sim::kProgramModule;
}

// A name or type given as a number (MAKEINTRESOURCEA, or "#123") or as a string.
sim::NameOrOrdinal name_of(LPCSTR name) {
    if (IS_INTRESOURCE(name))
        return sim::NameOrOrdinal::number(static_cast<std::uint16_t>(reinterpret_cast<ULONG_PTR>(name)));
    if (name[0] == '#') {
        if (auto n = sim::parse_u32(name + 1); n && *n <= 0xFFFF)
            return sim::NameOrOrdinal::number(static_cast<std::uint16_t>(*n));
    }
    return sim::NameOrOrdinal::text(name);
}

std::string name_text(LPCSTR name) {
    if (!name)
        return "NULL";
    return name_of(name).trace_text();
}

std::string type_text(LPCSTR type) {
    if (type && IS_INTRESOURCE(type)) {
        switch (reinterpret_cast<ULONG_PTR>(type)) {
            case sim::kTypeIcon:
                return "RT_ICON";
            case sim::kTypeDialog:
                return "RT_DIALOG";
            case sim::kTypeGroupIcon:
                return "RT_GROUP_ICON";
            case sim::kTypeVersion:
                return "RT_VERSION";
            default:
                break;
        }
    }
    return name_text(type);
}

std::string module_text(HMODULE module) {
    return module ? sim::hex(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(module))) : "NULL";
}

std::string data_text(const void* data) {
    sim::Machine& m = machine();
    const sim::Resource* r = data ? m.resources.holding(data) : nullptr;
    if (!r)
        return data ? "data" : "NULL";
    return "data of " + sim::hex(static_cast<std::uint32_t>(m.resources.handle_of(*r)));
}

}  // namespace

HRSRC WINAPI FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
    sim::Machine& m = machine();
    const sim::Resource* found = nullptr;
    if (!program_module(module) || !name || !type || m.resources.all().empty()) {
        m.last_error = ERROR_RESOURCE_DATA_NOT_FOUND;
    } else {
        found = m.resources.find(name_of(type), name_of(name), m.settings.user_language);
        if (!found)
            m.last_error = ERROR_RESOURCE_NAME_NOT_FOUND;
    }
    std::uintptr_t handle = found ? m.resources.handle_of(*found) : 0;
    if (m.trace.on()) {
        m.trace.call("FindResourceA", {module_text(module), name_text(name), type_text(type)},
                     handle ? sim::hex(static_cast<std::uint32_t>(handle)) : "NULL",
                     found ? "language " + sim::hex(found->language, 4) : "");
    }
    return reinterpret_cast<HRSRC>(handle);
}

HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource) {
    sim::Machine& m = machine();
    const sim::Resource* r = program_module(module)
                                 ? m.resources.from_handle(reinterpret_cast<std::uintptr_t>(resource))
                                 : nullptr;
    HGLOBAL data = r ? const_cast<std::uint8_t*>(r->data) : NULL;
    if (!r)
        m.last_error = ERROR_RESOURCE_DATA_NOT_FOUND;
    if (m.trace.on()) {
        m.trace.call(
            "LoadResource",
            {module_text(module),
             resource ? sim::hex(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(resource)))
                      : "NULL"},
            data_text(data));
    }
    return data;
}

LPVOID WINAPI LockResource(HGLOBAL data) {
    sim::Machine& m = machine();
    if (m.trace.on())
        m.trace.call("LockResource", {data_text(data)}, data_text(data));
    return data;
}

DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource) {
    sim::Machine& m = machine();
    const sim::Resource* r = program_module(module)
                                 ? m.resources.from_handle(reinterpret_cast<std::uintptr_t>(resource))
                                 : nullptr;
    DWORD size = r ? r->size : 0;
    if (m.trace.on()) {
        m.trace.call(
            "SizeofResource",
            {module_text(module),
             resource ? sim::hex(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(resource)))
                      : "NULL"},
            std::to_string(size));
    }
    return size;
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    sim::Machine& m = machine();
    std::uintptr_t handle = 0;
    std::string outs;
    if (!instance && name && IS_INTRESOURCE(name)) {
        std::uintptr_t id = reinterpret_cast<ULONG_PTR>(name);
        if (id >= kFirstSystemIcon && id < kFirstSystemIcon + 6)
            handle = kFirstSystemIconHandle + (id - kFirstSystemIcon);
    } else if (name && program_module(instance)) {
        const sim::Resource* group = m.resources.find(sim::NameOrOrdinal::number(sim::kTypeGroupIcon),
                                                      name_of(name), m.settings.user_language);
        for (const auto& icon : m.resources.icons) {
            if (group && icon.group == group)
                handle = icon.handle;
        }
        if (group && !handle) {
            try {
                auto entries = sim::parse_group_icon(*group);
                const sim::GroupIconEntry* chosen = entries.empty() ? nullptr : &entries[0];
                for (const auto& e : entries) {
                    if (e.width == 32 && e.height == 32)
                        chosen = &e;
                }
                if (chosen &&
                    m.resources.find(sim::NameOrOrdinal::number(sim::kTypeIcon),
                                     sim::NameOrOrdinal::number(chosen->icon_id), group->language)) {
                    handle = sim::kFirstIconHandle + m.resources.icons.size();
                    m.resources.icons.push_back({handle, group, chosen->width, chosen->height});
                    outs = "icon " + std::to_string(chosen->icon_id) + ", " + std::to_string(chosen->width) +
                           "x" + std::to_string(chosen->height);
                }
            } catch (const sim::FormatError&) {
                handle = 0;
            }
        }
    }
    if (!handle)
        m.last_error = ERROR_RESOURCE_NAME_NOT_FOUND;
    if (m.trace.on()) {
        m.trace.call("LoadIconA", {module_text(instance), name_text(name)},
                     handle ? sim::hex(static_cast<std::uint32_t>(handle)) : "NULL", outs);
    }
    return reinterpret_cast<HICON>(handle);
}
