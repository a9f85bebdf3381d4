// dropcard: removes the sound card's software from a Windows 95 machine.
//
// Asks the user first, in the user's language, unless any argument text is given; then
// removes the card's registry entries and files, and reports completion. Failures of
// single registry or file operations are passed over: the run always goes on, and the
// program always ends with exit status 0.
#include "platform.h"

// The language of both boxes and their two texts, chosen once at the start.
static LANGID langage;
static char mesbox1[100];
static char mesbox2[100];

// One row of the language table: the user languages that select it (a zero ends the
// list), the language handed to the boxes, and the texts in code page 1252.
struct LanguageRow {
    LANGID ids[21];
    LANGID boxlanguage;
    const char* question;
    const char* completion;
};

static const LanguageRow languages[] = {
    // German
    {{0x0407, 0x0807, 0x0C07, 0x1007, 0x1407, 0},
     0x0407,
     "Sind Sie sicher, da\xDF Sie Ihre Soundkarte deinstallieren wollen ?",
     "     Deinstallation beendet.    "},
    // Spanish
    {{0x040A, 0x080A, 0x0C0A, 0x100A, 0x140A, 0x180A, 0x1C0A, 0x200A, 0x240A, 0x280A, 0x2C0A,
      0x300A, 0x340A, 0x380A, 0x3C0A, 0x400A, 0x440A, 0x480A, 0x4C0A, 0x500A, 0},
     0x040A,
     "\xBFQuieres realmente desinstalar tu tarjeta de sonido ?",
     "     Desinstalaci\xF3n completa.     "},
    // French
    {{0x040C, 0x080C, 0x0C0C, 0x100C, 0x140C, 0},
     0x040C,
     "Voulez-vous r\xE9"
     "ellement d\xE9"
     "sinstaller votre carte son ?",
     "    D\xE9"
     "sinstallation achev\xE9"
     "e.    "},
    // Dutch
    {{0x0413, 0x0813, 0},
     0x0413,
     "Weet u zeker dat u de geluidskaart wilt de-installeren ?",
     "    De-installatie voltooid.   "},
};

// The card's four logical devices, as the plug-and-play enumerator numbers them.
static const char* const devnum[4] = {"0", "1", "2", "3"};

// The keys removed after the read phase, in their order. A key is a fixed path, with
// either nothing appended, or the device's driver key name (its class key), or a
// driver's file name and the device's instance suffix (a multimedia resource key).
enum Appended { NOTHING, CLASS_KEY, RESOURCE_KEY };

struct KeyStep {
    const char* path;
    Appended appended;
    int device;
    const char* driver;
};

static const KeyStep keysteps[] = {
    {"Enum\\ISAPNP\\ESS1868_DEV0000", NOTHING, 0, NULL},
    {"Enum\\ISAPNP\\ESS1868_DEV0001", NOTHING, 0, NULL},
    {"Enum\\ISAPNP\\ESS1868_DEV0002", NOTHING, 0, NULL},
    {"Enum\\ISAPNP\\ESS1868_DEV0003", NOTHING, 0, NULL},
    {"System\\CurrentControlSet\\Services\\Class\\", CLASS_KEY, 0, NULL},
    {"System\\CurrentControlSet\\Services\\Class\\", CLASS_KEY, 1, NULL},
    {"System\\CurrentControlSet\\Control\\MediaResources\\aux\\", RESOURCE_KEY, 1, "es1868.drv"},
    {"System\\CurrentControlSet\\Control\\MediaResources\\mixer\\", RESOURCE_KEY, 1, "es1868.drv"},
    {"System\\CurrentControlSet\\Control\\MediaResources\\wave\\", RESOURCE_KEY, 1, "es1868.drv"},
    {"System\\CurrentControlSet\\Control\\MediaResources\\midi\\", RESOURCE_KEY, 1, "esfm.drv"},
    {"System\\CurrentControlSet\\Control\\MediaResources\\midi\\", RESOURCE_KEY, 1, "essmpu.drv"},
    {"System\\CurrentControlSet\\Services\\Class\\", CLASS_KEY, 2, NULL},
    {"System\\CurrentControlSet\\Control\\MediaResources\\joystick\\", RESOURCE_KEY, 2, "msjstick.drv"},
    {"System\\CurrentControlSet\\Services\\Class\\", CLASS_KEY, 3, NULL},
    {"System\\CurrentControlSet\\Control\\MediaResources\\midi\\", RESOURCE_KEY, 3, "dream95.drv"},
    {"System\\CurrentControlSet\\Control\\MediaResources\\mixer\\", RESOURCE_KEY, 3, "dream95.drv"},
    {"System\\CurrentControlSet\\Control\\MediaResources\\wave\\", RESOURCE_KEY, 3, "dream95.drv"},
    {"System\\CurrentControlSet\\Control\\MediaResources\\Dream", NOTHING, 0, NULL},
};

