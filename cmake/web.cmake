# Web build (Emscripten): the renderer core as WebAssembly in a static site,
# build/web/site: index.html, verdanelle.js (Emscripten's loader with the
# page's own script after it), verdanelle.wasm, and what makes it an app that
# starts offline: its manifest, its icons and the service worker sw.js.
set(site ${CMAKE_BINARY_DIR}/site)
# Debian's Emscripten needs Debian's node modules at link time, which another
# node does not look for.
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
add_executable(verdanelle web/fern_module.cpp)
target_link_libraries(verdanelle PRIVATE gl_standin)
set_target_properties(verdanelle PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${site}
  LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/page.js)
target_link_options(verdanelle PRIVATE -sMODULARIZE=1 -sEXPORT_NAME=Verdanelle
  -sENVIRONMENT=web -sFILESYSTEM=0 -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432
  --extern-post-js ${CMAKE_SOURCE_DIR}/web/page.js)
set(site_files index.html manifest.webmanifest icon-192.png icon-512.png icon-maskable-512.png)
foreach(file ${site_files})
  configure_file(web/${file} ${site}/${file} COPYONLY)
endforeach()
list(APPEND site_files verdanelle.js verdanelle.wasm)
list(TRANSFORM site_files PREPEND ${site}/ OUTPUT_VARIABLE site_paths)
add_custom_command(OUTPUT ${site}/sw.js
  COMMAND ${CMAKE_COMMAND} -DSITE=${site} -DTEMPLATE=${CMAKE_SOURCE_DIR}/web/sw.js.in
    -DVERSION=${PROJECT_VERSION} "-DFILES=${site_files}" -P ${CMAKE_SOURCE_DIR}/cmake/service_worker.cmake
  DEPENDS verdanelle ${site_paths} web/sw.js.in cmake/service_worker.cmake VERBATIM)
add_custom_target(service_worker ALL DEPENDS ${site}/sw.js)

# The site as a release package, Verdanelle-VERSION-web.zip.
install(FILES ${site_paths} ${site}/sw.js DESTINATION .)
install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME Verdanelle-${PROJECT_VERSION}-web)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)

# The walk's time per pair in WebAssembly, run under node by bench/web_rate.sh.
add_executable(walk_timing bench/walk_timing.cpp)
target_link_libraries(walk_timing PRIVATE renderer_core)
target_link_options(walk_timing PRIVATE -sSINGLE_FILE=1 -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=node)

add_test(NAME web_page COMMAND bash ${CMAKE_SOURCE_DIR}/tests/web/run.sh ${CMAKE_BINARY_DIR})
add_test(NAME web_engines COMMAND node ${CMAKE_SOURCE_DIR}/tests/web/engines_test.mjs ${site} ${CMAKE_BINARY_DIR}/engines-test)
