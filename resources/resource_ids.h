// Ids of the program's resources, commands, timer and status bar: their one home, shared by the resource
// script and the code.
#pragma once

// Commands: the ids of the controls that send them, and of the accelerators that send them too.
#define IDC_ABOUT 104
#define IDC_EXIT 105
#define IDC_REFRESH 110
#define IDC_DEVICE_LIST 111
#define IDC_START_STOP 112
#define IDC_AXIS_LIST 114
#define IDC_INVERT 115
#define IDC_SAVE 116
#define IDC_COCKPIT 118
#define IDC_EXTERNAL 119
#define IDC_CURVES_ENABLE 121
#define IDC_CURVES_RESET 122

// The window timers of the zoom pump and of the looks for a controller awaited back, and the status bar.
#define IDT_PUMP 113
#define IDT_COMEBACK 124
#define IDC_STATUS_BAR 117

// The curve editor's and the level bar's windows, and the timer that hides a keyed point's value.
#define IDC_CURVE_EDITOR 125
#define IDC_LEVEL_BAR 126
#define IDT_VALUE_TIP 127

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
