// Every resource, command, control, timer and private message id of the
// program, grouped by window and dialog.  Shared by the code and the resource
// script, so it holds #defines only.
#pragma once

// Resources.
#define IDR_MAIN_MENU 101
#define IDI_HALVEXOR 102
#define IDD_ABOUT 103
#define IDD_SCHEDULE 104
#define IDD_POLL_STEP 105
#define IDD_SETTINGS 106
#define IDD_WINDOWS_VERSION 107

// Main window: menu commands; each action button has its command's id.
#define IDM_EXIT 40001
#define IDM_LOG_OFF 40002
#define IDM_POWER_OFF 40003
#define IDM_RESTART 40004
#define IDM_LOCK 40005
#define IDM_SCHEDULE 40006
#define IDM_ABOUT 40007
#define IDM_SETTINGS 40008
#define IDM_CANCEL_ACTION 40009
#define IDM_WINDOWS_VERSION 40010
#define IDM_HIBERNATE 40012
#define IDM_HELP 40013
#define IDM_STANDBY 40014
#define IDM_MONITOR_OFF 40015
#define IDM_SCREEN_SAVER 40021

// Main window: timers.  The stage timers of a schedule are 1 to 6.
#define IDT_STAGE_FIRST 1
#define IDT_STAGE_LAST 6
#define IDT_CLOCK 123
#define IDT_TRAY_WAIT 124  // the tries to add an icon the shell refused

// Main window: private messages.
#define WM_TRAY_ICON (0x8000 + 1)  // WM_APP + 1, from the notification-area icon
#define WM_SUSPENSION_DONE (0x8000 + 2)  // WM_APP + 2, from the suspension thread

// Every dialog.
#define IDC_OK 1000
#define IDC_CANCEL 1021

// Scheduling dialog (104).
#define IDC_ACTION_LOCK 1001
#define IDC_ACTION_LOG_OFF 1002
#define IDC_ACTION_RESTART 1003
#define IDC_ACTION_POWER_OFF 1004
#define IDC_ACTION_YEAR 1005
#define IDC_WAKE_YEAR 1006
#define IDC_ACTION_MONTH 1007
#define IDC_ACTION_DAY 1008
#define IDC_ACTION_HOUR 1009
#define IDC_ACTION_MINUTE 1010
#define IDC_ACTION_SECOND 1011
#define IDC_WAKE_MONTH 1012
#define IDC_POLL_STEP_BUTTON 1013
#define IDC_ACTION_REMINDER 1014
#define IDC_ACTION_HIBERNATE 1015
#define IDC_ACTION_STANDBY 1016
#define IDC_WAKE_DAY 1017
#define IDC_WAKE_HOUR 1018
#define IDC_WAKE_MINUTE 1019
#define IDC_WAKE_SECOND 1020
#define IDC_ACTION_USES_SECONDS 1022
#define IDC_ACTION_COUNTDOWN 1023
#define IDC_WAKE_USES_SECONDS 1024
#define IDC_WAKE_COUNTDOWN 1026
#define IDC_ACTION_MONITOR_OFF 1030
#define IDC_WAKE_ENABLED 1041
#define IDC_APPLY_IMMEDIATELY 1042
#define IDC_WAKE_FROM_ACTION 1043
#define IDC_ACTION_SCREEN_SAVER 1045

// Polling-step dialog (105): the step buttons, in the order of the steps 1..12,
// and the cascade.
#define IDC_STEP_1S 1001
#define IDC_STEP_2S 1002
#define IDC_STEP_3S 1003
#define IDC_STEP_4S 1004
#define IDC_STEP_5S 1014
#define IDC_STEP_6S 1015
#define IDC_STEP_10S 1016
#define IDC_STEP_12S 1017
#define IDC_STEP_15S 1018
#define IDC_STEP_20S 1019
#define IDC_STEP_30S 1020
#define IDC_STEP_60S 1030
#define IDC_STEP_CASCADE 1031

// Settings dialog (106).
#define IDC_SET_ASK 1022
#define IDC_SET_COUNTDOWN 1023
#define IDC_SET_CLOCK 1042
#define IDC_SET_WARN 1043
#define IDC_SET_WARN_SECONDS 1009

// About dialog (103).
#define IDC_BUILD_STAMP 1044

// Windows version dialog (107).
#define IDC_PLATFORM_NAME 1039
#define IDC_VERSION_LINE 1040
