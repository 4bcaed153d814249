# SPDX-License-Identifier: GPL-3.0-or-later
# The window program. Included from src/CMakeLists.txt when the UI is on.
spravka_layer(ui USES platform app dialling editing search storage util
              LIBS Qt6::Widgets EXCLUDE main.cc)
set_target_properties(spravka_ui PROPERTIES AUTOMOC ON)

add_executable(spravka ${CMAKE_CURRENT_LIST_DIR}/main.cc)
target_link_libraries(spravka PRIVATE spravka_ui)

# The window's timing against the core (run by bench/ui-window).
if(SPRAVKA_BENCH)
  add_executable(ui_window_timing ${PROJECT_SOURCE_DIR}/bench/ui_window_timing.cc)
  target_link_libraries(ui_window_timing PRIVATE spravka_ui)
  set_target_properties(ui_window_timing PROPERTIES AUTOMOC ON)
  # Start-up to a mapped window, against a bare Qt window (bench/start-up).
  add_executable(minimal_window ${PROJECT_SOURCE_DIR}/bench/minimal_window.cc)
  target_link_libraries(minimal_window PRIVATE Qt6::Widgets)
  find_package(X11 QUIET)
  if(X11_FOUND)
    add_executable(window_start_timing
                   ${PROJECT_SOURCE_DIR}/bench/window_start_timing.cc)
    target_include_directories(window_start_timing PRIVATE ${X11_INCLUDE_DIR})
    target_link_libraries(window_start_timing PRIVATE ${X11_LIBRARIES})
    # The main window's repaint while an optimisation runs
    # (bench/repaint-latency).
    add_executable(repaint_latency ${PROJECT_SOURCE_DIR}/bench/repaint_latency.cc
                                   ${PROJECT_SOURCE_DIR}/bench/x_cover.cc)
    target_include_directories(repaint_latency PRIVATE ${X11_INCLUDE_DIR})
    target_link_libraries(repaint_latency PRIVATE spravka_ui ${X11_LIBRARIES})
  endif()
endif()
