# SPDX-License-Identifier: GPL-3.0-or-later
# spravka-cli: its own pieces in GoogleTest, and whole-command round trips as
# shell checks driven by ctest.
file(GLOB SPRAVKA_CLI_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cc)
add_executable(cli_tests ${SPRAVKA_CLI_TESTS})
target_link_libraries(cli_tests PRIVATE spravka_cli GTest::gtest GTest::gtest_main)
add_test(NAME cli_tests COMMAND cli_tests)

# The checks run the program by one path; a cross build's program goes
# through its emulator (Wine), by a small script in its place.
set(SPRAVKA_CLI_UNDER_TEST $<TARGET_FILE:spravka-cli>)
if(CMAKE_CROSSCOMPILING_EMULATOR)
  set(SPRAVKA_CLI_UNDER_TEST ${CMAKE_CURRENT_BINARY_DIR}/spravka-cli-emulated)
  list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " emulator)
  file(GENERATE OUTPUT ${SPRAVKA_CLI_UNDER_TEST}
       CONTENT "#!/bin/sh\nexec ${emulator} $<TARGET_FILE:spravka-cli> \"$@\"\n"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                        GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endif()
set(checks round_trip bad_input demo check optimize search restore
           cyrillic_names)
if(WIN32)
  list(APPEND checks windows_console)
else()
  # A POSIX resource limit; POSIX locks; POSIX links and name lengths.
  list(APPEND checks file_size_limit writers streams new_bases file_messages)
endif()
# Holds a base's writers' lock or a window's mark while a command runs.
set(SPRAVKA_HOLD_BASE "")
if(NOT WIN32)
  add_executable(hold_base ${CMAKE_CURRENT_LIST_DIR}/hold_base.cc)
  target_link_libraries(hold_base PRIVATE spravka_storage)
  set(SPRAVKA_HOLD_BASE $<TARGET_FILE:hold_base>)
endif()
foreach(check ${checks})
  add_test(NAME cli_${check}
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/cli/${check}.sh
                   ${SPRAVKA_CLI_UNDER_TEST} ${SPRAVKA_HOLD_BASE})
  set_tests_properties(cli_${check} PROPERTIES
                       ENVIRONMENT "TMPDIR=${CMAKE_CURRENT_BINARY_DIR}")
endforeach()
