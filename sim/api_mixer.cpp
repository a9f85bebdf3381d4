// The multimedia mixer service's calls, over the machine's mixer devices. The calls that
// change mirroring makes for every notification allocate nothing when no trace is kept.
#include <string>

#include "machine.h"
#include "platform_api.h"
#include "text.h"
#include "trace_text.h"

using sim::machine;

namespace {

std::string mm_result_text(MMRESULT result) {
    switch (result) {
        case MMSYSERR_NOERROR: return "MMSYSERR_NOERROR";
        case MMSYSERR_BADDEVICEID: return "MMSYSERR_BADDEVICEID";
        case MMSYSERR_INVALHANDLE: return "MMSYSERR_INVALHANDLE";
        case MMSYSERR_INVALFLAG: return "MMSYSERR_INVALFLAG";
        case MMSYSERR_INVALPARAM: return "MMSYSERR_INVALPARAM";
        case MIXERR_INVALCONTROL: return "MIXERR_INVALCONTROL";
        default: return std::to_string(result);
    }
}

std::string handle_text(std::uintptr_t value) { return sim::hex(static_cast<std::uint32_t>(value)); }

std::string details_flags_text(DWORD flags) {
    std::string out = (flags & 0xF0000000u) == MIXER_OBJECTF_HMIXER ? "MIXER_OBJECTF_HMIXER" : "MIXER_OBJECTF_MIXER";
    if (flags & 0x0FFFFFFFu) out += "|" + sim::hex(flags & 0x0FFFFFFFu);
    return out;
}

std::string values_text(const MIXERCONTROLDETAILS* details) {
    std::string out;
    const auto* values = static_cast<const MIXERCONTROLDETAILS_UNSIGNED*>(details->paDetails);
    for (DWORD ch = 0; ch < details->cChannels && ch < 2; ch++) {
        if (ch) out += ", ";
        out += sim::hex(values[ch].dwValue, 4);
    }
    return out;
}

std::string record_text(const MIXERCONTROLDETAILS* details) {
    if (!details) return "NULL";
    return "{control " + std::to_string(details->dwControlID) + ", " + std::to_string(details->cChannels) +
           " channel" + (details->cChannels == 1 ? "" : "s") + "}";
}

// The device a mixer object names, or the error the call gives.
MMRESULT device_of(HMIXEROBJ object, DWORD flags, std::size_t& device) {
    sim::Machine& m = machine();
    std::uintptr_t value = reinterpret_cast<std::uintptr_t>(object);
    switch (flags & 0xF0000000u) {
        case MIXER_OBJECTF_HMIXER: {
            const sim::MixerHandle* h = m.mixers.handle(value);
            if (!h) return MMSYSERR_INVALHANDLE;
            device = h->device;
            return MMSYSERR_NOERROR;
        }
        case MIXER_OBJECTF_MIXER:
            if (value >= m.mixers.devices.size()) return MMSYSERR_BADDEVICEID;
            device = value;
            return MMSYSERR_NOERROR;
        default: return MMSYSERR_INVALFLAG;
    }
}

// Checks a details request and finds its control.
MMRESULT control_of(HMIXEROBJ object, LPMIXERCONTROLDETAILS details, DWORD flags, std::size_t& device,
                    sim::MixerControl*& control) {
    if ((flags & 0x0FFFFFFFu) != MIXER_GETCONTROLDETAILSF_VALUE) return MMSYSERR_INVALFLAG;
    MMRESULT result = device_of(object, flags, device);
    if (result != MMSYSERR_NOERROR) return result;
    if (!details || details->cbStruct != sizeof(MIXERCONTROLDETAILS) ||
        details->cbDetails != sizeof(MIXERCONTROLDETAILS_UNSIGNED) || details->cMultipleItems != 0 ||
        !details->paDetails || details->cChannels == 0) {
        return MMSYSERR_INVALPARAM;
    }
    control = machine().mixers.devices[device].control(details->dwControlID);
    if (!control) return MIXERR_INVALCONTROL;
    if (details->cChannels > control->values.size()) return MMSYSERR_INVALPARAM;
    return MMSYSERR_NOERROR;
}

}  // namespace

UINT WINAPI mixerGetNumDevs(void) {
    sim::Machine& m = machine();
    UINT count = static_cast<UINT>(m.mixers.devices.size());
    if (m.trace.on()) m.trace.call("mixerGetNumDevs", {}, std::to_string(count));
    return count;
}

