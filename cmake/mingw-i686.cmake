# Cross build for 32-bit Windows with MinGW-w64. Every binary carries its own
# C and C++ runtime, so it needs no DLL beside the system's: the mail client
# loads our library from a plain folder, with nothing else installed.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(BRELLIN_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
