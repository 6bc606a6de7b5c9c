# Gives demo.js the same bytes for the same data: emscripten's file packager
# writes a random id (package_uuid, read only by its IndexedDB cache of the
# data, which the page does not use) into demo.js; it is replaced by one made
# from demo.data's SHA-256 (cmake -P).
#   JS    demo.js
#   DATA  demo.data
file(READ "${JS}" js)
set(id_pattern "(package_uuid\"?: *\")[0-9a-f]+-[0-9a-f]+-[0-9a-f]+-[0-9a-f]+-[0-9a-f]+\"")
string(REGEX MATCHALL "${id_pattern}" ids "${js}")
list(LENGTH ids count)
if(count EQUAL 0)
  return()
elseif(NOT count EQUAL 1)
  message(FATAL_ERROR "stable_package_id.cmake: ${count} package ids in ${JS}, expected one")
endif()
file(SHA256 "${DATA}" digest)
string(REGEX REPLACE "^(........)(....)(....)(....)(............).*$" "\\1-\\2-\\3-\\4-\\5" id "${digest}")
string(REGEX REPLACE "${id_pattern}" "\\1${id}\"" js "${js}")
file(WRITE "${JS}" "${js}")
