// The multimedia mixer service on the simulated machine.
//
// Mixer devices are numbered from 0. Each control of a device has an identifier and one
// value per channel, an unsigned 32-bit number; every control is read and written in that
// form. A change of a control, by a person or through any handle, brings
// MM_MIXM_CONTROL_CHANGE (wParam the receiving handle, lParam the control identifier) to
// the window of every handle opened on that device with CALLBACK_WINDOW.
#pragma once

#include "win_types.h"

typedef UINT MMRESULT;
typedef struct HMIXER__* HMIXER;
typedef HMIXER* LPHMIXER;
typedef struct HMIXEROBJ__* HMIXEROBJ;
typedef UINT MMVERSION;

#define MAXPNAMELEN 32

typedef struct tagMIXERCAPSA {
    WORD wMid;
    WORD wPid;
    MMVERSION vDriverVersion;
    CHAR szPname[MAXPNAMELEN];
    DWORD fdwSupport;
    DWORD cDestinations;
} MIXERCAPSA, *LPMIXERCAPSA;

typedef struct tagMIXERCONTROLDETAILS {
    DWORD cbStruct;
    DWORD dwControlID;
    DWORD cChannels;
    union {
        HWND hwndOwner;
        DWORD cMultipleItems;
    };
    DWORD cbDetails;
    LPVOID paDetails;
} MIXERCONTROLDETAILS, *LPMIXERCONTROLDETAILS;

typedef struct tagMIXERCONTROLDETAILS_UNSIGNED {
    DWORD dwValue;
} MIXERCONTROLDETAILS_UNSIGNED, *LPMIXERCONTROLDETAILS_UNSIGNED;

#define MMSYSERR_NOERROR 0
#define MMSYSERR_ERROR 1
#define MMSYSERR_BADDEVICEID 2
#define MMSYSERR_INVALHANDLE 5
#define MMSYSERR_INVALFLAG 10
#define MMSYSERR_INVALPARAM 11
#define MIXERR_INVALCONTROL 1025

#define CALLBACK_TYPEMASK 0x00070000L
#define CALLBACK_NULL 0x00000000L
#define CALLBACK_WINDOW 0x00010000L

#define MIXER_OBJECTF_MIXER 0x00000000L
#define MIXER_OBJECTF_HMIXER 0x80000000L
#define MIXER_GETCONTROLDETAILSF_VALUE 0x00000000L
#define MIXER_SETCONTROLDETAILSF_VALUE 0x00000000L

#define MM_MIXM_LINE_CHANGE 0x3D0
#define MM_MIXM_CONTROL_CHANGE 0x3D1

// The number of mixer devices.
UINT WINAPI mixerGetNumDevs(void);
// Fills the capabilities of device `id`; `size` must be the record's size. szPname is
// the device's name, terminated. MMSYSERR_BADDEVICEID for a device that does not exist.
MMRESULT WINAPI mixerGetDevCapsA(UINT_PTR id, LPMIXERCAPSA caps, UINT size);
// Opens device `id`; *handle receives a new handle, distinct from every other and never 0.
// With CALLBACK_WINDOW, `callback` is the window that gets the device's notifications.
MMRESULT WINAPI mixerOpen(LPHMIXER handle, UINT id, DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
// Reads (Get) or writes (Set) the values of a control through a handle
// (MIXER_OBJECTF_HMIXER) or a device number (MIXER_OBJECTF_MIXER). cbStruct must be the
// record's size and cbDetails that of MIXERCONTROLDETAILS_UNSIGNED; an unknown control
// gives MIXERR_INVALCONTROL and leaves the values alone; more channels than the control
// has give MMSYSERR_INVALPARAM. One channel asked of a control with two is a uniform
// request: a write sets both channels, a read gives the first channel's value.
MMRESULT WINAPI mixerGetControlDetailsA(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags);
MMRESULT WINAPI mixerSetControlDetails(HMIXEROBJ mixer, LPMIXERCONTROLDETAILS details, DWORD flags);
