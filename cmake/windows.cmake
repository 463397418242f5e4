# Cross build: the Windows programs and the tests that run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tests/wine-run.sh ${CMAKE_BINARY_DIR})
add_link_options(-static -static-libgcc -static-libstdc++)

enable_language(RC)
enable_language(ASM)

# The 32-bit programs must load on Windows 95, whose loader refuses a
# subsystem version above 4.0; their package says so to its users.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(windows_arch x86)
  add_link_options(-Wl,--major-subsystem-version,4,--minor-subsystem-version,0)
  set(PACKAGE_WINDOWS "32-bit Windows (x86)")
  set(PACKAGE_NOTE "
Both programs run on a 486DX or later: any Pentium, K6, 6x86 or newer.
Windows 95 needs OPENGL32.DLL for Verdanelle: OSR2 ships it, the first
release gets it with Microsoft's OpenGL 1.1 update for Windows 95. Neither
program needs msvcrt.dll. On Windows 95, 98 and Me Verdanelle asks for the
screen-saver password set in the desktop's settings, if any, before it
closes.
")
else()
  set(windows_arch x64)
  set(PACKAGE_WINDOWS "64-bit Windows (x64)")
  set(PACKAGE_NOTE "")
endif()

# Both programs carry a manifest and version information, made here: the
# version is the project's one number, and only the installer asks for
# administrator rights, as its copy goes into the system directory.
configure_file(cmake/version_info.rc.in version_info.rc @ONLY)
set(EXECUTION_LEVEL requireAdministrator)
configure_file(cmake/program.manifest.in installer.manifest @ONLY)
set(EXECUTION_LEVEL asInvoker)
configure_file(cmake/program.manifest.in verdanelle.manifest @ONLY)
include_directories(${CMAKE_CURRENT_BINARY_DIR})
set_property(SOURCE windows/installer/installer.rc APPEND PROPERTY OBJECT_DEPENDS
  ${CMAKE_CURRENT_BINARY_DIR}/installer.manifest ${CMAKE_CURRENT_BINARY_DIR}/version_info.rc)
set_property(SOURCE windows/saver/verdanelle.rc APPEND PROPERTY OBJECT_DEPENDS
  ${CMAKE_CURRENT_BINARY_DIR}/verdanelle.manifest ${CMAKE_CURRENT_BINARY_DIR}/version_info.rc)

add_executable(installer WIN32 windows/installer/install_dialog.cpp windows/installer/installer.rc)
target_link_libraries(installer PRIVATE installer_core user32 kernel32)
target_link_options(installer PRIVATE -s)

add_library(renderer_window STATIC windows/saver/fern_window.cpp)
target_include_directories(renderer_window PUBLIC windows/saver)
target_link_libraries(renderer_window PUBLIC renderer_core opengl32 gdi32 user32)

# Everything of the screen saver but its entry, so tests can link it too.
add_library(saver_host OBJECT
  windows/saver/saver_window.cpp windows/saver/dpi_awareness.cpp windows/saver/saver_input.cpp windows/saver/password_gate.cpp windows/saver/about_box.cpp
  windows/saver/fault_guard.cpp windows/saver/fault_guard_${windows_arch}.S)
target_link_libraries(saver_host PUBLIC host_core renderer_window kernel32 advapi32)

add_executable(Verdanelle WIN32 windows/saver/saver_main.cpp windows/saver/verdanelle.rc)
set_target_properties(Verdanelle PROPERTIES SUFFIX .scr)
target_link_libraries(Verdanelle PRIVATE saver_host)
target_link_options(Verdanelle PRIVATE -s)

# The 32-bit programs start from an entry of their own, built for the 486 like
# the rest, in place of the runtime's start-up, which uses CMOV. Their link
# maps let the instruction scan name the code it finds.
if(windows_arch STREQUAL x86)
  foreach(program Verdanelle installer)
    target_sources(${program} PRIVATE windows/program_start.cpp)
    target_link_options(${program} PRIVATE -nostartfiles -Wl,-Map=${CMAKE_BINARY_DIR}/${program}.map)
  endforeach()
  # Without type information the installer needs nothing of the C runtime.
  set_source_files_properties(windows/installer/install_dialog.cpp PROPERTIES COMPILE_OPTIONS -fno-rtti)
endif()

# The release package: both programs, a short text for the user and the
# licence. Windows line ends, also within the texts put in.
function(write_windows_text source target)
  file(READ ${source} text)
  string(CONFIGURE "${text}" text @ONLY)
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${CMAKE_BINARY_DIR}/${target} "${text}")
endfunction()
write_windows_text(packaging/README.txt.in README.txt)
write_windows_text(LICENSE LICENSE.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS packaging/README.txt.in LICENSE)
install(TARGETS Verdanelle installer RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/README.txt ${CMAKE_BINARY_DIR}/LICENSE.txt DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME Verdanelle-${PROJECT_VERSION}-${windows_arch})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
# With BUILD_TESTING=OFF (as for a release) no test, and no GoogleTest.
if(NOT BUILD_TESTING)
  return()
endif()
add_test(NAME package COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/package_test.sh
  ${CMAKE_BINARY_DIR} ${windows_arch} ${PROJECT_VERSION})
set_tests_properties(package PROPERTIES LABELS without_wine)

set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_subdirectory(tests/standins)
add_subdirectory(tests/windows)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME win95_loadable COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/win95_loadable.sh
    ${CMAKE_BINARY_DIR} ${CMAKE_OBJDUMP})
  set_tests_properties(win95_loadable PROPERTIES LABELS without_wine)
endif()

add_test(NAME installer_e2e COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/installer_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(installer_e2e PROPERTIES RUN_SERIAL ON)

add_test(NAME saver_e2e COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/saver_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(saver_e2e PROPERTIES RUN_SERIAL ON)

add_test(NAME about_e2e COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/about_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(about_e2e PROPERTIES RUN_SERIAL ON)

add_test(NAME password_e2e COMMAND bash ${CMAKE_SOURCE_DIR}/tests/e2e/password_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(password_e2e PROPERTIES RUN_SERIAL ON)
