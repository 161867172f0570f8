// The Settings dialog (template 106): the five settings, saved on OK.
#pragma once

#include <windows.h>

INT_PTR CALLBACK SettingsDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
