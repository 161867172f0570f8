// The main window on desktops other than the classic one.  Wine reads the
// metrics when a program starts, so each set goes into the registry before
// the program runs; this process keeps its own, and asks the program's window
// (WM_NCHITTEST) where its caption buttons are.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "driver.h"

namespace {

struct MetricSet {  // twips, -15 a pixel; empty or 0: as the prefix has it
    const char *name, *captionHeight, *captionWidth, *menuHeight;
    DWORD dpi;
    UINT codePage;
};
void PrintTo(const MetricSet& set, std::ostream* out) { *out << set.name; }

const MetricSet kSets[] = {
    {"classic", "", "", "", 0, 1250},              // caption 19, buttons 18, menu bar 19
    {"XP", "-375", "-375", "-285", 0, 1250},       // caption 26, buttons 25, menu bar 20
    {"Seven", "-315", "-540", "-285", 0, 1250},    // caption 22, buttons 36, menu bar 20
    {"Dpi120", "", "", "", 120, 1250},             // caption 24, buttons 23, menu bar 24
    {"Dpi144", "", "", "", 144, 1250},             // eight captions wider than 86 px unscaled
    {"CodePage1252", "", "", "", 0, 1252},         // an English or German Windows
};

// Texts as Unicode: the program's own as a Czech Windows shows them, and what
// another process's window holds (read without a message); a box's, answered.
std::wstring Unicode(const char* text) {
    wchar_t wide[512] = {};
    return std::wstring(wide, MultiByteToWideChar(1250, 0, text, -1, wide, 512) - 1);
}
std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    return std::wstring(text, GetWindowTextW(window, text, 512));
}
std::wstring Answered(HWND box, int answer) {
    const std::wstring text = TextOf(GetDlgItem(box, 0xFFFF));
    e2e::Press(box, answer);
    return e2e::WaitUntilGone(box) ? text : L"(stays)";
}
// The layout's scale (96ths) as the program rounds it: the first that gives
// the client area seen.
int Scaled(int pixels, int scale) { return (pixels * scale + 48) / 96; }
int ScaleOf(RECT client) {
    int scale = 96;
    while (scale < 400 && (Scaled(349, scale) != client.right || Scaled(241, scale) != client.bottom)) ++scale;
    return scale;
}

const char kMetrics[] = "Control Panel\\Desktop\\WindowMetrics";

// The hide button's picture, one flat colour to find again on the screen.
const COLORREF kHideColour = RGB(0x12, 0xE4, 0x56);
std::vector<unsigned char> FlatPicture() {
    std::vector<unsigned char> file(54 + 15 * 15 * 4);
    const unsigned header[][2] = {{2, unsigned(file.size())}, {10, 54}, {14, 40}, {18, 15}, {22, 15},
                                  {26, 1 | 32 << 16}};
    for (const auto& field : header) memcpy(&file[field[0]], &field[1], 4);
    file[0] = 'B', file[1] = 'M';
    for (size_t i = 54; i < file.size(); i += 4) {
        file[i] = GetBValue(kHideColour), file[i + 1] = GetGValue(kHideColour);
        file[i + 2] = GetRValue(kHideColour);
    }
    return file;
}

// The window as the screen shows it, addressed in window coordinates.
struct Screenshot {
    explicit Screenshot(HWND window) {
        GetWindowRect(window, &rect);
        POINT origin = {0, 0};
        ClientToScreen(window, &origin);
        client = {origin.x - rect.left, origin.y - rect.top};
        width = rect.right - rect.left;
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof info.bmiHeader, width, -(rect.bottom - rect.top), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, rect.bottom - rect.top, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        const auto* words = static_cast<const DWORD*>(bits);
        pixels.assign(words, words + width * (rect.bottom - rect.top));
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }
    DWORD At(int x, int y) const { return pixels[size_t(y) * width + x] & 0xFFFFFF; }  // 0xRRGGBB

    RECT rect;
    POINT client;
    int width;
    std::vector<DWORD> pixels;
};

// The picture in the title bar: the box of its colour, empty unless solid.
RECT FindHideButton(HWND window) {
    const Screenshot shot(window);
    const DWORD colour = GetRValue(kHideColour) << 16 | GetGValue(kHideColour) << 8 | GetBValue(kHideColour);
    RECT box = {shot.width, shot.client.y, 0, 0};
    int count = 0;
    for (int y = 0; y < shot.client.y; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            if (shot.At(x, y) != colour) continue;
            ++count;
            box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                   std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
        }
    }
    return count == 15 * 15 && box.right - box.left == 15 ? box : RECT{};
}

