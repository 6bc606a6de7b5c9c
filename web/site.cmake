# The site's generated files, in the WebAssembly build: the icons of the web
# app manifest, cut from a frame of the show that the capture tool composes
# under Node, and the service worker, which carries a hash of every other
# site file so that each build's worker stores and serves that build's files.
find_program(DEMO_NODE node REQUIRED)
find_program(DEMO_CONVERT convert REQUIRED)

# The frame at 30 s: the globe behind the calm grid. A square from its middle
# makes both icons, in 256 colours (less than half the bytes, no visible
# difference).
set(icon_frames ${CMAKE_CURRENT_BINARY_DIR}/icon_frame)
set(icon_frame ${icon_frames}/frame_00060.ppm)
set(icon_crop 360x360+150+110)
set(site_icons ${DEMO_SITE_DIR}/icon-192.png ${DEMO_SITE_DIR}/icon-512.png)
set(icon_commands "")
foreach(side 192 512)
  list(APPEND icon_commands COMMAND ${DEMO_CONVERT} ${icon_frame} -crop ${icon_crop} +repage
    -filter Lanczos -resize ${side}x${side} -colors 256 -quality 95 -strip -define png:exclude-chunks=date,time
    ${DEMO_SITE_DIR}/icon-${side}.png)
endforeach()
add_custom_command(OUTPUT ${site_icons}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${icon_frames}
  COMMAND ${DEMO_NODE} --no-experimental-fetch $<TARGET_FILE:demo_capture>
    --fps 2 --frames ${icon_frames} --only 60
  ${icon_commands}
  DEPENDS demo_capture ${DEMO_ASSET_FILES}
  WORKING_DIRECTORY ${DEMO_RUN_DIR}
  COMMENT "Icons of the site from a frame of the show"
  VERBATIM)

# The service worker stores every file of the site's folder, and is written
# again when one of them changes: the page's files, the icons, and demo.js
# (the link that writes demo.js also writes demo.wasm and demo.data).
set(site_file_paths "")
foreach(file index.html page.js page.css manifest.webmanifest)
  list(APPEND site_file_paths ${DEMO_SITE_DIR}/${file})
endforeach()
add_custom_command(OUTPUT ${DEMO_SITE_DIR}/sw.js
  COMMAND ${CMAKE_COMMAND} -DSITE_DIR=${DEMO_SITE_DIR}
    -DTEMPLATE=${CMAKE_CURRENT_SOURCE_DIR}/site/sw.js.in -DOUTPUT=${DEMO_SITE_DIR}/sw.js
    -P ${CMAKE_CURRENT_SOURCE_DIR}/service_worker.cmake
  DEPENDS demo_web ${site_file_paths} ${site_icons} ${CMAKE_CURRENT_SOURCE_DIR}/site/sw.js.in
    ${CMAKE_CURRENT_SOURCE_DIR}/service_worker.cmake
  COMMENT "Service worker of the site"
  VERBATIM)
add_custom_target(demo_site ALL DEPENDS ${DEMO_SITE_DIR}/sw.js ${site_icons})
