# One library a folder of src/, each naming the libraries it uses. A
# library's headers are seen only by the libraries that use it: each gets
# an include folder of its own in the build tree, holding links to its
# headers under their usual names ("match/host_console.h"), so that an
# include against the arrows does not build.
#
#   text, gamedata                      no dependencies
#   loop (bridge/loop)                  the event loops
#   bridge (its top-level interfaces), kit (bridge/kit), irc (bridge/irc)
#   match                               the game
#   windows                             the windows' models
#   app                                 HostProgram, the program's parts wired
#   console, replay, service            what the program runs as
#   the program itself                  app/main.cpp and the command line
#
# Platform files are chosen here by name: *_posix.cpp and the POSIX-only
# parts stay out of the Windows program, *_win32.cpp out of the others;
# the toolkits' files (windows/fltk/, console/tty/) build in
# cmake/desktop.cmake and cmake/terminal.cmake, or not at all.

if(WIN32)
  # The poll loop, the IRC client on POSIX sockets and OpenSSL, the front end
  # on a POSIX terminal and the runners built on them, and their tests. The
  # IRC message parser and name rules are portable and come in, for the
  # config reader.
  set(ZORVIK_PLATFORM_EXCLUDE
      "(_posix[^/]*|/poll_loop[^/]*|/fltk_loop[^/]*|/console_front_end|/full_screen_unavailable|/irc_operator_desk|/bridge/irc/(irc_client|irc_connection|reconnect_backoff|token_bucket)[^/]*|/service/(irc_options|irc_config|irc_operators|match_log|operator_reload)_test|/console/demo_test)\\.cpp$")
else()
  set(ZORVIK_PLATFORM_EXCLUDE "(_win32[^/]*|/win32_[^/]*|/fltk_loop[^/]*|/full_screen_unavailable)\\.cpp$")
endif()

# Links to the headers of src/FOLDER (those named in HEADERS, or all) in an
# include folder of TARGET's, given to TARGET's users.
function(zorvik_expose_headers target folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "HEADERS")
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  if(arg_HEADERS)
    list(TRANSFORM arg_HEADERS PREPEND ${CMAKE_SOURCE_DIR}/src/${folder}/ OUTPUT_VARIABLE headers)
  else()
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.h
         ${CMAKE_SOURCE_DIR}/src/${folder}/*.inc)
  endif()
  file(MAKE_DIRECTORY ${root}/${folder})
  foreach(header IN LISTS headers)
    get_filename_component(name ${header} NAME)
    if(NOT EXISTS ${root}/${folder}/${name})
      file(CREATE_LINK ${header} ${root}/${folder}/${name} SYMBOLIC)
    endif()
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# zorvik_library(NAME FOLDER [USES LIBRARY...] [EXCLUDE REGEX...] [HEADERS FILE...])
# The library NAME of the .cpp files of src/FOLDER (not its subfolders, not
# its tests), using the libraries listed. Its test files are collected in
# ZORVIK_TEST_SOURCES.
function(zorvik_library name folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "USES;EXCLUDE;HEADERS")
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "${ZORVIK_PLATFORM_EXCLUDE}")
  foreach(regex IN LISTS arg_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${regex}")
  endforeach()
  set(tests ${sources})
  list(FILTER tests INCLUDE REGEX "_test\\.cpp$")
  list(FILTER sources EXCLUDE REGEX "_test\\.cpp$")
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC ${arg_USES})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${arg_USES})
  endif()
  zorvik_expose_headers(${name} ${folder} HEADERS ${arg_HEADERS})
  set(ZORVIK_TEST_SOURCES ${ZORVIK_TEST_SOURCES} ${tests} PARENT_SCOPE)
endfunction()

set(ZORVIK_TEST_SOURCES)
zorvik_library(zorvik_text text)
zorvik_library(zorvik_gamedata gamedata)
zorvik_library(zorvik_loop bridge/loop)
zorvik_library(zorvik_bridge bridge USES zorvik_loop zorvik_text)
zorvik_library(zorvik_kit bridge/kit USES zorvik_bridge zorvik_loop zorvik_text)
zorvik_library(zorvik_irc bridge/irc USES zorvik_bridge zorvik_loop zorvik_text)
zorvik_library(zorvik_match match USES zorvik_gamedata zorvik_kit zorvik_bridge zorvik_loop
               zorvik_text)
zorvik_library(zorvik_autopilot autopilot USES zorvik_match zorvik_bridge zorvik_loop zorvik_text)
zorvik_library(zorvik_windows windows USES zorvik_match zorvik_kit zorvik_bridge zorvik_text)
# The app folder's library is HostProgram; the rest of the folder is the
# program's start (below, and cmake/win32.cmake) and the desktop's loader.
zorvik_library(zorvik_app app USES zorvik_autopilot zorvik_match zorvik_windows zorvik_kit zorvik_loop
               EXCLUDE "/(main|command_line|desktop[^/]*)\\.cpp$" HEADERS host_program.h)
zorvik_library(zorvik_console console USES zorvik_app zorvik_irc zorvik_match zorvik_windows
               zorvik_gamedata zorvik_kit zorvik_loop zorvik_text)
zorvik_library(zorvik_replay replay USES zorvik_app zorvik_console zorvik_match zorvik_loop)
zorvik_library(zorvik_service service USES zorvik_app zorvik_autopilot zorvik_console
               zorvik_replay zorvik_irc zorvik_match zorvik_gamedata zorvik_windows zorvik_kit
               zorvik_loop tomlplusplus::tomlplusplus)

# Every library, for the program and the tests that use them all.
set(ZORVIK_LIBRARIES zorvik_service zorvik_replay zorvik_console zorvik_app zorvik_windows
    zorvik_autopilot zorvik_match zorvik_irc zorvik_kit zorvik_bridge zorvik_loop zorvik_gamedata zorvik_text)
