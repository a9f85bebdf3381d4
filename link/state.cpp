// The link state, and the name comparison that finds the mixers.
#include "link.h"

UINT TargetMixerId = 100;
UINT SourceMixerId = 100;
HMIXER hSourceMixer = NULL;
HMIXER hTargetMixer = NULL;
ControlPair ControlPairs[6];

int BytesEqual(const char* first, const char* second, int count) {
    for (int i = 0; i < count; i++) {
        if (first[i] != second[i]) return 0;
    }
    return 1;
}
