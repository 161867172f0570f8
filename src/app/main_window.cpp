#include "app/main_window.h"

HWND gMainWindow = nullptr;
HINSTANCE gInstance = nullptr;

// The window comes with its own change; until then the start-up stops here.
int CreateMainWindow() { return 0; }

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    gMainWindow = window;
    return DefWindowProcA(window, message, wParam, lParam);
}
