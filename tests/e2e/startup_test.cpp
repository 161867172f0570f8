// The start-up as a user meets it: the level check, the quick actions and the
// settings file, with the program run as a process of its own.
#include <gtest/gtest.h>

#include <memory>

#include "driver.h"

using e2e::BoxText;
using e2e::Press;
using e2e::Program;
using e2e::ScratchDir;
using Lines = std::vector<std::string>;

namespace {

const char kProbe[] = "halvexor_probe.exe";

// The warning's lead of SettingsFile(1, 0, 0, 1, 4321) in the Settings dialog.
void ExpectWarning4321(const Program& program, HWND main) {
    PostMessageA(main, WM_COMMAND, 40008, 0);
    HWND dialog = program.WaitForWindow("#32770", "Nastavení");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("4321", e2e::Text(dialog, 1009));
    Press(dialog, 1021);
    ASSERT_TRUE(e2e::WaitUntilGone(dialog));
}

}  // namespace

struct QuickCase {
    const char* arguments;
    Lines requests;
    const char* folder = nullptr;  // started from there, its name typed unquoted
    bool besideWindow = false;     // while the window of this session runs
};

void PrintTo(const QuickCase& c, std::ostream* out) {
    *out << '"' << c.arguments << '"' << (c.besideWindow ? " beside a window" : "");
}

class QuickActionTest : public ::testing::TestWithParam<QuickCase> {};

// Each letter makes exactly its request, exits with 0 and neither reads nor
// writes the data folder.
TEST_P(QuickActionTest, MakesItsOneRequestAndLeavesDataAlone) {
    ScratchDir dir;
    const char* folder = GetParam().folder;
    const std::string typed = folder ? folder + std::string("\\") + kProbe : "";
    ASSERT_TRUE(!folder || (CreateDirectoryA(dir.File(folder).c_str(), nullptr) &&
                            e2e::CopyInto(e2e::ProgramDir() + "\\" + kProbe, dir.File(typed))));
    std::unique_ptr<e2e::Session> window(GetParam().besideWindow ? new e2e::Session : nullptr);
    ASSERT_TRUE(!window || window->main != nullptr);
    Program program(folder ? dir.File(typed) : kProbe, GetParam().arguments, dir.Path(), "", typed);
    EXPECT_EQ(0u, program.WaitForExit());
    EXPECT_EQ(GetParam().requests, program.Requests());
    EXPECT_TRUE(dir.List("data").empty());
}

INSTANTIATE_TEST_SUITE_P(
    Letters, QuickActionTest,
    ::testing::Values(
        QuickCase{"h", {"EnableShutdownPrivilege()", "Suspend(1,0,1)"}},
        QuickCase{"M", {"Broadcast(0xF170,2)"}},
        QuickCase{"o", {"EnableShutdownPrivilege()", "ExitSession(0)"}},
        QuickCase{"r", {"EnableShutdownPrivilege()", "ExitSession(2)"}},
        QuickCase{"s", {"Broadcast(0xF140,0)"}},
        QuickCase{"U", {"EnableShutdownPrivilege()", "Suspend(0,0,1)"}},
        QuickCase{"v", {"EnableShutdownPrivilege()", "ExitSession(8)"}},
        QuickCase{"Z", {"Lock()"}},
        // Only the first character counts.
        QuickCase{"hello world", {"EnableShutdownPrivilege()", "Suspend(1,0,1)"}},
        QuickCase{"zzz /x", {"Lock()"}},
        // A Czech letter does not end the name (its "stroje" would be the S).
        QuickCase{"z", {"Lock()"}, "Nástroje"},
        // Whatever runs: the one window of the session too.
        QuickCase{"z", {"Lock()"}, nullptr, true}));

TEST(QuickAction, LetterWorksWithoutDataFolderOrWithDamagedSettings) {
    ScratchDir bare(false);
    Program first(kProbe, "z", bare.Path());
    EXPECT_EQ(0u, first.WaitForExit());
    EXPECT_EQ(Lines{"Lock()"}, first.Requests());
    EXPECT_FALSE(bare.Exists("data"));

    ScratchDir damaged;
    damaged.Write("data\\settings.sf", {7, 7, 7});
    Program second(kProbe, "m", damaged.Path());
    EXPECT_EQ(0u, second.WaitForExit());
    EXPECT_EQ(Lines{"Broadcast(0xF170,2)"}, second.Requests());
    EXPECT_EQ((std::vector<unsigned char>{7, 7, 7}), damaged.Read("data\\settings.sf"));
}

