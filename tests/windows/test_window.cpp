#include "test_window.h"

#include "app/main_window.h"

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
            std::lock_guard<std::mutex> lock(mutex_);
            bool seen = false;
            for (HWND answered : answered_) seen = seen || answered == box;
            if (seen) continue;
            char caption[128] = {};
            char text[512] = {};
            GetWindowTextA(box, caption, sizeof caption);
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            HWND owner = GetWindow(box, GW_OWNER);
            boxes_.push_back({caption, text, owner, owner != nullptr && IsWindowVisible(owner)});
            answered_.push_back(box);
            PostMessageA(box, WM_COMMAND, answer_, 0);
        }
        Sleep(20);
    }
}

}  // namespace testwin
