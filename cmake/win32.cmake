# The Windows program, zorvik.exe: the host beside the desktop chat client,
# driving the client's own windows through user32, or on the embedded
# client. Included by CMakeLists.txt on WIN32 instead of the rest of it.
#
# Chosen by folder and file: the win32/ folders and *_win32.cpp come in;
# what needs POSIX or X11 stays out (the poll loop, the IRC back end on
# POSIX sockets and OpenSSL, the FLTK desktop, the ncurses full-screen
# console, and the runners and tests built on them). The IRC message
# parser and name rules are portable and come in, for the config reader.

# ANSI user32 calls throughout: the client's windows are ANSI windows, and
# the text crosses in the ANSI code page.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
link_libraries(user32)

# The config file's reader, toml++, is header-only: its headers come from
# the build machine's package, through a folder that holds only them (the
# rest of /usr/include is the build machine's C library, not Windows').
find_path(ZORVIK_TOML_DIR toml++/toml.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(ZORVIK_TOML_ONLY ${CMAKE_BINARY_DIR}/toml-headers)
file(MAKE_DIRECTORY ${ZORVIK_TOML_ONLY})
file(CREATE_LINK ${ZORVIK_TOML_DIR}/toml++ ${ZORVIK_TOML_ONLY}/toml++ SYMBOLIC)
add_library(tomlplusplus::tomlplusplus INTERFACE IMPORTED)
set_target_properties(tomlplusplus::tomlplusplus PROPERTIES
                      INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${ZORVIK_TOML_ONLY}
                      INTERFACE_INCLUDE_DIRECTORIES ${ZORVIK_TOML_ONLY})

include(cmake/libraries.cmake)
# The Windows parts, each folder a library too: the window interface and
# room feed on user32, and the windows' native views.
zorvik_library(zorvik_win32_bridge bridge/win32 USES zorvik_kit zorvik_bridge zorvik_loop
               zorvik_text)
zorvik_library(zorvik_win32_windows windows/win32 USES zorvik_windows zorvik_match zorvik_kit
               zorvik_bridge zorvik_loop zorvik_text)
list(PREPEND ZORVIK_LIBRARIES zorvik_win32_windows zorvik_win32_bridge)

# The program: its start on Windows (app/win32/) and the command line.
file(GLOB ZORVIK_WIN32_APP CONFIGURE_DEPENDS src/app/win32/*.cpp)
add_executable(zorvik ${ZORVIK_WIN32_APP} src/app/command_line.cpp)
target_link_libraries(zorvik PRIVATE ${ZORVIK_LIBRARIES})
zorvik_expose_headers(zorvik app HEADERS command_line.h)
zorvik_expose_headers(zorvik app/win32)

# GoogleTest from Debian's sources (googletest package), cross-built with
# the rest; its own code is not held to our warnings.
enable_testing()
set(ZORVIK_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${ZORVIK_GTEST_SOURCE_DIR} googletest EXCLUDE_FROM_ALL)
set_target_properties(gtest gtest_main PROPERTIES COMPILE_OPTIONS "")

add_executable(zorvik_tests ${ZORVIK_TEST_SOURCES} src/app/command_line_test.cpp
               src/app/command_line.cpp)
target_link_libraries(zorvik_tests PRIVATE ${ZORVIK_LIBRARIES} gtest gtest_main)
zorvik_expose_headers(zorvik_tests app HEADERS command_line.h)
target_compile_definitions(zorvik_tests PRIVATE ZORVIK_BINARY="$<TARGET_FILE:zorvik>")
add_dependencies(zorvik_tests zorvik)
include(GoogleTest)
gtest_discover_tests(zorvik_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)

# The host and a stand-in for the desktop client as two programs, in real
# time under wine (which needs a display for windows): a binary of their own.
# They run one at a time, as each finds the client by its main window.
add_executable(standin_client tests/win32/standin_client.cpp)
target_link_libraries(standin_client PRIVATE user32)
file(GLOB ZORVIK_WIN32_SCENARIOS CONFIGURE_DEPENDS tests/win32/*_test.cpp tests/win32/*_harness.cpp)
add_executable(zorvik_win32_tests ${ZORVIK_WIN32_SCENARIOS})
target_link_libraries(zorvik_win32_tests PRIVATE ${ZORVIK_LIBRARIES} gtest gtest_main)
target_include_directories(zorvik_win32_tests PRIVATE tests/win32)
add_dependencies(zorvik_win32_tests zorvik standin_client)
gtest_discover_tests(zorvik_win32_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                     PROPERTIES TIMEOUT 300 LABELS win32 RESOURCE_LOCK desktop_client)

# The program's own windows, clicked with the mouse beside the stand-in
# client: a script, since it drives the display from outside (xdotool).
add_test(NAME windows_smoke
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win32/windows_smoke.sh $<TARGET_FILE:zorvik>
                 $<TARGET_FILE:standin_client>)
set_tests_properties(windows_smoke PROPERTIES LABELS win32 RESOURCE_LOCK desktop_client
                     TIMEOUT 300 SKIP_RETURN_CODE 77)

include(cmake/win32-package.cmake)