// The files removed, in their order: from the Windows directory or the system directory.
struct FileStep {
    BOOL system;
    const char* name;
};

static const FileStep filesteps[] = {
    {FALSE, "\\bank5120.bin"}, {FALSE, "\\loadbank.exe"}, {FALSE, "\\fxsetup.exe"},
    {TRUE, "\\es1868.drv"},    {TRUE, "\\es1868.vxd"},    {TRUE, "\\esfm.drv"},
    {TRUE, "\\essfm.drv"},     {TRUE, "\\essmport.drv"},  {TRUE, "\\essmpu.drv"},
    {TRUE, "\\dream95.drv"},   {TRUE, "\\dream95.vxd"},   {TRUE, "\\mixtwin.exe"},
    {TRUE, "\\mixtwin.ini"},   {FALSE, "\\inf\\"},        {FALSE, "\\inf\\other\\"},
};
static const int firstinfstep = 13;

// The length of the string in the first `size` bytes of a value, or -1 when those bytes
// hold no terminating zero.
static int TerminatedLength(const char* value, DWORD size) {
    for (DWORD i = 0; i < size; i++) {
        if (value[i] == '\0') return (int)i;
    }
    return -1;
}

// A Driver value names a key of the driver classes only when it is a class name, one
// backslash and an instance name, neither part empty: anything else would name a whole
// class, or every class on the machine.
static BOOL NamesDriverInstance(const char* value, DWORD size) {
    int length = TerminatedLength(value, size);
    if (length < 3) return FALSE;
    const char* slash = strchr(value, '\\');
    return slash != NULL && slash != value && slash[1] != '\0' && strchr(slash + 1, '\\') == NULL;
}

