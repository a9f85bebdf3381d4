// The volume link's shared state: the settings, the two mixers and the table of control
// pairs. Startup writes it once; the link dialog stores the two mixer handles in it;
// change mirroring only reads it and fills the pairs' value buffers.
#pragma once

#include "framework.h"

// The thirteen values of mixtwin.ini. Position 0 is the chip code; positions 1, 2, 3,
// 12, 7 and 8 are the source control identifiers of pairs 0 to 5.
extern int SettingValues[13];

void ReadSettingValues();
void ParseSettingValues(const char* data, int count);

// 1 when the first `count` bytes of both are equal (a count of 0 or less: 1), else 0.
int BytesEqual(const char* first, const char* second, int count);

// Device numbers of the two mixers; 100 stands for not found.
extern UINT TargetMixerId;
extern UINT SourceMixerId;
extern HMIXER hSourceMixer;
extern HMIXER hTargetMixer;

enum TransferRule { STEREO_TO_MONO, STEREO_COPY, MONO_COPY };

// One watched control of the source mixer and the target control that follows it, each
// with the record and value buffer that every read and write reuses.
struct ControlPair {
    MIXERCONTROLDETAILS source;
    MIXERCONTROLDETAILS_UNSIGNED sourceValues[2];
    MIXERCONTROLDETAILS target;
    MIXERCONTROLDETAILS_UNSIGNED targetValues[2];
    TransferRule rule;
};

extern ControlPair ControlPairs[6];

// Pair 0's rule: the larger channel, unless either channel stands at 0xF000 or above.
// Writes the pair's target record itself, or nothing.
void TransferStereoToMono(MIXERCONTROLDETAILS_UNSIGNED* source, MIXERCONTROLDETAILS_UNSIGNED* target, int pair);
