# What the Debian package adds to an installation (the AppStream metainfo, the man pages,
# bash completion for orvante-cli) and the package itself:
#   cpack -G DEB        (in the build folder) makes orvante_<version>_<arch>.deb
# Its dependencies are the shared libraries dpkg-shlibdeps finds, plus what the programs load
# at run time: the Qt SQLite driver (the radio history) and the Liberation fonts (the reports
# are laid out in Arial metrics).

install(FILES ${PROJECT_SOURCE_DIR}/data/org.orvante.orvante.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/data/completion/orvante-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# Man pages are installed compressed, as Debian ships them.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(orv_man_pages)
foreach(page orvante orvante-cli orvante-radio-sim)
  set(source ${PROJECT_SOURCE_DIR}/data/man/${page}.1)
  set(packed ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${packed}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${CMAKE_BINARY_DIR}/man/${page}.1
    COMMAND ${GZIP_PROGRAM} -9nf ${CMAKE_BINARY_DIR}/man/${page}.1
    DEPENDS ${source} VERBATIM)
  list(APPEND orv_man_pages ${packed})
endforeach()
add_custom_target(orvante_man_pages ALL DEPENDS ${orv_man_pages})
install(FILES ${orv_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvante)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ORVANTE")
set(CPACK_PACKAGE_CONTACT "ORVANTE developers <developers@orvante.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "program and align PALUVIN 16-channel VHF/UHF handheld radios")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "The ORVANTE Programming Software reads a radio's memory over a serial port, edits its\n\
channels and settings, writes it back, keeps it in data files, aligns the radio in its\n\
service mode and prints reports. The package holds the desktop program orvante, the\n\
command line tool orvante-cli and the virtual radio orvante-radio-sim.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, fonts-liberation2")
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
include(CPack)
