# The IRC host as a systemd service: the unit and a sample config.
include(GNUInstallDirs)
install(FILES dist/zorvik.service DESTINATION lib/systemd/system)
install(FILES dist/zorvik.toml DESTINATION ${CMAKE_INSTALL_DOCDIR})
