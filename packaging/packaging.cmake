# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts in place, and the Debian package CPack makes
# of it. Included from the top CMakeLists.txt.
#
#   cmake --build build --target programs   # the programs and their files
#   cmake --install build                   # into CMAKE_INSTALL_PREFIX
#   cd build && cpack                       # spravka_<version>_<arch>.deb
include(GNUInstallDirs)

set(SPRAVKA_PACKAGING_SOURCE ${CMAKE_CURRENT_LIST_DIR})
set(SPRAVKA_PACKAGING_OUT ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${SPRAVKA_PACKAGING_OUT})
# Folders made by the install are world-readable whatever the umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
# Who answers for the packages: the Maintainer of the .deb, the Packager of
# the RPM and the signature of the changelog entry. The address is under
# the reserved .invalid domain; a distributor sets their own with
# -DSPRAVKA_MAINTAINER="Name <address>".
set(SPRAVKA_MAINTAINER "Spravka developers <developers@spravka.invalid>"
    CACHE STRING "The maintainer of the packages, \"Name <address>\"")
find_program(GZIP gzip REQUIRED)

# Everything the install needs, built without the tests and benchmarks.
add_custom_target(programs)
set(package_files)

# spravka-cli and its manual page, made from its own --help texts.
install(TARGETS spravka-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
add_custom_command(
  OUTPUT ${SPRAVKA_PACKAGING_OUT}/spravka-cli.1.gz
  COMMAND bash ${SPRAVKA_PACKAGING_SOURCE}/cli-man-page.sh
          $<TARGET_FILE:spravka-cli> ${PROJECT_VERSION}
          ${SPRAVKA_PACKAGING_OUT}/spravka-cli.1
  COMMAND ${GZIP} -9nf ${SPRAVKA_PACKAGING_OUT}/spravka-cli.1
  DEPENDS spravka-cli ${SPRAVKA_PACKAGING_SOURCE}/cli-man-page.sh
  COMMENT "Writing the manual page of spravka-cli"
  VERBATIM)
list(APPEND package_files ${SPRAVKA_PACKAGING_OUT}/spravka-cli.1.gz)
install(FILES ${SPRAVKA_PACKAGING_OUT}/spravka-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian documentation files: the copyright and a changelog entry for
# this version.
string(TIMESTAMP SPRAVKA_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${SPRAVKA_PACKAGING_SOURCE}/changelog.in
               ${SPRAVKA_PACKAGING_OUT}/changelog @ONLY)
add_custom_command(
  OUTPUT ${SPRAVKA_PACKAGING_OUT}/changelog.gz
  COMMAND ${GZIP} -9nkf ${SPRAVKA_PACKAGING_OUT}/changelog
  DEPENDS ${SPRAVKA_PACKAGING_OUT}/changelog
  VERBATIM)
list(APPEND package_files ${SPRAVKA_PACKAGING_OUT}/changelog.gz)
install(FILES ${SPRAVKA_PACKAGING_OUT}/changelog.gz
              ${SPRAVKA_PACKAGING_SOURCE}/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

if(SPRAVKA_UI)
  install(TARGETS spravka RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  add_dependencies(programs spravka)

  # The MIME package of base files and the desktop entry, written from the
  # texts the program writes for the current user. The entry has the same
  # name as the program's own, so that the per-user entry in
  # ~/.local/share/applications replaces this one rather than adding a
  # second item to the menu.
  add_executable(write_desktop_files
                 ${SPRAVKA_PACKAGING_SOURCE}/write_desktop_files.cc)
  target_link_libraries(write_desktop_files PRIVATE spravka_core)
  set_target_properties(write_desktop_files PROPERTIES AUTOMOC OFF)
  set(mime_package ${SPRAVKA_PACKAGING_OUT}/spravka.xml)
  set(desktop_entry ${SPRAVKA_PACKAGING_OUT}/spravka.desktop)
  add_custom_command(
    OUTPUT ${mime_package} ${desktop_entry}
    COMMAND write_desktop_files $<TARGET_FILE_NAME:spravka> ${mime_package}
            ${desktop_entry}
    DEPENDS write_desktop_files
    COMMENT "Writing the MIME package and the desktop entry"
    VERBATIM)
  list(APPEND package_files ${mime_package} ${desktop_entry})
  install(FILES ${desktop_entry}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${mime_package}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

  # The window program's manual page.
  configure_file(${SPRAVKA_PACKAGING_SOURCE}/spravka.1.in
                 ${SPRAVKA_PACKAGING_OUT}/spravka.1 @ONLY)
  add_custom_command(
    OUTPUT ${SPRAVKA_PACKAGING_OUT}/spravka.1.gz
    COMMAND ${GZIP} -9nkf ${SPRAVKA_PACKAGING_OUT}/spravka.1
    DEPENDS ${SPRAVKA_PACKAGING_OUT}/spravka.1
    VERBATIM)
  list(APPEND package_files ${SPRAVKA_PACKAGING_OUT}/spravka.1.gz)
  install(FILES ${SPRAVKA_PACKAGING_OUT}/spravka.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  # The icons are rendered and installed with the window's resources
  # (src/ui/ui.cmake).
endif()

add_custom_target(package_files ALL DEPENDS ${package_files})
add_dependencies(programs spravka-cli package_files)

# The Debian package and, where rpmbuild is installed, the RPM: the same
# files (the RPM adds the licence's text, package_staging.cmake) and the same
# description. Their dependencies are found from the libraries the programs
# link (Qt 6, zlib, ...): by dpkg-shlibdeps, and by rpmbuild itself; Qt's
# translations are named below.
set(CPACK_GENERATOR DEB)
find_program(RPMBUILD rpmbuild)
if(RPMBUILD)
  list(APPEND CPACK_GENERATOR RPM)
endif()
set(CPACK_PACKAGE_NAME spravka)
set(CPACK_PACKAGE_VENDOR "Spravka developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "telephone directory of towns, searched as you type")
# Read here: CPack would escape the text of a description file for XML.
file(READ ${SPRAVKA_PACKAGING_SOURCE}/description.txt CPACK_PACKAGE_DESCRIPTION)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${SPRAVKA_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries: Qt's own Russian texts, which the window loads
# (src/platform/qt_translation.cc). RPM systems name the package in one of
# two ways (Fedora and its kin, openSUSE and ALT).
if(SPRAVKA_UI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-translations-l10n)
  set(CPACK_RPM_PACKAGE_REQUIRES "(qt6-qttranslations or qt6-translations)")
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_RPM_PACKAGE_LICENSE GPL-3.0-or-later)
set(CPACK_RPM_PACKAGE_GROUP Applications/Productivity)
set(CPACK_RPM_PACKAGE_RELEASE 1)
set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
set(CPACK_RPM_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
# Installed under /usr only, where the desktop finds the entry and icons.
set(CPACK_PACKAGE_RELOCATABLE OFF)
# The packager; no links from build ids, which are for debug packages.
set(CPACK_RPM_SPEC_MORE_DEFINE
    "%define packager ${SPRAVKA_MAINTAINER}\n%define _build_id_links none")
# The last touches to the staging folder of each package.
set(CPACK_PRE_BUILD_SCRIPTS ${SPRAVKA_PACKAGING_SOURCE}/package_staging.cmake)
set(CPACK_SPRAVKA_STRIP ${CMAKE_STRIP})
set(CPACK_SPRAVKA_LICENCE_FILE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RPM_USER_FILELIST
    "%license /usr/share/licenses/spravka/LICENSE"
    "%doc /usr/share/doc/spravka/copyright"
    "%doc /usr/share/doc/spravka/changelog.gz")
# The package owns its own folders only; the shared ones belong to the
# system's packages (filesystem, hicolor-icon-theme, shared-mime-info).
set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION
    /usr/share/applications /usr/share/man /usr/share/man/man1
    /usr/share/mime /usr/share/mime/packages /usr/share/licenses
    /usr/share/icons /usr/share/icons/hicolor)
foreach(size 8x8 16x16 22x22 24x24 32x32 36x36 42x42 48x48 64x64 72x72 96x96
             128x128 192x192 256x256 512x512 scalable)
  list(APPEND CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION
       /usr/share/icons/hicolor/${size} /usr/share/icons/hicolor/${size}/apps)
endforeach()
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
include(CPack)

# --version of the programs: the name, the version and the licence.
set(version_programs $<TARGET_FILE:spravka-cli>)
if(SPRAVKA_UI)
  list(APPEND version_programs $<TARGET_FILE:spravka>)
endif()
add_test(NAME version_notice
         COMMAND bash ${PROJECT_SOURCE_DIR}/tests/packaging/version_notice_test.sh
                 ${PROJECT_VERSION} ${version_programs})

# The packages as a user gets them (tests/packaging). Not for a sanitizer
# build, whose programs are not the ones to ship.
if(SPRAVKA_UI AND NOT SPRAVKA_SANITIZE)
  # Whether the programs must pass hardening-check.
  set(hardened plain)
  if(SPRAVKA_HARDENED)
    set(hardened $<IF:$<CONFIG:Release,RelWithDebInfo,MinSizeRel>,hardened,plain>)
  endif()
  add_test(NAME packages
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/packaging/packages_test.sh
                   ${CMAKE_CPACK_COMMAND} ${PROJECT_BINARY_DIR}
                   ${PROJECT_BINARY_DIR}/tests/packages ${hardened})
  set_tests_properties(packages PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 600)
endif()
