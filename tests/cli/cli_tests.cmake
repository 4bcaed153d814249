# spravka-cli: its own pieces in GoogleTest, and whole-command round trips as
# shell checks driven by ctest.
set(SPRAVKA_CLI_SRC ${PROJECT_SOURCE_DIR}/src/cli)
add_executable(cli_tests
  cli/arguments_test.cc
  cli/base_check_test.cc
  cli/record_fields_test.cc
  cli/tsv_table_test.cc
  ${SPRAVKA_CLI_SRC}/arguments.cc
  ${SPRAVKA_CLI_SRC}/base_check.cc
  ${SPRAVKA_CLI_SRC}/record_fields.cc
  ${SPRAVKA_CLI_SRC}/tsv_table.cc)
target_include_directories(cli_tests PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(cli_tests PRIVATE spravka_core GTest::gtest GTest::gtest_main)
add_test(NAME cli_tests COMMAND cli_tests)

foreach(check round_trip bad_input demo check optimize search restore file_size_limit)
  add_test(NAME cli_${check}
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/cli/${check}.sh
                   $<TARGET_FILE:spravka-cli>)
  set_tests_properties(cli_${check} PROPERTIES
                       ENVIRONMENT "TMPDIR=${CMAKE_CURRENT_BINARY_DIR}")
endforeach()
