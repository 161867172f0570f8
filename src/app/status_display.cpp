#include "app/status_display.h"

#include "app/bitmap_file.h"
#include "app/main_window.h"
#include "app/status_text.h"
#include "app/window_layout.h"
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

PixelSize Measure(HDC dc, const Text& text) {
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

// In the context's own font when the text fits its box, as the System font
// does on a classic desktop.  Otherwise (at 120 DPI, or where that font is
// drawn wider, as by a Wine without its own fonts) in the GUI face, made
// smaller until it fits: the box would silently cut the rest off.
void DrawPanelText(HDC dc, const Text& text, RECT box) {
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
    DrawTextA(dc, text.c_str(), -1, &box, 0);
    if (font != nullptr) {
        SelectObject(dc, previous);
        DeleteObject(font);
    }
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
        DrawPanelText(dc, view.text, text);
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
