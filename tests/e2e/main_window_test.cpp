// The main window as a user meets it: its buttons, hiding to the tray and
// back, closing, the immediate actions with their questions, and Settings.
#include <gtest/gtest.h>

#include "driver.h"

#include <shellapi.h>

using e2e::BoxText;
using e2e::Press;
using e2e::Program;
using e2e::ScratchDir;
using e2e::SettingsFile;
using Lines = std::vector<std::string>;

namespace {

const char kProbe[] = "halvexor_probe.exe";

// Is the program's notification-area icon there?  Changing its tip succeeds
// only for an icon that exists.
bool TrayIconPresent(HWND main) {
    NOTIFYICONDATAA icon = {};
    icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    icon.hWnd = main;
    icon.uID = 1;
    icon.uFlags = NIF_TIP;
    lstrcpynA(icon.szTip, "Halvexor", sizeof icon.szTip);
    return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

}  // namespace

class MainWindowLevelTest : public ::testing::TestWithParam<const char*> {};

// At the levels of Windows 2000 and XP every action is enabled at start.
TEST_P(MainWindowLevelTest, ButtonsMatchTheTableAndAreAllEnabled) {
    ScratchDir dir;
    e2e::PretendVersion pretend(kProbe, GetParam());
    Program program(kProbe, "", dir.Path());
    HWND main = program.MainWindow();
    ASSERT_NE(nullptr, main);

    RECT frame;
    GetWindowRect(main, &frame);
    EXPECT_EQ(355, frame.right - frame.left);
    EXPECT_EQ(285, frame.bottom - frame.top);
    const LONG style = GetWindowLongA(main, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);

    for (const e2e::MainButton& expected : e2e::kMainButtons) {
        HWND button = GetDlgItem(main, expected.id);
        ASSERT_NE(nullptr, button) << expected.id;
        // Enabled by the level once the window and its tray icon are up.
        for (int i = 0; i < 250 && !IsWindowEnabled(button); ++i) Sleep(20);
        char text[64] = {};
        GetWindowTextA(button, text, sizeof text);
        EXPECT_STREQ(expected.text, text);
        EXPECT_TRUE(IsWindowEnabled(button)) << expected.text;
        RECT rect;
        GetWindowRect(button, &rect);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(expected.rect.left, rect.left) << expected.text;
        EXPECT_EQ(expected.rect.top, rect.top) << expected.text;
        EXPECT_EQ(expected.rect.right, rect.right) << expected.text;
        EXPECT_EQ(expected.rect.bottom, rect.bottom) << expected.text;
    }
    EXPECT_TRUE(TrayIconPresent(main));
    EXPECT_EQ(0u, program.Close());
}

INSTANTIATE_TEST_SUITE_P(Versions, MainWindowLevelTest, ::testing::Values("winxp", "win2k"));

TEST(MainWindow, HideButtonHidesAndTrayDoubleClickBringsBack) {
    e2e::Session run;
    ASSERT_NE(nullptr, run.main);

    POINT hide = {287, -29};  // in the title bar, above the client area
    ClientToScreen(run.main, &hide);
    PostMessageA(run.main, WM_NCLBUTTONDOWN, 0, MAKELPARAM(hide.x, hide.y));
    for (int i = 0; i < 100 && IsWindowVisible(run.main); ++i) Sleep(50);
    EXPECT_FALSE(IsWindowVisible(run.main));

    PostMessageA(run.main, 0x8001, 1, WM_LBUTTONUP);  // a single click does nothing
    ASSERT_TRUE(e2e::Settle(run.main));
    EXPECT_FALSE(IsWindowVisible(run.main));

    PostMessageA(run.main, 0x8001, 1, WM_LBUTTONDBLCLK);
    for (int i = 0; i < 100 && !IsWindowVisible(run.main); ++i) Sleep(50);
    EXPECT_TRUE(IsWindowVisible(run.main));

    POINT outside = {200, -29};  // the title bar, but not the hide button
    ClientToScreen(run.main, &outside);
    PostMessageA(run.main, WM_NCLBUTTONDOWN, 0, MAKELPARAM(outside.x, outside.y));
    ASSERT_TRUE(e2e::Settle(run.main));
    EXPECT_TRUE(IsWindowVisible(run.main));
    EXPECT_EQ(0u, run.program.Close());
}

TEST(MainWindow, NoToTheCloseQuestionKeepsWindowAndIcon) {
    e2e::Session run(SettingsFile(0, 0, 0, 0, 0));
    ASSERT_NE(nullptr, run.main);
    PostMessageA(run.main, WM_COMMAND, 40001, 0);  // "Konec" asks even without confirmations
    HWND question = run.program.WaitForBox("Halvexor");
    ASSERT_NE(nullptr, question);
    EXPECT_EQ("Opravdu ukončit?", BoxText(question));
    EXPECT_EQ(run.main, GetWindow(question, GW_OWNER));
    Press(question, IDNO);
    ASSERT_TRUE(e2e::WaitUntilGone(question));
    ASSERT_TRUE(e2e::Settle(run.main));
    EXPECT_TRUE(run.program.Running());
    EXPECT_TRUE(IsWindow(run.main));
    EXPECT_TRUE(TrayIconPresent(run.main));
    EXPECT_EQ(0u, run.program.Close());
    EXPECT_FALSE(TrayIconPresent(run.main));
}

TEST(Commands, ConfirmedShutDownAsksAndOnlyYesRequests) {
    e2e::Session run(SettingsFile(1, 0, 0, 0, 0));
    ASSERT_NE(nullptr, run.main);

    PostMessageA(run.main, WM_COMMAND, 40003, 0);
    HWND question = run.program.WaitForBox("Halvexor");
    ASSERT_NE(nullptr, question);
    EXPECT_EQ("Opravdu vypnout ?", BoxText(question));
    Press(question, IDNO);
    ASSERT_TRUE(e2e::WaitUntilGone(question));
    ASSERT_TRUE(e2e::Settle(run.main));
    EXPECT_TRUE(run.program.Requests().empty());

    PostMessageA(run.main, WM_COMMAND, 40003, 0);
    question = run.program.WaitForBox("Halvexor");
    ASSERT_NE(nullptr, question);
    Press(question, IDYES);
    ASSERT_TRUE(e2e::WaitUntilGone(question));
    ASSERT_TRUE(e2e::Settle(run.main));
    EXPECT_EQ((Lines{"EnableShutdownPrivilege()", "ExitSession(8)"}), run.program.Requests());
    EXPECT_EQ(0u, run.program.Close()) << "an immediate shut down does not end the program";
}

TEST(Commands, WithoutConfirmationsMonitorOffActsAtOnce) {
    e2e::Session run;
    ASSERT_NE(nullptr, run.main);
    PostMessageA(run.main, WM_COMMAND, 40015, 0);
    PostMessageA(run.main, WM_COMMAND, 40011, 0);  // no command has this id
    PostMessageA(run.main, WM_COMMAND, 40021, 0);
    for (int i = 0; i < 50 && run.program.Requests().size() < 2; ++i) Sleep(50);
    EXPECT_EQ((Lines{"Broadcast(0xF170,2)", "Broadcast(0xF140,0)"}), run.program.Requests());
    EXPECT_EQ(nullptr, run.program.WaitForBox("Halvexor", 300));
    EXPECT_EQ(0u, run.program.Close());
}

TEST(Commands, RefusedLockShowsItsErrorWithoutOwner) {
    e2e::Session run({}, "lock");
    ASSERT_NE(nullptr, run.main);
    PostMessageA(run.main, WM_COMMAND, 40005, 0);
    HWND box = run.program.WaitForBox("Chyba");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("Nepodařilo se zamknout stanici !\nChyba : ER-ZPC01-001", BoxText(box));
    EXPECT_EQ(nullptr, GetWindow(box, GW_OWNER));
    Press(box, IDOK);
    ASSERT_TRUE(e2e::WaitUntilGone(box));
    EXPECT_EQ(0u, run.program.Close());
}

// The refusal's code tells whether the question had been asked.
TEST(Commands, RefusedHibernateNamesWhetherItWasAsked) {
    for (int ask : {0, 1}) {
        e2e::Session run(SettingsFile(ask, 0, 0, 0, 0), "suspend");
        ASSERT_NE(nullptr, run.main);
        PostMessageA(run.main, WM_COMMAND, 40012, 0);
        if (ask == 1) {
            HWND question = run.program.WaitForBox("Halvexor");
            ASSERT_NE(nullptr, question);
            EXPECT_EQ("Opravdu hibernovat ?", BoxText(question));
            Press(question, IDYES);
        }
        HWND box = run.program.WaitForBox("Chyba");
        ASSERT_NE(nullptr, box);
        EXPECT_EQ(ask == 1 ? "Chyba - nelze systém uvést do stavu hibernace !\nChyba : ER-WPM01-004"
                           : "Chyba - nelze systém uvést do stavu hibernace !\nChyba : ER-WPM01-003",
                  BoxText(box));
        EXPECT_EQ(run.main, GetWindow(box, GW_OWNER));
        Press(box, IDOK);
        ASSERT_TRUE(e2e::WaitUntilGone(box));
        // Asked for on the suspension thread: the window answers the query.
        const Lines requests = run.program.Requests();
        ASSERT_EQ(4u, requests.size());
        EXPECT_EQ(0u, requests[2].find("QuerySuspend(answered in ")) << requests[2];
        EXPECT_EQ("Suspend(1,0,1)", requests[3]);
        EXPECT_EQ(0u, run.program.Close());
    }
}

TEST(SettingsDialog, RoundTripWritesTheTwentyBytes) {
    e2e::Session run(SettingsFile(0, 1, 0, 0, 77));
    ASSERT_NE(nullptr, run.main);
    PostMessageA(run.main, WM_COMMAND, 40008, 0);
    HWND dialog = run.program.WaitForWindow("#32770", "Nastavení");
    ASSERT_NE(nullptr, dialog);

    // Shown as stored: the warning field disabled but holding its value.
    EXPECT_EQ(BST_UNCHECKED, e2e::SendTo(dialog, 1022, BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, e2e::SendTo(dialog, 1023, BM_GETCHECK, 0, 0));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, 1009)));
    EXPECT_EQ("77", e2e::Text(dialog, 1009));

    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);  // Escape does nothing
    ASSERT_TRUE(e2e::Settle(dialog));
    ASSERT_TRUE(IsWindow(dialog));

    e2e::SendTo(dialog, 1022, BM_SETCHECK, BST_CHECKED, 0);
    e2e::SendTo(dialog, 1023, BM_SETCHECK, BST_UNCHECKED, 0);
    e2e::SendTo(dialog, 1042, BM_SETCHECK, BST_CHECKED, 0);
    e2e::SendTo(dialog, 1043, BM_SETCHECK, BST_CHECKED, 0);
    PostMessageA(dialog, WM_COMMAND, 1043, 0);
    for (int i = 0; i < 50 && !IsWindowEnabled(GetDlgItem(dialog, 1009)); ++i) Sleep(20);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, 1009)));
    e2e::SetText(dialog, 1009, "99999");
    Press(dialog, 1000);
    ASSERT_TRUE(e2e::WaitUntilGone(dialog));
    ASSERT_TRUE(e2e::Settle(run.main));
    // The field takes four digits at most.
    EXPECT_EQ(SettingsFile(1, 0, 1, 1, 9999), run.dir.Read("data\\settings.sf"));
    EXPECT_FALSE(run.dir.Exists("data\\settings.sf.new"));
    EXPECT_EQ(0u, run.program.Close());
}

