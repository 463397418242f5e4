# Native build: the portable cores with GoogleTest, and the tools.
find_package(GTest REQUIRED)

add_executable(fern-trace tools/fern_trace.cpp)
target_link_libraries(fern-trace PRIVATE renderer_core)

add_subdirectory(tests/native)

# The walk's speed against the plain reference; run by hand, never a test.
find_package(benchmark REQUIRED)
add_executable(walk_benchmark bench/walk_benchmark.cpp tests/native/reference_walk.cpp)
target_include_directories(walk_benchmark PRIVATE tests/native)
target_link_libraries(walk_benchmark PRIVATE renderer_core benchmark::benchmark)
add_executable(walk_timing bench/walk_timing.cpp)
target_link_libraries(walk_timing PRIVATE renderer_core)

# The fern as a hack for the X11 screen-saver daemon, installed where the
# daemon looks for hacks and their settings.
find_package(X11 REQUIRED)
set(OpenGL_GL_PREFERENCE LEGACY) # libGL, which holds GLX too
find_package(OpenGL REQUIRED)
add_library(hack_core STATIC x11/hack_options.cpp)
target_include_directories(hack_core PUBLIC x11)
add_executable(verdanelle x11/hack_main.cpp x11/glx_surface.cpp)
target_link_libraries(verdanelle PRIVATE hack_core renderer_core X11::X11 OpenGL::GL)
install(TARGETS verdanelle DESTINATION libexec/xscreensaver)
install(FILES x11/verdanelle.xml DESTINATION share/xscreensaver/config)

add_executable(x11-helper tests/x11/x11_helper.cpp)
target_link_libraries(x11-helper PRIVATE X11::X11)
add_test(NAME hack_e2e COMMAND bash ${CMAKE_SOURCE_DIR}/tests/x11/hack_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(hack_e2e PROPERTIES RUN_SERIAL ON)
