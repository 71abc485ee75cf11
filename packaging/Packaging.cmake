# What `cmake --install` puts beside the program for desktops and for Debian
# (AppStream data, manual page, copyright and changelog), and the Debian
# package that `cpack -G DEB` makes of it (scripts/package.sh).

set(CORVANE_HOMEPAGE "https://corvane.example" CACHE STRING
  "The project's web page, named in the package and the AppStream data")
set(CORVANE_MAINTAINER "The Corvane developers <maintainers@corvane.example>" CACHE STRING
  "Maintainer named in the Debian package")
set(CORVANE_RELEASE_DATE "2026-12-06")

configure_file(${CMAKE_SOURCE_DIR}/assets/org.corvane.Corvane.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/org.corvane.Corvane.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/org.corvane.Corvane.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Debian keeps manual pages and changelogs compressed, without time stamps.
foreach(file changelog corvane.1)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${file})
  execute_process(COMMAND gzip -9 -n -c ${CMAKE_SOURCE_DIR}/packaging/${file}
    OUTPUT_FILE ${CMAKE_BINARY_DIR}/${file}.gz COMMAND_ERROR_IS_FATAL ANY)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/corvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/corvane)

set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VENDOR "The Corvane developers")
set(CPACK_PACKAGE_CONTACT "${CORVANE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small, fast, tabbed web browser")
set(CPACK_PACKAGE_DESCRIPTION "Corvane is a small tabbed web browser on Qt WebEngine, the
Chromium-based engine of Qt. It wraps one web view per tab in a thin shell:
an address box that remembers typed addresses, tabs, favourites and a home
page. A second start hands its addresses to the running window as new tabs.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${CORVANE_HOMEPAGE}")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CORVANE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The visited-pages history needs Qt's SQLite driver, a plugin that no
# library links and dpkg-shlibdeps cannot find.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
  GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
