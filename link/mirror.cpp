// Change mirroring: each change of a watched control of the source mixer is read and
// written, by its pair's transfer rule, to the paired control of the target mixer. Every
// read and write reuses the pairs' fixed records and buffers.
#include "link.h"
#include "linkdlg.h"

LRESULT CLinkDlg::OnMixerControlChange(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HMIXER>(wParam) != hSourceMixer)
        return 1;

    // Each pair whose source control changed; one identifier may serve several pairs.
    for (int pair = 0; pair < 6; pair++) {
        ControlPair& p = ControlPairs[pair];
        if (static_cast<DWORD>(lParam) != p.source.dwControlID)
            continue;
        mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(hSourceMixer), &p.source,
                                MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE);
        switch (p.rule) {
            case STEREO_TO_MONO:
                // Writes the target itself, or nothing.
                TransferStereoToMono(p.sourceValues, p.targetValues, pair);
                continue;
            case STEREO_COPY:
                p.targetValues[0] = p.sourceValues[0];
                p.targetValues[1] = p.sourceValues[1];
                break;
            case MONO_COPY:
                p.targetValues[0] = p.sourceValues[0];
                break;
        }
        mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(hTargetMixer), &p.target,
                               MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
    }
    return 1;
}

void TransferStereoToMono(MIXERCONTROLDETAILS_UNSIGNED* source, MIXERCONTROLDETAILS_UNSIGNED* target,
                          int pair) {
    DWORD left = source[0].dwValue;
    DWORD right = source[1].dwValue;
    // A channel at 0xF000 or above stops the transfer: the target keeps its value.
    if (left >= 0xF000 || right >= 0xF000)
        return;
    target[0].dwValue = left > right ? left : right;
    mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(hTargetMixer), &ControlPairs[pair].target,
                           MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
}
