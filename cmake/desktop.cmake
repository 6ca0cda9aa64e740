# The desktop front end on FLTK 1.3 and X11, built when both are installed.
# FLTK is found by its header and libraries rather than by its CMake config:
# Debian's config defines no FLTK_LIBRARIES and fails outright unless the
# separate `fluid` package is installed, which we do not need. The toolkit's headers are system headers, so
# their warnings do not break the -Werror build.
#
# Without FLTK, `zorvik` is built with desktop_unavailable.cpp instead and
# always runs the text console.

# The desktop library: the windows' FLTK views (windows/fltk/), the loop on
# FLTK (bridge/loop/fltk_loop.cpp) and the desktop's wiring (app/desktop.cpp).
file(GLOB ZORVIK_FLTK_ALL CONFIGURE_DEPENDS src/windows/fltk/*.cpp)
set(ZORVIK_DESKTOP_SOURCES ${ZORVIK_FLTK_ALL} src/bridge/loop/fltk_loop.cpp src/app/desktop.cpp)
list(FILTER ZORVIK_DESKTOP_SOURCES EXCLUDE REGEX "_test\\.cpp$")
# The views' own tests, and those that drive the views with a whole host.
file(GLOB ZORVIK_DESKTOP_HOST_TESTS CONFIGURE_DEPENDS src/app/desktop_*_test.cpp)
list(FILTER ZORVIK_DESKTOP_HOST_TESTS EXCLUDE REGEX "_smoke_test\\.cpp$")
set(ZORVIK_DESKTOP_TESTS ${ZORVIK_FLTK_ALL} src/bridge/loop/fltk_loop_test.cpp
    ${ZORVIK_DESKTOP_HOST_TESTS})
list(FILTER ZORVIK_DESKTOP_TESTS INCLUDE REGEX "_test\\.cpp$")

find_package(X11 QUIET)
find_path(ZORVIK_FLTK_INCLUDE_DIR FL/Fl.H)
find_library(ZORVIK_FLTK_LIBRARY fltk)
find_library(ZORVIK_FLTK_IMAGES_LIBRARY fltk_images)
if(X11_FOUND AND ZORVIK_FLTK_INCLUDE_DIR AND ZORVIK_FLTK_LIBRARY AND ZORVIK_FLTK_IMAGES_LIBRARY)
  set(ZORVIK_DESKTOP ON)
  message(STATUS "zorvik: building the desktop front end (${ZORVIK_FLTK_LIBRARY})")
  add_library(zorvik_desktop STATIC ${ZORVIK_DESKTOP_SOURCES})
  target_include_directories(zorvik_desktop SYSTEM PUBLIC ${ZORVIK_FLTK_INCLUDE_DIR} ${X11_INCLUDE_DIR})
  target_link_libraries(zorvik_desktop PUBLIC zorvik_app zorvik_windows zorvik_match zorvik_kit
                        zorvik_loop ${ZORVIK_FLTK_IMAGES_LIBRARY} ${ZORVIK_FLTK_LIBRARY}
                        ${X11_LIBRARIES})
  zorvik_expose_headers(zorvik_desktop windows/fltk)
  zorvik_expose_headers(zorvik_desktop bridge/loop HEADERS fltk_loop.h)
  zorvik_expose_headers(zorvik_desktop app HEADERS desktop.h)
  # The program loads the desktop as a module when it opens its windows,
  # so that nothing else maps the toolkit; the module carries its own copy
  # of the core, which must then be position-independent.
  set_target_properties(${ZORVIK_LIBRARIES} zorvik_desktop PROPERTIES POSITION_INDEPENDENT_CODE ON)
  add_library(zorvik_desktop_module MODULE src/app/desktop_module.cpp)
  set_target_properties(zorvik_desktop_module PROPERTIES OUTPUT_NAME zorvik-desktop PREFIX ""
                        SUFFIX ".so" CXX_VISIBILITY_PRESET hidden)
  target_link_libraries(zorvik_desktop_module PRIVATE zorvik_desktop)
  # Every symbol resolved when it is linked, not when it is loaded.
  target_link_options(zorvik_desktop_module PRIVATE -Wl,--exclude-libs,ALL -Wl,--no-undefined)
  # Installed, the module is in lib/zorvik/ beside bin/ (cmake/install.cmake);
  # the program finds it relative to itself, so that the installation (or
  # the Debian package, or a copy of it) may sit under any prefix.
  include(GNUInstallDirs)
  set(ZORVIK_MODULE_DIR "${CMAKE_INSTALL_LIBDIR}/zorvik")
  file(RELATIVE_PATH ZORVIK_MODULE_DIR_FROM_BIN "${CMAKE_INSTALL_FULL_BINDIR}"
       "${CMAKE_INSTALL_FULL_LIBDIR}/zorvik")
  target_sources(zorvik PRIVATE src/app/desktop_loader.cpp)
  set_source_files_properties(src/app/desktop_loader.cpp PROPERTIES COMPILE_DEFINITIONS
                              "ZORVIK_MODULE_DIR=\"${ZORVIK_MODULE_DIR_FROM_BIN}\"")
  target_link_libraries(zorvik PRIVATE ${CMAKE_DL_LIBS})
  add_dependencies(zorvik zorvik_desktop_module)
else()
  set(ZORVIK_DESKTOP OFF)
  message(STATUS "zorvik: FLTK 1.3 or X11 not found; building without the desktop front end")
  target_sources(zorvik PRIVATE src/app/desktop_unavailable.cpp)
endif()

# Adds the desktop's unit tests (no display needed) to zorvik_tests, and the
# smoke test, which runs the program on a display of its own (Xvfb, started
# by scripts/with-xvfb; skipped when no Xvfb can start).
function(zorvik_add_desktop_tests)
  if(NOT ZORVIK_DESKTOP)
    return()
  endif()
  target_sources(zorvik_tests PRIVATE ${ZORVIK_DESKTOP_TESTS})
  target_link_libraries(zorvik_tests PRIVATE zorvik_desktop)
  add_executable(zorvik_desktop_smoke src/app/desktop_smoke_test.cpp)
  target_link_libraries(zorvik_desktop_smoke PRIVATE zorvik_desktop GTest::gtest GTest::gtest_main)
  add_test(NAME DesktopSmoke
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/with-xvfb $<TARGET_FILE:zorvik_desktop_smoke>)
  set_tests_properties(DesktopSmoke PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300 ENVIRONMENT
                       "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/scripts/lsan-desktop.supp")
  # The unit tests that measure text in the toolkit's font skip without a
  # display; here they get one.
  add_test(NAME DesktopFontTests
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/with-xvfb $<TARGET_FILE:zorvik_tests>
                   --gtest_filter=ConsoleViewTest.LongNamesAreCutToTheirFrames)
  set_tests_properties(DesktopFontTests PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120 ENVIRONMENT
                       "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/scripts/lsan-desktop.supp")
endfunction()
