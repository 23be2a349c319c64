# Windows i686 build with mingw-w64 (win32 thread model: no winpthreads,
# whose imports Windows XP lacks): the build Windows XP, almost always 32-bit,
# runs. Tests run through Wine's 32-bit loader, in a 32-bit prefix as on XP.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The 32-bit loader by name (scripts/wine-arch.sh): Debian's multiarch
# wine32:i386.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
