// The main window made in process: its menu and the actions enabled by level
// (another process's menu cannot be read under Wine).
#include <gtest/gtest.h>

#include <algorithm>

#include "app/main_window.h"
#include "base/ids.h"
#include "base/os_level.h"
#include "power_probe.h"

namespace {

struct Item {
    const char* text;  // nullptr for a separator
    UINT id;
};

std::string ItemText(HMENU menu, UINT position) {
    char text[64] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

// Makes the window at a level, runs `check`, and takes it down again.
template <typename Check>
void WithMainWindow(int32_t level, Check check) {
    gOsLevel = level;
    gInstance = GetModuleHandleA(nullptr);
    ASSERT_EQ(1, CreateMainWindow());
    check(gMainWindow);
    DestroyWindow(gMainWindow);
    UnregisterClassA("WinAPIMainClass", gInstance);
    MSG quit;
    while (PeekMessageA(&quit, nullptr, 0, 0, PM_REMOVE)) {
    }
    gMainWindow = nullptr;
}

const Item kActionItems[] = {
    {"Spořič obrazovky", IDM_SCREEN_SAVER}, {"Vypnout monitor", IDM_MONITOR_OFF},
    {"Úsporný režim", IDM_STANDBY},         {"Zamknout", IDM_LOCK},
    {"Odhlásit se", IDM_LOG_OFF},           {"Restartovat", IDM_RESTART},
    {"Hibernovat", IDM_HIBERNATE},          {"Vypnout", IDM_POWER_OFF},
    {nullptr, 0},                           {"Načasovat akci", IDM_SCHEDULE},
    {"Zrušit akci", IDM_CANCEL_ACTION},
};

}  // namespace

TEST(MainWindowMenu, HasItsPopupsItemsAndIds) {
    WithMainWindow(kOsLevelMinorOne, [](HWND window) {
        HMENU bar = GetMenu(window);
        ASSERT_EQ(4, GetMenuItemCount(bar));
        EXPECT_EQ("Program", ItemText(bar, 0));
        EXPECT_EQ("Akce", ItemText(bar, 1));
        EXPECT_EQ("Verze Windows", ItemText(bar, 2));
        EXPECT_EQ(static_cast<UINT>(IDM_WINDOWS_VERSION), GetMenuItemID(bar, 2));
        EXPECT_EQ("Nápověda", ItemText(bar, 3));

        HMENU program = GetSubMenu(bar, 0);
        ASSERT_EQ(3, GetMenuItemCount(program));
        EXPECT_EQ("Nastavení", ItemText(program, 0));
        EXPECT_EQ(static_cast<UINT>(IDM_SETTINGS), GetMenuItemID(program, 0));
        EXPECT_TRUE(GetMenuState(program, 1, MF_BYPOSITION) & MF_SEPARATOR);
        EXPECT_EQ("Konec", ItemText(program, 2));
        EXPECT_EQ(static_cast<UINT>(IDM_EXIT), GetMenuItemID(program, 2));

        HMENU actions = GetSubMenu(bar, 1);
        ASSERT_EQ(11, GetMenuItemCount(actions));
        for (UINT i = 0; i < 11; ++i) {
            if (kActionItems[i].text == nullptr) {
                EXPECT_TRUE(GetMenuState(actions, i, MF_BYPOSITION) & MF_SEPARATOR);
                continue;
            }
            EXPECT_EQ(kActionItems[i].text, ItemText(actions, i));
            EXPECT_EQ(kActionItems[i].id, GetMenuItemID(actions, static_cast<int>(i)));
        }

        HMENU help = GetSubMenu(bar, 3);
        ASSERT_EQ(2, GetMenuItemCount(help));
        EXPECT_EQ("Čti mně !", ItemText(help, 0));
        EXPECT_EQ(static_cast<UINT>(IDM_HELP), GetMenuItemID(help, 0));
        EXPECT_EQ("O Programu", ItemText(help, 1));
        EXPECT_EQ(static_cast<UINT>(IDM_ABOUT), GetMenuItemID(help, 1));
    });
}

// Each threshold adds its actions to both the buttons and the Akce items; the
// scheduling and cancel commands are always there.
TEST(MainWindowMenu, ActionsAreEnabledByLevel) {
    const struct {
        int32_t level;
        std::vector<UINT> enabled;
    } cases[] = {
        {0, {}},
        {99, {}},
        {100, {IDM_SCREEN_SAVER, IDM_MONITOR_OFF, IDM_RESTART, IDM_POWER_OFF}},
        {200, {IDM_SCREEN_SAVER, IDM_MONITOR_OFF, IDM_LOCK, IDM_LOG_OFF, IDM_RESTART, IDM_POWER_OFF}},
        {210, {IDM_SCREEN_SAVER, IDM_MONITOR_OFF, IDM_STANDBY, IDM_LOCK, IDM_LOG_OFF, IDM_RESTART,
               IDM_HIBERNATE, IDM_POWER_OFF}},
    };
    for (const auto& c : cases) {
        WithMainWindow(c.level, [&c](HWND window) {
            HMENU actions = GetSubMenu(GetMenu(window), 1);
            for (UINT i = 0; i < 8; ++i) {
                const UINT id = kActionItems[i].id;
                const bool expected =
                    std::find(c.enabled.begin(), c.enabled.end(), id) != c.enabled.end();
                const bool itemEnabled = !(GetMenuState(actions, i, MF_BYPOSITION) & MF_GRAYED);
                EXPECT_EQ(expected, itemEnabled) << "level " << c.level << " item " << id;
                EXPECT_EQ(expected, IsWindowEnabled(GetDlgItem(window, static_cast<int>(id))) != 0)
                    << "level " << c.level << " button " << id;
            }
            for (int always : {IDM_EXIT, IDM_SCHEDULE, IDM_CANCEL_ACTION}) {
                EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, always)));
            }
        });
    }
}

TEST(MainWindowMenu, ButtonsUseTheStockGuiFont) {
    WithMainWindow(kOsLevelMinorOne, [](HWND window) {
        const auto font = reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(window, IDM_LOCK, WM_GETFONT, 0, 0));
        EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), font);
    });
}
