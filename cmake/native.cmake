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
find_library(SYSTEMD systemd REQUIRED) # sd-bus, for the desktop's D-Bus
find_path(WAYLAND_INCLUDE wayland-client.h REQUIRED)
find_program(WAYLAND_SCANNER wayland-scanner REQUIRED)
find_package(PkgConfig QUIET)
if(PKG_CONFIG_FOUND)
  pkg_get_variable(WAYLAND_PROTOCOLS wayland-protocols pkgdatadir)
endif()
enable_language(C)
set(protocols ${CMAKE_BINARY_DIR}/protocols)
set(protocol_code)
# wayland-scanner's header and code for the protocol NAME, from XML under DIRS.
function(wayland_protocol name suffix)
  find_file(${name}_XML ${name}.xml REQUIRED NO_CMAKE_FIND_ROOT_PATH PATHS ${ARGN} PATH_SUFFIXES ${suffix})
  add_custom_command(OUTPUT ${protocols}/${name}-client-protocol.h ${protocols}/${name}-protocol.c
    COMMAND ${CMAKE_COMMAND} -E make_directory ${protocols}
    COMMAND ${WAYLAND_SCANNER} client-header ${${name}_XML} ${protocols}/${name}-client-protocol.h
    COMMAND ${WAYLAND_SCANNER} private-code ${${name}_XML} ${protocols}/${name}-protocol.c
    DEPENDS ${${name}_XML} VERBATIM)
  set(protocol_code ${protocol_code} ${protocols}/${name}-protocol.c PARENT_SCOPE)
endfunction()
set(wayland_protocols ${WAYLAND_PROTOCOLS} /usr/share/wayland-protocols)
wayland_protocol(xdg-shell stable/xdg-shell ${wayland_protocols})
# Idleness: the standard protocol, and KDE's older one (Sway up to 1.7).
wayland_protocol(ext-idle-notify-v1 staging/ext-idle-notify ${wayland_protocols})
wayland_protocol(idle . /usr/share/plasma-wayland-protocols)
# The output's own pixels where the compositor scales by fractions.
wayland_protocol(viewporter stable/viewporter ${wayland_protocols})
wayland_protocol(fractional-scale-v1 staging/fractional-scale ${wayland_protocols})

# The hack's decisions apart from any display, for its tests.
add_library(hack_core STATIC linux/hack_options.cpp linux/autostart.cpp linux/autostart_entry.cpp
  linux/text_file.cpp
  x11/xscreensaver_list.cpp x11/screen_layout.cpp wayland/buffer_scale.cpp)
target_include_directories(hack_core PUBLIC linux x11 wayland)
target_link_libraries(hack_core PUBLIC renderer_core) # the tick length
# Its entry (hack/) above X11's and Wayland's own (x11/, wayland/), and what
# both share below them (linux/): the loop, the options, the picture.
add_executable(verdanelle hack/hack_main.cpp linux/tick_loop.cpp linux/gl_picture.cpp
  linux/idle_loop.cpp linux/desktop_bus.cpp linux/one_watcher.cpp
  x11/x11_hack.cpp x11/glx_surface.cpp x11/idle_alarm.cpp x11/xscreensaver_file.cpp
  x11/monitors.cpp x11/input_grab.cpp
  wayland/wayland_hack.cpp wayland/wayland_display.cpp wayland/wayland_seat.cpp
  wayland/wayland_windows.cpp wayland/egl_canvas.cpp ${protocol_code})
target_include_directories(verdanelle PRIVATE wayland ${protocols} ${WAYLAND_INCLUDE})
target_link_libraries(verdanelle PRIVATE hack_core movement renderer_core X11::X11 X11::Xss X11::Xext X11::Xrandr
  OpenGL::GL ${EGL_LIBRARY} ${WAYLAND_CLIENT} ${WAYLAND_EGL} ${WAYLAND_CURSOR} ${XKBCOMMON} ${SYSTEMD})

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
  target_link_libraries(x11-helper PRIVATE X11::X11 ${SYSTEMD})
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
