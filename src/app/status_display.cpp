#include "app/status_display.h"

#include "app/status_text.h"
#include "app/window_layout.h"
#include "base/bitmap_file.h"
#include "base/data_folder.h"
#include "base/wide_text.h"
#include "schedule/calendar_clock.h"
#include "schedule/schedule_state.h"
#include "schedule/trigger_timers.h"
#include "settings/settings_file.h"

namespace {

// The picture file is read on every paint, so a changed file shows at once;
// a missing one is simply not drawn.
void DrawStatePicture(HDC dc, int scale) {
    char path[kDataPathCapacity];
    DataFilePath(gSchedule.actionKind != 0 ? "as.bf" : "za.bf", path);
    DrawBitmapFile(dc, path, ScaleLayout(120, scale), ScaleLayout(75, scale));
}

PixelSize Measure(HDC dc, const WideText& text) {
    SIZE size = {};
    GetTextExtentPoint32W(dc, text, text.Length(), &size);
    return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

// In the context's own font when the text fits its box, as the System font
// does on a classic desktop.  Otherwise (at 120 DPI, or where that font is
// drawn wider, as by a Wine without its own fonts) in the GUI face, made
// smaller until it fits: the box would silently cut the rest off.
void DrawPanelText(HDC dc, const char* panelText, RECT box) {
    const WideText text(panelText);
    const PixelSize room = {box.right - box.left, box.bottom - box.top};
    PixelSize size = Measure(dc, text);
    int height = NextPanelFontHeight(size.height, size, room);
    LOGFONTA face = {};
    HFONT font = nullptr;
    HGDIOBJ previous = nullptr;
    if (height > 0 && GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face) == 0) {
        height = 0;
    }
    while (height > 0) {
        face.lfHeight = height;  // the cell height
        face.lfWidth = 0;
        HFONT smaller = CreateFontIndirectA(&face);
        if (smaller == nullptr) break;
        HGDIOBJ replaced = SelectObject(dc, smaller);
        if (font == nullptr) {
            previous = replaced;
        } else {
            DeleteObject(font);
        }
        font = smaller;
        size = Measure(dc, text);
        height = NextPanelFontHeight(height, size, room);
    }
    DrawTextW(dc, text, -1, &box, 0);
    if (font != nullptr) {
        SelectObject(dc, previous);
        DeleteObject(font);
    }
}

}  // namespace

void PaintStatus(HWND window, HDC dc, int scale) {
    DrawStatePicture(dc, scale);

    const bool clockShown = gSettings.showClock != 0;
    HBRUSH brush = CreateSolidBrush(clockShown ? RGB(255, 255, 255) : RGB(212, 208, 200));
    HGDIOBJ previous = SelectObject(dc, brush);
    Rectangle(dc, ScaleLayout(220, scale), ScaleLayout(20, scale), ScaleLayout(330, scale),
              ScaleLayout(42, scale));

    // The countdown timer counts elapsed time: the panel counts to the moment
    // it fires, not to the action time stored when the clock may have shown
    // another time.
    const DateTime now = LocalNow();
    ScheduleState counted = gSchedule;
    const int32_t countdownLeft = CountdownSecondsLeft();
    if (countdownLeft >= 0) {
        SetActionTime(counted, CalendarSum(now, DateTime{0, 0, 0, 0, 0, countdownLeft}));
    }
    const StatusView view = ComputeStatusView(now, counted, gSettings);
    if (view.showsText) {
        RECT text = {ScaleLayout(225, scale), ScaleLayout(22, scale), ScaleLayout(324, scale),
                     ScaleLayout(39, scale)};
        DrawPanelText(dc, view.text.c_str(), text);
    }
    if (view.raisesWarning) {
        // Set before the box: the clock ticks that repaint while it is open
        // must not raise a second one.
        gSchedule.warningShown = 1;
        ShowWindow(window, SW_RESTORE);
        MessageBoxCp(window, WarningText(view.warningSeconds).c_str(), "Upozornění",
                     MB_ICONWARNING | kRaisedBoxStyle);
    }

    SelectObject(dc, previous);
    DeleteObject(brush);
}

void RepaintStatus(HWND window, int scale) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintStatus(window, dc, scale);
    EndPaint(window, &paint);
}
