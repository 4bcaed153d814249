# SPDX-License-Identifier: GPL-3.0-or-later
# The benchmarks' own tools. Included from tests/CMakeLists.txt.
if(TARGET window_start_timing)
  # The start-up timing ends what it starts (bench/start-up).
  find_package(X11 REQUIRED)
  add_executable(vanishing_window ${CMAKE_CURRENT_LIST_DIR}/vanishing_window.cc)
  target_include_directories(vanishing_window PRIVATE ${X11_INCLUDE_DIR})
  target_link_libraries(vanishing_window PRIVATE ${X11_LIBRARIES})
  add_test(NAME window_start_timing
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/window_start_timing_test.sh
                   $<TARGET_FILE:window_start_timing>
                   $<TARGET_FILE:vanishing_window>)
  set_tests_properties(window_start_timing PROPERTIES SKIP_RETURN_CODE 77
                                                      TIMEOUT 60)
endif()
