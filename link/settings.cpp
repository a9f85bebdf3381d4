// The settings file mixtwin.ini, in the system directory: only its first 200 bytes
// matter, and in them every equals sign introduces the next of thirteen entries.
#include "link.h"

int SettingValues[13];

void ReadSettingValues() {
    char path[MAX_PATH + 16];
    char data[200];
    int file;
    int count;

    // The system directory can be any length the platform allows; a directory that it
    // cannot give at all counts as a missing file rather than a file at the drive's root.
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    file = -1;
    if (length > 0 && length < MAX_PATH) {
        strcat(path, "\\mixtwin.ini");
        file = _sopen(path, _O_RDONLY | _O_TEXT, _SH_DENYNO);
    }
    if (file == -1) {
        MessageBoxA(NULL, "mixtwin.ini not found !", "Velmora Deck", MB_ICONINFORMATION);
        exit(0);
    }
    count = _read(file, data, 200);
    _close(file);
    if (count < 0) count = 0;
    ParseSettingValues(data, count);
}

void ParseSettingValues(const char* data, int count) {
    char entry[3];
    int entries = 0;

    // A position that the data gives no entry for holds 0.
    for (int k = 0; k < 13; k++) SettingValues[k] = 0;

    // An entry is the character after the equals sign and its blanks, and the one after
    // that if it is a digit. The walk goes on right after the equals sign, so an equals
    // sign taken as an entry's first character introduces the next entry too.
    for (int i = 0; i < count && entries < 13; i++) {
        if (data[i] != '=') continue;
        int j = i + 1;
        while (j < count && data[j] == ' ') j++;
        int length = 0;
        if (j < count) {
            entry[length++] = data[j];
            if (j + 1 < count && data[j + 1] >= '0' && data[j + 1] <= '9') entry[length++] = data[j + 1];
        }
        entry[length] = '\0';
        SettingValues[entries++] = atoi(entry);
    }
}
