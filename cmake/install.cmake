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
# Debian wants the copyright file in each package's own doc folder.
install(FILES dist/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT host)
if(TARGET zorvik_desktop_module)
  install(FILES dist/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zorvik-desktop
          COMPONENT desktop)
endif()

set(CPACK_PACKAGE_NAME zorvik)
set(CPACK_PACKAGE_VENDOR "zorvik developers")
set(CPACK_PACKAGE_CONTACT "zorvik developers <dev@zorvik.invalid>")
# No CPACK_PACKAGE_DESCRIPTION_SUMMARY: CPack would put it before each
# package's own description, giving both packages the same first line.
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
# Each package's description: its first line is the short one, and an empty
# line separates paragraphs of the long one.
set(CPACK_DEBIAN_HOST_DESCRIPTION
    "chat-room game host for two-player creature battles\n\
zorvik runs a two-player creature battle entirely through a chat room.\n\
Players join, pick one of 150 creatures and attack by typing chat lines; the\n\
host announces every step in the room, and an operator steers the match from\n\
a small console of six buttons.\n\
\n\
This package holds the program. It hosts in IRC channels (also as a systemd\n\
service that logs every match) and in the terminal on its embedded chat\n\
client, where friends at one keyboard can play a whole match; it also plays\n\
a demo match between two simulated players and replays scripted matches. It\n\
needs no graphical toolkit, so it suits a server or a terminal; install\n\
zorvik-desktop as well for its desktop windows.")
set(CPACK_DEBIAN_HOST_PACKAGE_SUGGESTS zorvik-desktop)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME zorvik-desktop)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_SECTION games)
set(CPACK_DEBIAN_DESKTOP_DESCRIPTION
    "desktop windows for the zorvik chat-room game host\n\
zorvik hosts two-player creature battles in a chat room. This package adds\n\
its desktop windows on X11 (FLTK): the splash window, the operator's console\n\
with its buttons, the info menu, the about and help boxes, the feedback form\n\
and the room window of the embedded chat client, so that a match can be run\n\
with the mouse and played by friends at one machine.\n\
\n\
Install it on a computer with a display: zorvik then opens these windows,\n\
loading this module only when it does. Without it, zorvik uses its text\n\
console; a server or a terminal does not need it.")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_DEPENDS "zorvik (= ${PROJECT_VERSION})")
# CPack gives a package whose shared objects lie in /usr/lib or a folder
# right below it (found by the file scan CPACK_DEBIAN_PACKAGE_SHLIBDEPS
# makes) a postinst and a postrm that run ldconfig. The module sits in
# /usr/lib/zorvik/, which is not on the library path, so there is nothing
# for ldconfig to learn. CPack (3.25) has no switch for it: a package's own
# postinst and postrm replace the made ones.
set(CPACK_DEBIAN_DESKTOP_PACKAGE_CONTROL_EXTRA
    ${CMAKE_SOURCE_DIR}/dist/zorvik-desktop/postinst ${CMAKE_SOURCE_DIR}/dist/zorvik-desktop/postrm)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
