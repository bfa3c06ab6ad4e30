# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (the POSIX-threads variant, which
# std::thread needs) and runs what it built under wine. The core alone: there is no Qt for it here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static programs need no MinGW DLLs beside them under wine.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(VEKATON_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(VEKATON_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VEKATON_WINE})
endif()