namespace {

// Runs `exe z` in `dir` (a probe build is told to refuse the lock; the product
// asks the real system), answers the error box and returns its text; the
// program must still end with 0.
std::string RefusedLockBox(const char* exe, const ScratchDir& dir) {
    Program program(exe, "z", dir.Path(), "lock");
    HWND box = program.WaitForBox("Chyba");
    if (box == nullptr) return "(no box)";
    const std::string text = BoxText(box);
    Press(box, IDOK);
    EXPECT_EQ(0u, program.WaitForExit());
    return text;
}

}  // namespace

// The text reaches the system in Windows-1250 ("ř" is 0xF8 there).
TEST(QuickAction, RefusedLockShowsItsBoxAndStillExitsWithZero) {
    ScratchDir dir;
    const std::string text = RefusedLockBox(kProbe, dir);
    EXPECT_EQ("Nepodařilo se zamknout stanici !\nChyba : ER-ZPC01-001", text);
    EXPECT_EQ("Nepoda\xF8ilo se zamknout stanici !\nChyba : ER-ZPC01-001", text);
}

TEST(QuickAction, RefusedPrivilegeMakesNoLogOffAndNoBox) {
    ScratchDir dir;
    Program program(kProbe, "o", dir.Path(), "privilege");
    EXPECT_EQ(0u, program.WaitForExit());
    EXPECT_EQ(Lines{"EnableShutdownPrivilege()"}, program.Requests());
}

// The real product asks the real system; Wine refuses to lock a workstation.
TEST(QuickAction, ProductLocksThroughTheSystem) {
    ScratchDir dir;
    EXPECT_EQ("Nepodařilo se zamknout stanici !\nChyba : ER-ZPC01-001",
              RefusedLockBox("halvexor.exe", dir));
    EXPECT_FALSE(dir.Exists("probe.log"));
}

struct LevelCase {
    const char* version;
    DWORD level;
};

void PrintTo(const LevelCase& c, std::ostream* out) { *out << c.version; }

class OsLevelTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(OsLevelTest, StartUpSetsTheLevelOfTheReportedVersion) {
    ScratchDir dir;
    e2e::PretendVersion pretend("os_level_report.exe", GetParam().version);
    Program program("os_level_report.exe", "", dir.Path());
    EXPECT_EQ(GetParam().level, program.WaitForExit());
}

INSTANTIATE_TEST_SUITE_P(Versions, OsLevelTest,
                         ::testing::Values(LevelCase{"winxp", 220}, LevelCase{"win2k", 210},
                                           LevelCase{"win7", 220}, LevelCase{"vista", 0},
                                           LevelCase{"winxp64", 0}, LevelCase{"nt40", 0}));

class UnsupportedVersionTest : public ::testing::TestWithParam<const char*> {};

// Refused before any letter is looked at: no request is made.
TEST_P(UnsupportedVersionTest, RefusesWithBoxAndMinusTwo) {
    ScratchDir dir;
    e2e::PretendVersion pretend(kProbe, GetParam());
    Program program(kProbe, "z", dir.Path());
    HWND box = program.WaitForBox("Halvexor");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("Tento program není vytvořen pro tento operační systém !\nChyba : ER-WM01-002",
              BoxText(box));
    EXPECT_EQ(nullptr, GetWindow(box, GW_OWNER));
    Press(box, IDOK);
    EXPECT_EQ(static_cast<DWORD>(-2), program.WaitForExit());
    EXPECT_TRUE(program.Requests().empty());
    EXPECT_TRUE(dir.List("data").empty());
}

INSTANTIATE_TEST_SUITE_P(Versions, UnsupportedVersionTest, ::testing::Values("vista", "winxp64"));

TEST(Settings, MissingFileIsCreatedWithTwentyZeroBytes) {
    ScratchDir dir;
    Program program(kProbe, "", dir.Path());
    ASSERT_NE(nullptr, program.MainWindow());
    EXPECT_EQ(std::vector<unsigned char>(20, 0), dir.Read("data\\settings.sf"));
    EXPECT_EQ(std::vector<std::string>{"settings.sf"}, dir.List("data"));
    EXPECT_EQ(0u, program.Close());
}

// Started from another folder (the Run key, a shortcut's "Start in"), the
// program reads its settings from the data folder beside its own file, and
// makes nothing in the current directory.
TEST(Settings, ReadBesideTheProgramWhenTheCurrentDirectoryHasNoDataFolder) {
    ScratchDir home;
    ScratchDir elsewhere(false);
    ASSERT_TRUE(e2e::CopyInto(e2e::ProgramDir() + "\\" + kProbe, home.File(kProbe)));
    const auto stored = e2e::SettingsFile(1, 0, 0, 1, 4321);
    home.Write("data\\settings.sf", stored);
    Program program(home.File(kProbe), "", elsewhere.Path());
    HWND main = program.MainWindow();
    ASSERT_NE(nullptr, main);
    ExpectWarning4321(program, main);
    EXPECT_EQ(0u, program.Close());
    EXPECT_EQ(stored, home.Read("data\\settings.sf"));
    EXPECT_TRUE(elsewhere.List(".").empty());
}

