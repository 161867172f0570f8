// In-process helpers for the glue tests: a stand-in main window that records
// the messages it gets, and a watcher that answers the message boxes the code
// under test raises on the same thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testwin {

// A hidden top-level window installed as gMainWindow for the life of the object.
class StandInMainWindow {
public:
    StandInMainWindow();
    ~StandInMainWindow();
    HWND Handle() const { return window_; }
    int DestroyMessages() const;

private:
    HWND window_ = nullptr;
};

struct SeenBox {
    std::string caption;
    std::string text;
    HWND owner;
    bool ownerWasVisible;
};

// Answers every message box of this process with OK (or the given button) as
// soon as it shows, and remembers what it said.
class BoxWatcher {
public:
    explicit BoxWatcher(int answer = IDOK);
    ~BoxWatcher();
    std::vector<SeenBox> Boxes();

private:
    void Watch();
    int answer_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<SeenBox> boxes_;
    std::vector<HWND> answered_;
    std::thread thread_;
};

// Takes the suspension thread's final report (WM_SUSPENSION_DONE) from the
// queue of `window` within `boundMs`, for the test to hand to FinishSuspension
// as the window would; a wake-up's report that its request has returned is
// handed on as it comes.  False (and said) when none came.
bool TakeSuspensionDone(HWND window, DWORD boundMs, WPARAM* report, LPARAM* ticket);

}  // namespace testwin
