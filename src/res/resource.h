// Resource ids of Vantrel Monitor. The numbers are part of the program's contract with its
// templates and menus; they are listed once here, grouped by the window they belong to. Plain
// #defines so the resource compiler can read this file too.
#ifndef VANTREL_RES_RESOURCE_H
#define VANTREL_RES_RESOURCE_H

// Program file
#define IDI_MONITOR 128

// Main window
#define IDM_MAIN_MENU 134
#define IDI_WINDOW 133

// Notification-area icon
#define IDM_TRAY_MENU 130
#define IDI_TRAY 132

// Menu commands
#define ID_EXIT 32771
#define ID_START_CLIENT 32772
#define ID_ENABLE_URL_MONITOR 32773
#define ID_DISABLE_URL_MONITOR 32774
#define ID_OPEN 32777
#define ID_TOGGLE_URL_MONITOR 32778
#define ID_HIDE 32779
#define ID_QUEUE_TRANSFERS 32780
#define ID_RESUME_TRANSFERS 32781

// Queue Transfers dialog
#define IDD_QUEUE_TRANSFERS 1300
#define IDC_QUEUE_LIST 1000
#define IDC_REMOVE_SCHEDULE 1001
#define IDC_EDIT_SCHEDULE 1002

// Schedule Transfer dialog
#define IDD_SCHEDULE_TRANSFER 305
#define IDC_START_DATE 1242
#define IDC_START_TIME 1243
#define IDC_END_DATE 1244
#define IDC_END_TIME 1245
#define IDC_END_DATE_CHECK 1246
#define IDC_UNIT_LIST 1248
#define IDC_COUNT 1249
#define IDC_COUNT_SPIN 1250
#define IDC_TRANSFER_ONCE 1251
#define IDC_TRANSFER_EVERY 1252
#define IDC_CLEAR 1253
#define IDC_DISABLE 1254

// Countdown choice dialog
#define IDD_COUNTDOWN_CHOICE 233
#define IDC_QUESTION_ICON 1032
#define IDC_QUESTION_TEXT 1033
#define IDC_COUNTDOWN_LINE 1197

// Labels and lines that the code never addresses
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#endif
