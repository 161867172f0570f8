// The About and Windows version dialogs as a user meets them: opened from the
// main window's commands in the running program, their fields read back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver.h"

using e2e::BoxText;
using e2e::Press;
using e2e::Program;
using e2e::ScratchDir;

namespace {

const char kProbe[] = "halvexor_probe.exe";
const WPARAM kCommandAbout = 40007;
const WPARAM kCommandWindowsVersion = 40010;

std::vector<unsigned char> Bytes(const std::string& text) {
    return std::vector<unsigned char>(text.begin(), text.end());
}

// A bitmap file of `side` x `side` pixels of one colour, 24 bits a pixel.
std::vector<unsigned char> SolidBitmapFile(int side, unsigned char r, unsigned char g,
                                           unsigned char b) {
    const int rowBytes = (side * 3 + 3) / 4 * 4;
    const int pixelBytes = rowBytes * side;
    std::vector<unsigned char> file;
    auto put = [&file](unsigned value, int bytes) {
        for (int i = 0; i < bytes; ++i) file.push_back(static_cast<unsigned char>(value >> (8 * i)));
    };
    file.push_back('B');
    file.push_back('M');
    put(54 + pixelBytes, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(side, 4);
    put(side, 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(pixelBytes, 4);
    put(2835, 4);
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            file.push_back(b);
            file.push_back(g);
            file.push_back(r);
        }
        for (int pad = side * 3; pad < rowBytes; ++pad) file.push_back(0);
    }
    return file;
}

// A pixel of a window's client area as it is on the screen.
COLORREF ClientPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return pixel;
}

// Opens one of the dialogs from the main window; nullptr when it did not come.
HWND OpenDialog(const Program& program, HWND mainWindow, WPARAM command, const char* caption) {
    PostMessageA(mainWindow, WM_COMMAND, command, 0);
    return program.WaitForBox(caption);
}

// The version dialog fills its fields at its first paint; wait for that.
std::string WaitForItemText(HWND dialog, int id, DWORD timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    std::string text = e2e::Text(dialog, id);
    while (text.empty() && GetTickCount() - start < timeoutMs) {
        Sleep(50);
        text = e2e::Text(dialog, id);
    }
    return text;
}

// Ends the program the way the user does: close, and Yes to the question.
void CloseProgram(Program& program, HWND mainWindow) {
    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    HWND question = program.WaitForBox("Halvexor");
    ASSERT_NE(nullptr, question);
    EXPECT_EQ("Opravdu ukončit?", BoxText(question));
    Press(question, IDYES);
    EXPECT_EQ(0u, program.WaitForExit());
}

// No close box and the main window as owner, as for every dialog.
void ExpectModalDialogFrame(HWND dialog, HWND mainWindow) {
    EXPECT_EQ(0, GetWindowLongA(dialog, GWL_STYLE) & WS_SYSMENU);
    EXPECT_EQ(mainWindow, GetWindow(dialog, GW_OWNER));
}

}  // namespace

struct StampCase {
    const char* label;
    bool writeFile;
    std::string content;
    std::string stamp;
};

void PrintTo(const StampCase& c, std::ostream* out) { *out << c.label; }

class AboutStampTest : public ::testing::TestWithParam<StampCase> {};

TEST_P(AboutStampTest, ShowsTheStampOfTheDataFile) {
    ScratchDir dir;
    if (GetParam().writeFile) dir.Write("data\\bld_rm.tf", Bytes(GetParam().content));
    Program program(kProbe, "", dir.Path());
    HWND mainWindow = program.MainWindow();
    ASSERT_NE(nullptr, mainWindow);

    HWND about = OpenDialog(program, mainWindow, kCommandAbout, "O Programu");
    ASSERT_NE(nullptr, about);
    EXPECT_EQ(GetParam().stamp, e2e::Text(about, 1044));
    ExpectModalDialogFrame(about, mainWindow);
    Press(about, 1000);
    EXPECT_TRUE(e2e::WaitUntilGone(about));
    CloseProgram(program, mainWindow);
}

INSTANTIATE_TEST_SUITE_P(
    Files, AboutStampTest,
    ::testing::Values(
        StampCase{"EightCharacters", true, "ABCDEFGH", "Build : 012201.ABCDEFGH"},
        StampCase{"SevenCharacters", true, "ABCDEFG", "Build : 012201.?"},
        StampCase{"Empty", true, "", "Build : 012201.?"},
        StampCase{"Missing", false, "", "Build : 012201.?"},
        // Read in text mode: CR LF counts as one line feed.
        StampCase{"LineBreak", true, "1234\r\n5678\r\n", "Build : 012201.1234\n567"},
        StampCase{"SeveralLines", true, "20060124\r\nsecond\r\nthird\r\n",
                  "Build : 012201.20060124"}));

