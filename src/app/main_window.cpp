#include "app/main_window.h"

#include <shellapi.h>
#include <windowsx.h>

#include "actions/actions.h"
#include "actions/power_requests.h"
#include "app/commands.h"
#include "app/status_display.h"
#include "app/window_layout.h"
#include "base/bitmap_file.h"
#include "base/data_folder.h"
#include "base/ids.h"
#include "base/message_filter.h"
#include "base/os_level.h"
#include "base/wide_text.h"
#include "schedule/schedule_state.h"
#include "schedule/trigger_timers.h"

HWND gMainWindow = nullptr;
HINSTANCE gInstance = nullptr;

// The icon record with the balloon fields: 488 bytes on 32-bit Windows.
#if defined(_WIN32) && !defined(_WIN64)
static_assert(NOTIFYICONDATAA_V2_SIZE == 488, "the tray icon record of 32-bit Windows");
#endif

namespace {

const char kClassName[] = "WinAPIMainClass";
const char kTitle[] = "Halvexor";
const DWORD kStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// The buttons and the clock panel are laid out for this client area; the
// frame around it grows with the desktop's title and menu bars.
const int kClientWidth = 349;
const int kClientHeight = 241;

enum : int {
    kHideNormal = 0,
    kHidePressed = 100,
};
int hideButtonState = kHideNormal;

// The message the shell broadcasts when it starts again (after a crash of the
// taskbar, say): every tray icon is gone then and must be added anew, or a
// hidden window could never be brought back.
UINT taskbarCreatedMessage = 0;

// The icon is not there: the shell refused it at the start (a logon before
// the taskbar exists, or while it is busy) or when it came back after a
// restart.  The system's advice is to wait and try again: every
// power::TrayRetryMs() and on every TaskbarCreated, kTrayTries times in all,
// three minutes at least.  Then a start gives up as it would have at once (a
// box, exit -4), and after a restart the window is shown, the only way left
// to reach the program.
const int kTrayTries = 45;
int trayTriesLeft = 0;    // 0 while the icon is there or nobody tries any more
bool trayAtStart = false;  // the tries began with the program's start
bool trayIconThere = false;

void RetryTrayIcon(HWND window, bool atStart) {
    if (trayTriesLeft == 0) trayAtStart = atStart;
    trayTriesLeft = kTrayTries;
    SetTimer(window, IDT_TRAY_WAIT, power::TrayRetryMs(), nullptr);
}

struct ButtonSpec {
    const char* text;
    int id;
    int x, y, width, height;
    bool enabled;
};

const ButtonSpec kButtons[] = {
    {"Konec", IDM_EXIT, 240, 195, 100, 30, true},
    {"Spořič obrazovky", IDM_SCREEN_SAVER, 10, 10, 90, 22, false},
    {"Vypnout monitor", IDM_MONITOR_OFF, 10, 35, 90, 22, false},
    {"Zamknout", IDM_LOCK, 10, 60, 90, 22, false},
    {"Odhlásit se", IDM_LOG_OFF, 10, 85, 90, 22, false},
    {"Restartovat", IDM_RESTART, 10, 110, 90, 22, false},
    {"Hibernovat", IDM_HIBERNATE, 10, 135, 90, 22, false},
    {"Úsporný režim", IDM_STANDBY, 10, 160, 90, 22, false},
    {"Vypnout", IDM_POWER_OFF, 10, 185, 90, 22, false},
    {"Načasovat akci", IDM_SCHEDULE, 110, 10, 90, 22, true},
    {"Zrušit akci", IDM_CANCEL_ACTION, 110, 35, 90, 22, true},
};
const int kButtonCount = sizeof kButtons / sizeof kButtons[0];
HWND buttons[kButtonCount];

// The layout's scale in 96ths (see LayoutScale), set before the window is made.
int layoutScale = kLayoutBase;

// The scale for this desktop: its DPI, and the captions measured in the
// buttons' font, the stock GUI font the system makes larger with the DPI.
int MeasureLayoutScale() {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return kLayoutBase;
    }
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    const HGDIOBJ previous = SelectObject(screen, GetStockObject(DEFAULT_GUI_FONT));
    CaptionFit captions[kButtonCount];
    for (int i = 0; i < kButtonCount; ++i) {
        const WideText text(kButtons[i].text);
        SIZE size = {};
        GetTextExtentPoint32W(screen, text, text.Length(), &size);
        captions[i] = {static_cast<int>(size.cx), kButtons[i].width};
    }
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return LayoutScale(dpi, captions, kButtonCount);
}

