// The shipped program itself, not the probe build: its window, closing, and a
// suspension through powrprof.dll from the system folder only.  This is also
// the smoke run of the 32-bit program where it can only be emulated (dev.sh
// runs the "Product.*" tests there), so it covers what differs by
// architecture in as few program starts as it can.
#include <gtest/gtest.h>

#include "driver.h"

namespace {

using e2e::Program;
using e2e::ScratchDir;

// A powrprof.dll beside the product, as a download folder might hold one, is
// loaded neither at the start nor when a suspension is asked for.  The
// product itself runs here, copied byte for byte into the folder with the
// planted DLL; its standby request reaches Wine's own SetSuspendState, which
// only answers TRUE.
TEST(Product, StartsClosesAndSuspendsWithTheSystemsPowrprofOnly) {
    ScratchDir dir;
    const std::string product = dir.File("halvexor.exe");
    ASSERT_TRUE(e2e::CopyInto(e2e::ProgramDir() + "\\halvexor.exe", product));
    ASSERT_TRUE(e2e::CopyInto(e2e::BuildDir() + "\\planted_powrprof.dll", dir.File("powrprof.dll")));

    // The planted DLL does leave its mark when it is loaded (under Wine, with
    // WINEDLLOVERRIDES=powrprof=n,b, as the test build sets it: Wine would
    // otherwise prefer its own powrprof wherever the file is).  When the
    // product is of the other architecture than this test, the mark only
    // shows that nothing was loaded in its stead.
    HMODULE planted = LoadLibraryA(dir.File("powrprof.dll").c_str());
    ASSERT_NE(nullptr, planted);
    FreeLibrary(planted);
    ASSERT_TRUE(dir.Exists("planted.log"));
    ASSERT_TRUE(DeleteFileA(dir.File("planted.log").c_str()));

    {
        Program program(product, "", dir.Path());
        HWND main = program.MainWindow();  // found by its class and title
        ASSERT_NE(nullptr, main);
        for (const e2e::MainButton& expected : e2e::kMainButtons) {
            char text[64] = {};
            GetWindowTextA(GetDlgItem(main, expected.id), text, sizeof text);
            EXPECT_STREQ(expected.text, text);
        }
        EXPECT_EQ(0u, program.Close());
    }
    Program standby(product, "u", dir.Path());
    EXPECT_EQ(0u, standby.WaitForExit());
    EXPECT_FALSE(dir.Exists("planted.log"));
}

}  // namespace
