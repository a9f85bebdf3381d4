// Identifiers of the volume link's resources.
#define IDD_HOST_DIALOG 102
#define IDR_MAINFRAME 128
#define IDD_LINK_DIALOG 129