// What each level enables: buttons of the main window (by command id) with
// their Akce positions.  The scheduling dialog enables its choices alike.
struct LevelStep {
    int32_t threshold;
    int commands[4];
    int positions[4];
};

const LevelStep kLevelSteps[] = {
    {kThresholdBasic, {IDM_RESTART, IDM_POWER_OFF, IDM_MONITOR_OFF, IDM_SCREEN_SAVER}, {5, 7, 1, 0}},
    {kThresholdSession, {IDM_LOCK, IDM_LOG_OFF, 0, 0}, {3, 4, -1, -1}},
    {kThresholdSuspend, {IDM_HIBERNATE, IDM_STANDBY, 0, 0}, {6, 2, -1, -1}},
};

HWND ButtonFor(int id) {
    for (size_t i = 0; i < sizeof kButtons / sizeof kButtons[0]; ++i) {
        if (kButtons[i].id == id) return buttons[i];
    }
    return nullptr;
}

NOTIFYICONDATAA TrayRecord() {
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    icon.hWnd = gMainWindow;
    icon.uID = 1;
    return icon;
}

// Adds the icon with its balloon; false when the class has no small icon or
// the shell refused.
bool AddTrayIconQuietly() {
    NOTIFYICONDATAA icon = TrayRecord();
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
    icon.uCallbackMessage = WM_TRAY_ICON;
    icon.hIcon = reinterpret_cast<HICON>(GetClassLongPtrA(gMainWindow, GCLP_HICONSM));
    if (icon.hIcon == nullptr) {
        return false;
    }
    lstrcpynA(icon.szTip, kTitle, sizeof icon.szTip);
    lstrcpynA(icon.szInfo, "Halvexor !", sizeof icon.szInfo);
    icon.uTimeout = 10000;
    lstrcpynA(icon.szInfoTitle, kTitle, sizeof icon.szInfoTitle);
    icon.dwInfoFlags = NIIF_INFO;
    trayIconThere = power::NotifyIcon(NIM_ADD, &icon) != FALSE;
    return trayIconThere;
}

// One more try to add the icon; the last one that fails gives up.
void HandleTrayRetry(HWND window) {
    if (AddTrayIconQuietly()) {
        trayTriesLeft = 0;
        KillTimer(window, IDT_TRAY_WAIT);
        return;
    }
    if (--trayTriesLeft > 0) return;
    KillTimer(window, IDT_TRAY_WAIT);
    if (!trayAtStart) {
        ShowWindow(window, SW_RESTORE);
        SetForegroundWindow(window);
        return;
    }
    // The box; a taskbar that comes while it is open gets the icon, and the
    // program goes on.
    AddTrayIcon();
    if (!trayIconThere) {
        PostQuitMessage(-4);
    }
}

bool IsCaptionButton(LRESULT hit) {
    return hit == HTMINBUTTON || hit == HTMAXBUTTON || hit == HTCLOSE || hit == HTHELP;
}

// The hide button in window coordinates, beside the caption buttons the
// system draws for its current metrics and clear of where its hit test takes
// a click for one of them; false while the window is minimized and has no
// title bar to draw in.
bool HideButtonPlace(RECT* place) {
    RECT window, client;
    if (IsIconic(gMainWindow) || !GetWindowRect(gMainWindow, &window) ||
        !GetClientRect(gMainWindow, &client)) {
        return false;
    }
    MapWindowPoints(gMainWindow, nullptr, reinterpret_cast<POINT*>(&client), 2);
    CaptionMetrics metrics = {window.right - window.left, window.right - client.right,
                              window.bottom - client.bottom, GetSystemMetrics(SM_CXSIZE),
                              GetSystemMetrics(SM_CYSIZE), 0};
    const PixelBox minimize = MinimizeButtonBox(metrics);
    // Walk left from the drawn button while the system still hit-tests a button.
    const int y = window.top + (minimize.top + minimize.bottom) / 2;
    int left = minimize.left;
    while (left > minimize.left - metrics.buttonWidth &&
           IsCaptionButton(DefWindowProcA(gMainWindow, WM_NCHITTEST, 0,
                                          MAKELPARAM(window.left + left - 1, y)))) {
        --left;
    }
    metrics.buttonsHitLeft = left;
    const PixelBox box = HideButtonBox(metrics);
    *place = {box.left, box.top, box.right, box.bottom};
    return true;
}

