# The full-screen terminal console on ncursesw and GNU readline, built when
# both are installed (Debian's libncurses-dev and libreadline-dev). Its files
# under src/console/tty/ are the only ones that include their headers; the
# screen's layout, keys and completion (src/console/) know neither and are
# in the console library, tested on a virtual screen.
#
# Without them, `zorvik` is built with full_screen_unavailable.cpp and a
# terminal gets the log of lines.

file(GLOB ZORVIK_TTY_ALL CONFIGURE_DEPENDS src/console/tty/*.cpp)
set(ZORVIK_TTY_SOURCES ${ZORVIK_TTY_ALL})
list(FILTER ZORVIK_TTY_SOURCES EXCLUDE REGEX "_test\\.cpp$")

set(CURSES_NEED_WIDE TRUE)
find_package(Curses QUIET)
find_path(ZORVIK_READLINE_INCLUDE_DIR readline/readline.h)
find_library(ZORVIK_READLINE_LIBRARY readline)
if(CURSES_FOUND AND ZORVIK_READLINE_INCLUDE_DIR AND ZORVIK_READLINE_LIBRARY)
  message(STATUS "zorvik: building the full-screen console (${ZORVIK_READLINE_LIBRARY})")
  add_library(zorvik_tty STATIC ${ZORVIK_TTY_SOURCES})
  target_include_directories(zorvik_tty SYSTEM PRIVATE ${CURSES_INCLUDE_DIRS}
                             ${ZORVIK_READLINE_INCLUDE_DIR})
  target_compile_options(zorvik_tty PRIVATE ${CURSES_CFLAGS})
  target_link_libraries(zorvik_tty PUBLIC zorvik_console zorvik_text ${CURSES_LIBRARIES}
                        ${ZORVIK_READLINE_LIBRARY})
  target_link_libraries(zorvik PRIVATE zorvik_tty)
  set(ZORVIK_FULL_SCREEN ON)
else()
  message(STATUS "zorvik: ncursesw or readline not found; terminals get the log of lines")
  target_sources(zorvik PRIVATE src/console/full_screen_unavailable.cpp)
  set(ZORVIK_FULL_SCREEN OFF)
endif()

# The smoke test plays part of a match in tmux on the real program; skipped
# (77) without tmux.
# The other binaries on the core never open a screen: they get the log.
function(zorvik_add_terminal_tests)
  foreach(target zorvik_tests zorvik_bench)
    if(TARGET ${target})
      target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/src/console/full_screen_unavailable.cpp)
    endif()
  endforeach()
  if(NOT ZORVIK_FULL_SCREEN)
    return()
  endif()
  add_test(NAME TerminalSmoke COMMAND ${CMAKE_SOURCE_DIR}/scripts/tmux-smoke $<TARGET_FILE:zorvik>)
  set_tests_properties(TerminalSmoke PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120 LABELS terminal)
  # Every mode in a real terminal of each common kind, each on its own
  # tmux server, so they run side by side.
  foreach(term xterm-256color tmux-256color screen xterm vt100)
    add_test(NAME TerminalCheck.${term}
             COMMAND ${CMAKE_SOURCE_DIR}/scripts/terminal-check ${term} $<TARGET_FILE:zorvik>)
    set_tests_properties(TerminalCheck.${term} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 240
                         LABELS terminal)
  endforeach()
endfunction()
