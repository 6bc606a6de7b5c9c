# Toolchain of the WebAssembly build: Debian's emscripten. Its compiler finds
# its JavaScript modules (acorn) only through NODE_PATH, at configure time and
# in every compile and link step.
set(DEMO_EMSCRIPTEN_ROOT /usr/share/emscripten CACHE PATH "Emscripten's folder")
set(DEMO_NODE_MODULES /usr/share/nodejs CACHE PATH "Node modules emscripten needs")
set(ENV{NODE_PATH} ${DEMO_NODE_MODULES})
include(${DEMO_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake)
foreach(lang C CXX)
  set(CMAKE_${lang}_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${DEMO_NODE_MODULES})
  set(CMAKE_${lang}_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${DEMO_NODE_MODULES})
endforeach()
