// DLLs are loaded from the system folder by their full path.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "base/dll_search.h"

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

TEST(DllSearch, LoadsFromTheSystemFolderOrNotAtAll) {
    HMODULE library = LoadSystemLibrary("powrprof.dll");
    ASSERT_NE(nullptr, library);
    char loaded[MAX_PATH] = {};
    GetModuleFileNameA(library, loaded, MAX_PATH);
    char system[MAX_PATH] = {};
    ASSERT_NE(0u, GetSystemDirectoryA(system, MAX_PATH));
    EXPECT_EQ(Lower(std::string(system) + "\\powrprof.dll"), Lower(loaded));
    EXPECT_NE(nullptr, GetProcAddress(library, "SetSuspendState"));
    FreeLibrary(library);

    EXPECT_EQ(nullptr, LoadSystemLibrary("halvexor-no-such-library.dll"));
    // A name that would not fit a path is refused, not cut short.
    EXPECT_EQ(nullptr, LoadSystemLibrary(std::string(MAX_PATH, 'x').c_str()));
}

}  // namespace