void HandleHideButtonDown(LPARAM lParam) {
    RECT place, window;
    if (!HideButtonPlace(&place) || !GetWindowRect(gMainWindow, &window)) {
        return;
    }
    const POINT point = {GET_X_LPARAM(lParam) - window.left, GET_Y_LPARAM(lParam) - window.top};
    const PixelBox hit = HideButtonHitBox({place.left, place.top, place.right, place.bottom},
                                          LayoutPixels(kHideButtonSide));
    const RECT hitRect = {hit.left, hit.top, hit.right, hit.bottom};
    if (PtInRect(&hitRect, point)) {
        DrawHideButton(kHidePressed);
        PostMessageA(gMainWindow, WM_NCLBUTTONUP, 0, 0);
    }
}

}  // namespace

int CreateMainWindow() {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = gInstance;
    windowClass.hIcon = LoadIconA(gInstance, MAKEINTRESOURCEA(IDI_HALVEXOR));
    windowClass.hIconSm = LoadIconA(gInstance, MAKEINTRESOURCEA(IDI_HALVEXOR));
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExA(&windowClass)) {
        return 0;
    }
    taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    AllowMessageFromLowerIntegrity(taskbarCreatedMessage);  // the shell's, when run elevated

    // 355 x 285 on classic metrics at 96 DPI.
    layoutScale = MeasureLayoutScale();
    RECT frame = {0, 0, LayoutPixels(kClientWidth), LayoutPixels(kClientHeight)};
    AdjustWindowRectEx(&frame, kStyle, TRUE, 0);
    const HWND window = CreateWindowExA(0, kClassName, kTitle, kStyle, 300, 200,
                                        frame.right - frame.left, frame.bottom - frame.top,
                                        nullptr,
                                        LoadMenuA(gInstance, MAKEINTRESOURCEA(IDR_MAIN_MENU)),
                                        gInstance, nullptr);
    if (window == nullptr) {
        return 0;
    }
    gMainWindow = window;
    if (!AddTrayIconQuietly()) {
        if (GetClassLongPtrA(window, GCLP_HICONSM) == 0) {
            return 0;
        }
        RetryTrayIcon(window, true);
    }
    if (!CreateActionButtons()) {
        RemoveTrayIcon();  // the program ends here: no icon left behind
        return 0;
    }
    EnableActionsByLevel();
    return 1;
}

int LayoutPixels(int pixels) { return ScaleLayout(pixels, layoutScale); }

int CreateActionButtons() {
    for (size_t i = 0; i < sizeof kButtons / sizeof kButtons[0]; ++i) {
        const ButtonSpec& button = kButtons[i];
        DWORD style = WS_CHILD | WS_VISIBLE;
        if (!button.enabled) style |= WS_DISABLED;
        buttons[i] = CreateWindowExW(0, L"BUTTON", WideText(button.text), style,
                                     LayoutPixels(button.x), LayoutPixels(button.y),
                                     LayoutPixels(button.width), LayoutPixels(button.height), gMainWindow,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)),
                                     gInstance, nullptr);
        if (buttons[i] == nullptr) {
            return 0;
        }
    }
    const WPARAM font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    for (HWND button : buttons) {
        SendMessageA(button, WM_SETFONT, font, TRUE);
    }
    return 1;
}

void EnableActionsByLevel() {
    const HMENU actions = GetSubMenu(GetMenu(gMainWindow), 1);
    for (const LevelStep& step : kLevelSteps) {
        if (gOsLevel < step.threshold) break;
        for (int i = 0; i < 4 && step.commands[i] != 0; ++i) {
            EnableWindow(ButtonFor(step.commands[i]), TRUE);
            EnableMenuItem(actions, static_cast<UINT>(step.positions[i]), MF_BYPOSITION | MF_ENABLED);
        }
    }
    DrawMenuBar(gMainWindow);
}

