# SPDX-License-Identifier: GPL-3.0-or-later
# Optimised builds for Linux are hardened as Debian builds its packages:
# with the flags `dpkg-buildflags` gives for hardening=+all (fortified libc
# calls, the strong stack protector, format checks, relocations read-only
# and bound at start-up; executables position-independent, which Debian's
# compilers make by default). Where dpkg-buildflags is missing, the same
# set is written out here. Included from the top CMakeLists.txt before the
# programs.
#
# Left alone: Debug builds (fortification needs the optimiser), the
# sanitizer and fuzz builds (the sanitizers replace the libc calls that
# fortification checks), and cross-builds such as the one for Windows,
# whose toolchain is not Debian's native one.
option(SPRAVKA_HARDENING "Harden optimised native Linux builds" ON)
# Whether the flags below apply to this build's optimised configurations.
set(SPRAVKA_HARDENED OFF)

if(NOT SPRAVKA_HARDENING OR SPRAVKA_SANITIZE OR SPRAVKA_FUZZ
   OR CMAKE_CROSSCOMPILING OR NOT CMAKE_SYSTEM_NAME STREQUAL "Linux"
   OR NOT CMAKE_CXX_COMPILER_ID MATCHES "^(GNU|Clang)$")
  return()
endif()

find_program(DPKG_BUILDFLAGS dpkg-buildflags)
set(hardening_compile)
set(hardening_link)
if(DPKG_BUILDFLAGS)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              ${DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
      RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "dpkg-buildflags --get ${kind} failed (${status})")
    endif()
    separate_arguments(flags UNIX_COMMAND "${flags}")
    # The build type chooses debugging and optimisation; the prefix map
    # names the folder dpkg-buildflags happened to run in.
    list(FILTER flags EXCLUDE REGEX "^(-g.*|-O.*|-f[a-z]*-prefix-map=.*)$")
    if(kind STREQUAL "LDFLAGS")
      list(APPEND hardening_link ${flags})
    else()
      list(APPEND hardening_compile ${flags})
    endif()
  endforeach()
else()
  # Position-independent executables; a shared library is PIC already.
  set(executable $<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>)
  set(hardening_compile -D_FORTIFY_SOURCE=2 -fstack-protector-strong -Wformat
                        -Werror=format-security
                        $<$<NOT:$<STREQUAL:$<TARGET_PROPERTY:TYPE>,SHARED_LIBRARY>>:-fPIE>)
  set(hardening_link -Wl,-z,relro -Wl,-z,now $<${executable}:-pie>)
endif()
list(REMOVE_DUPLICATES hardening_compile)

set(optimised $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)
add_compile_options("$<${optimised}:${hardening_compile}>")
add_link_options("$<${optimised}:${hardening_link}>")
message(STATUS "Hardened optimised builds: ${hardening_compile} ${hardening_link}")
unset(optimised)
set(SPRAVKA_HARDENED ON)
