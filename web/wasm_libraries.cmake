# SDL2 and libopenmpt for WebAssembly, built from Debian's source packages by
# tools/scripts/web-deps.sh, which prints the folder to pass here; libopenmpt
# is its build with WebAssembly exceptions (libopenmpt-wasm-eh), so that a
# damaged module is reported through its C interface. They take
# the names the native build gets from pkg-config, so the sound library and
# the capture tool build unchanged.
set(DEMO_WASM_LIBS "" CACHE PATH "Folder with sdl2/ and libopenmpt-wasm-eh/ for wasm (tools/scripts/web-deps.sh prints it)")
set(DEMO_HOST_ASSETGEN "" CACHE FILEPATH "The native data generator demo_assetgen")
foreach(lib sdl2/lib/libSDL2.a libopenmpt-wasm-eh/lib/libopenmpt.a)
  if(NOT EXISTS "${DEMO_WASM_LIBS}/${lib}")
    message(FATAL_ERROR "No ${lib} under DEMO_WASM_LIBS='${DEMO_WASM_LIBS}': run tools/scripts/web-deps.sh (make web does)")
  endif()
endforeach()
if(NOT EXISTS "${DEMO_HOST_ASSETGEN}")
  message(FATAL_ERROR "DEMO_HOST_ASSETGEN='${DEMO_HOST_ASSETGEN}' is not the native demo_assetgen (make web builds it)")
endif()

add_library(PkgConfig::SDL2 INTERFACE IMPORTED)
target_include_directories(PkgConfig::SDL2 INTERFACE ${DEMO_WASM_LIBS}/sdl2/include/SDL2)
target_link_libraries(PkgConfig::SDL2 INTERFACE ${DEMO_WASM_LIBS}/sdl2/lib/libSDL2.a)

add_library(PkgConfig::OPENMPT INTERFACE IMPORTED)
target_include_directories(PkgConfig::OPENMPT INTERFACE ${DEMO_WASM_LIBS}/libopenmpt-wasm-eh/include)
target_link_libraries(PkgConfig::OPENMPT INTERFACE ${DEMO_WASM_LIBS}/libopenmpt-wasm-eh/lib/libopenmpt.a)
# Its exceptions are caught inside it; the program that links it needs the
# same exception handling.
target_link_options(PkgConfig::OPENMPT INTERFACE -fwasm-exceptions)

# No threads of our own in the browser: SDL's audio runs from the page's
# audio events, and a shared-memory build would need special server headers.
add_library(Threads::Threads INTERFACE IMPORTED)

# WebAssembly SIMD: with emscripten's SSE2 headers (-msse2 defines __SSE2__
# and maps the SSE2 intrinsics onto wasm SIMD) the renderer's SSE2 loops run
# as SIMD in the browser and under Node too. Bulk memory makes a large memcpy
# one instruction instead of a call out to JavaScript; every browser with
# SIMD has it.
add_compile_options(-msimd128 -msse2 -mbulk-memory)
add_link_options(-mbulk-memory)
