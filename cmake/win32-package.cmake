# What the Windows build installs, and the packages `cpack` makes of it in
# the build folder (scripts/check-win-package builds and checks both):
#   zorvik-VERSION-win64.exe  an installer (NSIS): zorvik.exe and README.md
#                             in "Program Files\zorvik", a start-menu
#                             entry, and an uninstaller
#   zorvik-VERSION-win64.zip  the same two files in a folder, to unpack
#                             anywhere
# The executable needs nothing beside it (its runtime is linked in), and
# everything sits in one folder, as Windows programs are laid out. The man
# page and bash completion are left to the Linux install.

install(TARGETS zorvik RUNTIME DESTINATION .)
install(FILES README.md DESTINATION .)

set(CPACK_PACKAGE_NAME zorvik)
set(CPACK_PACKAGE_VENDOR "zorvik developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "chat-room game host for two-player creature battles")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Named by what it runs on: CPack would say win32 for any MinGW build.
set(CPACK_SYSTEM_NAME win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY zorvik)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY zorvik)
set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_STRIP_FILES ON)

# The installer is itself a 64-bit program, like the one it installs, so
# that it runs wherever zorvik.exe does (64-bit wine alone, too).
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME zorvik)
set(CPACK_NSIS_DISPLAY_NAME "zorvik ${PROJECT_VERSION}")
set(CPACK_NSIS_CONTACT "dev@zorvik.invalid")
set(CPACK_NSIS_INSTALLED_ICON_NAME zorvik.exe)
# There is no licence to agree to: the pages are welcome, folder, start
# menu folder, progress and finish.
set(CPACK_NSIS_IGNORE_LICENSE_PAGE ON)
# The start-menu entry "zorvik" runs $INSTDIR\zorvik.exe (the uninstaller
# gets an entry of its own).
set(CPACK_PACKAGE_EXECUTABLES zorvik zorvik)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
# Installing over an earlier version removes that one first (silently
# under /S).
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
include(CPack)
