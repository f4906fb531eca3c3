# 32-bit Windows build with Debian's MinGW-w64, for Windows 2000 and later. The win32 threading
# model links no threading runtime: the posix one brings libwinpthread, whose imports
# (GetTickCount64, AddVectoredExceptionHandler) the oldest systems lack.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER   i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER  i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The oldest system this build runs on: the headers offer nothing newer, the loader is told.
set(IPLIST_WINDOWS_VERSION 0x0500)
