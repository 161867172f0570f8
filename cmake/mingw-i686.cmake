# i686 Windows build: the 32-bit program, which is what ships.
#
# HALVEXOR_MINGW_THREADS picks the compilers.  The programs are made by the
# "win32" ones, which link no POSIX thread library: its objects import
# functions that Windows 2000 and XP lack, so a program carrying them does not
# load there.  GoogleTest needs std::mutex, which only the "posix" compilers
# have, so the test executables are made by those, in a build of their own.
set(HALVEXOR_MINGW_THREADS win32 CACHE STRING "MinGW thread model of the compilers: win32 or posix")
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-${HALVEXOR_MINGW_THREADS})
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-${HALVEXOR_MINGW_THREADS})
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# CTest runs the .exe tests through Wine's 32-bit loader.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