TEST(AboutDialog, EscapeDoesNotCloseItAndOkDoes) {
    ScratchDir dir;
    Program program(kProbe, "", dir.Path());
    HWND mainWindow = program.MainWindow();
    ASSERT_NE(nullptr, mainWindow);

    HWND about = OpenDialog(program, mainWindow, kCommandAbout, "O Programu");
    ASSERT_NE(nullptr, about);
    Press(about, IDCANCEL);
    ASSERT_TRUE(e2e::Settle(about));
    EXPECT_TRUE(IsWindow(about));
    EXPECT_TRUE(IsWindowVisible(about));
    Press(about, 1000);
    EXPECT_TRUE(e2e::WaitUntilGone(about));

    // The dialog opens again with the same stamp.
    about = OpenDialog(program, mainWindow, kCommandAbout, "O Programu");
    ASSERT_NE(nullptr, about);
    EXPECT_EQ("Build : 012201.?", e2e::Text(about, 1044));
    Press(about, 1000);
    EXPECT_TRUE(e2e::WaitUntilGone(about));
    CloseProgram(program, mainWindow);
}

// The picture is drawn in its own size at the top-left corner of the client
// area, and a missing one is left out silently.
TEST(AboutDialog, DrawsTheProgramPictureInItsOwnSize) {
    const COLORREF red = RGB(255, 0, 0);
    for (bool withPicture : {true, false}) {
        ScratchDir dir;
        if (withPicture) dir.Write("data\\prg.bf", SolidBitmapFile(8, 255, 0, 0));
        Program program(kProbe, "", dir.Path());
        HWND mainWindow = program.MainWindow();
        ASSERT_NE(nullptr, mainWindow);

        HWND about = OpenDialog(program, mainWindow, kCommandAbout, "O Programu");
        ASSERT_NE(nullptr, about);
        UpdateWindow(about);
        const DWORD start = GetTickCount();
        while (withPicture && ClientPixel(about, 0, 0) != red && GetTickCount() - start < 3000) {
            Sleep(50);
        }
        EXPECT_EQ(withPicture, ClientPixel(about, 0, 0) == red) << withPicture;
        EXPECT_EQ(withPicture, ClientPixel(about, 7, 7) == red) << withPicture;
        EXPECT_NE(red, ClientPixel(about, 8, 8)) << withPicture;
        EXPECT_NE(red, ClientPixel(about, 20, 3)) << withPicture;
        Press(about, 1000);
        EXPECT_TRUE(e2e::WaitUntilGone(about));
        CloseProgram(program, mainWindow);
    }
}

struct VersionCase {
    const char* version;
    std::string platformName;
    std::string versionLine;
};

void PrintTo(const VersionCase& c, std::ostream* out) { *out << c.version; }

class WindowsVersionDialogTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(WindowsVersionDialogTest, ShowsPlatformAndVersionLine) {
    ScratchDir dir;
    e2e::PretendVersion pretend(kProbe, GetParam().version);
    Program program(kProbe, "", dir.Path());
    HWND mainWindow = program.MainWindow();
    ASSERT_NE(nullptr, mainWindow);

    HWND dialog = OpenDialog(program, mainWindow, kCommandWindowsVersion, "Verze Widows");
    ASSERT_NE(nullptr, dialog);
    ExpectModalDialogFrame(dialog, mainWindow);
    EXPECT_EQ(GetParam().platformName, WaitForItemText(dialog, 1039));
    EXPECT_EQ(GetParam().versionLine, WaitForItemText(dialog, 1040));

    // Every paint queries afresh and rewrites both fields.
    e2e::SetText(dialog, 1039, "");
    e2e::SetText(dialog, 1040, "");
    InvalidateRect(dialog, nullptr, TRUE);
    EXPECT_EQ(GetParam().platformName, WaitForItemText(dialog, 1039));
    EXPECT_EQ(GetParam().versionLine, WaitForItemText(dialog, 1040));

    Press(dialog, IDCANCEL);
    ASSERT_TRUE(e2e::Settle(dialog));
    EXPECT_TRUE(IsWindow(dialog));
    Press(dialog, 1000);
    EXPECT_TRUE(e2e::WaitUntilGone(dialog));
    CloseProgram(program, mainWindow);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, WindowsVersionDialogTest,
    ::testing::Values(
        VersionCase{"winxp", "Windows XP Professional", "verze 5.1 Service Pack 3 (Build 2600)\n"},
        VersionCase{"win2k", "Windows 2000 Professional",
                    "verze 5.0 Service Pack 4 (Build 2195)\n"},
        // 6.1 is named like 5.1, on purpose.  This Wine reports a server
        // product type for "win7" (and a workstation for "win2008r2").
        VersionCase{"win7", "Windows XP Server", "verze 6.1 Service Pack 1 (Build 7601)\n"}));

// Wine fills the extended record for NT 4.0 too (4.0, build 1381, "Service
// Pack 6a", a workstation), but the start-up refuses that version before any
// window exists, so the dialog can never be reached there.
TEST(WindowsVersionDialog, NtFourNeverGetsAsFarAsTheWindow) {
    ScratchDir dir;
    e2e::PretendVersion pretend(kProbe, "nt40");
    Program program(kProbe, "", dir.Path());
    HWND box = program.WaitForBox("Halvexor");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(nullptr, program.WaitForWindow("WinAPIMainClass", "Halvexor", 0));
    Press(box, IDOK);
    EXPECT_EQ(static_cast<DWORD>(-2), program.WaitForExit());
}
