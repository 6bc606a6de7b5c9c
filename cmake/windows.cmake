# The Windows build, cross-compiled with mingw-w64 (see
# cmake/mingw-w64-x86_64.cmake and tools/scripts/windows-build.sh).
# SDL2 is a DLL beside the programs; libopenmpt and the C++ runtime are linked
# in. There is no Google Benchmark for Windows here, so no benchmark programs.
# pkg-config reads only the .pc files of the Windows libraries.
set(pc_dirs "")
foreach(prefix ${DEMO_DEPS_PREFIXES})
  list(APPEND pc_dirs ${prefix}/lib/pkgconfig)
endforeach()
string(REPLACE ";" ":" pc_dirs "${pc_dirs}")
set(ENV{PKG_CONFIG_LIBDIR} "${pc_dirs}")
set(ENV{PKG_CONFIG_PATH} "")
find_package(PkgConfig REQUIRED)
find_package(SDL2 CONFIG REQUIRED)
find_package(Threads REQUIRED)
if(DEMO_TESTS)
  find_package(GTest CONFIG REQUIRED)
endif()
pkg_check_modules(OPENMPT REQUIRED IMPORTED_TARGET libopenmpt)
# libopenmpt is a static library here; what it needs from Windows.
set_property(TARGET PkgConfig::OPENMPT APPEND PROPERTY INTERFACE_LINK_LIBRARIES ole32 rpcrt4)

# The rest of the build names SDL2 as on Linux. The programs keep their own
# main() (no SDL2main), so SDL must not rename it.
add_library(PkgConfig::SDL2 INTERFACE IMPORTED)
target_link_libraries(PkgConfig::SDL2 INTERFACE SDL2::SDL2)
target_compile_definitions(PkgConfig::SDL2 INTERFACE SDL_MAIN_HANDLED)

# access() that accepts X_OK (the C runtime's own rejects it).
add_compile_definitions(__USE_MINGW_ACCESS)
# No libgcc or libstdc++ DLL to ship; Release programs are stripped; no link
# time in the programs' headers either, so a build is the same bytes every time.
add_link_options(-static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s> -Wl,--no-insert-timestamp)

# The DLLs the programs load sit beside them in the programs' folder.
get_target_property(sdl2_dll SDL2::SDL2 IMPORTED_LOCATION_RELEASE)
if(NOT sdl2_dll)
  get_target_property(sdl2_dll SDL2::SDL2 IMPORTED_LOCATION)
endif()
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
  OUTPUT_VARIABLE winpthread_dll OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT EXISTS "${winpthread_dll}")
  message(FATAL_ERROR "libwinpthread-1.dll of the compiler not found")
endif()
file(COPY ${sdl2_dll} ${winpthread_dll} DESTINATION ${DEMO_RUN_DIR})