MMRESULT WINAPI mixerGetDevCapsA(UINT_PTR id, LPMIXERCAPSA caps, UINT size) {
    sim::Machine& m = machine();
    MMRESULT result = MMSYSERR_NOERROR;
    std::size_t device = id;
    if (const sim::MixerHandle* h = m.mixers.handle(id)) device = h->device;
    if (device >= m.mixers.devices.size()) {
        result = MMSYSERR_BADDEVICEID;
    } else if (!caps) {
        result = MMSYSERR_INVALPARAM;
    } else {
        MIXERCAPSA filled;
        memset(&filled, 0, sizeof filled);
        filled.wMid = 1;
        filled.wPid = static_cast<WORD>(device + 1);
        filled.vDriverVersion = 0x0400;
        const std::string& name = m.mixers.devices[device].name;
        memcpy(filled.szPname, name.c_str(), name.size() + 1);
        filled.cDestinations = 1;
        // As much of the record as the caller's size holds.
        memcpy(caps, &filled, size < sizeof filled ? size : sizeof filled);
    }
    if (m.trace.on()) {
        m.trace.call("mixerGetDevCapsA", {std::to_string(id), sim::trace_pointer(caps, "&caps"), std::to_string(size)},
                     mm_result_text(result),
                     result == MMSYSERR_NOERROR ? "szPname " + sim::c_literal(m.mixers.devices[device].name) : "");
    }
    return result;
}

MMRESULT WINAPI mixerOpen(LPHMIXER handle, UINT id, DWORD_PTR callback, DWORD_PTR instance, DWORD flags) {
    sim::Machine& m = machine();
    MMRESULT result = MMSYSERR_NOERROR;
    std::uintptr_t opened = 0;
    DWORD kind = flags & CALLBACK_TYPEMASK;
    if (!handle) {
        result = MMSYSERR_INVALPARAM;
    } else if (id >= m.mixers.devices.size()) {
        result = MMSYSERR_BADDEVICEID;
    } else if (kind != CALLBACK_NULL && kind != CALLBACK_WINDOW) {
        result = MMSYSERR_INVALFLAG;
    } else if (kind == CALLBACK_WINDOW && callback == 0) {
        result = MMSYSERR_INVALPARAM;
    } else {
        opened = m.mixers.open(id, kind == CALLBACK_WINDOW ? callback : 0);
    }
    if (handle) *handle = reinterpret_cast<HMIXER>(opened);
    if (m.trace.on()) {
        m.trace.call("mixerOpen",
                     {sim::trace_pointer(handle, "&handle"), std::to_string(id),
                      callback ? sim::hex(static_cast<std::uint32_t>(callback)) : "0", std::to_string(instance),
                      kind == CALLBACK_WINDOW ? "CALLBACK_WINDOW" : kind == CALLBACK_NULL ? "CALLBACK_NULL" : sim::hex(flags)},
                     mm_result_text(result), opened ? handle_text(opened) : "");
    }
    return result;
}

MMRESULT WINAPI mixerGetControlDetailsA(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags) {
    sim::Machine& m = machine();
    std::size_t device = 0;
    sim::MixerControl* control = nullptr;
    MMRESULT result = control_of(mixer, details, flags, device, control);
    if (result == MMSYSERR_NOERROR) {
        auto* values = static_cast<MIXERCONTROLDETAILS_UNSIGNED*>(details->paDetails);
        for (DWORD ch = 0; ch < details->cChannels; ch++) values[ch].dwValue = control->values[ch];
    }
    if (m.trace.on()) {
        m.trace.call("mixerGetControlDetailsA",
                     {handle_text(reinterpret_cast<std::uintptr_t>(mixer)), record_text(details), details_flags_text(flags)},
                     mm_result_text(result), result == MMSYSERR_NOERROR ? values_text(details) : "");
    }
    return result;
}

MMRESULT WINAPI mixerSetControlDetails(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags) {
    sim::Machine& m = machine();
    std::size_t device = 0;
    sim::MixerControl* control = nullptr;
    MMRESULT result = control_of(mixer, details, flags, device, control);
    if (m.trace.on()) {
        m.trace.call("mixerSetControlDetails",
                     {handle_text(reinterpret_cast<std::uintptr_t>(mixer)), record_text(details) +
                          (result == MMSYSERR_NOERROR ? " = " + values_text(details) : ""),
                      details_flags_text(flags)},
                     mm_result_text(result));
    }
    if (result == MMSYSERR_NOERROR) {
        const auto* values = static_cast<const MIXERCONTROLDETAILS_UNSIGNED*>(details->paDetails);
        std::uint32_t channel_values[2] = {values[0].dwValue, details->cChannels > 1 ? values[1].dwValue : 0};
        m.mixers.change(device, *control, channel_values, details->cChannels);
    }
    return result;
}