TEST(SettingsDialog, CancelChangesNothing) {
    const auto stored = SettingsFile(1, 0, 1, 1, 30);
    e2e::Session run(stored);
    ASSERT_NE(nullptr, run.main);
    PostMessageA(run.main, WM_COMMAND, 40008, 0);
    HWND dialog = run.program.WaitForWindow("#32770", "Nastavení");
    ASSERT_NE(nullptr, dialog);
    e2e::SendTo(dialog, 1022, BM_SETCHECK, BST_UNCHECKED, 0);
    Press(dialog, 1021);
    ASSERT_TRUE(e2e::WaitUntilGone(dialog));
    EXPECT_EQ(stored, run.dir.Read("data\\settings.sf"));
    // Still asking: the question of "Zrušit akci" comes, with nothing pending.
    PostMessageA(run.main, WM_COMMAND, 40009, 0);
    HWND question = run.program.WaitForBox("Halvexor");
    ASSERT_NE(nullptr, question);
    EXPECT_EQ("Opravdu zrušit akci ?", BoxText(question));
    Press(question, IDNO);
    ASSERT_TRUE(e2e::WaitUntilGone(question));
    EXPECT_EQ(0u, run.program.Close());
}

// A failed save reports, closes the dialog, and leaves the old file whole.
TEST(SettingsDialog, FailedSaveReportsAndKeepsTheOldFile) {
    const auto stored = SettingsFile(0, 0, 0, 0, 5);
    e2e::Session run(stored);
    ASSERT_NE(nullptr, run.main);
    // The new file cannot be made where a folder of its name stands.
    CreateDirectoryA(run.dir.File("data\\settings.sf.new").c_str(), nullptr);
    PostMessageA(run.main, WM_COMMAND, 40008, 0);
    HWND dialog = run.program.WaitForWindow("#32770", "Nastavení");
    ASSERT_NE(nullptr, dialog);
    e2e::SendTo(dialog, 1022, BM_SETCHECK, BST_CHECKED, 0);
    Press(dialog, 1000);
    HWND box = run.program.WaitForBox("Chyba");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("Chyba - nelze uložit nastavení programu !\nChyba : ER-SN01-001", BoxText(box));
    Press(box, IDOK);
    ASSERT_TRUE(e2e::WaitUntilGone(dialog));
    EXPECT_EQ(stored, run.dir.Read("data\\settings.sf"));
    RemoveDirectoryA(run.dir.File("data\\settings.sf.new").c_str());
    EXPECT_EQ(0u, run.program.Close());
}

