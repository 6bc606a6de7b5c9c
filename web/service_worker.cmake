# Writes the site's service worker from its template (cmake -P):
#   SITE_DIR   the site's folder; the worker stores every file in it
#   TEMPLATE   sw.js.in, with @SITE_VERSION@ and @SITE_FILES@
#   OUTPUT     the worker to write (in SITE_DIR, and not stored)
# The version is the start of a SHA-256 over the names and contents of the
# files, so it changes exactly when one of them does.
file(GLOB files RELATIVE "${SITE_DIR}" "${SITE_DIR}/*")
list(SORT files)
get_filename_component(worker "${OUTPUT}" NAME)
list(REMOVE_ITEM files "${worker}")
set(digest_input "")
set(names "")
foreach(file ${files})
  if(IS_DIRECTORY "${SITE_DIR}/${file}")
    continue()
  endif()
  file(SHA256 "${SITE_DIR}/${file}" digest)
  string(APPEND digest_input "${file} ${digest}\n")
  list(APPEND names "'${file}'")
endforeach()
list(JOIN names ", " SITE_FILES)
string(SHA256 digest "${digest_input}")
string(SUBSTRING "${digest}" 0 16 SITE_VERSION)
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
