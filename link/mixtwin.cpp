// mixtwin, the volume link: keeps six controls of the Dream wavetable chip's mixer in step
// with six watched controls of the base codec's mixer. It has no user interface.
#include "hostdlg.h"
#include "link.h"

class CLinkApp : public CWinApp {
public:
    CLinkApp() : CWinApp() {}
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLinkApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

// The one application object.
CLinkApp theApp;

static char TargetMixerName[32];
static char SourceMixerName[32];

// The control pairs: where each source identifier stands in the settings, the channels of
// each side, the target mixer's fixed control, and how the value is carried over.
static const struct {
    int setting;
    DWORD sourceChannels;
    DWORD targetControl;
    DWORD targetChannels;
    TransferRule rule;
} pairsettings[6] = {
    {1, 2, 4, 1, STEREO_TO_MONO}, {2, 2, 2, 2, STEREO_COPY}, {3, 2, 3, 2, STEREO_COPY},
    {12, 1, 10, 1, MONO_COPY},    {7, 1, 8, 1, MONO_COPY},   {8, 1, 9, 1, MONO_COPY},
};

static void FillRecord(MIXERCONTROLDETAILS* record, DWORD control, DWORD channels,
                       MIXERCONTROLDETAILS_UNSIGNED* values) {
    record->cbStruct = sizeof(MIXERCONTROLDETAILS);
    record->dwControlID = control;
    record->cChannels = channels;
    record->cMultipleItems = 0;
    record->cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
    record->paDetails = values;
}

BOOL CLinkApp::InitInstance() {
    ReadSettingValues();

    // Choose the source mixer by the chip code; any other code ends the program before the
    // mixer service is asked anything.
    strcpy(TargetMixerName, "Dream Sound Studio Mixer");
    if (SettingValues[0] == 36) {
        strcpy(SourceMixerName, "Windows Sound System");
    } else if (SettingValues[0] == 68) {
        strcpy(SourceMixerName, "ESS AudioDrive Mixer");
    } else {
        exit(0);
    }

    // Find both devices by the beginning of their names; the highest-numbered match wins,
    // so a second card's mixer takes over. 100 stands for not found.
    TargetMixerId = 100;
    SourceMixerId = 100;
    UINT count = mixerGetNumDevs();
    for (UINT id = 0; id < count; id++) {
        MIXERCAPSA caps;
        // A device whose capabilities cannot be read has no name and matches nothing.
        memset(&caps, 0, sizeof caps);
        mixerGetDevCapsA(id, &caps, sizeof caps);
        if (BytesEqual(caps.szPname, TargetMixerName, 24)) TargetMixerId = id;
        if (BytesEqual(caps.szPname, SourceMixerName, 20)) SourceMixerId = id;
    }
    if (SourceMixerId == 100 || TargetMixerId == 100) exit(0);

    // Fill the control pair table; a negative identifier keeps its 32 bits.
    for (int pair = 0; pair < 6; pair++) {
        ControlPair& p = ControlPairs[pair];
        FillRecord(&p.source, (DWORD)SettingValues[pairsettings[pair].setting], pairsettings[pair].sourceChannels,
                   p.sourceValues);
        FillRecord(&p.target, pairsettings[pair].targetControl, pairsettings[pair].targetChannels, p.targetValues);
        p.rule = pairsettings[pair].rule;
    }

    // The host dialog is the main window; its modal run is the program's working life.
    // When it ends, FALSE ends the process without the framework's own message loop.
    CHostDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    return FALSE;
}