// The INF file name is used only when it names a plain file in the INF folders: a name
// that is empty, holds a path separator or a drive, or names a folder is not.
static BOOL NamesPlainFile(const char* value, DWORD size) {
    int length = TerminatedLength(value, size);
    if (length < 1) return FALSE;
    if (strpbrk(value, "\\/:") != NULL) return FALSE;
    return strcmp(value, ".") != 0 && strcmp(value, "..") != 0;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    (void)hInstance;
    (void)hPrevInstance;
    (void)nCmdShow;

    LANGID langid;
    int message_choice;
    char subkey[MAX_PATH + 40];
    char subkeyname[20];
    HKEY keyhandle;
    DWORD size;
    LONG result;
    char mediaval[4][20];
    int media[4] = {0, 0, 0, 0};
    char ldnumber[4][7];
    char infpath[20];
    int n;

    // Choose the language: English unless the user's language is in one of the lists.
    langid = GetUserDefaultLangID();
    langage = 0x0409;
    strcpy(mesbox1, "Do you really want to uninstall your sound card ?");
    strcpy(mesbox2, "    Uninstall complete.    ");
    for (const LanguageRow& row : languages) {
        for (int i = 0; row.ids[i] != 0; i++) {
            if (row.ids[i] == langid) {
                langage = row.boxlanguage;
                strcpy(mesbox1, row.question);
                strcpy(mesbox2, row.completion);
            }
        }
    }

    // Any argument text means the silent run; otherwise ask first. A box that cannot be
    // shown counts as consent.
    BOOL silent = strcmp(lpCmdLine, "") != 0;
    if (!silent) {
        message_choice = MessageBoxExA(NULL, mesbox1, "Velmora", MB_YESNO | MB_ICONSTOP | MB_SYSTEMMODAL, langage);
        if (message_choice == IDNO) exit(0);
    }

    // Read the driver key name of each of the card's devices before anything is deleted.
    for (n = 0; n < 4; n++) {
        strcpy(subkey, "Enum\\ISAPNP\\ESS1868_DEV000");
        strcat(subkey, devnum[n]);
        strcat(subkey, "\\FFFFFFFF");
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_READ, &keyhandle) == ERROR_SUCCESS) {
            strcpy(subkeyname, "Driver");
            size = 20;
            result = RegQueryValueExA(keyhandle, subkeyname, NULL, NULL, (LPBYTE)mediaval[n], &size);
            RegCloseKey(keyhandle);
            media[n] = (result == ERROR_SUCCESS) && NamesDriverInstance(mediaval[n], size);
        }
    }

    // The instance suffix "<nnnn>" of each device read: characters 7 to 10 of its driver
    // key name. A shorter name has no suffix, and its resource keys are left alone.
    for (n = 0; n < 4; n++) {
        ldnumber[n][0] = '\0';
        if (media[n] && strlen(mediaval[n]) >= 10) {
            ldnumber[n][0] = '<';
            memcpy(&ldnumber[n][1], &mediaval[n][6], 4);
            ldnumber[n][5] = '>';
            ldnumber[n][6] = '\0';
        }
    }

    // The INF file's name, from device 0's class key, before that key goes.
    infpath[0] = '\0';
    if (media[0]) {
        strcpy(subkey, "System\\CurrentControlSet\\Services\\Class\\");
        strcat(subkey, mediaval[0]);
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_READ, &keyhandle) == ERROR_SUCCESS) {
            strcpy(subkeyname, "InfPath");
            size = 20;
            result = RegQueryValueExA(keyhandle, subkeyname, NULL, NULL, (LPBYTE)infpath, &size);
            RegCloseKey(keyhandle);
            if (result != ERROR_SUCCESS || !NamesPlainFile(infpath, size)) infpath[0] = '\0';
        }
    }

    // Remove the card's keys; each deletion takes everything below the key with it.
    for (const KeyStep& step : keysteps) {
        strcpy(subkey, step.path);
        if (step.appended == CLASS_KEY) {
            if (!media[step.device]) continue;
            strcat(subkey, mediaval[step.device]);
        } else if (step.appended == RESOURCE_KEY) {
            if (!media[step.device] || ldnumber[step.device][0] == '\0') continue;
            strcat(subkey, step.driver);
            strcat(subkey, ldnumber[step.device]);
        }
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, subkey);
    }

    // The start-up value, by name, and the uninstall key.
    strcpy(subkey, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_SET_VALUE, &keyhandle) == ERROR_SUCCESS) {
        RegDeleteValueA(keyhandle, "VelmoraDk");
        RegCloseKey(keyhandle);
    }
    strcpy(subkey, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora");
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, subkey);

    // Delete the card's files, fetching the directory anew for each. A directory the
    // platform cannot give leaves the row out, so no name is ever tried at a drive's root.
    for (int step = 0; step < (int)(sizeof filesteps / sizeof filesteps[0]); step++) {
        if (step >= firstinfstep && infpath[0] == '\0') continue;
        UINT length = filesteps[step].system ? GetSystemDirectoryA(subkey, MAX_PATH)
                                             : GetWindowsDirectoryA(subkey, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) continue;
        strcat(subkey, filesteps[step].name);
        if (step >= firstinfstep) strcat(subkey, infpath);
        _unlink(subkey);
    }

    if (!silent) {
        MessageBoxExA(NULL, mesbox2, "Velmora", MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL, langage);
    }
    exit(0);
}
