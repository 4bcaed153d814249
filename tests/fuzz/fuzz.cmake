# SPDX-License-Identifier: GPL-3.0-or-later
# Fuzz targets. Each tests/fuzz/NAME_fuzzer.cc defines LLVMFuzzerTestOneInput
# and is built twice: with a plain driver that replays its seed corpus
# (corpus/NAME) and the reproductions of past faults (reproductions/NAME)
# as the ctest fuzz_NAME, with any compiler; and, with SPRAVKA_FUZZ (clang),
# as the libFuzzer program NAME_fuzzer that scripts/fuzz runs.
#
# A new target is a NAME_fuzzer.cc, a few seeds in corpus/NAME, and one
# line below.
set(SPRAVKA_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})

function(spravka_fuzz_target name)
  set(sources ${SPRAVKA_FUZZ_DIR}/${name}_fuzzer.cc ${ARGN})
  add_executable(${name}_replay ${sources} ${SPRAVKA_FUZZ_DIR}/replay_main.cc)
  target_link_libraries(${name}_replay PRIVATE spravka_test_support spravka_cli)
  set(inputs ${SPRAVKA_FUZZ_DIR}/corpus/${name})
  if(EXISTS ${SPRAVKA_FUZZ_DIR}/reproductions/${name})
    list(APPEND inputs ${SPRAVKA_FUZZ_DIR}/reproductions/${name})
  endif()
  add_test(NAME fuzz_${name} COMMAND ${name}_replay ${inputs})
  if(SPRAVKA_FUZZ)
    add_executable(${name}_fuzzer ${sources})
    target_link_libraries(${name}_fuzzer PRIVATE spravka_test_support spravka_cli)
    target_link_options(${name}_fuzzer PRIVATE -fsanitize=fuzzer)
  endif()
endfunction()

spravka_fuzz_target(base_file)
spravka_fuzz_target(change_stream)
spravka_fuzz_target(matcher)
spravka_fuzz_target(search_pattern)
spravka_fuzz_target(section_inflate)
spravka_fuzz_target(clipboard_paste)

# Writes the corpus and the reproductions (see make_fuzz_inputs.cc).
add_executable(make_fuzz_inputs ${SPRAVKA_FUZZ_DIR}/make_fuzz_inputs.cc)
target_link_libraries(make_fuzz_inputs PRIVATE spravka_test_support)
