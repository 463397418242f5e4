# Web build (Emscripten): the renderer core as WebAssembly in a static site,
# build/web/site: index.html, verdanelle.js (Emscripten's loader with the
# page's own script after it) and verdanelle.wasm.
set(site ${CMAKE_BINARY_DIR}/site)
# Debian's Emscripten needs Debian's node modules at link time, which another
# node does not look for.
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
add_executable(verdanelle web/fern_module.cpp)
target_include_directories(verdanelle PRIVATE tests)
target_link_libraries(verdanelle PRIVATE renderer_core)
set_target_properties(verdanelle PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${site}
  LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/page.js)
target_link_options(verdanelle PRIVATE -sMODULARIZE=1 -sEXPORT_NAME=Verdanelle
  -sENVIRONMENT=web -sFILESYSTEM=0 -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432
  --extern-post-js ${CMAKE_SOURCE_DIR}/web/page.js)
configure_file(web/index.html ${site}/index.html COPYONLY)

# The site as a release package, Verdanelle-VERSION-web.zip.
install(FILES ${site}/index.html ${site}/verdanelle.js ${site}/verdanelle.wasm DESTINATION .)
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
