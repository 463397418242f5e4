# Cross build: the Windows programs and the tests that run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tests/wine-run.sh ${CMAKE_BINARY_DIR})
add_link_options(-static -static-libgcc -static-libstdc++)

enable_language(RC)

add_executable(installer WIN32 installer/install_dialog.cpp installer/installer.rc)
target_link_libraries(installer PRIVATE installer_core user32 kernel32)
target_link_options(installer PRIVATE -s)

add_library(renderer_window STATIC renderer/fern_window.cpp)
target_include_directories(renderer_window PUBLIC renderer host)
target_link_libraries(renderer_window PUBLIC renderer_core opengl32 gdi32 user32)

set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_subdirectory(tests/windows)

add_test(NAME installer_e2e COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/installer_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(installer_e2e PROPERTIES RUN_SERIAL ON)
