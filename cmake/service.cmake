# The IRC host as a systemd service: the unit, and a sample config beside
# the README. Part of the zorvik package (cmake/install.cmake).
include(GNUInstallDirs)
install(FILES dist/zorvik.service DESTINATION lib/systemd/system COMPONENT host)
install(FILES dist/zorvik.toml DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT host)
