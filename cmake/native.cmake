# Native build: the X11 hack and fern-trace, which need only libX11 and libGL;
# with BUILD_TESTING the portable cores' tests (GoogleTest) and the hack's
# end-to-end test, with BUILD_BENCHMARKS the walk's benchmark.
option(BUILD_BENCHMARKS "Build the walk's benchmark (needs Google Benchmark)" ${BUILD_TESTING})

add_executable(fern-trace tools/fern_trace.cpp)
target_link_libraries(fern-trace PRIVATE gl_standin)

# The fern as a hack for the X11 screen-saver daemons: xscreensaver finds it
# and its settings by name, MATE's screen saver by its desktop entry.
# On Wayland it is a client of its own, with EGL and the xdg-shell protocol,
# whose code wayland-scanner makes from the protocol's description.
find_package(X11 REQUIRED)
set(OpenGL_GL_PREFERENCE LEGACY) # libGL, which holds GLX too
find_package(OpenGL REQUIRED)
# Not FindOpenGL's EGL, which would want libOpenGL beside the libGL we use.
find_library(EGL_LIBRARY EGL REQUIRED)
find_library(WAYLAND_CLIENT wayland-client REQUIRED)
find_library(WAYLAND_EGL wayland-egl REQUIRED)
find_library(WAYLAND_CURSOR wayland-cursor REQUIRED)
find_library(XKBCOMMON xkbcommon REQUIRED)
find_path(WAYLAND_INCLUDE wayland-client.h REQUIRED)
find_program(WAYLAND_SCANNER wayland-scanner REQUIRED)
find_package(PkgConfig QUIET)
if(PKG_CONFIG_FOUND)
  pkg_get_variable(WAYLAND_PROTOCOLS wayland-protocols pkgdatadir)
endif()
find_file(XDG_SHELL_XML xdg-shell.xml REQUIRED NO_CMAKE_FIND_ROOT_PATH
  PATHS ${WAYLAND_PROTOCOLS} /usr/share/wayland-protocols PATH_SUFFIXES stable/xdg-shell)
enable_language(C)
set(xdg_shell ${CMAKE_BINARY_DIR}/xdg-shell)
add_custom_command(OUTPUT ${xdg_shell}/xdg-shell-client-protocol.h ${xdg_shell}/xdg-shell-protocol.c
  COMMAND ${CMAKE_COMMAND} -E make_directory ${xdg_shell}
  COMMAND ${WAYLAND_SCANNER} client-header ${XDG_SHELL_XML} ${xdg_shell}/xdg-shell-client-protocol.h
  COMMAND ${WAYLAND_SCANNER} private-code ${XDG_SHELL_XML} ${xdg_shell}/xdg-shell-protocol.c
  DEPENDS ${XDG_SHELL_XML} VERBATIM)

# The hack's decisions apart from any display, for its tests.
add_library(hack_core STATIC linux/hack_options.cpp x11/xscreensaver_list.cpp)
target_include_directories(hack_core PUBLIC linux x11)
target_link_libraries(hack_core PUBLIC renderer_core) # the tick length
# Its entry (hack/) above X11's and Wayland's own (x11/, wayland/), and what
# both share below them (linux/): the loop, the options, the picture.
add_executable(verdanelle hack/hack_main.cpp linux/tick_loop.cpp linux/gl_picture.cpp
  x11/x11_hack.cpp x11/glx_surface.cpp x11/xscreensaver_file.cpp
  wayland/wayland_hack.cpp wayland/egl_canvas.cpp ${xdg_shell}/xdg-shell-protocol.c)
target_include_directories(verdanelle PRIVATE wayland ${xdg_shell} ${WAYLAND_INCLUDE})
target_link_libraries(verdanelle PRIVATE hack_core movement renderer_core X11::X11 X11::Xss
  OpenGL::GL ${EGL_LIBRARY} ${WAYLAND_CLIENT} ${WAYLAND_EGL} ${WAYLAND_CURSOR} ${XKBCOMMON})

# The manual page compressed as Debian wants it: without a time stamp.
add_custom_command(OUTPUT verdanelle.6x.gz
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/x11/verdanelle.6x > verdanelle.6x.gz
  DEPENDS x11/verdanelle.6x VERBATIM)
add_custom_target(manual_page ALL DEPENDS verdanelle.6x.gz)

# What the Debian package (debian/, built by dpkg-buildpackage) holds under
# /usr, besides the copyright and changelog that debhelper adds.
install(TARGETS verdanelle DESTINATION libexec/xscreensaver)
# On PATH too, for what a user types: --add-to-xscreensaver.
install(CODE "file(MAKE_DIRECTORY \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin)
  file(CREATE_LINK ../libexec/xscreensaver/verdanelle \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/verdanelle SYMBOLIC)")
install(FILES x11/verdanelle.xml DESTINATION share/xscreensaver/config)
install(FILES x11/verdanelle.desktop DESTINATION share/applications/screensavers)
install(FILES ${CMAKE_BINARY_DIR}/verdanelle.6x.gz DESTINATION share/man/man6)

if(BUILD_BENCHMARKS) # run by hand, never a test
  find_package(benchmark REQUIRED)
  add_executable(walk_benchmark bench/walk_benchmark.cpp tests/native/reference_walk.cpp)
  target_include_directories(walk_benchmark PRIVATE tests/native)
  target_link_libraries(walk_benchmark PRIVATE renderer_core benchmark::benchmark)
  add_executable(walk_timing bench/walk_timing.cpp)
  target_link_libraries(walk_timing PRIVATE renderer_core)
endif()

if(BUILD_TESTING)
  find_package(GTest REQUIRED)
  add_subdirectory(tests/native)
  add_executable(x11-helper tests/x11/x11_helper.cpp)
  target_link_libraries(x11-helper PRIVATE X11::X11)
  add_test(NAME format COMMAND bash ${CMAKE_SOURCE_DIR}/tests/format_check.sh ${CMAKE_SOURCE_DIR})
  add_test(NAME hack_e2e COMMAND bash ${CMAKE_SOURCE_DIR}/tests/x11/hack_test.sh ${CMAKE_BINARY_DIR})
  # These two want what setup.sh installs (a display, the daemons, Debian's
  # clang-format), not just the build's dependencies.
  set_tests_properties(hack_e2e PROPERTIES RUN_SERIAL ON LABELS setup)
  set_tests_properties(format PROPERTIES LABELS setup)
  # Builds every release configuration twice, so it wants the cross tools too.
  add_test(NAME reproducible COMMAND bash ${CMAKE_SOURCE_DIR}/tests/reproducible_test.sh
    ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/reproducible)
  set_tests_properties(reproducible PROPERTIES LABELS setup)
endif()
