# What `cmake --install` puts where, and the Debian packages `cpack -G DEB`
# makes of it:
#   zorvik          the program, its man page, bash completion and README
#   zorvik-desktop  the desktop windows' module (FLTK and X11), so that a
#                   server or a terminal never pulls in the toolkit
# Each package's dependencies are found by dpkg-shlibdeps from what its
# binaries link.

include(GNUInstallDirs)

install(TARGETS zorvik RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT host)
if(TARGET zorvik_desktop_module)
  install(TARGETS zorvik_desktop_module LIBRARY DESTINATION ${ZORVIK_MODULE_DIR}
          COMPONENT desktop)
endif()

# Man pages are installed compressed, as Debian keeps them.
find_program(ZORVIK_GZIP gzip)
if(ZORVIK_GZIP)
  set(ZORVIK_MAN_PAGE ${CMAKE_BINARY_DIR}/zorvik.1.gz)
  add_custom_command(OUTPUT ${ZORVIK_MAN_PAGE}
                     COMMAND ${ZORVIK_GZIP} -9nc ${CMAKE_SOURCE_DIR}/docs/zorvik.1 > ${ZORVIK_MAN_PAGE}
                     DEPENDS ${CMAKE_SOURCE_DIR}/docs/zorvik.1 VERBATIM)
else()
  set(ZORVIK_MAN_PAGE ${CMAKE_SOURCE_DIR}/docs/zorvik.1)
endif()
add_custom_target(zorvik_man_page ALL DEPENDS ${ZORVIK_MAN_PAGE})
install(FILES ${ZORVIK_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT host)
install(FILES dist/zorvik.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME zorvik COMPONENT host)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT host)

set(CPACK_PACKAGE_NAME zorvik)
set(CPACK_PACKAGE_VENDOR "zorvik developers")
set(CPACK_PACKAGE_CONTACT "zorvik developers <dev@zorvik.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "chat-room game host for two-player creature battles")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL host)
if(TARGET zorvik_desktop_module)
  list(APPEND CPACK_COMPONENTS_ALL desktop)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_HOST_PACKAGE_NAME zorvik)
set(CPACK_DEBIAN_HOST_DESCRIPTION
    "chat-room game host for two-player creature battles\n\
zorvik runs a two-player creature battle entirely through a chat room and\n\
announces every step as chat lines. It hosts on its embedded chat client\n\
(in a terminal) and in IRC channels.")
set(CPACK_DEBIAN_HOST_PACKAGE_SUGGESTS zorvik-desktop)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME zorvik-desktop)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_SECTION games)
set(CPACK_DEBIAN_DESKTOP_DESCRIPTION
    "desktop windows for the zorvik game host\n\
The splash window, the console, the info menu, the boxes, the feedback form\n\
and the embedded client's room window, on FLTK and X11.")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_DEPENDS "zorvik (= ${PROJECT_VERSION})")
include(CPack)
