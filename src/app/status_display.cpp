#include "app/status_display.h"

#include "app/bitmap_file.h"
#include "app/main_window.h"
#include "app/status_text.h"
#include "schedule/calendar_clock.h"
#include "schedule/schedule_state.h"
#include "settings/settings_file.h"

namespace {

// The picture file is read on every paint, so a changed file shows at once;
// a missing one is simply not drawn.
void DrawStatePicture(HDC dc) {
    const char* path = gSchedule.actionKind != 0 ? ".\\data\\as.bf" : ".\\data\\za.bf";
    DrawBitmapFile(dc, path, 120, 75);
}

}  // namespace

void PaintStatus(HDC dc) {
    DrawStatePicture(dc);

    const bool clockShown = gSettings.showClock != 0;
    HBRUSH brush = CreateSolidBrush(clockShown ? RGB(255, 255, 255) : RGB(212, 208, 200));
    HGDIOBJ previous = SelectObject(dc, brush);
    Rectangle(dc, 220, 20, 330, 42);

    const StatusView view = ComputeStatusView(LocalNow(), gSchedule, gSettings);
    if (view.showsText) {
        RECT client;
        GetClientRect(gMainWindow, &client);
        RECT text = {client.left + 225, client.top + 22, client.right - 25, client.bottom - 202};
        DrawTextA(dc, view.text.c_str(), -1, &text, 0);
    }
    if (view.raisesWarning) {
        // Set before the box: the clock ticks that repaint while it is open
        // must not raise a second one.
        gSchedule.warningShown = 1;
        ShowWindow(gMainWindow, SW_RESTORE);
        MessageBoxA(gMainWindow, WarningText(view.warningSeconds).c_str(), "Upozornění",
                    MB_ICONWARNING);
    }

    SelectObject(dc, previous);
    DeleteObject(brush);
}