// The whole remaining time shows in the panel: its ink (clearly darker than
// the white fill) makes 14 glyphs ("00.00-00:59:58", one run of inked columns
// each) and keeps off the last column and row of the text rectangle
// (225, 22)-(324, 39), where it would be cut.
bool WholeTextShows(HWND window, int scale, std::string* seen) {
    const Screenshot shot(window);
    const auto at = [scale](int pixels) { return Scaled(pixels, scale); };
    RECT ink = {at(330) - 1, at(42) - 1, 0, 0};
    int glyphs = 0;
    bool before = false;
    for (int x = at(220) + 1; x < at(330) - 1; ++x) {  // within the panel's outline
        bool inked = false;
        for (int y = at(20) + 1; y < at(42) - 1; ++y) {
            const DWORD p = shot.At(shot.client.x + x, shot.client.y + y);
            if ((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF) >= 3 * 200) continue;
            inked = true;
            ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y),
                   std::max<LONG>(ink.right, x + 1), std::max<LONG>(ink.bottom, y + 1)};
        }
        glyphs += inked && !before;
        before = inked;
    }
    *seen = std::to_string(glyphs) + " glyphs, ink to x " + std::to_string(ink.right) + " y " +
            std::to_string(ink.bottom);
    return glyphs == 14 && ink.left >= at(225) && ink.top >= at(22) && ink.right < at(324) &&
           ink.bottom < at(39);
}

LRESULT HitTest(HWND window, int x, int y) {  // window coordinates
    RECT rect;
    GetWindowRect(window, &rect);
    DWORD_PTR answer = HTNOWHERE;
    SendMessageTimeoutA(window, WM_NCHITTEST, 0, MAKELPARAM(rect.left + x, rect.top + y),
                        SMTO_NORMAL, 2000, &answer);
    return LRESULT(answer);
}

template <typename Ready>
bool WaitFor(Ready ready, DWORD timeoutMs = 5000) {
    for (const DWORD start = GetTickCount(); !ready(); Sleep(50)) {
        if (GetTickCount() - start >= timeoutMs) return false;
    }
    return true;
}

// A dialog by its title compared as Unicode, as a test process of code page
// 1252 cannot through the "A" functions.
HWND Titled(const char* title) {
    HWND found = nullptr;
    // Once shown: a box is found by its title before its text is in.
    WaitFor([&, wide = Unicode(title)] {
        return (found = FindWindowW(L"#32770", wide.c_str())) != nullptr && IsWindowVisible(found);
    }, 15000);
    return found;
}

// A real left click at a point of the window (window coordinates).
void ClickAt(HWND window, int x, int y) {
    RECT rect;
    GetWindowRect(window, &rect);
    SetForegroundWindow(window);
    SetCursorPos(rect.left + x, rect.top + y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof input[0]);
}

// The program with the clock shown and the flat picture, its window up.
struct Running {
    static bool Prepare(const e2e::ScratchDir& dir) {
        dir.Write("data\\tr.bf", FlatPicture());
        dir.Write("data\\settings.sf", e2e::SettingsFile(0, 0, 1, 1, 3600));  // warned at once
        return true;
    }
    e2e::ScratchDir dir;
    bool prepared = Prepare(dir);
    e2e::Program program{"halvexor_probe.exe", "", dir.Path()};
    HWND main = program.MainWindow();
};

}  // namespace

class MetricsTest : public ::testing::TestWithParam<MetricSet> {};

