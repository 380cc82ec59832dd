# Cross build for 64-bit Windows with MinGW-w64: 64-bit mail clients load
# only 64-bit add-ins. Like the 32-bit build, every binary carries its own
# runtime.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(BRELLIN_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