// A backup or a virus scanner holds the file at the start, for a second: the
// program waits for it, shows no window meanwhile, and then reads it; the
// defaults are never written over it.
TEST(Settings, FileHeldAtTheStartIsWaitedForAndKeptWhole) {
    ScratchDir dir;
    const auto stored = e2e::SettingsFile(1, 0, 0, 1, 4321);
    dir.Write("data\\settings.sf", stored);
    HANDLE held = CreateFileA(dir.File("data\\settings.sf").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    Program program(kProbe, "", dir.Path());
    // Held until the program takes the session's object, just before it reads
    // the file, and a second longer.
    HANDLE taken = nullptr;
    for (int i = 0; i < 300 && !(taken = OpenMutexA(SYNCHRONIZE, FALSE, "Halvexor.SessionWindow")); ++i)
        Sleep(50);
    ASSERT_TRUE(taken != nullptr && CloseHandle(taken));
    EXPECT_EQ(nullptr, program.WaitForWindow("WinAPIMainClass", "Halvexor", 1000, false));
    CloseHandle(held);
    HWND main = program.MainWindow();
    ASSERT_NE(nullptr, main);
    ExpectWarning4321(program, main);
    EXPECT_EQ(0u, program.Close());
    EXPECT_EQ(stored, dir.Read("data\\settings.sf"));
}

class NoLetterTest : public ::testing::TestWithParam<std::string> {};

// Anything but the eight letters first starts the window, with no request.
TEST_P(NoLetterTest, StartsTheWindow) {
    ScratchDir dir;
    Program program(kProbe, GetParam(), dir.Path());
    ASSERT_NE(nullptr, program.MainWindow());
    EXPECT_EQ(0u, program.Close());
    EXPECT_TRUE(program.Requests().empty());
}

INSTANTIATE_TEST_SUITE_P(CommandLines, NoLetterTest,
                         ::testing::Values("", "x", "/h", "-z", "9", "/", "\xE8" "ernobyl",
                                           std::string(3000, 'q') + "z"));

// One window per session: a second start brings the first one's window back
// from the tray and to the front, and ends with 0 without touching any
// settings (here it would have created a file).
TEST(SecondStart, BringsTheSessionsWindowBackAndEndsWithZero) {
    e2e::Session first;
    ASSERT_NE(nullptr, first.main);
    ShowWindow(first.main, SW_HIDE);
    ASSERT_FALSE(IsWindowVisible(first.main));
    ScratchDir dir;
    Program second(kProbe, "", dir.Path());
    EXPECT_EQ(0u, second.WaitForExit());
    EXPECT_TRUE(IsWindowVisible(first.main));
    EXPECT_EQ(first.main, GetForegroundWindow());
    EXPECT_TRUE(dir.List("data").empty());
    EXPECT_EQ(0u, first.program.Close());
}

TEST(Settings, MissingDataFolderShowsSaveErrorAndExitsMinusThree) {
    ScratchDir dir(false);
    Program program(kProbe, "", dir.Path());
    HWND box = program.WaitForBox("Chyba");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("Chyba - nelze uložit nastavení programu !\nChyba : ER-SN01-001", BoxText(box));
    EXPECT_EQ(nullptr, GetWindow(box, GW_OWNER));
    Press(box, IDOK);
    EXPECT_EQ(static_cast<DWORD>(-3), program.WaitForExit());
    EXPECT_FALSE(dir.Exists("data"));
}

TEST(Settings, OutOfRangeValueSaysSoExitsMinusThreeAndKeepsTheFile) {
    const std::vector<std::vector<unsigned char>> files = {
        {2, 0, 0, 0},                                                          // a flag of 2
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x10, 0x27, 0, 0},    // 10000 seconds
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}};  // -1
    for (const auto& bytes : files) {
        ScratchDir dir;
        dir.Write("data\\settings.sf", bytes);
        Program program(kProbe, "", dir.Path());
        HWND box = program.WaitForBox("Chyba");
        ASSERT_NE(nullptr, box);
        EXPECT_EQ("Chyba - soubor nastavení programu je poškozen !\nChyba : ER-SN01-002", BoxText(box));
        EXPECT_EQ(nullptr, GetWindow(box, GW_OWNER));
        Press(box, IDOK);
        EXPECT_EQ(static_cast<DWORD>(-3), program.WaitForExit());
        EXPECT_EQ(bytes, dir.Read("data\\settings.sf"));
    }
}
