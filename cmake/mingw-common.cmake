# What the 32-bit and the 64-bit cross builds share; the toolchain file sets
# CMAKE_SYSTEM_PROCESSOR and BRELLIN_MINGW_PREFIX before it includes this.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${BRELLIN_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${BRELLIN_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${BRELLIN_MINGW_PREFIX}-windres)
set(BRELLIN_WIDL ${BRELLIN_MINGW_PREFIX}-widl)
set(BRELLIN_OBJDUMP ${BRELLIN_MINGW_PREFIX}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${BRELLIN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Windows programs run under Wine when the test suite starts them.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/win32/wine-run)
