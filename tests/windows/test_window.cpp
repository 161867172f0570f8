#include "test_window.h"

#include <cstdio>

#include "actions/actions.h"
#include "actions/suspend_thread.h"
#include "app/main_window.h"
#include "base/ids.h"

namespace testwin {
namespace {

int destroyMessages = 0;

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ++destroyMessages;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

struct BoxSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectBoxes(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<BoxSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && std::string(className) == "#32770" &&
        IsWindowVisible(window) && GetDlgItem(window, 0xFFFF) != nullptr) {
        search->found.push_back(window);
    }
    return TRUE;
}

// Reads a window's text without sending it a message: the window may belong to
// the test's own thread, which may at that moment be waiting on this one.
std::string TextOf(HWND window) {
    WCHAR wide[512] = {};
    const int length = InternalGetWindowText(window, wide, 512);
    char text[1024] = {};
    WideCharToMultiByte(1250, 0, wide, length, text, sizeof text - 1, nullptr, nullptr);
    return text;
}

}  // namespace

StandInMainWindow::StandInMainWindow() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = StandInProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "HalvexorStandIn";
        RegisterClassA(&windowClass);
        registered = true;
    }
    destroyMessages = 0;
    window_ = CreateWindowExA(0, "HalvexorStandIn", "stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    gMainWindow = window_;
}

StandInMainWindow::~StandInMainWindow() {
    gMainWindow = nullptr;
    // Our own destroy handling counts; a real destroy is not a test's message.
    const int seen = destroyMessages;
    DestroyWindow(window_);
    destroyMessages = seen;
}

int StandInMainWindow::DestroyMessages() const { return destroyMessages; }

BoxWatcher::BoxWatcher(int answer) : answer_(answer), thread_([this] { Watch(); }) {}

BoxWatcher::~BoxWatcher() {
    stop_ = true;
    thread_.join();
}

std::vector<SeenBox> BoxWatcher::Boxes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_;
}

void BoxWatcher::Watch() {
    while (!stop_) {
        BoxSearch search = {GetCurrentProcessId(), {}};
        EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&search));
        for (HWND box : search.found) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                bool answered = false;
                for (HWND earlier : answered_) answered = answered || earlier == box;
                if (answered) continue;
            }
            // Read outside the lock; nothing here sends a message.
            HWND owner = GetWindow(box, GW_OWNER);
            const SeenBox record = {TextOf(box), TextOf(GetDlgItem(box, 0xFFFF)), owner,
                                    owner != nullptr && IsWindowVisible(owner)};
            {
                std::lock_guard<std::mutex> lock(mutex_);
                boxes_.push_back(record);
                answered_.push_back(box);
            }
            PostMessageA(box, WM_COMMAND, answer_, 0);
        }
        Sleep(20);
    }
}

bool TakeSuspensionDone(HWND window, DWORD boundMs, WPARAM* report, LPARAM* ticket) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, window, WM_SUSPENSION_DONE, WM_SUSPENSION_DONE, PM_REMOVE)) {
            if (message.wParam == kSuspensionReturned) {
                FinishSuspension(window, message.wParam, message.lParam);
                continue;
            }
            *report = message.wParam;
            *ticket = message.lParam;
            return true;
        }
        Sleep(10);
    } while (GetTickCount() - start < boundMs);
    std::fprintf(stderr, "[ waited ] no WM_SUSPENSION_DONE within %lu ms\n", boundMs);
    return false;
}

}  // namespace testwin
