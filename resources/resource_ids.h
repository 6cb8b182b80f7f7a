// Ids of the program's resources, shared by the resource script and the code.
#pragma once

#define IDS_APP_TITLE 103
#define IDD_ABOUT 103
#define IDI_APP_ICON 107
#define IDS_WINDOW_CLASS 109
#define IDA_SHORTCUTS 109
#define IDS_DONATE_URL 120
#define IDB_DONATE 133

// Items of the About dialog
#define IDC_ABOUT_LINK 1000
#define IDC_DONATE 1041

#define IDC_STATIC_ITEM -1