// When the shell starts again every notification-area icon is gone; the
// program adds its own back, or a hidden window could never return.  A
// refused icon (a taskbar not yet there or busy at logon, or just restarted)
// is tried again every few seconds (here 100 ms); only after minutes does a
// start give up with a box, and a taskbar that comes meanwhile keeps it going.
TEST(MainWindow, TrayIconComesBackWhenTheShellRestarts) {
    const struct {
        const char* refuse;
        bool restart;  // the icon deleted and TaskbarCreated posted
        bool box;      // the first add and 45 tries refused, then the box
    } rows[] = {{"", true, false}, {"tray2-2", true, false}, {"tray1-4", false, false},
                {"tray1-47", false, true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.refuse);
        e2e::Session run({}, r.refuse);
        ASSERT_NE(nullptr, run.main);
        HWND box = nullptr;
        if (r.restart) {
            NOTIFYICONDATAA icon = {};
            icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
            icon.hWnd = run.main;
            icon.uID = 1;
            ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));
        } else if (r.box) {
            box = run.program.WaitForBox("Chyba", 20000);
            ASSERT_NE(nullptr, box);
            EXPECT_EQ("Nelze přidat ikonu", BoxText(box));
        }
        if (r.restart || r.box) PostMessageA(run.main, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        ASSERT_TRUE(e2e::Settle(run.main));
        if (box != nullptr) Press(box, IDOK);
        bool back = false;
        for (int i = 0; i < 100 && !back; ++i) {
            Sleep(50);
            back = TrayIconPresent(run.main);
        }
        EXPECT_TRUE(back);
        EXPECT_TRUE(e2e::Settle(run.main) && run.program.Running());
        EXPECT_EQ(nullptr, run.program.WaitForBox("Chyba", 0));
        EXPECT_EQ(0u, run.program.Close());
    }
}
