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
endif()
