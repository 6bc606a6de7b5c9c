# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix thread
# model, for std::thread). DEMO_DEPS_PREFIXES names the folders where
# tools/scripts/windows-deps.sh installed SDL2, libopenmpt and GoogleTest.
# Programs built here run under Wine through CMAKE_CROSSCOMPILING_EMULATOR.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(DEMO_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${DEMO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DEMO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${DEMO_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${DEMO_MINGW_TRIPLET} ${DEMO_DEPS_PREFIXES})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