int AddTrayIcon() {
    if (AddTrayIconQuietly()) {
        return 1;
    }
    if (GetClassLongPtrA(gMainWindow, GCLP_HICONSM) != 0) {
        MessageBoxCp(gMainWindow, "Nelze přidat ikonu", nullptr, MB_TASKMODAL | MB_ICONERROR);
    }
    return 0;
}

int RemoveTrayIcon() {
    NOTIFYICONDATAA icon = TrayRecord();
    return power::NotifyIcon(NIM_DELETE, &icon);
}

void DrawHideButton(int state) {
    const char* name = nullptr;
    if (state == kHideNormal) {
        name = "tr.bf";
    } else if (state == kHidePressed) {
        name = "trb.bf";
    } else {
        return;
    }
    RECT place;
    if (HideButtonPlace(&place)) {
        HDC dc = GetWindowDC(gMainWindow);
        char path[kDataPathCapacity];
        DrawBitmapFile(dc, DataFilePath(name, path), place.left, place.top);
        ReleaseDC(gMainWindow, dc);
    }
    hideButtonState = state;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    gMainWindow = window;
    switch (message) {
        case WM_CREATE:
        case WM_ACTIVATE:
            // Drawn once the system has drawn the title bar.
            PostMessageA(window, WM_NCLBUTTONUP, 0, 0);
            break;
        case WM_NCMOUSEMOVE:
            DrawHideButton(kHideNormal);
            break;
        case WM_NCPAINT:
        case WM_NCACTIVATE: {
            // The system paints the title bar over the hide button.
            const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
            DrawHideButton(hideButtonState);
            return result;
        }
        case WM_NCLBUTTONDOWN:
            HandleHideButtonDown(lParam);
            break;
        case WM_NCLBUTTONUP:
            if (hideButtonState == kHidePressed) {
                ShowWindow(window, SW_HIDE);
            }
            DrawHideButton(kHideNormal);
            break;
        case WM_TRAY_ICON:
            if (lParam == WM_LBUTTONDBLCLK) {
                ShowWindow(window, SW_RESTORE);
                SetForegroundWindow(window);
                PostMessageA(window, WM_NCLBUTTONUP, 0, 0);
            }
            break;
        case WM_SUSPENSION_DONE:
            FinishSuspension(window, wParam, lParam);
            break;
        case WM_CLOSE:
            if (MessageBoxCp(window, "Opravdu ukončit?", "Halvexor", MB_YESNO | MB_ICONQUESTION) !=
                IDYES) {
                return 0;
            }
            break;
        case WM_DESTROY:
            RemoveTrayIcon();
            if (gSchedule.actionKind != 0) {
                ClearSchedule(window);
            }
            PostQuitMessage(0);
            break;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            PaintStatus(window, dc, layoutScale);
            EndPaint(window, &paint);
            break;
        }
        case WM_COMMAND:
            HandleCommand(window, LOWORD(wParam));
            break;
        case WM_TIMER:
            if (wParam == IDT_TRAY_WAIT) {
                HandleTrayRetry(window);
                break;
            }
            if (wParam == IDT_CLOCK) {
                RepaintStatus(window, layoutScale);
                break;
            }
            HandleScheduleTimer(window, static_cast<int>(wParam));
            break;
        case WM_TIMECHANGE:
            ReplanScheduleTimers(window);
            break;
        case WM_POWERBROADCAST:
            // After a sleep the clock has moved on while no timer ran.  After
            // one that nobody was asked about (a battery run down, a forced
            // one), Windows 2000 and XP send only the critical resume.
            if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND ||
                wParam == PBT_APMRESUMECRITICAL) {
                ResumeScheduleTimers(window);
            }
            break;
        default:
            // Every icon is gone with the old shell: added anew, and tried
            // again while the new one refuses it.
            if (message == taskbarCreatedMessage && taskbarCreatedMessage != 0) {
                if (AddTrayIconQuietly()) {
                    trayTriesLeft = 0;
                    KillTimer(window, IDT_TRAY_WAIT);
                } else {
                    RetryTrayIcon(window, false);
                }
            }
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
