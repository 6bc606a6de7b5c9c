# The Windows build, cross-compiled with mingw-w64 (see
# cmake/mingw-w64-x86_64.cmake and tools/scripts/windows-build.sh).
# SDL2 is a DLL beside the programs; libopenmpt and the C++ runtime are linked
# in. There is no Google Benchmark for Windows here, so no benchmark programs.
find_package(PkgConfig REQUIRED)
find_package(SDL2 CONFIG REQUIRED)
find_package(Threads REQUIRED)
find_package(GTest CONFIG REQUIRED)
pkg_check_modules(OPENMPT REQUIRED IMPORTED_TARGET libopenmpt)

# The rest of the build names SDL2 as on Linux. The programs keep their own
# main() (no SDL2main), so SDL must not rename it.
add_library(PkgConfig::SDL2 INTERFACE IMPORTED)
target_link_libraries(PkgConfig::SDL2 INTERFACE SDL2::SDL2)
target_compile_definitions(PkgConfig::SDL2 INTERFACE SDL_MAIN_HANDLED)

# access() that accepts X_OK (the C runtime's own rejects it).
add_compile_definitions(__USE_MINGW_ACCESS)
# No libgcc or libstdc++ DLL to ship; Release programs are stripped.
add_link_options(-static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)

# The DLLs the programs load sit beside them in the programs' folder.
get_target_property(sdl2_dll SDL2::SDL2 IMPORTED_LOCATION_RELEASE)
if(NOT sdl2_dll)
  get_target_property(sdl2_dll SDL2::SDL2 IMPORTED_LOCATION)
endif()
find_file(winpthread_dll libwinpthread-1.dll PATH_SUFFIXES lib bin REQUIRED)
file(COPY ${sdl2_dll} ${winpthread_dll} DESTINATION ${DEMO_RUN_DIR})
