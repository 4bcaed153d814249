# SPDX-License-Identifier: GPL-3.0-or-later
# spravka-cli: its own pieces in GoogleTest, and whole-command round trips as
# shell checks driven by ctest.
file(GLOB SPRAVKA_CLI_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cc)
add_executable(cli_tests ${SPRAVKA_CLI_TESTS})
target_link_libraries(cli_tests PRIVATE spravka_cli GTest::gtest GTest::gtest_main)
add_test(NAME cli_tests COMMAND cli_tests)

foreach(check round_trip bad_input demo check optimize search restore file_size_limit)
  add_test(NAME cli_${check}
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/cli/${check}.sh
                   $<TARGET_FILE:spravka-cli>)
  set_tests_properties(cli_${check} PROPERTIES
                       ENVIRONMENT "TMPDIR=${CMAKE_CURRENT_BINARY_DIR}")
endforeach()
