# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack for each kind of package once the install is in its staging
# folder, before the package is made of it.
set(staging ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})

# The programs lose the compiler's notes as well as their symbols, as
# Debian's own packages' programs do (dh_strip).
file(GLOB programs ${staging}/bin/*)
foreach(program ${programs})
  execute_process(
    COMMAND ${CPACK_SPRAVKA_STRIP} --remove-section=.comment
            --remove-section=.note ${program}
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${CPACK_SPRAVKA_STRIP} failed on ${program}")
  endif()
endforeach()

# The RPM gets the licence's text where RPM systems keep licences; the
# Debian package names it in its copyright file instead, the text being in
# Debian's /usr/share/common-licenses.
if(CPACK_GENERATOR STREQUAL "RPM")
  # The staging folder is given whole: DESTDIR, which cpack may have set,
  # must not be put in front of it.
  set(destdir "$ENV{DESTDIR}")
  set(ENV{DESTDIR} "")
  file(INSTALL ${CPACK_SPRAVKA_LICENCE_FILE}
       DESTINATION ${staging}/share/licenses/${CPACK_PACKAGE_NAME}
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  set(ENV{DESTDIR} "${destdir}")
endif()