TEST_P(MetricsTest, PanelAndHideButtonFitTheDesktop) {
    const MetricSet& set = GetParam();
    if (GetACP() != set.codePage) {
        GTEST_SKIP() << "code page " << set.codePage << ": its own test runs it";
    }
    e2e::RegistryValue height(kMetrics, "CaptionHeight", set.captionHeight);
    e2e::RegistryValue width(kMetrics, "CaptionWidth", set.captionWidth);
    e2e::RegistryValue menu(kMetrics, "MenuHeight", set.menuHeight);
    e2e::RegistryValue dpi("Control Panel\\Desktop", "LogPixels", REG_DWORD, &set.dpi, set.dpi ? 4 : 0);
    SetCursorPos(0, 0);  // off the window, whose mouse moves redraw the hide button
    Running run;
    ASSERT_NE(nullptr, run.main);

    // At 96 DPI the layout as drawn, elsewhere grown by one scale (at least the
    // DPI's); each caption as in Czech and inside its button's 2-pixel edges.
    RECT client;
    GetClientRect(run.main, &client);
    const int scale = set.dpi ? ScaleOf(client) : 96;
    EXPECT_EQ(Scaled(349, scale), client.right);
    EXPECT_EQ(Scaled(241, scale), client.bottom);
    EXPECT_GE(scale, set.dpi ? int(set.dpi) : 96);
    LOGFONTW gui = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    gui.lfHeight = MulDiv(gui.lfHeight, set.dpi ? set.dpi : 96, 96);
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, CreateFontIndirectW(&gui));
    for (const e2e::MainButton& button : e2e::kMainButtons) {
        HWND control = GetDlgItem(run.main, button.id);
        const RECT& at96 = button.rect;
        const int left = Scaled(at96.left, scale), top = Scaled(at96.top, scale);
        const RECT want = {left, top, left + Scaled(at96.right - at96.left, scale),
                           top + Scaled(at96.bottom - at96.top, scale)};
        RECT rect = {};
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, run.main, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_TRUE(EqualRect(&want, &rect)) << button.text;
        const std::wstring text = TextOf(control);
        EXPECT_EQ(Unicode(button.text), text);
        SIZE size = {};
        GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
        EXPECT_LE(size.cx, rect.right - rect.left - 4) << button.text;
    }
    DeleteObject(SelectObject(dc, previous));
    ReleaseDC(nullptr, dc);

    // An hour's countdown; the clock repaints every second.  An empty form
    // first, for its error box.
    PostMessageA(run.main, WM_COMMAND, 40006, 0);
    HWND dialog = Titled("Načasovat akci");
    ASSERT_NE(nullptr, dialog);
    e2e::Press(dialog, 1000);
    EXPECT_EQ(Unicode("Chyba - Akce : není vybrána žádná z možností !\nChyba : ER-DPT01-089"),
              Answered(run.program.WaitForBox("Chyba"), IDOK));
    for (int id : {1014, 1022, 1023}) e2e::Click(dialog, id);  // reminder, seconds, countdown
    for (int id : {1005, 1007, 1008, 1009, 1010, 1011}) e2e::SetText(dialog, id, id == 1009 ? "01" : "00");
    e2e::Press(dialog, 1000);
    ASSERT_TRUE(e2e::WaitUntilGone(dialog));
    EXPECT_EQ(0u, Answered(Titled("Upozornění"), IDOK).find(L"Akce bude provedena za 3"));
    std::string seen;
    EXPECT_TRUE(WaitFor([&] { return WholeTextShows(run.main, scale, &seen); })) << seen;

    RECT hide = {};
    ASSERT_TRUE(WaitFor([&] { return (hide = FindHideButton(run.main)).right != 0; }));
    std::string onButtons;
    for (int y = hide.top; y < hide.bottom; ++y) {
        for (int x = hide.left; x < hide.right; ++x) {
            if (HitTest(run.main, x, y) != HTCAPTION) onButtons += std::to_string(x) + " ";
        }
    }
    EXPECT_EQ("", onButtons.substr(0, 40)) << "columns on a caption button";

    // The system's frame repaints leave it in place.
    RedrawWindow(run.main, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_TRUE(e2e::Settle(run.main));
    EXPECT_TRUE(WaitFor([&] { return FindHideButton(run.main).right != 0; })) << "repainted";
    PostMessageA(run.main, WM_NCACTIVATE, FALSE, 0);
    ASSERT_TRUE(e2e::Settle(run.main));
    EXPECT_TRUE(WaitFor([&] { return FindHideButton(run.main).right != 0; })) << "deactivated";

    ClickAt(run.main, (hide.left + hide.right) / 2, (hide.top + hide.bottom) / 2);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(run.main); })) << "hidden";
    PostMessageA(run.main, 0x8001, 1, WM_LBUTTONDBLCLK);  // the tray icon
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(run.main) != FALSE; }));

    // Minimized, not hidden, also by a click where the classic picture was.
    int minimize = -1;
    for (int x = 0; x < Scaled(355, scale); ++x) {
        if (HitTest(run.main, x, 12) == HTMINBUTTON && (minimize < 0 || abs(x - 291) < abs(minimize - 291))) {
            minimize = x;
        }
    }
    ASSERT_GE(minimize, 0);
    ClickAt(run.main, minimize, 12);
    EXPECT_TRUE(WaitFor([&] { return IsIconic(run.main) != FALSE; }));
    ASSERT_TRUE(e2e::Settle(run.main));
    EXPECT_TRUE(IsWindowVisible(run.main));
    PostMessageA(run.main, WM_CLOSE, 0, 0);
    EXPECT_EQ(Unicode("Opravdu ukončit?"), Answered(run.program.WaitForBox("Halvexor"), IDNO));
    EXPECT_EQ(0u, run.program.Close());
}

INSTANTIATE_TEST_SUITE_P(Desktops, MetricsTest, ::testing::ValuesIn(kSets),
                         [](const ::testing::TestParamInfo<MetricSet>& set) {
                             return std::string(set.param.name);
                         });
