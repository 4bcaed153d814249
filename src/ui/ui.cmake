# The window program. Included from src/CMakeLists.txt when the UI is on.
file(GLOB SPRAVKA_UI_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_LIST_DIR}/*.cc ${CMAKE_CURRENT_LIST_DIR}/*.h
     ${CMAKE_CURRENT_SOURCE_DIR}/platform/*.cc ${CMAKE_CURRENT_SOURCE_DIR}/platform/*.h)
list(REMOVE_ITEM SPRAVKA_UI_SOURCES ${CMAKE_CURRENT_LIST_DIR}/main.cc)

add_library(spravka_ui STATIC ${SPRAVKA_UI_SOURCES})
target_include_directories(spravka_ui PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(spravka_ui PUBLIC spravka_core Qt6::Widgets Qt6::SerialPort)
# The program's resources (the new-base template), compiled in by rcc.
set_target_properties(spravka_ui PROPERTIES AUTORCC ON)
target_sources(spravka_ui PRIVATE
               ${CMAKE_CURRENT_SOURCE_DIR}/platform/resources/spravka_resources.qrc)
target_link_libraries(spravka_ui PUBLIC spravka_version)

add_executable(spravka ${CMAKE_CURRENT_LIST_DIR}/main.cc)
target_link_libraries(spravka PRIVATE spravka_ui)

# The window's timing against the core (run by bench/ui-window).
if(SPRAVKA_BENCH)
  add_executable(ui_window_timing ${PROJECT_SOURCE_DIR}/bench/ui_window_timing.cc)
  target_link_libraries(ui_window_timing PRIVATE spravka_ui)
endif()
