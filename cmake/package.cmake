# The Debian package of the installation: "cpack -G DEB" in the build folder (scripts/kasa.sh
# package) writes kasa_VERSION_ARCH.deb with the program stripped, the SQLite extension, the
# desktop entry and icon, the guide with its pictures and the start script, its dependencies
# found by dpkg-shlibdeps.
include(GNUInstallDirs)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kasa)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cash register bookkeeping for small and medium firms")
set(CPACK_PACKAGE_DESCRIPTION
    "Kasa keeps cash desks and cash reports, receipts (KP), payouts (KW), advance\n requests (WZ) and settlements (RZ), prints them on the legal forms with the\n amount in Polish words, prints reports and listings, and maintains the data.")
set(KASA_PACKAGE_MAINTAINER "Kasa <kasa@example.org>" CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${KASA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KASA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The guide's fonts and the Polish texts of Qt's own dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "sqlite3")
# The changelog and copyright files every Debian package carries.
set(package_doc ${CMAKE_BINARY_DIR}/package-doc)
file(MAKE_DIRECTORY ${package_doc})
string(TIMESTAMP package_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${package_doc}/changelog
     "kasa (${PROJECT_VERSION}) unstable; urgency=medium\n\n  * Release ${PROJECT_VERSION}.\n\n -- ${KASA_PACKAGE_MAINTAINER}  ${package_date}\n")
file(WRITE ${package_doc}/copyright
     "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\nUpstream-Name: kasa\n\n"
     "Files: *\nCopyright: 2026 the Kasa project\nLicense: proprietary\n Licencja własna projektu Kasa, wszelkie prawa zastrzeżone.\n")
add_custom_command(OUTPUT ${package_doc}/changelog.gz
                   COMMAND gzip -9n -c ${package_doc}/changelog > ${package_doc}/changelog.gz
                   DEPENDS ${package_doc}/changelog)
add_custom_target(kasa_package_doc ALL DEPENDS ${package_doc}/changelog.gz)
# The extension lies among the system's libraries: the library cache learns of it.
file(WRITE ${package_doc}/triggers "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${package_doc}/triggers)
install(FILES ${package_doc}/changelog.gz ${package_doc}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
include(CPack)

# The package holds what an installation needs.
find_program(DPKG_DEB dpkg-deb)
find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
if(DPKG_DEB AND DPKG_SHLIBDEPS)
  add_test(NAME package_contents
           COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DVERSION=${PROJECT_VERSION}
                   -P ${CMAKE_CURRENT_LIST_DIR}/check_package.cmake)
  set_tests_properties(package_contents PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)
endif()
