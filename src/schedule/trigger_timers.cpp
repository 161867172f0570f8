#include "schedule/trigger_timers.h"

#include <windows.h>

#include "app/ids.h"
#include "app/main_window.h"
#include "app/status_display.h"

namespace {

// The clock panel is repainted within the tick, not by a later paint message.
void RepaintStatus() {
    RedrawWindow(gMainWindow, nullptr, nullptr, RDW_INVALIDATE);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(gMainWindow, &paint);
    PaintStatus(dc);
    EndPaint(gMainWindow, &paint);
}

}  // namespace

void HandleScheduleTimer(int timerId) {
    if (timerId == IDT_CLOCK) {
        RepaintStatus();
    }
}
