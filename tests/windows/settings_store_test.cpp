// A save's file calls, recorded in the system's place; the flush fails the second time.
#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "test_window.h"

namespace {
std::string gCalls;
BOOL Log(const char* call, BOOL result = TRUE) { return gCalls += call, result; }
HANDLE WINAPI Create(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) {
    return reinterpret_cast<HANDLE>(INT_PTR{Log("create ")});
}
BOOL WINAPI Write(HANDLE, LPCVOID, DWORD size, LPDWORD done, LPOVERLAPPED) { return *done = size, Log("write "); }
BOOL WINAPI Flush(HANDLE) { return Log("flush ", gCalls == "create write "); }
BOOL WINAPI Close(HANDLE) { return Log("close "); }
BOOL WINAPI Replace(LPCSTR, LPCSTR, DWORD) { return Log("replace "); }
BOOL WINAPI Remove(LPCSTR) { return Log("remove "); }
}  // namespace

TEST(SettingsStore, FlushesTheNewFileBeforeItReplacesTheOldAndNotAfterAFailedFlush) {
    const SettingsFileCalls calls = {Create, Write, Flush, Close, Replace, Remove};
    testwin::BoxWatcher boxes;
    EXPECT_EQ(1, SaveSettingsThrough(calls));
    EXPECT_EQ(0, SaveSettingsThrough(calls));
    EXPECT_EQ("create write flush close replace create write flush close remove ", gCalls);
    EXPECT_EQ(1u, boxes.Boxes().size());  // ER-SN01-001, for the failed save only
}
